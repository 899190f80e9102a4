#pragma once

#include "ui/GradientWindow.h"

class Program;

class TmrYesNo_Form : public GradientDialog
{
    Q_OBJECT
public:
    explicit TmrYesNo_Form(Program &program);
    void FormActivate() override;

private:
    Program &m_program;
};
