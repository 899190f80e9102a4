#pragma once

#include "ui/GradientWindow.h"

class Program;
class QLabel;
class QPushButton;

// The modal yes/no dialog "提示視窗"; callers act on 確定 only.
class TmrYesNo_Form : public GradientDialog
{
    Q_OBJECT
public:
    explicit TmrYesNo_Form(Program &program);

    // Shows question modally; true when the user chose 確定.
    bool ask(const QString &question);

    QLabel *MsgLabel = nullptr;
    QPushButton *btn3 = nullptr;
    QPushButton *JvXPButton1 = nullptr;

private:
    Program &m_program;
};
