#pragma once

#include "ui/GradientWindow.h"

class Program;

class TPasswordChange : public GradientWindow
{
    Q_OBJECT
public:
    explicit TPasswordChange(Program &program);
    void FormActivate() override;

private:
    Program &m_program;
};
