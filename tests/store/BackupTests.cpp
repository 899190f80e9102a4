#include "BackupTestSupport.h"
#include "store/Backup.h"
#include "store/LedgerOps.h"
#include "store/Schema.h"
#include "support/TestProgram.h"

#include <QRegularExpression>
#include <QSqlDatabase>
#include <gtest/gtest.h>

using namespace backuptest;

namespace {

QString backupMessage(const std::function<void()> &work)
{
    try {
        work();
    } catch (const DbError &e) {
        return e.message();
    }
    return {};
}

bool refused(const std::function<void()> &work)
{
    try {
        work();
    } catch (const BackupRefused &) {
        return true;
    } catch (const DbError &) { }
    return false;
}

} // namespace

TEST(Backup, DefaultNameCarriesTheDateInTheDataDirectory)
{
    EXPECT_EQ(Backup::defaultFileName(QStringLiteral("/data/qinghe"), QDate(2008, 3, 5)),
        QStringLiteral("/data/qinghe/青禾20080305.BAK"));
    EXPECT_EQ(Backup::defaultFileName(QStringLiteral("/data/qinghe"), QDate(2012, 11, 23)),
        QStringLiteral("/data/qinghe/青禾20121123.BAK"));
}

TEST(Backup, CopyOfAnOpenDatabaseIsSoundAndHoldsTheCommittedRows)
{
    TestProgram t;
    fillTwoLedgers(t);
    const QStringList live = dump(t.db());

    // Another connection is half-way through a write of its own; the copy must be whole and
    // hold only what was committed.
    const QString other = QStringLiteral("backup-test-writer");
    {
        QSqlDatabase writer = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), other);
        writer.setDatabaseName(t.db().filePath());
        ASSERT_TRUE(writer.open());
        QSqlQuery q(writer);
        ASSERT_TRUE(q.exec(QStringLiteral("BEGIN IMMEDIATE")));
        ASSERT_TRUE(q.exec(QStringLiteral("INSERT INTO 參數設定 VALUES ('半途', '1', 'nobody')")));

        const QString target = t.dir() + QStringLiteral("/copy.BAK");
        Backup(t.db(), t.dir()).backupTo(target);

        q.exec(QStringLiteral("ROLLBACK"));
        writer.close();

        EXPECT_EQ(readBytes(target).left(16), QByteArray("SQLite format 3\0", 16));
        EXPECT_EQ(dumpFile(target), live);
    }
    QSqlDatabase::removeDatabase(other);
    EXPECT_EQ(filesIn(t.dir()), QStringList({ "CDB.dat", "copy.BAK" }));
}

TEST(Backup, AnExistingFileIsReplacedOnlyByACompleteCopy)
{
    TestProgram t;
    fillTwoLedgers(t);
    const QString target = t.dir() + QStringLiteral("/青禾20120301.BAK");
    writeBytes(target, "an older backup");

    Backup(t.db(), t.dir()).backupTo(target);

    EXPECT_EQ(dumpFile(target), dump(t.db()));
    EXPECT_EQ(filesIn(t.dir()), QStringList({ "CDB.dat", "青禾20120301.BAK" }));
}

TEST(Backup, AFailedBackupSaysWhyAndKeepsTheOlderFile)
{
    TestProgram t;
    fillTwoLedgers(t);
    const QString folder = t.dir() + QStringLiteral("/backups");
    QDir().mkpath(folder);
    const QString target = folder + QStringLiteral("/old.BAK");
    writeBytes(target, "an older backup");
    writeBytes(t.dir() + QStringLiteral("/plainfile"), "x");

    struct Case
    {
        const char *what;
        QString target;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        { "engine fails while copying", target,
            [&] {
                t.db().setStatementHook([](const QString &sql) {
                    if (sql.startsWith(QStringLiteral("VACUUM INTO")))
                        throw DbError(QStringLiteral("disk I/O error"));
                });
            } },
        { "folder does not exist", t.dir() + QStringLiteral("/missing/new.BAK"), [] {} },
        { "folder is a file", t.dir() + QStringLiteral("/plainfile/new.BAK"), [] {} },
        { "a folder has the chosen name", folder, [] {} },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        const QString message = backupMessage([&] { Backup(t.db(), t.dir()).backupTo(c.target); });
        t.db().setStatementHook({});
        EXPECT_TRUE(message.startsWith(QStringLiteral("無法寫入備份檔"))) << message.toStdString();
        EXPECT_EQ(readBytes(target), QByteArray("an older backup"));
        EXPECT_EQ(filesIn(folder), QStringList({ "old.BAK" }));
    }
#ifdef Q_OS_UNIX
    {
        SCOPED_TRACE("disk full");
        QString message;
        {
            DiskFull full(4096);
            message = backupMessage([&] { Backup(t.db(), t.dir()).backupTo(target); });
        }
        EXPECT_TRUE(message.startsWith(QStringLiteral("無法寫入備份檔"))) << message.toStdString();
        EXPECT_EQ(readBytes(target), QByteArray("an older backup"));
        EXPECT_EQ(filesIn(folder), QStringList({ "old.BAK" }));
    }
#endif
    // The live data is untouched by all of it and a later backup works.
    Backup(t.db(), t.dir()).backupTo(target);
    EXPECT_EQ(dumpFile(target), dump(t.db()));
}

