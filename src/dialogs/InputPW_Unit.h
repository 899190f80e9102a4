#pragma once

#include "ui/GradientWindow.h"

#include <optional>

class Program;
class QLabel;
class QLineEdit;
class QPushButton;

// The password confirmation dialog "密碼確認視窗". The field opens empty and is emptied as
// soon as the dialog closes, so a password typed once is never there for the next person.
class TInputPW_Form : public GradientDialog
{
    Q_OBJECT
public:
    explicit TInputPW_Form(Program &program);

    // Shows the dialog modally over the selection screen; the typed text after 確認,
    // nothing after 取消.
    std::optional<QString> ask();

    QLabel *jvlbl1 = nullptr;
    QLineEdit *JvEdit1 = nullptr;
    QPushButton *btn1 = nullptr;
    QPushButton *btn2 = nullptr;

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    Program &m_program;
    QString m_typed; // the text of the last closing, taken out of the field
};
