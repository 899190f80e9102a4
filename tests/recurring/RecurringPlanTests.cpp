#include "recurring/RecurringPlan.h"
#include "store/LedgerOps.h"
#include "support/TestProgram.h"

#include <gtest/gtest.h>

// Readable failure output for Qt values.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QDate &date, std::ostream *os)
{
    *os << date.toString(Qt::ISODate).toStdString();
}

namespace {
const QString Ledger = QStringLiteral("甲");

QList<QDate> ymd(std::initializer_list<std::array<int, 3>> list)
{
    QList<QDate> dates;
    for (const auto &d : list)
        dates << QDate(d[0], d[1], d[2]);
    return dates;
}

struct DayRow
{
    bool exists = false;
    qint64 income = 0;
    qint64 expense = 0;
    bool operator==(const DayRow &) const = default;
};

DayRow dayRow(Database &db, const QDate &date)
{
    QSqlQuery q = db.exec("SELECT 收入小計, 支出小計 FROM 記帳本 WHERE 使用者=? AND 日期=?",
        { Ledger, dbDate(date) });
    if (!q.next())
        return {};
    return { true, q.value(0).toLongLong(), q.value(1).toLongLong() };
}

// Every entry and day-total row of the ledger, as text, to compare whole states.
QStringList snapshot(Database &db)
{
    QStringList rows;
    QSqlQuery e = db.exec("SELECT 日期, 帳目類型, 帳目屬性, 帳目名稱, 金額, 說明, 定期, 序列號 "
                          "FROM 單日記帳本 WHERE 使用者=? ORDER BY 日期, 帳目類型, 序列號",
        { Ledger });
    while (e.next()) {
        QStringList cols;
        for (int i = 0; i < 8; ++i)
            cols << e.value(i).toString();
        rows << cols.join('|');
    }
    QSqlQuery t = db.exec(
        "SELECT 日期, 收入小計, 支出小計 FROM 記帳本 WHERE 使用者=? ORDER BY 日期", { Ledger });
    while (t.next())
        rows << QStringLiteral("total|%1|%2|%3")
                    .arg(t.value(0).toString(), t.value(1).toString(), t.value(2).toString());
    return rows;
}

RecurringPosting rent(const QDate &start, const QDate &end, const QString &amount = "12000",
    const QString &note = "店面")
{
    RecurringPosting p;
    p.income = false;
    p.mainNumber = 3;
    p.entryName = "租金";
    p.amountText = amount;
    p.note = note;
    p.period = 1;
    p.start = start;
    p.end = end;
    return p;
}

class RecurringPlanTest : public ::testing::Test
{
protected:
    void SetUp() override { t.copyTemplate(Ledger); }
    RecurringPlan plan() { return RecurringPlan(t.db(), Ledger); }
    RecurringItem find(qint64 amount, const QString &note)
    {
        for (const RecurringItem &item : plan().items())
            if (item.amount == amount && item.note == note)
                return item;
        ADD_FAILURE() << "no such item";
        return {};
    }
    TestProgram t;
};
} // namespace

