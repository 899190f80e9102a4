#pragma once

#include "ui/GradientWindow.h"

class Program;

class TFirmCash_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TFirmCash_Form(Program &program);
    void FormActivate() override;

private:
    Program &m_program;
};
