#pragma once

#include "ui/GradientWindow.h"

class Program;

class TMonth_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TMonth_Form(Program &program);
    void FormActivate() override;
    // Called by the calendar's command that opens this screen.
    void openFromCalendar();

private:
    Program &m_program;
};
