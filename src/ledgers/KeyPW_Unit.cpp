#include "ledgers/KeyPW_Unit.h"

#include "app/Program.h"
#include "calendar/RM_Main_Unit.h"
#include "dialogs/FormHelpers.h"
#include "ledgers/LedgerDirectory.h"
#include "ledgers/SelectUser_Unit.h"
#include "ledgers/SelectYear_Unit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TKeyPW_Form::TKeyPW_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("KeyPW_Form"));
    setWindowTitle(QStringLiteral("請輸入使用密碼"));
    setWindowFlags(
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(304, 89);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    showStars(Edit1);
    Edit1->setAccessibleName(QStringLiteral("密碼"));
    Edit1->setGeometry(20, 14, 264, 26);

    Button1 = new QPushButton(QStringLiteral("確定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(60, 50, 80, 28);
    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(164, 50, 80, 28);

    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Button2);
    // Enter only moves on to 確定; it does not press it.
    EnterMovesFocus::install(Edit1, Button1);
    enterPressesButtons(this);

    connect(Button1, &QPushButton::clicked, this, &TKeyPW_Form::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TKeyPW_Form::Button2Click);
}

void TKeyPW_Form::showEvent(QShowEvent *event)
{
    // Cleared each time the prompt is shown, not when it becomes active again after the
    // wrong-password message: the typed text stays for correcting.
    Edit1->clear();
    Edit1->setFocus();
    GradientWindow::showEvent(event);
}

void TKeyPW_Form::Button1Click()
{
    if (Edit1->text().isEmpty())
        return;
    const QString name = m_program.SelectUser_Form->ComboBox1->currentText();
    m_program.guarded([&] {
        const PasswordCheck check = m_program.directory().CheckLedgerPassword(name, Edit1->text());
        if (!check.found || !check.matches) {
            m_program.prompts().message(QStringLiteral("密碼錯誤，請重新確認"));
            return;
        }
        passwordLogin(name, check.yearEmpty);
    });
}

void TKeyPW_Form::passwordLogin(const QString &name, bool yearEmpty)
{
    m_program.RM_Main_Form->User_Label->setText(name);
    hide();
    if (yearEmpty) {
        // The first password login chooses the year; month and day page stay as they are.
        m_program.SelectYear_Form->showCentred();
        return;
    }
    m_program.RM_Main_Form->M_Label->setText(
        QStringLiteral("%1月").arg(QDate::currentDate().month()));
    m_program.RM_Main_Form->showCentred();
    m_program.SelectUser_Form->loadDefaultDayPage(name);
}

void TKeyPW_Form::Button2Click()
{
    hide();
    m_program.SelectUser_Form->showCentred();
}

void TKeyPW_Form::closeEvent(QCloseEvent *event)
{
    event->ignore();
    Button2Click();
}
