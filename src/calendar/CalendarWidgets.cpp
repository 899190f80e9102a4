#include "calendar/CalendarWidgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {
constexpr int CellPadding = 4;

QFont cellFont(int pixelSize)
{
    QFont font;
    font.setFamilies({ QStringLiteral("新細明體"), QStringLiteral("PMingLiU"),
        QStringLiteral("Noto Serif CJK TC"), QStringLiteral("Noto Sans CJK TC") });
    font.setPixelSize(pixelSize);
    return font;
}

// CJK fonts carry a tall line gap; the cell's three lines use a tighter one so that they
// fit into its 70 pixels.
int lineAdvance(int pixelSize)
{
    return pixelSize * 6 / 5;
}
} // namespace

DayCell::DayCell(QWidget *parent)
    : QWidget(parent)
    , m_background(Qt::white)
{
    setMouseTracking(true);
    setFont(cellFont(19));
}

void DayCell::clear()
{
    if (m_lines.isEmpty())
        return;
    m_lines.clear();
    update();
}

void DayCell::addLine(const Line &line)
{
    m_lines.append(line);
    update();
}

QString DayCell::text() const
{
    QStringList texts;
    for (const Line &line : m_lines)
        texts << line.text;
    return texts.join(QLatin1Char('\n'));
}

void DayCell::setBackground(const QColor &color)
{
    if (m_background == color)
        return;
    m_background = color;
    update();
}

void DayCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
    // A faint rule on the right and bottom edges marks the grid without boxing each day.
    painter.setPen(QColor(0xE4, 0xE8, 0xEC));
    painter.drawLine(width() - 1, 0, width() - 1, height() - 1);
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);

    int top = 2;
    for (const Line &line : m_lines) {
        const int advance = lineAdvance(line.pixelSize);
        painter.setFont(cellFont(line.pixelSize));
        painter.setPen(line.color);
        const QRect box(CellPadding, top, width() - 2 * CellPadding, advance);
        painter.drawText(
            box, int(line.alignment | Qt::AlignVCenter) | Qt::TextSingleLine, line.text);
        top += advance;
    }
}

void DayCell::mouseMoveEvent(QMouseEvent *event)
{
    emit hovered(this);
    QWidget::mouseMoveEvent(event);
}

void DayCell::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit pressed(this);
}

YearSpinBox::YearSpinBox(QWidget *parent)
    : QSpinBox(parent)
{ }

void YearSpinBox::stepBy(int steps)
{
    QSpinBox::stepBy(-steps);
}

QAbstractSpinBox::StepEnabled YearSpinBox::stepEnabled() const
{
    const StepEnabled natural = QSpinBox::stepEnabled();
    StepEnabled swapped = StepNone;
    if (natural & StepUpEnabled)
        swapped |= StepDownEnabled;
    if (natural & StepDownEnabled)
        swapped |= StepUpEnabled;
    return swapped;
}

void YearSpinBox::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    QSpinBox::keyPressEvent(event);
    if (enter)
        emit enterPressed();
}

PanelStatusBar::PanelStatusBar(const QList<int> &widths, QWidget *parent)
    : QWidget(parent)
    , m_widths(widths)
    , m_texts(widths.size())
    , m_ownerDrawn(widths.size(), false)
{ }

void PanelStatusBar::setPanelText(int panel, const QString &text)
{
    if (panel < 0 || panel >= panelCount() || m_texts[panel] == text)
        return;
    m_texts[panel] = text;
    update();
}

void PanelStatusBar::setOwnerDrawn(int panel, bool ownerDrawn)
{
    if (panel < 0 || panel >= panelCount() || m_ownerDrawn[panel] == ownerDrawn)
        return;
    m_ownerDrawn[panel] = ownerDrawn;
    update();
}

QRect PanelStatusBar::panelRect(int panel) const
{
    int left = 0;
    for (int i = 0; i < panel; ++i)
        left += m_widths[i];
    // The last panel reaches the right edge, as status bars do.
    const int width = panel == panelCount() - 1 ? this->width() - left : m_widths.value(panel);
    return QRect(left, 0, width, height());
}

void PanelStatusBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().mid().color());
    painter.drawLine(0, 0, width() - 1, 0);
    for (int i = 0; i < panelCount(); ++i) {
        const QRect box = panelRect(i).adjusted(1, 2, -2, -1);
        // A sunken frame per panel, as status bars have.
        painter.setPen(palette().mid().color());
        painter.drawLine(box.topLeft(), box.topRight());
        painter.drawLine(box.topLeft(), box.bottomLeft());
        painter.setPen(palette().light().color());
        painter.drawLine(box.bottomLeft(), box.bottomRight());
        painter.drawLine(box.topRight(), box.bottomRight());
        const QRect inner = box.adjusted(1, 1, 0, 0);
        painter.save();
        painter.setClipRect(inner);
        if (m_ownerDrawn[i] && m_draw) {
            m_draw(painter, i, inner);
        } else {
            painter.setPen(palette().windowText().color());
            painter.drawText(
                inner.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter, m_texts[i]);
        }
        painter.restore();
    }
}

void ClickLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

QString ElidedLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

bool ElidedLabel::isElided() const
{
    return shownText() != text();
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(contentsRect(), int(alignment()), shownText());
}
