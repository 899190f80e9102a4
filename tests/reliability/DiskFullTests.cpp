#include "TableDump.h"
#include "categories/CategorySettings.h"
#include "dayentry/DayBook.h"
#include "ledgers/LedgerAdmin.h"
#include "ledgers/LedgerDirectory.h"
#include "recurring/RecurringPlan.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "store/LedgerOps.h"
#include "support/Invariants.h"
#include "support/TestProgram.h"

#include <functional>
#include <gtest/gtest.h>

namespace {

// Lets the file grow by a few pages only (room for one or a few writes), then runs write(i) for i =
// 0, 1, 2 … until the engine reports the disk full. Every write before that must have stayed whole,
// and the failing one must have left the data exactly as the last successful one did.
void writeUntilFull(Database &db, const std::function<void(int)> &write, int roomPages = 4)
{
    const qint64 pages = db.scalar("PRAGMA page_count").toLongLong();
    db.exec(QStringLiteral("PRAGMA max_page_count = %1").arg(pages + roomPages));
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

// The writers of the screens, each until the disk is full.
TEST(FullDisk, DaySavesAreWholeOrAbsent)
{
    TestProgram t;
    t.copyTemplate("家計");
    DayBook book(t.db(), "家計");
    writeUntilFull(t.db(), [&](int i) {
        const QDate day = QDate(2012, 3, 1).addDays(i % 20);
        QList<DayEntry> rows = book.load(day);
        DayEntry row;
        row.income = i % 2 == 0;
        row.mainNumber = 1;
        row.name = row.income ? "門市銷售" : "餐飲";
        row.amount = i;
        row.note = QString(200 + 50 * i, QChar(u'帳'));
        row.serial = book.nextSerial(day, row.income);
        rows << row;
        book.save(day, rows);
    });
}

TEST(FullDisk, RecurringPostChangeAndDeleteAreWholeOrAbsent)
{
    TestProgram t;
    t.copyTemplate("家計");
    RecurringPlan plan(t.db(), "家計");
    const auto posting = [](int i) {
        RecurringPosting p;
        p.income = i % 2 == 0;
        p.mainNumber = 2;
        p.entryName = QStringLiteral("定期%1").arg(i);
        p.amountText = QString::number(100 + i);
        p.note = QString(100 + 20 * i, QChar(u'期'));
        p.start = QDate(2013, 1, 31);
        p.end = QDate(2013, 12, 31);
        return p;
    };
    writeUntilFull(
        t.db(), [&](int i) { plan.post(posting(i)); }, 40);

    // With the disk already full, changes that need more room fail whole, and deleting
    // (which needs none) still works and keeps the day totals right.
    const QList<RecurringItem> items = plan.items();
    ASSERT_FALSE(items.isEmpty());
    writeUntilFull(
        t.db(),
        [&](int i) {
            plan.change(items.at(i % items.size()), "7", QString(3000 + i, QChar(u'改')));
        },
        40);
    const QList<RecurringItem> now = plan.items();
    EXPECT_EQ(plan.remove(now.first()), 12);
    const QStringList violations = checkInvariants(t.db());
    EXPECT_TRUE(violations.isEmpty()) << describeViolations(violations);
}

TEST(FullDisk, CategoryEditsAndTheirRollBackCopyAreWholeOrAbsent)
{
    TestProgram t;
    t.copyTemplate("家計");
    CategorySettings settings(t.db(), "家計");
    writeUntilFull(t.db(), [&](int i) {
        settings.add("0", 1 + i % 3, QStringLiteral("分類%1").arg(i) + QString(150, QChar(u'類')));
    });
    // Taking the roll-back copy doubles the ledger's categories: there is no room for it.
    const QStringList before = dumpTables(t.db());
    EXPECT_THROW(settings.takeBackup(), DbError);
    EXPECT_EQ(dumpTables(t.db()), before);
    const QStringList violations = checkInvariants(t.db());
    EXPECT_TRUE(violations.isEmpty()) << describeViolations(violations);
}

// A ledger is created whole (list record and categories) or not at all.
TEST(FullDisk, NewLedgersAreWholeOrAbsent)
{
    TestProgram t;
    LedgerDirectory directory(t->userInfoPath());
    LedgerAdmin admin(t.db(), directory);
    writeUntilFull(
        t.db(),
        [&](int i) {
            admin.createLedger(QStringLiteral("帳本%1").arg(i) + QString(100, QChar(u'名')), "");
        },
        40);
    const QStringList listed = directory.ListLedgerNames();
    for (const QString &name : listed)
        EXPECT_FALSE(GetCategoryNameList(t.db(), name, "1").isEmpty()) << name.toStdString();
    EXPECT_EQ(t.db()
                  .scalar("SELECT COUNT(DISTINCT 帳目擁有者) FROM 帳目分類 WHERE 帳目擁有者 <> "
                          "'DEFAULT'")
                  .toInt(),
        listed.size());
}

// A restore that does not fit leaves the ledger exactly as it was.
TEST(FullDisk, RestoreIsWholeOrAbsent)
{
    TestProgram t;
    t.copyTemplate("家計");
    DayBook book(t.db(), "家計");
    const auto fill = [&](qint64 amount, int noteLength) {
        for (int d = 1; d <= 28; ++d) {
            DayEntry row;
            row.income = false;
            row.mainNumber = 1;
            row.name = "餐飲";
            row.amount = amount;
            row.note = QString(noteLength, QChar(u'備'));
            row.serial = book.nextSerial(QDate(2012, 3, d), false);
            book.save(QDate(2012, 3, d), { row });
        }
    };
    fill(1, 3000);
    const QString backupFile = t->filePath("大.BAK");
    Backup(t.db(), t.dir()).backupTo(backupFile);
    fill(2, 10);
    t.db().exec("VACUUM");
    const QStringList before = dumpTables(t.db());
    t.db().exec(QStringLiteral("PRAGMA max_page_count = %1")
                    .arg(t.db().scalar("PRAGMA page_count").toLongLong() + 2));
    try {
        Backup(t.db(), t.dir()).restoreLedger(backupFile, "家計");
        ADD_FAILURE() << "the restore fitted into two free pages";
    } catch (const DbError &e) {
        EXPECT_FALSE(e.message().isEmpty());
    }
    EXPECT_EQ(dumpTables(t.db()), before);
    const QStringList violations = checkInvariants(t.db());
    EXPECT_TRUE(violations.isEmpty()) << describeViolations(violations);
}
