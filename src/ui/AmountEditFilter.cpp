#include "ui/AmountEditFilter.h"

#include "store/Amount.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

namespace {
constexpr int AmountDigits = 9;

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
} // namespace

void focusNextControl(QWidget *widget)
{
    QWidget *next = widget->nextInFocusChain();
    while (next && next != widget) {
        // The line edit inside an editable combo box belongs to the combo box itself.
        const bool inside = widget->isAncestorOf(next);
        if (!inside && next->isEnabled() && next->isVisibleTo(widget->window())
            && (next->focusPolicy() & Qt::TabFocus) && next->window() == widget->window()) {
            next->setFocus(Qt::TabFocusReason);
            return;
        }
        next = next->nextInFocusChain();
    }
}

AmountEditFilter *AmountEditFilter::install(QLineEdit *edit)
{
    auto *filter = new AmountEditFilter(edit);
    edit->installEventFilter(filter);
    edit->setMaxLength(AmountDigits);
    // A dropped text would bypass the paste check.
    edit->setAcceptDrops(false);
    edit->setInputMethodHints(Qt::ImhDigitsOnly);
    return filter;
}

AmountEditFilter::AmountEditFilter(QLineEdit *edit)
    : QObject(edit)
    , m_edit(edit)
{ }

bool AmountEditFilter::pasteChecked()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QString text = clipboard->text();
    if (text.isEmpty())
        return false;
    // Text that is no whole number is not pasted; it stays on the clipboard, which holds what
    // the user copied for somewhere else.
    if (!isWholeNumberText(text))
        return false;
    // What the field would hold afterwards must still be an amount of at most nine digits.
    QString result = m_edit->text();
    int start = m_edit->cursorPosition();
    if (m_edit->hasSelectedText()) {
        start = m_edit->selectionStart();
        result.remove(start, m_edit->selectedText().size());
    }
    result.insert(start, text);
    if (result.size() > AmountDigits)
        return false;
    m_edit->insert(text);
    return true;
}

QMenu *AmountEditFilter::createContextMenu()
{
    QMenu *menu = m_edit->createStandardContextMenu();
    const QString pasteText = QLineEdit::tr("&Paste");
    for (QAction *action : menu->actions()) {
        if (action->objectName() != QStringLiteral("edit-paste")
            && !action->text().startsWith(pasteText))
            continue;
        action->setObjectName(QStringLiteral("edit-paste"));
        action->disconnect();
        connect(action, &QAction::triggered, this, [this] { pasteChecked(); });
    }
    return menu;
}

bool AmountEditFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_edit)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::ContextMenu) {
        auto *menuEvent = static_cast<QContextMenuEvent *>(event);
        QMenu *menu = createContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(menuEvent->globalPos());
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Keep the edit's own paste and undo shortcuts from acting behind the filter's back.
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & Qt::ControlModifier) {
            event->accept();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::InputMethod) {
        // Text composed by an input method must be digits too.
        const QString text = static_cast<QInputMethodEvent *>(event)->commitString();
        return !text.isEmpty() && !isWholeNumberText(text);
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & Qt::ControlModifier) {
        if (key->key() == Qt::Key_C)
            m_edit->copy();
        else if (key->key() == Qt::Key_V)
            pasteChecked();
        return true;
    }
    if (isEnter(key->key())) {
        focusNextControl(m_edit);
        return true;
    }
    const QString text = key->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false; // Backspace, Delete, arrows, Home, End, Tab: no character typed
    return !isWholeNumberText(text);
}
