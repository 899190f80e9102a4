#pragma once

#include "ui/GradientWindow.h"

class Program;

class TNewUser_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TNewUser_Form(Program &program);
    void FormActivate() override;

private:
    Program &m_program;
};