TEST(RecurringDates, FollowThePeriodWithinTheRange)
{
    struct Case
    {
        QDate start, end;
        int period;
        QList<QDate> expected;
    };
    const QList<Case> cases {
        { { 2009, 11, 15 }, { 2010, 2, 10 }, 1,
            ymd({ { 2009, 11, 15 }, { 2009, 12, 15 }, { 2010, 1, 15 } }) },
        { { 2009, 1, 10 }, { 2009, 12, 31 }, 3,
            ymd({ { 2009, 1, 10 }, { 2009, 4, 10 }, { 2009, 7, 10 }, { 2009, 10, 10 } }) },
        { { 2009, 12, 5 }, { 2010, 5, 5 }, 2,
            ymd({ { 2009, 12, 5 }, { 2010, 2, 5 }, { 2010, 4, 5 } }) },
        // The end date itself is included.
        { { 2012, 1, 5 }, { 2012, 3, 5 }, 1,
            ymd({ { 2012, 1, 5 }, { 2012, 2, 5 }, { 2012, 3, 5 } }) },
        // Start after end, in the same year or not: nothing.
        { { 2012, 6, 5 }, { 2012, 3, 5 }, 1, {} },
        { { 2013, 1, 5 }, { 2012, 12, 31 }, 1, {} },
        // Days a month lacks take that month's last day; later months keep the start day.
        { { 2011, 1, 31 }, { 2011, 5, 31 }, 1,
            ymd({ { 2011, 1, 31 }, { 2011, 2, 28 }, { 2011, 3, 31 }, { 2011, 4, 30 },
                { 2011, 5, 31 } }) },
        { { 2012, 1, 31 }, { 2012, 3, 1 }, 1, ymd({ { 2012, 1, 31 }, { 2012, 2, 29 } }) },
        { { 2012, 8, 30 }, { 2013, 3, 1 }, 3,
            ymd({ { 2012, 8, 30 }, { 2012, 11, 30 }, { 2013, 2, 28 } }) },
    };
    for (const Case &c : cases)
        EXPECT_EQ(RecurringPlan::dates(c.start, c.end, c.period), c.expected)
            << c.start.toString(Qt::ISODate).toStdString() << " – "
            << c.end.toString(Qt::ISODate).toStdString() << " /" << c.period;
}

TEST(RecurringSums, MonthlyShareRoundsHalvesToEven)
{
    struct Case
    {
        qint64 amount;
        int period;
        qint64 share;
    };
    const QList<Case> cases { { 100, 1, 100 }, { 300, 3, 100 }, { 50, 2, 25 }, { 5, 2, 2 },
        { 7, 2, 4 }, { 1, 2, 0 }, { 3, 2, 2 }, { 10, 3, 3 }, { 11, 3, 4 }, { 0, 3, 0 },
        { 999999999, 2, 500000000 } };
    for (const Case &c : cases)
        EXPECT_EQ(RecurringPlan::monthlyShare(c.amount, c.period), c.share)
            << c.amount << "/" << c.period;

    auto item = [](bool income, qint64 amount, int period) {
        RecurringItem i;
        i.income = income;
        i.amount = amount;
        i.period = period;
        return i;
    };
    const MonthlySums sums = RecurringPlan::monthlySums(
        { item(true, 100, 1), item(true, 300, 3), item(true, 50, 2), item(false, 1425, 1) });
    EXPECT_EQ(sums.income, 225);
    EXPECT_EQ(sums.expense, 1425);
    EXPECT_EQ(sums.difference(), -1200);
}

TEST_F(RecurringPlanTest, PostingWritesOneEntryPerDateWithSerialsAndDayTotals)
{
    const QDate busy(2012, 2, 10);
    t.addEntry(Ledger, busy, false, 1, "餐飲", 80);
    t.addEntry(Ledger, busy, true, 2, "投資", 500);

    const QList<QDate> posted = plan().post(rent({ 2012, 1, 10 }, { 2012, 3, 31 }));
    EXPECT_EQ(posted, ymd({ { 2012, 1, 10 }, { 2012, 2, 10 }, { 2012, 3, 10 } }));

    QSqlQuery q = t.db().exec("SELECT 日期, 帳目類型, 帳目屬性, 帳目名稱, 金額, 說明, 定期, 序列號 "
                              "FROM 單日記帳本 WHERE 使用者=? AND 帳目名稱='租金' ORDER BY 日期",
        { Ledger });
    QStringList rows;
    while (q.next())
        rows << QStringList { q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
            q.value(3).toString(), q.value(4).toString(), q.value(5).toString(),
            q.value(6).toString(), q.value(7).toString() }
                    .join('|');
    EXPECT_EQ(rows,
        QStringList({ "2012-01-10|0|3|租金|12000|店面|1|2012011001",
            "2012-02-10|0|3|租金|12000|店面|1|2012021002",
            "2012-03-10|0|3|租金|12000|店面|1|2012031001" }));
    // The day that had entries keeps them in its totals.
    EXPECT_EQ(dayRow(t.db(), busy), (DayRow { true, 500, 12080 }));
    EXPECT_EQ(dayRow(t.db(), { 2012, 1, 10 }), (DayRow { true, 0, 12000 }));
}

