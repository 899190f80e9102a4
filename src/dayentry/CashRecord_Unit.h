#pragma once

#include "ui/GradientWindow.h"

class Program;

class TCashRecord_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TCashRecord_Form(Program &program);
    void FormActivate() override;

private:
    Program &m_program;
};
