#pragma once

#include "ui/GradientWindow.h"

class Program;

class TSelectUser_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TSelectUser_Form(Program &program);
    void FormActivate() override;
    // Called by the calendar's command that opens this screen.
    void beginSwitch(const QString &previousLedger);

private:
    Program &m_program;
};
