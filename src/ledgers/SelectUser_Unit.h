#pragma once

#include "ui/GradientWindow.h"

class Program;

class TSelectUser_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TSelectUser_Form(Program &program);
    void FormActivate() override;

private:
    Program &m_program;
};
