#include "dialogs/InputPW_Unit.h"

#include "app/Program.h"
#include "dialogs/FormHelpers.h"
#include "ledgers/SelectUser_Unit.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

TInputPW_Form::TInputPW_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("InputPW_Form"));
    setWindowTitle(QStringLiteral("密碼確認視窗"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
        | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setModal(true);
    setFixedSize(196, 84);

    jvlbl1 = new QLabel(QStringLiteral("請輸入此帳本登入密碼"), this);
    jvlbl1->setObjectName(QStringLiteral("jvlbl1"));
    jvlbl1->setGeometry(12, 6, 172, 20);
    jvlbl1->setFont(formFont(14, QFont::Bold));

    JvEdit1 = new QLineEdit(this);
    JvEdit1->setObjectName(QStringLiteral("JvEdit1"));
    showStars(JvEdit1);
    JvEdit1->setGeometry(12, 28, 172, 22);
    jvlbl1->setBuddy(JvEdit1);

    btn1 = new QPushButton(QStringLiteral("確認"), this);
    btn1->setObjectName(QStringLiteral("btn1"));
    btn1->setGeometry(22, 54, 70, 26);
    btn2 = new QPushButton(QStringLiteral("取消"), this);
    btn2->setObjectName(QStringLiteral("btn2"));
    btn2->setGeometry(104, 54, 70, 26);
    connect(btn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(btn2, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(JvEdit1, btn1);
    setTabOrder(btn1, btn2);
    EnterMovesFocus::install(JvEdit1);
}

std::optional<QString> TInputPW_Form::ask()
{
    // Centred on the main window, the selection screen.
    QWidget *main = m_program.SelectUser_Form;
    if (main && main->isVisible())
        move(main->geometry().center() - QPoint(width() / 2, height() / 2));
    else
        centreOnScreen(this);
    JvEdit1->setFocus();
    const bool confirmed = exec() == QDialog::Accepted;
    const QString typed = std::exchange(m_typed, QString());
    if (!confirmed)
        return std::nullopt;
    return typed;
}

void TInputPW_Form::done(int result)
{
    m_typed = result == QDialog::Accepted ? JvEdit1->text() : QString();
    JvEdit1->clear();
    GradientDialog::done(result);
}

void TInputPW_Form::showEvent(QShowEvent *event)
{
    JvEdit1->clear();
    GradientDialog::showEvent(event);
}
