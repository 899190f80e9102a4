#pragma once

#include "ui/GradientWindow.h"

class Program;

class TMsgShow_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TMsgShow_Form(Program &program);
    void FormActivate() override;

private:
    Program &m_program;
};
