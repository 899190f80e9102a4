#pragma once

#include "ui/GradientWindow.h"

class Program;

class TDataFileSaved_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TDataFileSaved_Form(Program &program);
    void FormActivate() override;

private:
    Program &m_program;
};
