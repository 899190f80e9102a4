#pragma once

#include "ui/GradientWindow.h"

#include <optional>

class Program;
class QLabel;
class QLineEdit;
class QPushButton;

// The password confirmation dialog "密碼確認視窗". The field is never cleared: it shows the
// text typed at its last use.
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

private:
    Program &m_program;
};
