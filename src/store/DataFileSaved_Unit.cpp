#include "store/DataFileSaved_Unit.h"

#include "app/Program.h"

TDataFileSaved_Form::TDataFileSaved_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("DataFileSaved_Form"));
    setWindowTitle(QStringLiteral(""));
    setFixedSize(300, 150);
}

void TDataFileSaved_Form::FormActivate() { }

void TDataFileSaved_Form::openFromCalendar()
{
    showCentred();
}
