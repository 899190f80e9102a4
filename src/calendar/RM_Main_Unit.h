#pragma once

#include "ui/GradientWindow.h"

class Program;
class QLabel;
class QSpinBox;

// The month calendar: the working window of a logged-in ledger.
class TRM_Main_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TRM_Main_Form(Program &program);
    void FormActivate() override;

    // Program state that other screens read here: the current ledger ("訪客" when none),
    // the current year and the current month ("3月").
    QLabel *User_Label = nullptr;
    QSpinBox *Year_Label = nullptr;
    QLabel *M_Label = nullptr;

private:
    Program &m_program;
};
