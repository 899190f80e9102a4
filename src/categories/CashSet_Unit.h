#pragma once

#include "ui/GradientWindow.h"

class Program;

class TCashSet_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TCashSet_Form(Program &program);
    void FormActivate() override;

private:
    Program &m_program;
};
