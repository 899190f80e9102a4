#include "ledgers/SelectYear_Unit.h"

#include "app/Program.h"
#include "calendar/RM_Main_Unit.h"
#include "dialogs/FormHelpers.h"
#include "ledgers/LedgerDirectory.h"
#include "ledgers/SelectUser_Unit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>

TSelectYear_Form::TSelectYear_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("SelectYear_Form"));
    setWindowTitle(QStringLiteral("請選擇年份"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    setFixedSize(230, 106);

    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    // Four digits at most: a year the calendar can show.
    SpinEdit1->setRange(1, 9999);
    SpinEdit1->setAccessibleName(QStringLiteral("年份"));
    SpinEdit1->setFont(formFont(18, QFont::Bold));
    SpinEdit1->setAlignment(Qt::AlignCenter);
    SpinEdit1->setGeometry(45, 16, 140, 32);

    Button1 = new QPushButton(QStringLiteral("確定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(75, 62, 80, 30);
    setTabOrder(SpinEdit1, Button1);
    EnterMovesFocus::install(SpinEdit1, Button1);
    enterPressesButtons(this);

    connect(Button1, &QPushButton::clicked, this, &TSelectYear_Form::Button1Click);
}

void TSelectYear_Form::FormActivate()
{
    SpinEdit1->setValue(m_program.currentYear());
}

void TSelectYear_Form::Button1Click()
{
    SpinEdit1->interpretText();
    const int year = SpinEdit1->value();
    const QString name = m_program.SelectUser_Form->ComboBox1->currentText();
    m_program.RM_Main_Form->Year_Label->setValue(year);
    m_program.guarded([&] { m_program.directory().SetLedgerYear(name, year); });
    m_program.RM_Main_Form->showCentred();
    hide();
}

void TSelectYear_Form::closeEvent(QCloseEvent *event)
{
    // There is no close box: a year must be chosen to go on.
    event->ignore();
}
