#pragma once

#include <QObject>

class QLineEdit;
class QMenu;
class QWidget;

// Keeps an amount field to whole numbers: digit keys, Backspace, Delete and Enter pass, other
// characters are swallowed, Ctrl+C copies, Ctrl+V and the field's own context-menu paste only
// take clipboard text that is a whole number, and Enter moves on to the next control.
// The field's maximum length (nine digits) is set by install().
class AmountEditFilter : public QObject
{
    Q_OBJECT
public:
    // Installs a filter owned by the edit and returns it.
    static AmountEditFilter *install(QLineEdit *edit);

    // Pastes the clipboard's text when it is a whole number that fits the field; anything else
    // is not pasted and the clipboard is left as it is. True when something was pasted.
    bool pasteChecked();
    // The field's context menu, with its paste going through pasteChecked(). Owned by caller.
    QMenu *createContextMenu();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit AmountEditFilter(QLineEdit *edit);
    QLineEdit *m_edit;
};

// Moves the focus to the next control in the tab order after the widget (Enter in a field).
void focusNextControl(QWidget *widget);
