#include "ledgers/PasswordChange_Unit.h"

#include "app/Program.h"

TPasswordChange::TPasswordChange(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("PasswordChange"));
    setWindowTitle(QStringLiteral("變更密碼"));
    setFixedSize(210, 172);
}

void TPasswordChange::FormActivate() { }
