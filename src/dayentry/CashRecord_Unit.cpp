#include "dayentry/CashRecord_Unit.h"

#include "app/Program.h"

TCashRecord_Form::TCashRecord_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("CashRecord_Form"));
    setWindowTitle(QStringLiteral(""));
    setFixedSize(600, 500);
}

void TCashRecord_Form::FormActivate() {}

void TCashRecord_Form::openFromCalendar(const QDate &)
{
    showCentred();
}
