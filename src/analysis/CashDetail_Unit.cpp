#include "analysis/CashDetail_Unit.h"

#include "app/Program.h"

TCashDetail_Form::TCashDetail_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("CashDetail_Form"));
    setWindowTitle(QStringLiteral(""));
    setFixedSize(700, 560);
}

void TCashDetail_Form::FormActivate() {}
