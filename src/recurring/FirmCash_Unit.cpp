#include "recurring/FirmCash_Unit.h"

#include "app/Program.h"

TFirmCash_Form::TFirmCash_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("FirmCash_Form"));
    setWindowTitle(QStringLiteral(""));
    setFixedSize(700, 560);
}

void TFirmCash_Form::FormActivate() {}

void TFirmCash_Form::openFromCalendar(int, int)
{
    showCentred();
}
