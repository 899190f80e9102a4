#include "calendar/MonthCalendar.h"
#include "store/Database.h"
#include "support/TestProgram.h"

#include <gtest/gtest.h>

namespace {
// Writes a day-totals row as it stands; nulls where a value is missing.
void putDay(Database &db, const QString &ledger, const QDate &date, const QVariant &income,
    const QVariant &expense)
{
    db.exec(
        QStringLiteral("INSERT INTO 記帳本 (日期, 使用者, 收入小計, 支出小計) VALUES (?, ?, ?, ?)"),
        { dbDate(date), ledger, income, expense });
}

const QVariant Null;
} // namespace

struct LayoutCase
{
    int year, month;
    int firstCell; // 0-based cell of the 1st
    int days;
};

class MonthLayout : public ::testing::TestWithParam<LayoutCase>
{
};

TEST_P(MonthLayout, FirstDayUnderItsWeekdayAndNothingElse)
{
    const LayoutCase c = GetParam();
    const MonthCalendar::Cells cells = MonthCalendar::layout(c.year, c.month);
    EXPECT_EQ(MonthCalendar::firstWeekday(c.year, c.month), c.firstCell + 1);
    for (int k = 0; k < MonthCalendar::CellCount; ++k) {
        const int day = k - c.firstCell + 1;
        const int expected = (day >= 1 && day <= c.days) ? day : 0;
        EXPECT_EQ(cells[k].day, expected) << "cell " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Months, MonthLayout,
    ::testing::Values(
        // Starts on a Sunday: day 1 in the first cell.
        LayoutCase { 2012, 4, 0, 30 },
        // 31 days from a Friday and from a Saturday reach the sixth row.
        LayoutCase { 2011, 7, 5, 31 }, LayoutCase { 2012, 12, 6, 31 },
        // February of a non-leap year from a Sunday: exactly four rows.
        LayoutCase { 2015, 2, 0, 28 },
        // A leap February.
        LayoutCase { 2012, 2, 3, 29 }));

TEST(MonthLayout, SixthRowAndFifthRowUse)
{
    EXPECT_EQ(MonthCalendar::layout(2011, 7)[35].day, 31);
    EXPECT_EQ(MonthCalendar::layout(2012, 12)[36].day, 31);
    const MonthCalendar::Cells feb = MonthCalendar::layout(2015, 2);
    EXPECT_EQ(feb[27].day, 28);
    for (int k = 28; k < MonthCalendar::CellCount; ++k)
        EXPECT_EQ(feb[k].day, 0);
}

TEST(MonthLayout, InvalidMonthGivesEmptyPage)
{
    for (const CalendarCell &cell : MonthCalendar::layout(2012, 13))
        EXPECT_EQ(cell.day, 0);
}

TEST(MonthCalendarData, DayTotalsOfTheLedgerAndMonthOnly)
{
    TestProgram t;
    Database &db = t.db();
    const QString ledger = QStringLiteral("O'Brien 帳本");
    putDay(db, ledger, QDate(2012, 3, 1), 1200, 350);
    putDay(db, ledger, QDate(2012, 3, 31), 0, 99);
    // Neighbouring months and another ledger stay out.
    putDay(db, ledger, QDate(2012, 2, 29), 7, 7);
    putDay(db, ledger, QDate(2012, 4, 1), 8, 8);
    putDay(db, QStringLiteral("別人"), QDate(2012, 3, 2), 5, 5);

    MonthCalendar calendar(db);
    const MonthCalendar::Cells cells = calendar.loadDays(ledger, 2012, 3);
    // 1 March 2012 is a Thursday.
    const CalendarCell &first = cells[4];
    EXPECT_EQ(first.day, 1);
    EXPECT_EQ(first.income, 1200);
    EXPECT_EQ(first.expense, 350);
    EXPECT_TRUE(first.showsIncome() && first.showsExpense());
    EXPECT_EQ(cells[MonthCalendar::cellOfDay(2012, 3, 31)].income, 0);
    EXPECT_TRUE(cells[MonthCalendar::cellOfDay(2012, 3, 31)].showsIncome());
    for (int k = 0; k < MonthCalendar::CellCount; ++k) {
        if (k == 4 || k == MonthCalendar::cellOfDay(2012, 3, 31))
            continue;
        EXPECT_FALSE(cells[k].income.has_value()) << "cell " << k;
        EXPECT_FALSE(cells[k].expense.has_value()) << "cell " << k;
    }

    const MonthTotals totals = calendar.loadTotals(ledger, 2012, 3);
    EXPECT_EQ(totals.income, 1200);
    EXPECT_EQ(totals.expense, 449);
    EXPECT_EQ(totals.balance(), 751);
}

TEST(MonthCalendarData, NegativeAndNullSubtotalsAreNotShown)
{
    TestProgram t;
    Database &db = t.db();
    putDay(db, "甲", QDate(2012, 3, 5), -40, 60);
    putDay(db, "甲", QDate(2012, 3, 6), Null, 10);
    putDay(db, "甲", QDate(2012, 3, 7), 30, Null);

    MonthCalendar calendar(db);
    const MonthCalendar::Cells cells = calendar.loadDays("甲", 2012, 3);
    const CalendarCell &negative = cells[MonthCalendar::cellOfDay(2012, 3, 5)];
    EXPECT_FALSE(negative.showsIncome());
    EXPECT_TRUE(negative.showsExpense());
    const CalendarCell &nullIncome = cells[MonthCalendar::cellOfDay(2012, 3, 6)];
    EXPECT_FALSE(nullIncome.income.has_value());
    EXPECT_EQ(nullIncome.expense, 10);
    EXPECT_FALSE(cells[MonthCalendar::cellOfDay(2012, 3, 7)].expense.has_value());

    // The month sums count every stored subtotal, a null one as 0.
    const MonthTotals totals = calendar.loadTotals("甲", 2012, 3);
    EXPECT_EQ(totals.income, -10);
    EXPECT_EQ(totals.expense, 70);
}

TEST(MonthCalendarData, EmptyMonthSumsToZero)
{
    TestProgram t;
    MonthCalendar calendar(t.db());
    const MonthTotals totals = calendar.loadTotals("甲", 2012, 3);
    EXPECT_EQ(totals.income, 0);
    EXPECT_EQ(totals.expense, 0);
    EXPECT_EQ(totals.balance(), 0);
}

TEST(MonthCalendarData, MonthIsReadWithOneQueryForDaysAndOneForTotals)
{
    TestProgram t;
    Database &db = t.db();
    for (int day = 1; day <= 31; ++day)
        putDay(db, "甲", QDate(2012, 12, day), day, day);
    // The last month the year box allows still finds its last day.
    putDay(db, "甲", QDate(9999, 12, 31), 5, 1);

    int statements = 0;
    db.setStatementHook([&statements](const QString &) { ++statements; });
    MonthCalendar calendar(db);
    const MonthCalendar::Cells cells = calendar.loadDays("甲", 2012, 12);
    calendar.loadTotals("甲", 2012, 12);
    db.setStatementHook({});
    EXPECT_EQ(statements, 2);
    EXPECT_EQ(cells[MonthCalendar::cellOfDay(2012, 12, 31)].income, 31);

    EXPECT_EQ(calendar.loadDays("甲", 9999, 12)[MonthCalendar::cellOfDay(9999, 12, 31)].income, 5);
    EXPECT_EQ(calendar.loadTotals("甲", 9999, 12).balance(), 4);
}
