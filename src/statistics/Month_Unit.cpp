#include "statistics/Month_Unit.h"

#include "app/Program.h"

TMonth_Form::TMonth_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("Month_Form"));
    setWindowTitle(QStringLiteral(""));
    setFixedSize(700, 560);
}

void TMonth_Form::FormActivate() {}

void TMonth_Form::openFromCalendar()
{
    showCentred();
}
