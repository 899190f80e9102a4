#pragma once

#include "dayentry/DayBook.h"
#include "ui/GradientWindow.h"

#include <QDate>

class GuardedPages;
class Program;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

// The book of one day: income and expense entries, recorded, changed and deleted, each change
// stored at once.
class TCashRecord_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TCashRecord_Form(Program &program);

    // Loads the shown day of the current ledger when the screen is shown; a failure is
    // reported once per showing.
    void FormActivate() override;
    // The same load after the user's action (a step, a record, the category settings).
    void reload();
    // Called by the calendar (already hidden) for a clicked day.
    void openFromCalendar(const QDate &date);
    // The shown date: day from D_Label, year and month from the calendar.
    QDate shownDate() const;

    // Handlers, public so that tests can drive them like the user.
    void in_main_itemChange();
    void out_main_itemChange();
    void ComboBox1Change();
    void ComboBox2Change();
    void Button4Click();
    void Button5Click();
    void Button3Click();
    void ListView1DblClick();
    void ListView2DblClick();
    void N1Click();
    void N2Click();
    void PopupMenu1Popup();
    void ComboBox1Exit();
    void ComboBox2Exit();
    void DSpeedButton1Click(QToolButton *sender);
    void BitBtn3Click();
    void chk1Click();
    void CashSet_ButtonClick();
    // Refills both subcategory pickers for the selected main categories.
    void refillSubcategoryPickers();

    QLabel *D_Text_Label = nullptr;
    QLabel *D_Label = nullptr;
    QToolButton *DSpeedButton1 = nullptr;
    QToolButton *DSpeedButton2 = nullptr;
    QLabel *Label7 = nullptr;
    QLabel *CashSun = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QLabel *lbl2 = nullptr;
    QComboBox *in_main_item = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Edit2 = nullptr;
    QPushButton *Button4 = nullptr;
    QTreeWidget *ListView1 = nullptr;
    QLabel *CashIn = nullptr;
    QLabel *lbl1 = nullptr;
    QComboBox *out_main_item = nullptr;
    QLabel *Label4 = nullptr;
    QComboBox *ComboBox2 = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *Edit3 = nullptr;
    QLabel *Label6 = nullptr;
    QLineEdit *Edit4 = nullptr;
    QPushButton *Button5 = nullptr;
    QTreeWidget *ListView2 = nullptr;
    QLabel *CashOut = nullptr;
    QPushButton *BitBtn3 = nullptr;
    QPushButton *CashSet_Button = nullptr;
    QPushButton *Button3 = nullptr;
    QCheckBox *chk1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *N2 = nullptr;
    QAction *N1 = nullptr;

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The controls of one page; the two pages work alike.
    struct Page
    {
        bool income;
        QComboBox *mainPicker;
        QLabel *subLabel;
        QComboBox *subPicker;
        QLabel *amountLabel;
        QLineEdit *amount;
        QLabel *noteLabel;
        QLineEdit *note;
        QPushButton *record;
        QTreeWidget *list;
    };

    void buildControls();
    QWidget *buildPage(Page &page, QLabel *mainLabel, QLabel *total, const QString &kindName);
    Page &page(bool income) { return income ? m_income : m_expense; }
    Page &activePage();
    QString kindCode(const Page &p) const;
    bool hasSubcategories(const Page &p) const;
    void mainCategoryChange(Page &p);
    void recordEnabling(Page &p);
    void record(Page &p);
    void takeForModification(Page &p);
    void subPickerExit(Page &p);
    void applyLayout(Page &p, bool withSubcategories);
    void cancelModification();
    bool modificationPending() const;
    bool dayLoaded() const;
    void resetPages();
    void PageControl1Change();
    bool PageControl1Changing();
    void showDate(const QDate &date);
    void fillEntries(const QList<DayEntry> &entries);
    void addRow(QTreeWidget *list, const DayEntry &entry);
    QList<DayEntry> rowsOnScreen() const;
    void load(bool byUser);
    // Stores the day as these rows; false (and reported) when it failed.
    bool saveDay(const QList<DayEntry> &rows);
    DayBook dayBook();

    Program &m_program;
    Page m_income {};
    Page m_expense {};
    GuardedPages *m_pages = nullptr;
    bool m_changing = false;
    int m_modifiedRow = -1;
    // The day whose entries the lists hold; a save writes only that day.
    QDate m_loadedDate;
};
