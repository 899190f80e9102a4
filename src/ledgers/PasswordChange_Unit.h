#pragma once

#include "ui/GradientWindow.h"

class Program;
class QLabel;
class QLineEdit;
class QPushButton;

// The password change screen "變更密碼" of the ledger picked on the selection screen. Its
// fields open empty and are emptied after every try, so nobody finds the owner's old
// password there and sets a new one with it.
class TPasswordChange : public GradientWindow
{
    Q_OBJECT
public:
    explicit TPasswordChange(Program &program);

    void btn1Click();
    void btn2Click();

    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Edit3 = nullptr;
    QPushButton *btn1 = nullptr;
    QPushButton *btn2 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void clearFields();

    Program &m_program;
};
