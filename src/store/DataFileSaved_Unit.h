#pragma once

#include "ui/GradientWindow.h"

#include <functional>

class Program;
class QPushButton;

// "備份": saves a copy of the whole data file and restores the current ledger from one.
class TDataFileSaved_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TDataFileSaved_Form(Program &program);
    void FormActivate() override;
    // Called by the calendar's command that opens this screen; the calendar stays visible.
    void openFromCalendar();

    void jvbtbtn2Click();
    void jvbtbtn3Click();

    QPushButton *jvbtbtn2 = nullptr;
    QPushButton *jvbtbtn3 = nullptr;

    static QString fileFilter() { return QStringLiteral("備份檔 (*.BAK)"); }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormClose();
    // Runs the work with the button disabled; a refusal is a warning, any other failure an
    // error. Returns true when the work finished.
    bool runWith(QPushButton *button, const std::function<void()> &work);

    Program &m_program;
};
