#pragma once

#include "ui/GradientWindow.h"

class Program;

class THelp_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit THelp_Form(Program &program);
    void FormActivate() override;

private:
    Program &m_program;
};
