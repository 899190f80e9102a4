#include "dialogs/MsgShow_Unit.h"

#include "app/Program.h"

TMsgShow_Form::TMsgShow_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("MsgShow_Form"));
    setWindowTitle(QStringLiteral("警告訊息"));
    setFixedSize(252, 99);
}

void TMsgShow_Form::FormActivate() {}
