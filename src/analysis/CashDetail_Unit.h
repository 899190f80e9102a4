#pragma once

#include "ui/GradientWindow.h"

class Program;

class TCashDetail_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TCashDetail_Form(Program &program);
    void FormActivate() override;

private:
    Program &m_program;
};
