#pragma once

#include "ui/GradientWindow.h"

class Program;
class QLabel;
class QLineEdit;
class QPushButton;

// The new-ledger screen "新增帳本".
class TNewUser_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TNewUser_Form(Program &program);

    void Button1Click();
    void Button2Click();

    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Edit3 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    Program &m_program;
};
