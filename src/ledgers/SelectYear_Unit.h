#pragma once

#include "ui/GradientWindow.h"

class Program;
class QPushButton;
class QSpinBox;

// The year prompt "請選擇年份" of a ledger's first password login.
class TSelectYear_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TSelectYear_Form(Program &program);
    void FormActivate() override;

    void Button1Click();

    QSpinBox *SpinEdit1 = nullptr;
    QPushButton *Button1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Program &m_program;
};
