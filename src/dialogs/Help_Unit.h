#pragma once

#include "ui/GradientWindow.h"

class Program;
class QLabel;

// The About box "說明": not modal, always on top; a double click anywhere hides it.
class THelp_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit THelp_Form(Program &program);
    void FormDblClick();

    QLabel *ProductLabel = nullptr;
    QLabel *BuildLabel = nullptr;
    QLabel *PublisherLabel = nullptr;
    QLabel *RightsLabel = nullptr;
    QLabel *MailLabel = nullptr;

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    Program &m_program;
};