TEST_F(RecurringPlanTest, BadInputPostsNothingAndSaysWhy)
{
    struct Case
    {
        RecurringPosting posting;
        QString message;
    };
    RecurringPosting noName = rent({ 2012, 1, 1 }, { 2012, 2, 1 });
    noName.entryName = "請選擇";
    const QList<Case> cases {
        { rent({ 2012, 6, 5 }, { 2012, 3, 5 }), "起始日期不可晚於結束日期！" },
        { rent({ 2013, 1, 5 }, { 2012, 3, 5 }), "起始日期不可晚於結束日期！" },
        { rent({ 2012, 1, 1 }, { 2012, 2, 1 }, "1234567890"), "金額必須是不超過9位數的整數！" },
        { rent({ 2012, 1, 1 }, { 2012, 2, 1 }, "12.5"), "金額必須是不超過9位數的整數！" },
        { rent({ 2012, 1, 1 }, { 2012, 2, 1 }, ""), "金額必須是不超過9位數的整數！" },
        { noName, "請選擇帳目！" },
    };
    for (const Case &c : cases) {
        try {
            plan().post(c.posting);
            ADD_FAILURE() << "posted " << c.posting.amountText.toStdString();
        } catch (const RecurringInputError &e) {
            EXPECT_EQ(e.message(), c.message);
        }
    }
    EXPECT_TRUE(snapshot(t.db()).isEmpty());
}

TEST_F(RecurringPlanTest, ListGroupsPostingsIntoItemsWithTheirRange)
{
    plan().post(rent({ 2012, 1, 10 }, { 2012, 3, 31 }));
    plan().post(rent({ 2012, 6, 10 }, { 2012, 7, 31 }));
    RecurringPosting invest;
    invest.income = true;
    invest.mainNumber = 2;
    invest.entryName = "投資";
    invest.amountText = "300";
    invest.period = 3;
    invest.start = { 2012, 1, 5 };
    invest.end = { 2012, 12, 31 };
    plan().post(invest);
    // A note left empty is stored as the empty text, also after a change.
    EXPECT_EQ(t.db().scalar("SELECT COUNT(*) FROM 單日記帳本 WHERE 說明 IS NULL").toInt(), 0);
    // Ordinary entries (empty or missing period code) are not items.
    t.addEntry(Ledger, { 2012, 1, 10 }, false, 3, "租金", 12000, "店面");
    t.addEntry(Ledger, { 2012, 1, 11 }, false, 3, "租金", 12000, "店面", QVariant());

    const QList<RecurringItem> items = plan().items();
    ASSERT_EQ(items.size(), 2);
    // Monthly before quarterly.
    EXPECT_FALSE(items[0].income);
    EXPECT_EQ(items[0].mainName, "管銷");
    EXPECT_EQ(items[0].entryName, "租金");
    EXPECT_EQ(items[0].mainNumber, 3);
    EXPECT_EQ(items[0].amount, 12000);
    EXPECT_EQ(items[0].note, "店面");
    EXPECT_EQ(items[0].first, QDate(2012, 1, 10));
    EXPECT_EQ(items[0].last, QDate(2012, 7, 10));
    EXPECT_TRUE(items[1].income);
    EXPECT_EQ(items[1].mainName, "投資");
    EXPECT_EQ(items[1].period, 3);
    EXPECT_EQ(items[1].first, QDate(2012, 1, 5));
    EXPECT_EQ(items[1].last, QDate(2012, 10, 5));
    plan().change(items[0], "12000", QString());
    EXPECT_EQ(t.db().scalar("SELECT COUNT(*) FROM 單日記帳本 WHERE 說明 IS NULL").toInt(), 0);
}

