#pragma once

#include "analysis/DetailQuery.h"
#include "ui/GradientWindow.h"

#include <QList>
#include <memory>

class Program;
class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;
class Report;
class Workbook;

// 明細清單: the entries of one month or one year of the current ledger, one kind at a time,
// filtered by category, a hundred rows a page, with print and export.
class TCashDetail_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TCashDetail_Form(Program &program);
    ~TCashDetail_Form() override;

    // Opened by the statistics screens' "明細清單": caller is "Month_Form" (month details of
    // the calendar's month) or "Year_Form" (year details of the calendar's year). The list
    // starts on its first page with the ledger's default kind; the opener is hidden.
    void openFrom(const QString &caller);

    // Runs when the screen is shown: the kind change (first page, filters "全部").
    void FormActivate() override;
    void SetupDetailPeriod();
    void BuildDetailList();

    void JvRadioGroup1Click(); // kind change
    void cbb1Change();
    void cbb2Change();
    void cbb3Change();
    void btn1Click(); // mode
    void btn_upClick();
    void btn_downClick();
    void lv1Click();
    void btn2Click(); // 上一頁
    void btn3Click(); // 離開
    void btn4Click(); // 略去
    void btn5Click(); // 匯出
    void btn6Click(); // 列印

    // 0 收入, 1 支出; selecting another kind runs the kind change.
    int kindIndex() const;
    void setKindIndex(int index);
    bool yearMode() const;
    // The report of what the list shows now (every row of it).
    std::unique_ptr<Report> buildReport();

    QString DetailCaller;
    int DetailStartRow = 1;
    bool DetailAllRows = false;
    qint64 DetailTotal = 0;
    int ClickedRow = -1;

    QLabel *JvLabel1 = nullptr;
    QComboBox *cbb1 = nullptr;
    QPushButton *btn1 = nullptr;
    QGroupBox *JvRadioGroup1 = nullptr;
    QRadioButton *rbIncome = nullptr;
    QRadioButton *rbExpense = nullptr;
    QLabel *lblCategory = nullptr;
    QComboBox *cbb2 = nullptr;
    QComboBox *cbb3 = nullptr;
    QTableWidget *lv1 = nullptr;
    QLabel *jvlbl1 = nullptr;
    QPushButton *btn_up = nullptr;
    QPushButton *btn_down = nullptr;
    QLabel *lblTotal = nullptr;
    QLabel *JvLabel4 = nullptr;
    QLabel *lblYuan = nullptr;
    QPushButton *btn2 = nullptr;
    QPushButton *btn3 = nullptr;
    QPushButton *btn4 = nullptr;
    QPushButton *btn5 = nullptr;
    QPushButton *btn6 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    DetailFilter currentFilter() const;
    QString kindText() const;
    QString periodText() const; // 2009年3月明細 / 2009年度明細
    void showTotal();
    void writeSheet(Workbook &book, const QString &kind);
    void fillCategories();

    Program &m_program;
    QButtonGroup *m_kinds = nullptr;
    QList<DetailRow> m_rows; // what the list shows, row for row
    bool m_refreshOnActivate = true;
    bool m_filling = false; // controls being refilled: their change signals do not rebuild
};
