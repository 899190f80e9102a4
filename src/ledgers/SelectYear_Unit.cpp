#include "ledgers/SelectYear_Unit.h"

#include "app/Program.h"

TSelectYear_Form::TSelectYear_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("SelectYear_Form"));
    setWindowTitle(QStringLiteral("請選擇年份"));
    setFixedSize(230, 106);
}

void TSelectYear_Form::FormActivate() { }
