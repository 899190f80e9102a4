#include "store/Amount.h"
#include "store/LedgerOps.h"
#include "support/TestProgram.h"

#include <gtest/gtest.h>

namespace {
const QDate Day(2008, 3, 5);

struct DayRow
{
    bool exists;
    qint64 income;
    qint64 expense;
};

DayRow dayRow(Database &db, const QString &ledger, const QDate &date)
{
    QSqlQuery q = db.exec("SELECT 收入小計, 支出小計 FROM 記帳本 WHERE 使用者=? AND 日期=?",
        { ledger, dbDate(date) });
    if (!q.next())
        return { false, 0, 0 };
    return { true, q.value(0).toLongLong(), q.value(1).toLongLong() };
}
} // namespace

TEST(LedgerOps, SerialsCountPerLedgerDayAndKind)
{
    TestProgram t;
    t.copyTemplate("甲");
    Database &db = t.db();
    EXPECT_EQ(GetNewSingleDayRecordNo(db, "甲", Day, true), 2008030501);
    t.addEntry("甲", Day, true, 2, "投資", 100);
    t.addEntry("甲", Day, true, 2, "投資", 100);
    // The first expense of the day starts at 01 even with income entries present.
    EXPECT_EQ(GetNewSingleDayRecordNo(db, "甲", Day, false), 2008030501);
    t.addEntry("甲", Day, false, 4, "稅捐規費", 1);
    EXPECT_EQ(GetNewSingleDayRecordNo(db, "甲", Day, false), 2008030502);
    EXPECT_EQ(GetNewSingleDayRecordNo(db, "甲", Day, true), 2008030503);
    // Another ledger counts on its own.
    EXPECT_EQ(GetNewSingleDayRecordNo(db, "乙", Day, true), 2008030501);
    // Deleting the highest gives its number out again.
    t.addEntry("甲", Day, true, 2, "投資", 100);
    db.exec("DELETE FROM 單日記帳本 WHERE 序列號 = 2008030503 AND 帳目類型 = 1");
    EXPECT_EQ(GetNewSingleDayRecordNo(db, "甲", Day, true), 2008030503);
}

TEST(LedgerOps, SerialsPastNinetyNineRunOnWithoutWrapping)
{
    TestProgram t;
    t.addEntry("甲", Day, false, 5, "其他支出", 1);
    t.db().exec("UPDATE 單日記帳本 SET 序列號 = 2008030599");
    EXPECT_EQ(GetNewSingleDayRecordNo(t.db(), "甲", Day, false), 2008030600);
}

TEST(LedgerOps, CategoryNameListsFollowTheOrderCodes)
{
    TestProgram t;
    t.copyTemplate("O'Neil");
    Database &db = t.db();
    EXPECT_EQ(GetCategoryNameList(db, "O'Neil", "1"),
        QStringList({ "商品銷售", "投資", "其他", "個人收入" }));
    EXPECT_EQ(GetCategoryNameList(db, "O'Neil", "1", 1),
        QStringList({ "門市銷售", "網路銷售", "批發銷售" }));
    EXPECT_TRUE(GetCategoryNameList(db, "O'Neil", "1", 2).isEmpty());
    EXPECT_EQ(GetCategoryNameList(db, "O'Neil", "0").size(), 6);
    EXPECT_TRUE(GetCategoryNameList(db, "nobody", "0").isEmpty());
    // Gaps and repeated codes after edits: order by code only.
    db.exec("INSERT INTO 帳目分類 VALUES ('1', '1', '新品', 102, ?)", { "O'Neil" });
    EXPECT_EQ(GetCategoryNameList(db, "O'Neil", "1", 1).indexOf("新品"), 2);
}

TEST(LedgerOps, SmallTextHelpers)
{
    const QString ideographic(QChar(0x3000));
    EXPECT_EQ(fourstr("投資"), "投資" + ideographic + ideographic);
    EXPECT_EQ(fourstr("個人花費"), "個人花費");
    EXPECT_EQ(fourstr("稅捐規費再多"), "稅捐規費再多");
    EXPECT_EQ(fourstr(""), ideographic.repeated(4));
    EXPECT_EQ(GetWeekDayName(Day.dayOfWeek() % 7 + 1), "三");
    EXPECT_EQ(weekDayNameOf(QDate(2012, 3, 12)), "一");
    EXPECT_EQ(weekDayNameOf(QDate(2012, 3, 11)), "日");
    EXPECT_EQ(GetWeekDayName(0), "");
    EXPECT_EQ(MultiSpilt("a|b||c", "|"), QStringList({ "a", "b", "", "c" }));
    EXPECT_EQ(MultiSpilt("abc", "|"), QStringList({ "abc" }));
    EXPECT_EQ(entryDisplayName("投資", "股利", true), fourstr("投資") + "－股利");
    EXPECT_EQ(entryDisplayName("投資", "投資", false), "投資");
}

TEST(LedgerOps, AmountsFormatAndParse)
{
    EXPECT_EQ(formatAmount(0), "0");
    EXPECT_EQ(formatAmount(1200), "1,200");
    EXPECT_EQ(formatAmount(-1200), "-1,200");
    EXPECT_EQ(formatAmount(999999999), "999,999,999");
    EXPECT_EQ(formatAmount(1234567890123LL), "1,234,567,890,123");
    struct Case
    {
        const char *text;
        std::optional<qint64> value;
    };
    const Case cases[] = { { "1,200", 1200 }, { "0", 0 }, { "999999999", 999999999 },
        { "1000000000", {} }, { "", {} }, { "-5", {} }, { "1.5", {} }, { "12a", {} },
        { "0000000001", 1 }, { "１２", {} }, { " 7 ", 7 } };
    for (const Case &c : cases)
        EXPECT_EQ(parseAmount(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST(LedgerOps, DayTotalsFollowTheEntries)
{
    TestProgram t;
    Database &db = t.db();
    // A day of only 無花費 keeps a 0/0 row.
    t.addEntry("甲", Day, false, 6, "無花費", 0);
    DayRow row = dayRow(db, "甲", Day);
    EXPECT_TRUE(row.exists);
    EXPECT_EQ(row.income, 0);
    EXPECT_EQ(row.expense, 0);

    t.addEntry("甲", Day, true, 2, "投資", 1200);
    t.addEntry("甲", Day, false, 4, "稅捐規費", 350);
    t.addEntry("乙", Day, false, 4, "稅捐規費", 99999);
    row = dayRow(db, "甲", Day);
    EXPECT_EQ(row.income, 1200);
    EXPECT_EQ(row.expense, 350);

    // A stale row is replaced by the right one.
    db.exec("UPDATE 記帳本 SET 收入小計 = 5 WHERE 使用者='甲'");
    SyncDayTotals(db, "甲", Day);
    EXPECT_EQ(dayRow(db, "甲", Day).income, 1200);

    db.exec("DELETE FROM 單日記帳本 WHERE 使用者='甲'");
    SyncDayTotals(db, "甲", Day);
    EXPECT_FALSE(dayRow(db, "甲", Day).exists);
    EXPECT_TRUE(dayRow(db, "乙", Day).exists);
}
