#pragma once

#include <QString>
#include <array>
#include <optional>

class Database;

// One of the 42 cells of a month page: the day it shows (0 for an empty cell) and the
// day's totals as far as they are shown.
struct CalendarCell
{
    int day = 0;
    // Present when the day has a 記帳本 row with that subtotal; a null or non-numeric
    // subtotal is absent.
    std::optional<qint64> income;
    std::optional<qint64> expense;
    // The lines are drawn only for subtotals of 0 or more.
    bool showsIncome() const { return income && *income >= 0; }
    bool showsExpense() const { return expense && *expense >= 0; }
};

// The month's sums over 記帳本; a null sum (no rows) counts as 0.
struct MonthTotals
{
    qint64 income = 0;
    qint64 expense = 0;
    qint64 balance() const { return income - expense; }
};

// The month calendar's data: the 42-cell layout of a month (Sunday first, six rows) and,
// for a ledger, each day's totals and the month's totals.
class MonthCalendar
{
public:
    static constexpr int CellCount = 42;
    using Cells = std::array<CalendarCell, CellCount>;

    // 1 = Sunday … 7 = Saturday, for the first of the month.
    static int firstWeekday(int year, int month);
    // Cell k (0-based) holds day k - firstWeekday + 2 when that is a day of the month.
    static Cells layout(int year, int month);
    // Cell index (0-based) of a day of the month.
    static int cellOfDay(int year, int month, int day);

    explicit MonthCalendar(Database &db);

    // The layout with the ledger's day totals filled in (one query over the month).
    Cells loadDays(const QString &ledger, int year, int month);
    // The month's income and expense sums (one query).
    MonthTotals loadTotals(const QString &ledger, int year, int month);

private:
    Database &m_db;
};