TEST(Backup, TheLiveDataFileIsNeverATarget)
{
    TestProgram t;
    fillTwoLedgers(t);
    const QStringList before = dump(t.db());
    EXPECT_TRUE(refused([&] { Backup(t.db(), t.dir()).backupTo(t.db().filePath()); }));
    EXPECT_EQ(dump(t.db()), before);
    EXPECT_EQ(filesIn(t.dir()), QStringList({ "CDB.dat" }));
}

TEST(Restore, BringsBackTheLedgersFourKindsOfRowsAndLeavesOtherLedgersAlone)
{
    TestProgram t;
    fillTwoLedgers(t);
    const QString backup = t.dir() + QStringLiteral("/青禾20120310.BAK");
    Backup(t.db(), t.dir()).backupTo(backup);
    const QStringList backedUp = dump(t.db(), Ledger);

    // The ledger is damaged every way there is; the other ledger, the template and the
    // category screen's roll-back copy change after the backup too.
    Database &db = t.db();
    t.addEntry(Ledger, QDate(2012, 3, 1), false, 2, QStringLiteral("原料"), 999);
    t.addEntry(Ledger, QDate(2012, 4, 2), true, 2, QStringLiteral("投資"), 7);
    const QDate removedDay = fromDbDate(
        db.scalar(QStringLiteral("SELECT 日期 FROM 單日記帳本 WHERE 使用者 = ? AND 金額 = 85"),
              { Ledger })
            .toString());
    db.exec(QStringLiteral("DELETE FROM 單日記帳本 WHERE 使用者 = ? AND 金額 = 85"), { Ledger });
    SyncDayTotals(db, Ledger, removedDay);
    db.exec(QStringLiteral("DELETE FROM 帳目分類 WHERE 帳目擁有者 = ? AND 帳目名稱 = '寵物'"),
        { Ledger });
    db.exec(QStringLiteral("INSERT INTO 帳目分類 VALUES ('1', '1', '新的', 104, ?)"), { Ledger });
    db.exec(QStringLiteral("UPDATE 參數設定 SET 設定值 = '0' WHERE 使用者 = ?"), { Ledger });
    db.exec(QStringLiteral("INSERT INTO 帳目分類 SELECT 帳目類別, 帳目屬性, 帳目名稱, 帳目順序, "
                           "? FROM 帳目分類 WHERE 帳目擁有者 = ?"),
        { Ledger + QStringLiteral("_BAK"), Ledger });
    t.addEntry(Other, QDate(2012, 5, 5), false, 1, QStringLiteral("交通"), 30);
    const QStringList damaged = dump(db, Ledger);
    const QStringList others = dump(db, Other);
    const QStringList rollBack = dump(db, Ledger + QStringLiteral("_BAK"));
    const QStringList templ = dump(db, Schema::TemplateOwner);

    const QDateTime now(QDate(2012, 3, 11), QTime(14, 5, 9));
    const Backup::RestoreResult result = Backup(db, t.dir()).restoreLedger(backup, Ledger, now);

    EXPECT_EQ(dump(db, Ledger), backedUp);
    EXPECT_EQ(dump(db, Other), others);
    EXPECT_EQ(dump(db, Ledger + QStringLiteral("_BAK")), rollBack);
    EXPECT_EQ(dump(db, Schema::TemplateOwner), templ);
    EXPECT_TRUE(result.compacted);
    EXPECT_EQ(db.transactionDepth(), 0);
    EXPECT_EQ(db.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), "ok");

    // The safety copy holds the data as it was just before, so the restore can be undone.
    EXPECT_EQ(result.safetyCopy, t.dir() + QStringLiteral("/回存前備份20120311140509.BAK"));
    EXPECT_EQ(dumpFile(result.safetyCopy, Ledger), damaged);
    Backup(db, t.dir()).restoreLedger(result.safetyCopy, Ledger, now);
    EXPECT_EQ(dump(db, Ledger), damaged);
    // A second restore in the same second keeps the first one's safety copy.
    EXPECT_EQ(safetyCopies(t.dir()),
        QStringList({ "回存前備份20120311140509.BAK", "回存前備份20120311140509_2.BAK" }));
}

