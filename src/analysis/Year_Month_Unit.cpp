#include "analysis/Year_Month_Unit.h"

#include "app/Program.h"

TYear_Month_Form::TYear_Month_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("Year_Month_Form"));
    setWindowTitle(QStringLiteral(""));
    setFixedSize(700, 560);
}

void TYear_Month_Form::FormActivate() {}

void TYear_Month_Form::openFromCalendar(int)
{
    showCentred();
}
