#include "statistics/Year_Unit.h"

#include "app/Program.h"

TYear_Form::TYear_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("Year_Form"));
    setWindowTitle(QStringLiteral(""));
    setFixedSize(700, 560);
}

void TYear_Form::FormActivate() {}

void TYear_Form::openFromCalendar()
{
    showCentred();
}
