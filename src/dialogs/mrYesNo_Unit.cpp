#include "dialogs/mrYesNo_Unit.h"

#include "app/Program.h"

TmrYesNo_Form::TmrYesNo_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("mrYesNo_Form"));
    setWindowTitle(QStringLiteral("提示視窗"));
    setFixedSize(346, 68);
}

void TmrYesNo_Form::FormActivate() {}