TEST(Restore, ALedgerWithoutEntriesInTheBackupGetsNoDoubledCategoriesOrSettings)
{
    TestProgram t;
    t.loginAs(Ledger);
    const QString backup = t.dir() + QStringLiteral("/empty.BAK");
    Backup(t.db(), t.dir()).backupTo(backup);
    const QStringList backedUp = dump(t.db(), Ledger);

    t.addEntry(Ledger, QDate(2012, 3, 1), true, 2, QStringLiteral("投資"), 100);
    Backup(t.db(), t.dir()).restoreLedger(backup, Ledger);

    EXPECT_EQ(dump(t.db(), Ledger), backedUp);
    EXPECT_EQ(t.db().scalar(QStringLiteral("SELECT COUNT(*) FROM 單日記帳本")).toInt(), 0);
}

TEST(Restore, FilesThatCannotBeRestoredChangeNothingAndSayWhy)
{
    TestProgram t;
    fillTwoLedgers(t);
    const QString dir = t.dir();
    const QString notOurs = Backup::notOurFileMessage();

    struct Case
    {
        const char *what;
        std::function<void(const QString &path)> make;
        QString message;
    };
    const QString oldEntries = QStringLiteral(
        "CREATE TABLE 單日記帳本 (日期 TEXT, 使用者 TEXT, 帳目類型 INTEGER, 帳目屬性 TEXT, "
        "帳目名稱 TEXT, 金額 INTEGER, 說明 TEXT, 序列號 INTEGER)");
    const Case cases[] = {
        { "a text file", [](const QString &p) { writeBytes(p, "just some words\n"); }, notOurs },
        { "an empty file", [](const QString &p) { writeBytes(p, {}); }, notOurs },
        { "a database header and nothing else",
            [](const QString &p) {
                writeBytes(p, QByteArray("SQLite format 3\0", 16) + QByteArray(200, '\x07'));
            },
            notOurs },
        { "another program's database",
            [](const QString &p) {
                makeSqliteFile(
                    p, { "CREATE TABLE notes (text TEXT)", "INSERT INTO notes VALUES ('x')" });
            },
            notOurs },
        { "one of the four tables missing",
            [&](const QString &p) {
                makeSqliteFile(p,
                    { oldEntries,
                        "CREATE TABLE 記帳本 (日期 TEXT, 使用者 TEXT, 收入小計 INTEGER, 支出小計 "
                        "INTEGER)",
                        "CREATE TABLE 帳目分類 (帳目類別 TEXT, 帳目屬性 TEXT, 帳目名稱 TEXT, "
                        "帳目順序 INTEGER, 帳目擁有者 TEXT)" });
            },
            notOurs },
        { "a needed column missing",
            [&](const QString &p) {
                makeSqliteFile(p,
                    { oldEntries, "CREATE TABLE 記帳本 (日期 TEXT, 使用者 TEXT, 收入小計 INTEGER)",
                        "CREATE TABLE 帳目分類 (帳目類別 TEXT, 帳目屬性 TEXT, 帳目名稱 TEXT, "
                        "帳目順序 INTEGER, 帳目擁有者 TEXT)",
                        "CREATE TABLE 參數設定 (代碼 TEXT, 設定值 TEXT, 使用者 TEXT)" });
            },
            notOurs },
        { "a backup without this ledger",
            [&](const QString &p) {
                TestProgram other;
                other.loginAs(Other);
                other.addEntry(Other, QDate(2012, 1, 1), true, 2, QStringLiteral("投資"), 1);
                Backup(other.db(), other.dir()).backupTo(p);
            },
            Backup::noLedgerDataMessage() },
    };
    // Backups edited by hand: refused before anything (even the safety copy) is written.
    const QString damaged = QStringLiteral("此備份檔已損壞，無法回存。");
    const auto edited = [&](const char *sql) {
        return [&t, sql](const QString &p) {
            Backup(t.db(), t.dir()).backupTo(p);
            makeSqliteFile(p, { QString::fromUtf8(sql) });
        };
    };
    const Case editedCases[] = {
        { "an impossible date", edited("UPDATE 單日記帳本 SET 日期 = '2012-02-31'"), damaged },
        { "a serial used twice", edited("UPDATE 單日記帳本 SET 序列號 = 2012030101"), damaged },
        { "a main category that does not exist", edited("UPDATE 單日記帳本 SET 帳目屬性 = '9'"),
            damaged },
    };
    std::vector<Case> all(std::begin(cases), std::end(cases));
    all.insert(all.end(), std::begin(editedCases), std::end(editedCases));
    const QStringList before = dump(t.db());
    int n = 0;
    for (const Case &c : all) {
        SCOPED_TRACE(c.what);
        const QString path = dir + QStringLiteral("/case%1.BAK").arg(++n);
        c.make(path);
        const QByteArray fileBefore = readBytes(path);
        QString message;
        try {
            Backup(t.db(), dir).restoreLedger(path, Ledger);
        } catch (const BackupRefused &e) {
            message = e.message();
        }
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(dump(t.db()), before);
        EXPECT_TRUE(safetyCopies(dir).isEmpty());
        EXPECT_EQ(readBytes(path), fileBefore);
    }
}

