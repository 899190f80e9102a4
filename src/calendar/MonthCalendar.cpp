#include "calendar/MonthCalendar.h"

#include "store/Database.h"

#include <QDate>
#include <QSqlQuery>
#include <QVariant>

namespace {
// A subtotal that is null or not a whole number has nothing to show.
std::optional<qint64> wholeNumber(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    const qint64 number = value.toString().trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

qint64 sumOrZero(const QVariant &value)
{
    return wholeNumber(value).value_or(0);
}

// The month as an inclusive range of stored dates; the last day rather than the first of
// the next month keeps the range right for December of year 9999.
QVariantList monthRange(const QString &ledger, int year, int month)
{
    const QDate first(year, month, 1);
    return { ledger, dbDate(first), dbDate(first.addDays(first.daysInMonth() - 1)) };
}
} // namespace

int MonthCalendar::firstWeekday(int year, int month)
{
    const QDate first(year, month, 1);
    if (!first.isValid())
        return 0;
    return first.dayOfWeek() % 7 + 1;
}

MonthCalendar::Cells MonthCalendar::layout(int year, int month)
{
    Cells cells {};
    const QDate first(year, month, 1);
    if (!first.isValid())
        return cells;
    const int offset = firstWeekday(year, month) - 1;
    for (int day = 1; day <= first.daysInMonth(); ++day)
        cells[offset + day - 1].day = day;
    return cells;
}

int MonthCalendar::cellOfDay(int year, int month, int day)
{
    return firstWeekday(year, month) - 1 + day - 1;
}

MonthCalendar::MonthCalendar(Database &db)
    : m_db(db)
{ }

MonthCalendar::Cells MonthCalendar::loadDays(const QString &ledger, int year, int month)
{
    Cells cells = layout(year, month);
    if (!QDate(year, month, 1).isValid())
        return cells;
    QSqlQuery query = m_db.exec(QStringLiteral("SELECT 日期, 收入小計, 支出小計 FROM 記帳本 "
                                               "WHERE 使用者 = ? AND 日期 >= ? AND 日期 <= ? "
                                               "ORDER BY 日期"),
        monthRange(ledger, year, month));
    std::array<bool, CellCount> seen {};
    while (query.next()) {
        const QDate date = fromDbDate(query.value(0).toString());
        if (!date.isValid() || date.year() != year || date.month() != month)
            continue;
        const int cell = cellOfDay(year, month, date.day());
        // A day has one row; should there be more, the first one counts.
        if (seen[cell])
            continue;
        seen[cell] = true;
        cells[cell].income = wholeNumber(query.value(1));
        cells[cell].expense = wholeNumber(query.value(2));
    }
    return cells;
}

MonthTotals MonthCalendar::loadTotals(const QString &ledger, int year, int month)
{
    MonthTotals totals;
    if (!QDate(year, month, 1).isValid())
        return totals;
    QSqlQuery query = m_db.exec(QStringLiteral("SELECT SUM(收入小計), SUM(支出小計) FROM 記帳本 "
                                               "WHERE 使用者 = ? AND 日期 >= ? AND 日期 <= ?"),
        monthRange(ledger, year, month));
    if (query.next()) {
        totals.income = sumOrZero(query.value(0));
        totals.expense = sumOrZero(query.value(1));
    }
    return totals;
}
