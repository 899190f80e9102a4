#include "dialogs/InputPW_Unit.h"

#include "app/Program.h"

TInputPW_Form::TInputPW_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("InputPW_Form"));
    setWindowTitle(QStringLiteral("密碼確認視窗"));
    setFixedSize(196, 84);
}

void TInputPW_Form::FormActivate() {}
