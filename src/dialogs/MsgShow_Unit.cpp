#include "dialogs/MsgShow_Unit.h"

#include "app/Program.h"
#include "dialogs/FormHelpers.h"
#include "ui/Colors.h"

#include <QPushButton>

TMsgShow_Form::TMsgShow_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("MsgShow_Form"));
    setWindowTitle(QStringLiteral("警告訊息"));
    setWindowFlags(
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint);
    setFixedSize(252, 99);
    m_minimiseApplication = false;

    auto *label = new GradientTextLabel(Qt::red, winColor(196), this);
    MsgLabel = label;
    MsgLabel->setObjectName(QStringLiteral("MsgLabel"));
    MsgLabel->setGeometry(14, 16, 223, 26);
    MsgLabel->setAlignment(Qt::AlignCenter);
    MsgLabel->setFont(formFont(19, QFont::Black));

    btn3 = new QPushButton(QStringLiteral("確定"), this);
    btn3->setObjectName(QStringLiteral("btn3"));
    btn3->setGeometry(86, 56, 80, 28);
    connect(btn3, &QPushButton::clicked, this, &TMsgShow_Form::btn3Click);
    enterPressesButtons(this);
}

void TMsgShow_Form::showMessage(const QString &text)
{
    showCentred();
    MsgLabel->setText(text);
    btn3->setFocus();
}

void TMsgShow_Form::btn3Click()
{
    hide();
}
