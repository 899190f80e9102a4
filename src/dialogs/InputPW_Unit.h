#pragma once

#include "ui/GradientWindow.h"

class Program;

class TInputPW_Form : public GradientDialog
{
    Q_OBJECT
public:
    explicit TInputPW_Form(Program &program);
    void FormActivate() override;

private:
    Program &m_program;
};
