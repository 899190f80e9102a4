#include "ledgers/SelectUser_Unit.h"

#include "app/Program.h"

TSelectUser_Form::TSelectUser_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("SelectUser_Form"));
    setWindowTitle(QStringLiteral("請選擇帳本"));
    setFixedSize(460, 132);
}

void TSelectUser_Form::FormActivate() { }

void TSelectUser_Form::beginSwitch(const QString &)
{
    showCentred();
}
