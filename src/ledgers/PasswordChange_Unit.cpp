#include "ledgers/PasswordChange_Unit.h"

#include "app/Program.h"
#include "dialogs/FormHelpers.h"
#include "ledgers/LedgerDirectory.h"
#include "ledgers/SelectUser_Unit.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TPasswordChange::TPasswordChange(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("PasswordChange"));
    setWindowTitle(QStringLiteral("變更密碼"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(210, 172);

    const char *labelNames[] = { "Label1", "Label2", "Label3" };
    const char *editNames[] = { "Edit1", "Edit2", "Edit3" };
    const QString captions[]
        = { QStringLiteral("舊密碼"), QStringLiteral("新密碼"), QStringLiteral("確認密碼") };
    QLabel **labels[] = { &Label1, &Label2, &Label3 };
    QLineEdit **edits[] = { &Edit1, &Edit2, &Edit3 };
    for (int i = 0; i < 3; ++i) {
        const int y = 16 + i * 38;
        auto *label = new QLabel(captions[i], this);
        label->setObjectName(QString::fromLatin1(labelNames[i]));
        label->setFont(formFont(14, QFont::Bold));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setGeometry(8, y, 66, 26);
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(editNames[i]));
        showStars(edit);
        edit->setGeometry(80, y, 118, 26);
        label->setBuddy(edit);
        *labels[i] = label;
        *edits[i] = edit;
    }

    btn1 = new QPushButton(QStringLiteral("確認"), this);
    btn1->setObjectName(QStringLiteral("btn1"));
    btn1->setGeometry(22, 130, 76, 30);
    btn2 = new QPushButton(QStringLiteral("取消"), this);
    btn2->setObjectName(QStringLiteral("btn2"));
    btn2->setGeometry(112, 130, 76, 30);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, btn1);
    setTabOrder(btn1, btn2);
    EnterMovesFocus::install(Edit1);
    EnterMovesFocus::install(Edit2);
    EnterMovesFocus::install(Edit3);
    enterPressesButtons(this);

    connect(btn1, &QPushButton::clicked, this, &TPasswordChange::btn1Click);
    connect(btn2, &QPushButton::clicked, this, &TPasswordChange::btn2Click);
}

void TPasswordChange::showEvent(QShowEvent *event)
{
    clearFields();
    GradientWindow::showEvent(event);
}

void TPasswordChange::clearFields()
{
    Edit1->clear();
    Edit2->clear();
    Edit3->clear();
    Edit1->setFocus();
}

void TPasswordChange::btn1Click()
{
    const QString oldPassword = Edit1->text();
    const QString newPassword = Edit2->text();
    const QString confirmation = Edit3->text();
    clearFields();
    if (newPassword != confirmation) {
        m_program.prompts().warning(QStringLiteral("確認密碼有誤，煩請核對!"));
        return;
    }
    const QString name = m_program.SelectUser_Form->ComboBox1->currentText();
    ChangePasswordResult result = ChangePasswordResult::NoSuchLedger;
    if (!m_program.guarded([&] {
            result = m_program.directory().ChangeLedgerPassword(name, oldPassword, newPassword);
        }))
        return;
    if (result != ChangePasswordResult::Changed) {
        m_program.prompts().warning(QStringLiteral("密碼錯誤，請重新確認!"));
        return;
    }
    close();
}

void TPasswordChange::btn2Click()
{
    close();
}
