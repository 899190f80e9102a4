#pragma once

#include "ui/GradientWindow.h"

#include <QDate>

class Program;

class TCashRecord_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TCashRecord_Form(Program &program);
    void FormActivate() override;
    // Called by the calendar's command that opens this screen.
    void openFromCalendar(const QDate &date);

private:
    Program &m_program;
};
