#pragma once

#include "ui/GradientWindow.h"

class Program;

class TFirmCash_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TFirmCash_Form(Program &program);
    void FormActivate() override;
    // Called by the calendar's command that opens this screen.
    void openFromCalendar(int year, int month);

private:
    Program &m_program;
};