TEST_F(RecurringPlanTest, ChangeAndDeleteTouchOnlyTheSelectedItem)
{
    plan().post(rent({ 2012, 1, 31 }, { 2012, 6, 30 }));
    // Same name and period on the same days, but another amount or note.
    plan().post(rent({ 2012, 1, 31 }, { 2012, 6, 30 }, "500", "店面"));
    plan().post(rent({ 2012, 1, 31 }, { 2012, 6, 30 }, "12000", "倉庫"));
    t.addEntry(Ledger, { 2012, 2, 29 }, true, 2, "投資", 70);
    ASSERT_EQ(plan().items().size(), 3);

    EXPECT_EQ(plan().change(find(12000, "店面"), "13,000", "店面'漲價"), 6);
    EXPECT_EQ(dayRow(t.db(), { 2012, 2, 29 }), (DayRow { true, 70, 13000 + 500 + 12000 }));
    const RecurringItem changed = find(13000, "店面'漲價");
    EXPECT_EQ(changed.first, QDate(2012, 1, 31));
    EXPECT_EQ(changed.last, QDate(2012, 6, 30));
    EXPECT_EQ(find(500, "店面").last, QDate(2012, 6, 30));
    EXPECT_EQ(find(12000, "倉庫").last, QDate(2012, 6, 30));

    EXPECT_EQ(plan().remove(changed), 6);
    EXPECT_EQ(plan().items().size(), 2);
    EXPECT_EQ(dayRow(t.db(), { 2012, 2, 29 }), (DayRow { true, 70, 500 + 12000 }));
    EXPECT_EQ(dayRow(t.db(), { 2012, 4, 30 }), (DayRow { true, 0, 500 + 12000 }));

    plan().remove(find(500, "店面"));
    plan().remove(find(12000, "倉庫"));
    EXPECT_TRUE(plan().items().isEmpty());
    // Days left without entries lose their row; the day with another entry keeps its own.
    EXPECT_FALSE(dayRow(t.db(), { 2012, 4, 30 }).exists);
    EXPECT_EQ(dayRow(t.db(), { 2012, 2, 29 }), (DayRow { true, 70, 0 }));
}

TEST_F(RecurringPlanTest, ChangeReachesEveryEntryOfTheItemButNoOrdinaryEntry)
{
    plan().post(rent({ 2012, 1, 10 }, { 2012, 3, 31 }));
    // The same item posted again later with another start day joins the same list row.
    plan().post(rent({ 2012, 5, 20 }, { 2012, 5, 31 }));
    // An ordinary entry that looks the same (saved as an ordinary entry on the day screen).
    t.addEntry(Ledger, { 2012, 2, 10 }, false, 3, "租金", 12000, "店面");

    const RecurringItem item = find(12000, "店面");
    EXPECT_EQ(item.last, QDate(2012, 5, 20));
    EXPECT_EQ(plan().change(item, "1", "店面"), 4);
    const QStringList amounts = [&] {
        QStringList list;
        QSqlQuery q = t.db().exec(
            "SELECT 日期 || ':' || 金額 FROM 單日記帳本 WHERE 使用者=? ORDER BY 日期, 定期",
            { Ledger });
        while (q.next())
            list << q.value(0).toString();
        return list;
    }();
    EXPECT_EQ(amounts,
        QStringList({ "2012-01-10:1", "2012-02-10:12000", "2012-02-10:1", "2012-03-10:1",
            "2012-05-20:1" }));
    EXPECT_EQ(dayRow(t.db(), { 2012, 2, 10 }), (DayRow { true, 0, 12001 }));
}

