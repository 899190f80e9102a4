#pragma once

#include "ui/GradientWindow.h"

class Program;
class QLineEdit;
class QPushButton;

// The password prompt "請輸入使用密碼" of a ledger that has a password.
class TKeyPW_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TKeyPW_Form(Program &program);
    void Button1Click();
    void Button2Click();

    QLineEdit *Edit1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void passwordLogin(const QString &name, bool yearEmpty);

    Program &m_program;
};
