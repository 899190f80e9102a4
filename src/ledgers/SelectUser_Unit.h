#pragma once

#include "ui/GradientWindow.h"

class Program;
class QComboBox;
class QLabel;
class QPushButton;

// The ledger selection screen "請選擇帳本", the application's main window: pick or type a
// ledger and log in, create, delete and re-password ledgers, or leave the program.
class TSelectUser_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TSelectUser_Form(Program &program);
    void FormActivate() override;
    // Called by the calendar's command that opens this screen.
    void beginSwitch(const QString &previousLedger);

    void ComboBox1Change();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void btn_pwClick();

    // Logs in a ledger without password (also used after the password prompt's checks).
    void directLogin(const QString &name);
    // Loads the ledger's default day page into the program state, when it has one.
    void loadDefaultDayPage(const QString &name);
    // Shows the new-ledger screen with this name and empty password fields, in place of this one.
    void openNewLedger(const QString &name);

    // The ledger that was open when a switch began; cancel returns to it.
    QString PreviousLedgerName;

    QLabel *Label1 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QPushButton *Button4 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *btn_pw = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool boxHoldsListedItem() const;

    Program &m_program;
    QString m_unreadableNotice; // the last notice of unreadable records shown
};
