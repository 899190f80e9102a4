#pragma once

#include "recurring/RecurringPlan.h"
#include "ui/GradientWindow.h"

#include <QGroupBox>
#include <QStringList>
#include <optional>

class GuardedPages;
class Program;
class QAction;
class QButtonGroup;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTableWidget;

// A radio group whose choice is an index, items laid out in columns.
class RadioGroup : public QGroupBox
{
    Q_OBJECT
public:
    RadioGroup(const QStringList &items, int columns, QWidget *parent = nullptr);
    int itemIndex() const;
    void setItemIndex(int index);

private:
    QButtonGroup *m_buttons;
};

// Fixed income and expense: the ledger's recurring items, and posting, changing and deleting
// them over a range of dates.
class TFirmCash_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TFirmCash_Form(Program &program);

    // Rebuilds both lists and the monthly sums; a failure is reported once per showing.
    void FormActivate() override;
    // The same after the user's posting, change, deletion or page switch.
    void refresh();
    // Prepares the screen for the calendar's month and shows it in place of the calendar.
    void openFromCalendar(int year, int month);

    void in_main_itemChange();
    void out_main_itemChange();
    void ComboBox1Change();
    void ComboBox2Change();
    void Edit1Change();
    void Edit3Change();
    void ListView1DblClick();
    void ListView2DblClick();
    void N2Click();
    void N1Click();
    void PopupMenu1Popup();
    void Button4Click();
    void Button5Click();
    // False keeps the current page.
    bool PageControl1Changing();
    void PageControl1Change();
    void BitBtn3Click();

    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QComboBox *in_main_item = nullptr;
    QComboBox *out_main_item = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QComboBox *ComboBox2 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QLineEdit *Edit3 = nullptr;
    QLineEdit *Edit4 = nullptr;
    QDateEdit *StartDatePciker1 = nullptr;
    QDateEdit *StartDatePciker2 = nullptr;
    QDateEdit *JvDatePickerEdit1 = nullptr;
    QDateEdit *JvDatePickerEdit2 = nullptr;
    RadioGroup *jvrdgrp1 = nullptr;
    RadioGroup *jvrdgrp2 = nullptr;
    QPushButton *Button4 = nullptr;
    QPushButton *Button5 = nullptr;
    QTableWidget *ListView1 = nullptr;
    QTableWidget *ListView2 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *N2 = nullptr;
    QAction *N1 = nullptr;
    QPushButton *BitBtn3 = nullptr;
    QStatusBar *JvStatusBar1 = nullptr;
    QLabel *StatusPanel1 = nullptr;
    QLabel *StatusPanel2 = nullptr;
    QLabel *StatusPanel3 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The controls of one page; both pages have the same set.
    struct Page
    {
        bool income;
        QComboBox *mainItem;
        QComboBox *entryName;
        QLineEdit *amount;
        QLineEdit *note;
        QDateEdit *start;
        QDateEdit *end;
        RadioGroup *period;
        QPushButton *action;
        QTableWidget *list;
        QStringList mainNumbers; // the list rows' main category numbers, in row order
        QList<RecurringItem> items; // the list rows' items, in row order
        std::optional<RecurringItem> loaded; // the item in the editor while it is changed
    };

    QWidget *buildPage(Page &page, const QString &suffix);
    Page &activePage();
    bool editing() const;
    void mainItemChange(Page &page);
    void updateActionButton(Page &page);
    void loadRow(Page &page);
    void runAction(Page &page);
    void toPostingState(Page &page);
    void resetBothPages(bool startOfMonth);
    void fillList(Page &page);
    // Throws when the items cannot be read.
    void refillLists();
    void leaveToCalendar();
    QDate firstOfCurrentMonth() const;

    Program &m_program;
    Page m_income;
    Page m_expense;
    GuardedPages *m_pages = nullptr;
};
