#include "calendar/RM_Main_Unit.h"

#include "app/Program.h"

#include <QDate>
#include <QLabel>
#include <QSpinBox>

TRM_Main_Form::TRM_Main_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("RM_Main_Form"));
    setWindowTitle(QStringLiteral("青禾理財簿"));
    setFixedSize(709, 571);

    User_Label = new QLabel(QStringLiteral("訪客"), this);
    User_Label->setObjectName(QStringLiteral("User_Label"));
    Year_Label = new QSpinBox(this);
    Year_Label->setObjectName(QStringLiteral("Year_Label"));
    Year_Label->setRange(1, 9999);
    M_Label = new QLabel(this);
    M_Label->setObjectName(QStringLiteral("M_Label"));

    const QDate today = QDate::currentDate();
    Year_Label->setValue(today.year());
    M_Label->setText(QStringLiteral("%1月").arg(today.month()));
}

void TRM_Main_Form::FormActivate() {}
