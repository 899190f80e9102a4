#include "dialogs/FormHelpers.h"

#include "ui/AmountEditFilter.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>

void EnterMovesFocus::install(QWidget *field, QWidget *target)
{
    field->installEventFilter(new EnterMovesFocus(field, target));
}

EnterMovesFocus::EnterMovesFocus(QWidget *field, QWidget *target)
    : QObject(field)
    , m_target(target)
{ }

bool EnterMovesFocus::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
        return false;
    if (m_target)
        m_target->setFocus(Qt::TabFocusReason);
    else
        focusNextControl(static_cast<QWidget *>(watched));
    return true;
}

GradientTextLabel::GradientTextLabel(const QColor &from, const QColor &to, QWidget *parent)
    : QLabel(parent)
    , m_from(from)
    , m_to(to)
{ }

void GradientTextLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRect box = contentsRect();
    // The label keeps its size; a message longer than the line is drawn smaller rather
    // than cut off.
    QFont shown = font();
    int pixels = shown.pixelSize() > 0 ? shown.pixelSize() : QFontInfo(shown).pixelSize();
    while (pixels > 9 && QFontMetrics(shown).horizontalAdvance(text()) > box.width()) {
        shown.setPixelSize(--pixels);
    }
    const QRect textBox = QFontMetrics(shown).boundingRect(box, int(alignment()), text());
    QLinearGradient gradient(textBox.left(), 0, textBox.right(), 0);
    gradient.setColorAt(0, m_from);
    gradient.setColorAt(1, m_to);
    painter.setPen(QPen(QBrush(gradient), 1));
    painter.setFont(shown);
    painter.drawText(box, int(alignment()), text());
}

QFont formFont(int pixelSize, int weight)
{
    QFont font = QApplication::font();
    font.setPixelSize(pixelSize);
    if (weight >= 0)
        font.setWeight(QFont::Weight(weight));
    return font;
}

void showStars(QLineEdit *edit)
{
    edit->setEchoMode(QLineEdit::Password);
    // The style's own mask is a dot; only the style sheet property changes it for one field.
    edit->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
}

void enterPressesButtons(QWidget *form)
{
    const auto buttons = form->findChildren<QPushButton *>();
    for (QPushButton *button : buttons)
        button->setAutoDefault(true);
}
