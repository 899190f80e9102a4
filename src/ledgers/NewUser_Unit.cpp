#include "ledgers/NewUser_Unit.h"

#include "app/Program.h"
#include "dialogs/FormHelpers.h"
#include "ledgers/LedgerAdmin.h"
#include "ledgers/SelectUser_Unit.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
QLabel *fieldLabel(QWidget *parent, const char *name, const QString &caption, int y)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(formFont(14, QFont::Bold));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setGeometry(10, y, 110, 26);
    return label;
}

QLineEdit *field(QWidget *parent, const char *name, bool password, int y)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    if (password)
        showStars(edit);
    edit->setGeometry(124, y, 180, 26);
    return edit;
}
} // namespace

TNewUser_Form::TNewUser_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("NewUser_Form"));
    setWindowTitle(QStringLiteral("新增帳本"));
    setWindowFlags(
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(323, 180);

    Label1 = fieldLabel(this, "Label1", QStringLiteral("帳本名稱："), 16);
    Edit1 = field(this, "Edit1", false, 16);
    Label2 = fieldLabel(this, "Label2", QStringLiteral("設定密碼："), 52);
    Edit2 = field(this, "Edit2", true, 52);
    Label3 = fieldLabel(this, "Label3", QStringLiteral("再次確認密碼："), 88);
    Edit3 = field(this, "Edit3", true, 88);
    Label1->setBuddy(Edit1);
    Label2->setBuddy(Edit2);
    Label3->setBuddy(Edit3);

    Button1 = new QPushButton(QStringLiteral("建立"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(72, 132, 80, 30);
    Button2 = new QPushButton(QStringLiteral("取消"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(172, 132, 80, 30);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, Button1);
    setTabOrder(Button1, Button2);
    EnterMovesFocus::install(Edit1);
    EnterMovesFocus::install(Edit2);
    EnterMovesFocus::install(Edit3);
    enterPressesButtons(this);

    connect(Button1, &QPushButton::clicked, this, &TNewUser_Form::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TNewUser_Form::Button2Click);
}

void TNewUser_Form::showEvent(QShowEvent *event)
{
    GradientWindow::showEvent(event);
    if (Edit1->text().isEmpty())
        Edit1->setFocus();
    else
        Edit2->setFocus();
}

void TNewUser_Form::Button1Click()
{
    const QString name = Edit1->text();
    if (name.isEmpty()) {
        m_program.prompts().message(QStringLiteral("帳本名稱不得為空！！"));
        return;
    }
    if (Edit2->text() != Edit3->text()) {
        m_program.prompts().message(QStringLiteral("密碼二者不符，請重新輸入！！"));
        return;
    }
    LedgerAdmin::CreateResult result = LedgerAdmin::CreateResult::Duplicate;
    const bool done = m_program.guarded([&] {
        LedgerAdmin admin(m_program.db(), m_program.directory());
        result = admin.createLedger(name, Edit2->text());
    });
    if (!done)
        return;
    if (result == LedgerAdmin::CreateResult::Reserved) {
        m_program.prompts().warning(QStringLiteral("此名稱為系統保留，請改用其他名稱！"));
        return;
    }
    if (result == LedgerAdmin::CreateResult::Duplicate) {
        m_program.prompts().warning(QStringLiteral("帳號重覆!!"));
        return;
    }
    hide();
    m_program.SelectUser_Form->showCentred();
}

void TNewUser_Form::Button2Click()
{
    hide();
    m_program.SelectUser_Form->showCentred();
}

void TNewUser_Form::closeEvent(QCloseEvent *event)
{
    event->ignore();
    Button2Click();
}
