#pragma once

#include "ui/GradientWindow.h"

class Program;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class CategorySettings;

// The subcategories of the current ledger: add, remove and reorder. Every change is stored at
// once; closing without "確定" puts back what there was when the screen opened.
class TCashSet_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TCashSet_Form(Program &program);

    // Opened from the day screen's "帳目設定".
    void openFromDayScreen();

    void cbb1Change();
    void cbb2Change();
    void ListBox1Click();
    void Edit1Change();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    // Undoes the changes when the rollback flag is set, and drops the copy.
    void CaseSetRollBack();

    QLabel *lbl1 = nullptr;
    QComboBox *cbb1 = nullptr;
    QLabel *lbl2 = nullptr;
    QComboBox *cbb2 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button4 = nullptr;
    QPushButton *Button5 = nullptr;

    bool rollbackPending() const { return m_rollback; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool kindChosen() const;
    QString kind() const;
    int mainNumber() const;
    CategorySettings settings();
    void refillList();
    void moveSelected(bool up);

    Program &m_program;
    bool m_rollback = false;
    // The change count before the copy of this opening; -1 once finished, so a later finish
    // can never forget writes made after it.
    qint64 m_changesBeforeCopy = -1;
};
