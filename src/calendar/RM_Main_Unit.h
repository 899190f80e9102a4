#pragma once

#include "ui/GradientWindow.h"

#include <QColor>
#include <array>
#include <functional>

class Program;
class QLabel;
class QPainter;
class QPushButton;
class QSpinBox;
class QToolButton;
class DayCell;
class PanelStatusBar;
class ClickLabel;
struct CalendarCell;

// The month calendar: the working window of a logged-in ledger, with the day and month
// totals and the commands that open every other screen.
class TRM_Main_Form : public GradientWindow
{
    Q_OBJECT
public:
    explicit TRM_Main_Form(Program &program);

    // Reconnects and refills the month; runs whenever the window becomes active again.
    void FormActivate() override;
    // Fills the 42 cells and, for a logged-in ledger, the day and month totals.
    // Throws when the data store fails.
    void FillMonthCalendar(int year, int month);

    // Program state that other screens read here: the current ledger ("訪客" when none),
    // the current year and the current month ("3月").
    QLabel *User_Label = nullptr;
    QSpinBox *Year_Label = nullptr;
    QLabel *M_Label = nullptr;

    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QPushButton *BitBtn3 = nullptr;
    QPushButton *BitBtn4 = nullptr;
    QPushButton *BitBtn5 = nullptr;
    QPushButton *BitBtn6 = nullptr;
    QPushButton *BitBtn7 = nullptr;
    QToolButton *MSpeedButton1 = nullptr;
    QToolButton *MSpeedButton2 = nullptr;
    QLabel *Y_Label = nullptr;
    // Weekday headings Label1 … Label7, Sunday first.
    std::array<QLabel *, 7> Labels {};
    // Day cells RichEdit1 … RichEdit42, row by row from Sunday.
    std::array<DayCell *, 42> RichEdits {};
    PanelStatusBar *StatusBar1 = nullptr;
    ClickLabel *lbl1 = nullptr;

    // The month balance as shown in the status bar; "0" until a ledger's month is filled.
    QString MonthBalanceText = QStringLiteral("0");
    // The day number of the cell clicked last (0 before the first click).
    int clickedDay() const { return m_clickedDay; }
    // Blue for a balance of 0 or more, red below.
    QColor monthBalanceColor() const;

    // Handlers.
    void Year_LabelChange();
    void Year_LabelKeyDown();
    // Both month arrows: step -1 for the previous month, +1 for the next.
    void MSpeedButton1Click(int step);
    void RichEdit1MouseMove(DayCell *cell);
    void RichEdit1MouseDown(DayCell *cell);
    void StatusBar1DrawPanel(QPainter &painter, int panel, const QRect &rect);
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void BitBtn5Click();
    void BitBtn6Click();
    void BitBtn7Click();
    void lbl1Click();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createCommandRow();
    void createMonthRow();
    void createGrid();
    void createStatusBar();
    void placeUserLabel();
    // Read from this window's own controls (the program's accessors need the window to
    // exist already).
    bool isLoggedIn() const;
    int monthShown() const;
    void fillCell(DayCell *cell, const CalendarCell &data, bool withTotals);
    // The user's refill; false (and reported) when it failed.
    bool refill(int year, int month);
    // After a failed refill: the labels go back to the month the page still shows.
    void showFilledPeriod();
    void showDaysWithoutFigures(int year, int month);
    void describeStatusBar();
    // Runs a command that hides this window and opens another screen.
    void openScreen(const std::function<void()> &open);

    Program &m_program;
    int m_clickedDay = 0;
    // Set while the month arrows move the year, so the month is filled once.
    bool m_navigating = false;
    // Whose month the page shows.
    struct FilledMonth
    {
        QString ledger;
        int year = 0;
        int month = 0;
        bool operator==(const FilledMonth &) const = default;
    };
    FilledMonth m_filled;
};
