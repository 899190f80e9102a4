#include "categories/CashSet_Unit.h"

#include "app/Program.h"

TCashSet_Form::TCashSet_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("CashSet_Form"));
    setWindowTitle(QStringLiteral(""));
    setFixedSize(400, 400);
}

void TCashSet_Form::FormActivate() {}
