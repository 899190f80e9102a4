#include "dialogs/mrYesNo_Unit.h"

#include "app/Program.h"
#include "dialogs/FormHelpers.h"
#include "ui/Colors.h"

#include <QPushButton>

TmrYesNo_Form::TmrYesNo_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("mrYesNo_Form"));
    setWindowTitle(QStringLiteral("提示視窗"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint
        | Qt::WindowTitleHint);
    setModal(true);
    setFixedSize(346, 68);

    auto *label = new GradientTextLabel(Qt::red, winColor(21930), this);
    MsgLabel = label;
    MsgLabel->setObjectName(QStringLiteral("MsgLabel"));
    MsgLabel->setGeometry(8, 4, 329, 26);
    MsgLabel->setAlignment(Qt::AlignCenter);
    MsgLabel->setFont(formFont(15, QFont::Black));

    btn3 = new QPushButton(QStringLiteral("確定"), this);
    btn3->setObjectName(QStringLiteral("btn3"));
    btn3->setGeometry(86, 34, 80, 28);
    JvXPButton1 = new QPushButton(QStringLiteral("取消"), this);
    JvXPButton1->setObjectName(QStringLiteral("JvXPButton1"));
    JvXPButton1->setGeometry(180, 34, 80, 28);
    connect(btn3, &QPushButton::clicked, this, &QDialog::accept);
    connect(JvXPButton1, &QPushButton::clicked, this, &QDialog::reject);
}

bool TmrYesNo_Form::ask(const QString &question)
{
    MsgLabel->setText(question);
    centreOnScreen(this);
    btn3->setFocus();
    return exec() == QDialog::Accepted;
}
