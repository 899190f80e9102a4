#pragma once

#include "ui/GradientWindow.h"

class Program;
class QLabel;
class QPushButton;

// The warning dialog "警告訊息": not modal and always on top; the screen that shows it
// carries on at once.
class TMsgShow_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TMsgShow_Form(Program &program);

    // Shows the dialog centred with text as its one-line message.
    void showMessage(const QString &text);
    void btn3Click();

    QLabel *MsgLabel = nullptr;
    QPushButton *btn3 = nullptr;

private:
    Program &m_program;
};