// An item that started on the 31st whose first entry went on the day screen now starts on a
// shortened month's date (2/29); its later entries on 3/31, 4/30 … are its own all the same.
TEST_F(RecurringPlanTest, ChangeAndDeleteReachAMonthEndItemWhoseFirstEntryWasRemoved)
{
    for (const bool removing : { false, true }) {
        SCOPED_TRACE(removing ? "delete" : "change");
        t.db().exec("DELETE FROM 單日記帳本");
        t.db().exec("DELETE FROM 記帳本");
        plan().post(rent({ 2012, 1, 31 }, { 2012, 6, 30 }));
        t.db().exec("DELETE FROM 單日記帳本 WHERE 日期 = '2012-01-31'");
        SyncDayTotals(t.db(), Ledger, { 2012, 1, 31 });
        const RecurringItem item = find(12000, "店面");
        ASSERT_EQ(item.first, QDate(2012, 2, 29));
        if (removing) {
            EXPECT_EQ(plan().remove(item), 5);
            EXPECT_TRUE(snapshot(t.db()).isEmpty()) << snapshot(t.db()).join('\n').toStdString();
        } else {
            EXPECT_EQ(plan().change(item, "9000", "店面"), 5);
            EXPECT_EQ(
                t.db().scalar("SELECT COUNT(*) FROM 單日記帳本 WHERE 金額 = 9000").toInt(), 5);
            EXPECT_EQ(dayRow(t.db(), { 2012, 4, 30 }), (DayRow { true, 0, 9000 }));
        }
    }
}

// Notes are kept as typed; older day saves stored them without trailing blanks, which split
// an item. Both halves are one item again, without rewriting a stored row.
TEST_F(RecurringPlanTest, NotesDifferingOnlyInTrailingBlanksAreOneItem)
{
    plan().post(rent({ 2012, 1, 10 }, { 2012, 4, 30 }, "12000", "店面  "));
    t.db().exec("UPDATE 單日記帳本 SET 說明 = '店面' WHERE 日期 = '2012-02-10'");
    const QStringList stored = snapshot(t.db());
    const QList<RecurringItem> items = plan().items();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0].first, QDate(2012, 1, 10));
    EXPECT_EQ(items[0].last, QDate(2012, 4, 10));
    EXPECT_EQ(snapshot(t.db()), stored);
    EXPECT_EQ(plan().remove(items[0]), 4);
    EXPECT_TRUE(plan().items().isEmpty());
}

TEST_F(RecurringPlanTest, NoSpendingItemsKeepTheirZeroDayRows)
{
    RecurringPosting none = rent({ 2012, 1, 1 }, { 2012, 3, 1 }, "0", "");
    none.mainNumber = 6;
    none.entryName = "無花費";
    plan().post(none);
    EXPECT_EQ(dayRow(t.db(), { 2012, 2, 1 }), (DayRow { true, 0, 0 }));

    // Another 0 entry that day: removing the item leaves the day recorded with 0 and 0.
    t.addEntry(Ledger, { 2012, 2, 1 }, false, 6, "無花費", 0);
    plan().remove(find(0, ""));
    EXPECT_EQ(dayRow(t.db(), { 2012, 2, 1 }), (DayRow { true, 0, 0 }));
    EXPECT_FALSE(dayRow(t.db(), { 2012, 1, 1 }).exists);
}

TEST_F(RecurringPlanTest, FailureMidRangeLeavesTheDatabaseUnchanged)
{
    t.addEntry(Ledger, { 2012, 2, 10 }, false, 1, "餐飲", 80);
    plan().post(rent({ 2012, 1, 10 }, { 2012, 4, 30 }));
    const QStringList before = snapshot(t.db());
    const RecurringItem item = find(12000, "店面");

    // Fail on the third date's statement of each action: a posting's third entry, or the
    // third day's totals after a change or deletion of the entries.
    auto failOnThird = [&](const QString &verb, const QString &table) {
        int seen = 0;
        t.db().setStatementHook([verb, table, seen](const QString &sql) mutable {
            if (sql.startsWith(verb) && sql.contains(table) && ++seen == 3)
                throw DbError("disk I/O error");
        });
    };
    failOnThird("INSERT", "單日記帳本");
    EXPECT_THROW(plan().post(rent({ 2012, 1, 15 }, { 2012, 12, 31 })), DbError);
    failOnThird("DELETE", "FROM 記帳本");
    EXPECT_THROW(plan().change(item, "1", "x"), DbError);
    failOnThird("DELETE", "FROM 記帳本");
    EXPECT_THROW(plan().remove(item), DbError);
    t.db().setStatementHook({});

    EXPECT_EQ(snapshot(t.db()), before);
    EXPECT_EQ(t.db().transactionDepth(), 0);
}
