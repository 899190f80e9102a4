#pragma once

#include "ui/GradientWindow.h"

class Program;

class TYear_Month_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TYear_Month_Form(Program &program);
    void FormActivate() override;
    // Called by the calendar's command that opens this screen.
    void openFromCalendar(int year);

private:
    Program &m_program;
};
