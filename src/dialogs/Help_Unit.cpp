#include "dialogs/Help_Unit.h"

#include "app/Program.h"

THelp_Form::THelp_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("Help_Form"));
    setWindowTitle(QStringLiteral("說明"));
    setFixedSize(226, 168);
}

void THelp_Form::FormActivate() {}
