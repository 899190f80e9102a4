#include "ledgers/NewUser_Unit.h"

#include "app/Program.h"

TNewUser_Form::TNewUser_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("NewUser_Form"));
    setWindowTitle(QStringLiteral("新增帳本"));
    setFixedSize(323, 180);
}

void TNewUser_Form::FormActivate() { }
