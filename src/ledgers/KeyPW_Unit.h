#pragma once

#include "ui/GradientWindow.h"

class Program;

class TKeyPW_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TKeyPW_Form(Program &program);
    void FormActivate() override;

private:
    Program &m_program;
};
