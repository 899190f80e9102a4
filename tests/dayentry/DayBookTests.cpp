#include "DayEntryTestSupport.h"
#include "dayentry/DayBook.h"

#include <gtest/gtest.h>

using namespace dayentrytest;

namespace {

const QDate Day(2012, 3, 12);

struct DayBookTest : ::testing::Test
{
    DayBookTest() { t.loginAs(Ledger); }
    DayBook book() { return DayBook(t.db(), Ledger); }
    DayEntry entry(bool income, int main, const QString &name, qint64 amount, qint64 serial,
        const QString &note = {})
    {
        DayEntry e;
        e.income = income;
        e.mainNumber = main;
        e.name = name;
        e.amount = amount;
        e.note = note;
        e.serial = serial;
        return e;
    }
    TestProgram t;
};

TEST_F(DayBookTest, LoadsEntriesWithTheirMainCategoryNamesAndTheDayTotal)
{
    t.addEntry(Ledger, Day, false, 2, QStringLiteral("原料"), 300);
    t.addEntry(Ledger, Day, false, 1, QStringLiteral("餐飲"), 120, QStringLiteral("午餐"));
    t.addEntry(Ledger, Day, true, 4, QStringLiteral("個人收入"), 5000);
    t.addEntry(QStringLiteral("別人"), Day, true, 2, QStringLiteral("投資"), 7);

    const QList<DayEntry> entries = book().load(Day);
    ASSERT_EQ(entries.size(), 3);
    // Expense first in the grouping order, each kind by main category code.
    EXPECT_EQ(entries[0].mainName, QStringLiteral("個人花費"));
    EXPECT_EQ(entries[0].name, QStringLiteral("餐飲"));
    EXPECT_EQ(entries[0].note, QStringLiteral("午餐"));
    EXPECT_EQ(entries[1].mainName, QStringLiteral("進貨"));
    EXPECT_EQ(entries[2].mainName, QStringLiteral("個人收入"));
    EXPECT_TRUE(entries[2].income);
    EXPECT_EQ(entries[2].serial, 2012031201);

    const auto totals = book().totals(Day);
    ASSERT_TRUE(totals);
    EXPECT_EQ(totals->income, 5000);
    EXPECT_EQ(totals->expense, 420);
    EXPECT_FALSE(book().totals(Day.addDays(1)));
}

TEST_F(DayBookTest, SaveReplacesTheDayAndKeepsTheTotalsRule)
{
    t.addEntry(Ledger, Day, true, 2, QStringLiteral("投資"), 100);
    const QString quoted = QStringLiteral("O'Brien \"說\" ") + QString(300, QChar(0x5B57));
    book().save(Day,
        { entry(true, 1, QStringLiteral("門市'銷售"), 999'999'999, 2012031201, quoted),
            entry(false, 6, QStringLiteral("無花費"), 0, 2012031201) });
    EXPECT_EQ(storedEntries(t.db(), Day),
        QStringList(
            { QStringLiteral("1|1|門市'銷售|999999999|") + quoted + QStringLiteral("||2012031201"),
                QStringLiteral("0|6|無花費|0|||2012031201") }));
    EXPECT_EQ(storedTotal(t.db(), Day), QStringLiteral("999999999/0"));

    // Saving again leaves the same rows.
    book().save(Day, book().load(Day));
    EXPECT_EQ(storedEntries(t.db(), Day).size(), 2);
    EXPECT_EQ(storedTotal(t.db(), Day), QStringLiteral("999999999/0"));

    // Only 無花費: a 0/0 total marks the day as recorded.
    book().save(Day, { entry(false, 6, QStringLiteral("無花費"), 0, 2012031201) });
    EXPECT_EQ(storedTotal(t.db(), Day), QStringLiteral("0/0"));

    // Nothing left: no entries and no total.
    book().save(Day, {});
    EXPECT_TRUE(storedEntries(t.db(), Day).isEmpty());
    EXPECT_EQ(storedTotal(t.db(), Day), QStringLiteral("none"));
}

// A recurring entry stays its item's: its marker and its note as typed (trailing blanks
// included) come back from a save of the day.
TEST_F(DayBookTest, RecurringMarkersAndNotesAsTypedSurviveASaveOfTheDay)
{
    t.addEntry(Ledger, Day, false, 3, QStringLiteral("租金"), 8000, QStringLiteral("店面  "),
        QStringLiteral("1"));
    t.addEntry(Ledger, Day, false, 3, QStringLiteral("薪資"), 100, {}, QVariant()); // old row
    QList<DayEntry> rows = book().load(Day);
    rows << entry(false, 1, QStringLiteral("餐飲"), 60, book().nextSerial(Day, false));
    book().save(Day, rows);
    EXPECT_EQ(storedEntries(t.db(), Day),
        QStringList({ QStringLiteral("0|3|租金|8000|店面  |1|2012031201"),
            QStringLiteral("0|3|薪資|100||<null>|2012031202"),
            QStringLiteral("0|1|餐飲|60|||2012031203") }));
}

TEST_F(DayBookTest, AFailureMidSaveLeavesTheDayAsItWas)
{
    t.addEntry(Ledger, Day, true, 2, QStringLiteral("投資"), 100);
    t.addEntry(Ledger, Day, false, 1, QStringLiteral("餐飲"), 50);
    const QStringList before = storedEntries(t.db(), Day);

    // Fail at each write in turn: two deletes, three inserts of entries, the total.
    for (int failAt = 1; failAt <= 6; ++failAt) {
        int writes = 0;
        t.db().setStatementHook([&](const QString &sql) {
            const bool write = sql.startsWith(QStringLiteral("DELETE"))
                || sql.startsWith(QStringLiteral("INSERT"));
            if (write && ++writes == failAt)
                throw DbError(QStringLiteral("磁碟已滿"));
        });
        QList<DayEntry> rows = book().load(Day);
        rows << entry(false, 1, QStringLiteral("交通"), 30, 2012031202);
        EXPECT_THROW(book().save(Day, rows), DbError) << failAt;
        t.db().setStatementHook({});
        EXPECT_EQ(storedEntries(t.db(), Day), before) << failAt;
        EXPECT_EQ(storedTotal(t.db(), Day), QStringLiteral("100/50")) << failAt;
    }
}

TEST_F(DayBookTest, AnEntryWithoutAMainCategoryRowIsListedAndSurvivesASave)
{
    t.addEntry(Ledger, Day, false, 9, QStringLiteral("舊分類"), 70, {}, QStringLiteral(""));
    QList<DayEntry> rows = book().load(Day);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].mainName.isEmpty());
    rows << entry(false, 1, QStringLiteral("餐飲"), 5, book().nextSerial(Day, false));
    book().save(Day, rows);
    EXPECT_EQ(storedEntries(t.db(), Day),
        QStringList({ QStringLiteral("0|9|舊分類|70|||2012031201"),
            QStringLiteral("0|1|餐飲|5|||2012031202") }));
}

TEST_F(DayBookTest, DefaultPageIsStoredForTheLedger)
{
    book().storeDefaultPage(1);
    EXPECT_EQ(t.db()
                  .scalar(QStringLiteral("SELECT 設定值 FROM 參數設定 WHERE 代碼 = "
                                         "'預設單日記帳畫面' AND 使用者 = ?"),
                      { Ledger })
                  .toString(),
        QStringLiteral("1"));
    // A ledger whose file lacks the row gets one.
    t.db().exec(QStringLiteral("DELETE FROM 參數設定 WHERE 使用者 = ?"), { Ledger });
    book().storeDefaultPage(0);
    EXPECT_EQ(t.db()
                  .scalar(QStringLiteral("SELECT COUNT(*) FROM 參數設定 WHERE 設定值 = '0' AND "
                                         "使用者 = ?"),
                      { Ledger })
                  .toInt(),
        1);
}

} // namespace
