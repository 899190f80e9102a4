#include "ledgers/KeyPW_Unit.h"

#include "app/Program.h"

TKeyPW_Form::TKeyPW_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("KeyPW_Form"));
    setWindowTitle(QStringLiteral("請輸入使用密碼"));
    setFixedSize(304, 89);
}

void TKeyPW_Form::FormActivate() { }
