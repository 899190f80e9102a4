#include "TableDump.h"
#include "store/Database.h"
#include "store/LedgerOps.h"
#include "support/Invariants.h"
#include "support/TestProgram.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

// Lets the file grow by a few pages only, then runs write(i) for i = 0, 1, 2 … until the
// engine reports the disk full. Every write before that must have stayed whole, and the
// failing one must have left the data exactly as the last successful one did.
void writeUntilFull(Database &db, const std::function<void(int)> &write)
{
    const qint64 pages = db.scalar("PRAGMA page_count").toLongLong();
    db.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages + 4));
    QStringList lastGood = dumpTables(db);
    int done = 0;
    for (;; ++done) {
        ASSERT_LT(done, 5000) << "the disk never filled";
        try {
            write(done);
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().startsWith("磁碟空間不足")) << e.message().toStdString();
            EXPECT_EQ(db.transactionDepth(), 0) << "a transaction was left open";
            break;
        }
        lastGood = dumpTables(db);
    }
    EXPECT_GT(done, 0) << "not even one write fitted";
    EXPECT_EQ(dumpTables(db), lastGood) << "the failed write left part of itself behind";
    const QStringList violations = checkInvariants(db);
    EXPECT_TRUE(violations.isEmpty()) << describeViolations(violations);
}

// One entry added the way the program's writers add one: entry and day totals together.
void addEntryAndTotals(Database &db, const QString &ledger, const QDate &day, bool income,
    qint64 amount, const QString &note)
{
    Transaction tx(db);
    db.exec("INSERT INTO 單日記帳本 (日期, 使用者, 帳目類型, 帳目屬性, 帳目名稱, 金額, 說明, 定期, "
            "序列號) VALUES (?, ?, ?, '1', ?, ?, ?, '', ?)",
        { dbDate(day), ledger, income ? 1 : 0, income ? "門市銷售" : "餐飲", amount, note,
            GetNewSingleDayRecordNo(db, ledger, day, income) });
    SyncDayTotals(db, ledger, day);
    tx.commit();
}

} // namespace

TEST(FullDisk, EntriesWithDayTotalsAreWholeOrAbsent)
{
    TestProgram t;
    t.copyTemplate("家計");
    writeUntilFull(t.db(), [&](int i) {
        addEntryAndTotals(t.db(), "家計", QDate(2012, 1, 1).addDays(i % 40), i % 3 == 0, 100 + i,
            QString(300 + 37 * i, QChar(u'記')));
    });
}

// The day-totals writer on its own: bringing many stale day rows back in step fails cleanly
// when there is no room, and keeps the rows it had.
TEST(FullDisk, DayTotalsRepairFailsCleanly)
{
    TestProgram t;
    t.copyTemplate("家計");
    Database &db = t.db();
    {
        Transaction tx(db);
        for (int i = 0; i < 400; ++i)
            db.exec("INSERT INTO 單日記帳本 VALUES (?, ?, 0, '1', '餐飲', 5, '', '', ?)",
                { dbDate(QDate(2011, 1, 1).addDays(i)), QString(200, QChar(u'長')) + "帳本",
                    QDate(2011, 1, 1).addDays(i).toString("yyyyMMdd").toLongLong() * 100 + 1 });
        tx.commit();
    }
    db.exec("VACUUM");
    db.exec(QStringLiteral("PRAGMA max_page_count = %1")
                .arg(db.scalar("PRAGMA page_count").toLongLong()));
    const QStringList before = dumpTables(db);
    try {
        Transaction tx(db);
        for (int i = 0; i < 400; ++i)
            SyncDayTotals(db, QString(200, QChar(u'長')) + "帳本", QDate(2011, 1, 1).addDays(i));
        tx.commit();
        ADD_FAILURE() << "400 day rows fitted into no free space";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().startsWith("磁碟空間不足")) << e.message().toStdString();
    }
    EXPECT_EQ(dumpTables(db), before);
}