TEST(Restore, PreparingReadsAndCountsBothSidesWithoutWritingAnything)
{
    TestProgram t;
    fillTwoLedgers(t);
    const QString backup = t.dir() + QStringLiteral("/saved.BAK");
    Backup(t.db(), t.dir()).backupTo(backup);
    t.addEntry(Ledger, QDate(2012, 3, 30), true, 2, QStringLiteral("投資"), 5);
    const QStringList before = dump(t.db());

    Backup b(t.db(), t.dir());
    const Backup::RestorePlan plan = b.prepareRestore(backup, Ledger);
    EXPECT_EQ(plan.backupEntries, 4);
    EXPECT_EQ(plan.currentEntries, 5);
    EXPECT_EQ(dump(t.db()), before);
    EXPECT_TRUE(safetyCopies(t.dir()).isEmpty());

    b.applyRestore(plan);
    EXPECT_EQ(
        t.db()
            .scalar(QStringLiteral("SELECT COUNT(*) FROM 單日記帳本 WHERE 使用者 = ?"), { Ledger })
            .toInt(),
        4);

    Backup::RestorePlan shop;
    shop.ledger = QStringLiteral("小店");
    shop.backupEntries = 120;
    shop.currentEntries = 5230;
    EXPECT_EQ(Backup::restoreQuestion(shop),
        QStringLiteral("備份中「小店」有 120 筆記帳資料，目前有 5,230 筆；"
                       "回存後目前的資料將被取代，確定要回存嗎？"));
}

TEST(Restore, AFailureAnywhereInTheReplacementLeavesTheLiveDataAsItWas)
{
    TestProgram t;
    fillTwoLedgers(t);
    const QString backup = t.dir() + QStringLiteral("/b.BAK");
    Backup(t.db(), t.dir()).backupTo(backup);
    t.addEntry(Ledger, QDate(2012, 3, 20), true, 2, QStringLiteral("投資"), 42);
    t.db().exec(QStringLiteral("DELETE FROM 帳目分類 WHERE 帳目名稱 = '寵物'"));
    const QStringList before = dump(t.db());

    // The n-th statement starting with the text fails.
    struct Case
    {
        const char *prefix;
        int nth;
    };
    const Case cases[] = {
        { "DELETE FROM 記帳本", 1 },
        { "DELETE FROM 參數設定", 1 },
        { "INSERT INTO 單日記帳本", 3 },
        { "INSERT OR REPLACE INTO 記帳本", 1 },
        { "INSERT INTO 帳目分類", 20 },
        { "INSERT OR REPLACE INTO 參數設定", 1 },
        { "COMMIT", 1 },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.prefix);
        int seen = 0;
        t.db().setStatementHook([&](const QString &sql) {
            if (sql.startsWith(QString::fromUtf8(c.prefix)) && ++seen == c.nth)
                throw DbError(QStringLiteral("injected failure"));
        });
        const QString message
            = backupMessage([&] { Backup(t.db(), t.dir()).restoreLedger(backup, Ledger); });
        t.db().setStatementHook({});
        EXPECT_EQ(seen, c.nth);
        EXPECT_EQ(message, QStringLiteral("injected failure"));
        EXPECT_EQ(t.db().transactionDepth(), 0);
        EXPECT_EQ(dump(t.db()), before);
    }
}

