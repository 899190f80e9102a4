#pragma once

#include "statistics/CategorySummary.h"
#include "ui/GradientWindow.h"

class Program;
class QAction;
class QComboBox;
class QMenu;
class QPainter;
class QPushButton;
class QTreeWidget;
class StatisticsChart;
class StatusPanels;

// What the monthly and the yearly statistics screens share: the category list, the bar
// chart, the side and group selectors, the chart menu and the status bar.
class StatisticsForm : public GradientWindow
{
    Q_OBJECT
public:
    // Recomputes the summary for the current selection; runs on every activation. A failure
    // is reported once per showing.
    void FormActivate() override;

    // Shown by the calendar: opens on the ledger's default side, group "公司/個人比較".
    void openFromCalendar();

    void JvComboBox1Change();
    void JvComboBox2Change();
    void ApplySelection();
    void N1Click();
    void N2Click();
    void StatusBar1DrawPanel(QPainter &painter, int panel, const QRect &rect);
    // 列印: the report of the list and the chart in the print preview.
    void BitBtn1Click();
    // The report's variables, answered from this screen.
    std::optional<QString> frxReport1GetValue(const QString &name) const;
    // 匯出: every entry of the period to a workbook.
    void BitBtn2Click();
    // Leaves like the screen's leave button.
    virtual void leave() = 0;

    // The chart picture this screen writes for printing.
    virtual QString chartPicturePath() const = 0;
    // The summary of the last run and the status bar it gives.
    const SummaryResult &lastSummary() const { return m_summary; }
    SummaryStatus currentStatus() const;
    // Caption of the report printed from this screen.
    virtual QString reportTitle() const = 0;

    int ViewMode = 2;
    int AttrFilter = 1;
    qint64 IncomeTotal = 0;
    qint64 ExpenseTotal = 0;

    QTreeWidget *ListView1 = nullptr;
    QComboBox *JvComboBox1 = nullptr;
    QComboBox *JvComboBox2 = nullptr;
    StatisticsChart *Chart1 = nullptr;
    StatusPanels *StatusBar1 = nullptr;
    QMenu *pm1 = nullptr;
    QAction *N1 = nullptr;
    QAction *N2 = nullptr;
    QPushButton *BitBtn1 = nullptr; // 列印
    QPushButton *BitBtn2 = nullptr; // 匯出

protected:
    StatisticsForm(Program &program, const QString &name, int chartLabelStep);

    // The period this screen shows.
    virtual SummaryInput periodInput() const = 0;
    // Screen-specific steps of a run: before it, and once it knows whether the period has
    // entries.
    virtual void summaryStarting() { }
    virtual void summaryFound(bool hasEntries) { Q_UNUSED(hasEntries) }
    // Called after the list rows are written.
    virtual void listFilled() { }

    QPushButton *makeButton(const QString &name, const QString &text, const QRect &geometry);
    void placeCommon(const QRect &list, int selectorLeft, const QRect &chart);
    void fillList(const QList<SummaryRow> &rows);
    // Watches every control so that Esc reaches the screen first.
    void watchKeys();
    void leaveToCalendar(bool deletePicture);
    // The summary the user asked for (a step, a choice); false when it failed.
    bool refresh();

    void closeEvent(QCloseEvent *event) override;

    Program &m_program;

private:
    void fillGroupSelector();
    void runSummary();
    void writePicture();

    SummaryResult m_summary;
    QString m_pictureFailure; // the picture path that could not be written last
};
