#pragma once

#include "ui/GradientWindow.h"

class Program;

class TSelectYear_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TSelectYear_Form(Program &program);
    void FormActivate() override;

private:
    Program &m_program;
};