TEST(Restore, ABackupFromBeforeTheRecurringColumnRestoresItAsNull)
{
    TestProgram t;
    t.loginAs(Ledger);
    t.addEntry(
        Ledger, QDate(2012, 3, 1), true, 2, QStringLiteral("投資"), 100, {}, QStringLiteral("2"));

    const QString backup = t.dir() + QStringLiteral("/old.BAK");
    makeSqliteFile(backup,
        { "CREATE TABLE 單日記帳本 (日期 TEXT, 使用者 TEXT, 帳目類型 INTEGER, 帳目屬性 TEXT, "
          "帳目名稱 TEXT, 金額 INTEGER, 說明 TEXT, 序列號 INTEGER)",
            "CREATE TABLE 記帳本 (日期 TEXT, 使用者 TEXT, 收入小計 INTEGER, 支出小計 INTEGER)",
            "CREATE TABLE 帳目分類 (帳目類別 TEXT, 帳目屬性 TEXT, 帳目名稱 TEXT, 帳目順序 "
            "INTEGER, 帳目擁有者 TEXT)",
            "CREATE TABLE 參數設定 (代碼 TEXT, 設定值 TEXT, 使用者 TEXT)",
            "INSERT INTO 單日記帳本 VALUES ('2008-03-05', '小明''s 帳', 0, '1', '餐飲', 120, "
            "'午餐', 2008030501)",
            "INSERT INTO 記帳本 VALUES ('2008-03-05', '小明''s 帳', 0, 120)",
            "INSERT INTO 帳目分類 VALUES ('0', '1', '個人花費', 100, '小明''s 帳')",
            "INSERT INTO 參數設定 VALUES ('預設單日記帳畫面', '1', '小明''s 帳')" });

    Backup(t.db(), t.dir()).restoreLedger(backup, Ledger);

    QStringList expected {
        "單日記帳本|2008-03-05:QString|小明's 帳:QString|0:qlonglong|1:QString|"
        "餐飲:QString|120:qlonglong|午餐:QString|<null>|2008030501:qlonglong",
        "參數設定|預設單日記帳畫面:QString|1:QString|小明's 帳:QString",
        "帳目分類|0:QString|1:QString|個人花費:QString|100:qlonglong|小明's 帳:QString",
        "記帳本|2008-03-05:QString|小明's 帳:QString|0:qlonglong|120:qlonglong",
    };
    expected.sort();
    EXPECT_EQ(dump(t.db(), Ledger), expected);
}

TEST(Restore, AFailedCompactionIsSilentAndTheRestoredDataStays)
{
    TestProgram t;
    fillTwoLedgers(t);
    const QString backup = t.dir() + QStringLiteral("/b.BAK");
    Backup(t.db(), t.dir()).backupTo(backup);
    const QStringList backedUp = dump(t.db(), Ledger);
    t.addEntry(Ledger, QDate(2012, 3, 20), true, 2, QStringLiteral("投資"), 42);

    t.db().setStatementHook([](const QString &sql) {
        if (sql == QStringLiteral("VACUUM"))
            throw DbError(QStringLiteral("database is locked"));
    });
    Backup::RestoreResult result;
    EXPECT_NO_THROW(result = Backup(t.db(), t.dir()).restoreLedger(backup, Ledger));
    t.db().setStatementHook({});
    EXPECT_FALSE(result.compacted);
    EXPECT_EQ(dump(t.db(), Ledger), backedUp);
}

TEST(Restore, ChoosingTheLiveDataFileItselfLeavesTheDataAsItIs)
{
    TestProgram t;
    fillTwoLedgers(t);
    const QStringList before = dump(t.db());
    Backup(t.db(), t.dir()).restoreLedger(t.db().filePath(), Ledger);
    EXPECT_EQ(dump(t.db()), before);
    EXPECT_EQ(safetyCopies(t.dir()).size(), 1);
}
