#include "FileFaults.h"
#include "TableDump.h"
#include "ledgers/LedgerDirectory.h"
#include "ledgers/PublicFunction.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "store/LedgerOps.h"
#include "support/Invariants.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QRandomGenerator>
#include <QSqlError>
#include <gtest/gtest.h>

namespace {

// A real CDB.dat with a ledger of a few hundred entries, so that it spans many pages.
QByteArray sampleDatabase()
{
    TempDataDir dir;
    {
        Database db(dir.file("CDB.dat"));
        Transaction tx(db);
        for (int i = 0; i < 300; ++i) {
            const QDate day = QDate(2012, 1, 1).addDays(i);
            db.exec("INSERT INTO 單日記帳本 VALUES (?, '甲', 0, '1', '餐飲', ?, ?, '', ?)",
                { dbDate(day), i, QString(40, QChar(u'註')),
                    day.toString("yyyyMMdd").toLongLong() * 100 + 1 });
            SyncDayTotals(db, "甲", day);
        }
        tx.commit();
    }
    return readAll(dir.file("CDB.dat"));
}

QByteArray randomBytes(int size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (char &c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

// Opens the file and reads every table; whatever happens must be a DbError.
void readEverything(const QString &path)
{
    Database db(path);
    db.open();
    for (const char *table : { "單日記帳本", "記帳本", "帳目分類", "參數設定" }) {
        QSqlQuery query = db.exec(QStringLiteral("SELECT * FROM %1").arg(table));
        while (query.next()) { }
        if (query.lastError().isValid())
            throw DbError(query.lastError().text());
    }
    db.scalar("PRAGMA integrity_check");
}

QByteArray userInfoOf(const QList<QByteArray> &lines)
{
    return lines.join("\r\n") + "\r\n";
}

} // namespace

// A damaged CDB.dat is refused with a message naming the file, and its bytes stay as they were.
TEST(DamagedDatabaseFile, IsRefusedAndLeftAsItWas)
{
    const QByteArray real = sampleDatabase();
    ASSERT_GT(real.size(), 8 * 4096);
    const struct
    {
        const char *what;
        QByteArray bytes;
    } cases[] = {
        { "text file", QByteArray("This is not a database.\r\n").repeated(40) },
        { "empty file", QByteArray() },
        { "random bytes", randomBytes(20000, 7) },
        { "header only", real.left(100) },
        { "first page only", real.left(4096) },
        { "cut in the middle of a page", real.left(real.size() / 2 + 1000) },
        { "random bytes after a real header", real.left(100) + randomBytes(12000, 11) },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TempDataDir dir;
        const QString path = dir.file("CDB.dat");
        writeAll(path, c.bytes);
        try {
            readEverything(path);
            // The file may still read, but then it must at least not pass as sound.
            EXPECT_FALSE(checkInvariants(path).isEmpty());
        } catch (const DbError &e) {
            EXPECT_FALSE(e.message().isEmpty());
        }
        EXPECT_EQ(readAll(path), c.bytes) << "the damaged file was changed";
    }
}

// The program itself starts on a damaged CDB.dat without crashing and without replacing it.
TEST(DamagedDatabaseFile, ProgramStartsAndKeepsTheFile)
{
    TempDataDir dir;
    const QByteArray bytes = QByteArray("not a database").repeated(100);
    writeAll(dir.file("CDB.dat"), bytes);
    {
        TestProgram t(dir.path());
        EXPECT_THROW(t.db().open(), DbError);
        EXPECT_TRUE(t->guarded([&] { t.db().exec("SELECT 1"); }) == false);
        ASSERT_FALSE(t.prompts().errors.isEmpty());
        EXPECT_TRUE(t.prompts().errors.last().contains("CDB.dat"))
            << t.prompts().errors.last().toStdString();
    }
    EXPECT_EQ(readAll(dir.file("CDB.dat")), bytes);
}

// A UserInfo whose records cannot be told apart gives a clear message from every operation
// and is never rewritten.
TEST(DamagedUserInfo, EveryOperationRefusesAndTheFileStays)
{
    const QByteArray name = EncodeLedgerText("家計");
    const struct
    {
        const char *what;
        QByteArray bytes;
    } cases[] = {
        { "four lines", userInfoOf({ name, "", "", EncodeLedgerText("公司") }) },
        { "two lines", userInfoOf({ name, "" }) },
        { "random bytes", randomBytes(600, 3) },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TempDataDir dir;
        const QString path = dir.file("UserInfo");
        writeAll(path, c.bytes);
        LedgerDirectory directory(path);
        const auto refuses = [&](const std::function<void()> &operation) {
            try {
                operation();
                ADD_FAILURE() << "a damaged file was accepted";
            } catch (const LedgerError &e) {
                EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(path)))
                    << e.message().toStdString();
            }
        };
        refuses([&] { directory.ListLedgerNames(); });
        refuses([&] { directory.FindLedger("家計"); });
        refuses([&] { directory.CheckLedgerPassword("家計", ""); });
        refuses([&] { directory.AddLedger("新帳本", "pw"); });
        refuses([&] { directory.SetLedgerYear("家計", 2012); });
        refuses([&] { directory.ChangeLedgerPassword("家計", "", "新"); });
        refuses([&] { directory.RemoveLedger("家計", "", [](const QString &) { return true; }); });
        EXPECT_EQ(readAll(path), c.bytes);
    }
}

// Whole records whose name line cannot be read: nothing is listed or matched, the user is
// told, and a write keeps those lines as they were.
TEST(DamagedUserInfo, UnreadableRecordsArePassedOverAndKeptByWrites)
{
    const struct
    {
        const char *what;
        QByteArray bytes;
    } cases[] = {
        { "name line not hexadecimal", userInfoOf({ "ZZ-not-hex", "", "" }) },
        { "random bytes with three lines",
            randomBytes(40, 5).replace('\r', 'x').replace('\n', 'y') + "\r\n\r\n\r\n" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TempDataDir dir;
        const QString path = dir.file("UserInfo");
        writeAll(path, c.bytes);
        LedgerDirectory directory(path);
        EXPECT_TRUE(directory.ListLedgerNames().isEmpty());
        EXPECT_FALSE(directory.unreadableRecordsNotice().isEmpty());
        EXPECT_FALSE(directory.FindLedger("家計").found);
        EXPECT_FALSE(directory.SetLedgerYear("家計", 2012));
        EXPECT_EQ(directory.RemoveLedger("家計", "", [](const QString &) { return true; }),
            RemoveLedgerResult::NoMatch);
        EXPECT_EQ(readAll(path), c.bytes);
        EXPECT_EQ(directory.AddLedger("新帳本", "pw"), AddLedgerResult::Added);
        EXPECT_TRUE(readAll(path).startsWith(c.bytes));
        EXPECT_EQ(directory.ListLedgerNames(), QStringList { "新帳本" });
    }
}

// Lowercase hexadecimal still reads; since a lowercase line never matches a name, nothing
// that needs a match may change the file either.
TEST(DamagedUserInfo, LowercaseHexReadsAndIsNotRewrittenByLookups)
{
    TempDataDir dir;
    const QString path = dir.file("UserInfo");
    const QByteArray bytes
        = userInfoOf({ EncodeLedgerText("家計").toLower(), EncodeLedgerText("pw").toLower(), "" });
    writeAll(path, bytes);
    LedgerDirectory directory(path);
    EXPECT_EQ(directory.ListLedgerNames(), QStringList { "家計" });
    EXPECT_FALSE(directory.FindLedger("家計").found);
    EXPECT_FALSE(directory.SetLedgerYear("家計", 2012));
    EXPECT_NE(directory.ChangeLedgerPassword("家計", "pw", "new"), ChangePasswordResult::Changed);
    EXPECT_EQ(readAll(path), bytes);
}

TEST(ReadOnlyDataDirectory, MissingFilesCannotBeCreatedAndSaySo)
{
    TempDataDir dir;
    ReadOnlyFiles readOnly(dir.path());
    Database db(dir.file("CDB.dat"));
    try {
        db.open();
        ADD_FAILURE() << "a database was created in a read-only directory";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains("CDB.dat")) << e.message().toStdString();
    }
    LedgerDirectory directory(dir.file("UserInfo"));
    EXPECT_THROW(directory.ListLedgerNames(), LedgerError);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(ReadOnlyDataDirectory, ExistingFilesStillReadAndRefuseWrites)
{
    TempDataDir dir;
    {
        TestProgram t(dir.path());
        t.copyTemplate("家計");
        t.addEntry("家計", QDate(2012, 3, 5), false, 1, "餐飲", 120);
        t.db().close();
        LedgerDirectory(t->userInfoPath()).AddLedger("家計", "");
    }
    const QByteArray database = readAll(dir.file("CDB.dat"));
    const QByteArray userInfo = readAll(dir.file("UserInfo"));
    {
        ReadOnlyFiles readOnly(dir.path());
        Database db(dir.file("CDB.dat"));
        EXPECT_EQ(db.scalar("SELECT 支出小計 FROM 記帳本").toInt(), 120);
        try {
            Transaction tx(db);
            db.exec("DELETE FROM 單日記帳本");
            SyncDayTotals(db, "家計", QDate(2012, 3, 5));
            tx.commit();
            ADD_FAILURE() << "a read-only file was written";
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().contains("唯讀")) << e.message().toStdString();
        }
        EXPECT_EQ(db.scalar("SELECT 支出小計 FROM 記帳本").toInt(), 120);
        db.close();

        LedgerDirectory directory(dir.file("UserInfo"));
        EXPECT_EQ(directory.ListLedgerNames(), QStringList { "家計" });
        try {
            directory.AddLedger("公司", "pw");
            ADD_FAILURE() << "UserInfo was written in a read-only directory";
        } catch (const LedgerError &e) {
            EXPECT_TRUE(e.message().contains("UserInfo")) << e.message().toStdString();
        }
    }
    EXPECT_EQ(readAll(dir.file("CDB.dat")), database);
    EXPECT_EQ(readAll(dir.file("UserInfo")), userInfo);
}

// When the disk fills while UserInfo is rewritten, the old list stays whole and no stray
// temporary file is left beside it.
TEST(FullDisk, UserInfoWriteFailsAndKeepsTheOldList)
{
    TempDataDir dir;
    const QString path = dir.file("UserInfo");
    LedgerDirectory directory(path);
    for (const char *name : { "家計", "公司", "旅行" })
        directory.AddLedger(name, "secret");
    const QByteArray before = readAll(path);
    {
        FileSizeLimit full(before.size());
        EXPECT_THROW(directory.AddLedger("第四本帳", "pw"), LedgerError);
        EXPECT_THROW(directory.ChangeLedgerPassword("家計", "secret", "a much longer password"),
            LedgerError);
    }
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "UserInfo" });
    EXPECT_EQ(directory.ListLedgerNames(), QStringList({ "家計", "公司", "旅行" }));
}

namespace {

struct BackupCase
{
    const char *what;
    QByteArray bytes;
    const char *sql; // run on the backup first, when given
};

// Restores each case into a fresh ledger: afterwards the live data is either replaced by a
// sound copy of the ledger or left exactly as it was.
void expectRestoreSoundOrNothing(const QList<BackupCase> &cases)
{
    for (const BackupCase &c : cases) {
        SCOPED_TRACE(c.what);
        TestProgram t;
        t.copyTemplate("家計");
        t.addEntry("家計", QDate(2012, 3, 5), false, 1, "餐飲", 120, "午餐");
        const QString backup = t->filePath("選擇的.BAK");
        writeAll(backup, c.bytes);
        if (c.sql) {
            Database edit(backup);
            edit.exec(QString::fromUtf8(c.sql));
        }
        const QStringList before = dumpTables(t.db());
        try {
            Backup(t.db(), t.dir()).restoreLedger(backup, "家計");
        } catch (const DbError &e) {
            EXPECT_FALSE(e.message().isEmpty());
            EXPECT_EQ(dumpTables(t.db()), before);
        }
        const QStringList violations = checkInvariants(t.db());
        EXPECT_TRUE(violations.isEmpty()) << describeViolations(violations);
    }
}

QByteArray realBackup()
{
    return readAll(QStringLiteral(QINGHE_BACKUP_SEEDS) + "/ledger.BAK");
}

} // namespace

// A file chosen for a restore that is no backup at all.
TEST(DamagedBackup, UnreadableFilesAreRefusedAndChangeNothing)
{
    const QByteArray real = realBackup();
    ASSERT_FALSE(real.isEmpty());
    expectRestoreSoundOrNothing({
        { "text file", "not a backup at all", nullptr },
        { "truncated", real.left(1500), nullptr },
        { "random bytes", randomBytes(4000, 13), nullptr },
        { "random bytes after a real header", real.left(100) + randomBytes(3000, 17), nullptr },
    });
}

// A readable backup whose rows break the rules every writer keeps (edited by hand, or
// written by a faulty version) must not carry the damage into the live data.
TEST(DamagedBackup, InconsistentRowsDoNotReachTheLiveData)
{
    const QByteArray real = realBackup();
    ASSERT_FALSE(real.isEmpty());
    expectRestoreSoundOrNothing({
        { "day totals that disagree with the entries", real, "UPDATE 記帳本 SET 收入小計 = 1" },
        { "entries without a day row", real, "DELETE FROM 記帳本" },
        { "a repeated serial", real, "INSERT INTO 單日記帳本 SELECT * FROM 單日記帳本" },
        { "an impossible date", real, "UPDATE 單日記帳本 SET 日期 = '2012-02-31'" },
        { "an entry of a main category that does not exist", real,
            "UPDATE 單日記帳本 SET 帳目屬性 = '8'" },
    });
}

// When the disk fills during a backup, an older backup of that name stays as it was and no
// half-written copy is left; a restore, which first backs up the live data, does not start.
TEST(FullDisk, BackupAndRestoreKeepOldFilesAndData)
{
    TestProgram t;
    t.copyTemplate("家計");
    t.addEntry("家計", QDate(2012, 3, 5), false, 1, "餐飲", 120, QString(20000, QChar(u'大')));
    const QString target = t->filePath("青禾20120305.BAK");
    writeAll(target, "an older backup");
    Backup backup(t.db(), t.dir());
    const QString restoreFrom = t->filePath("來源.BAK");
    backup.backupTo(restoreFrom);
    const QStringList before = dumpTables(t.db());
    const QStringList files = QDir(t.dir()).entryList(QDir::Files);
    {
        FileSizeLimit full(4096);
        EXPECT_THROW(backup.backupTo(target), DbError);
        try {
            backup.restoreLedger(restoreFrom, "家計");
            ADD_FAILURE() << "restored without a safety copy";
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().contains("未進行回存")) << e.message().toStdString();
        }
    }
    EXPECT_EQ(readAll(target), "an older backup");
    EXPECT_EQ(QDir(t.dir()).entryList(QDir::Files), files);
    EXPECT_EQ(dumpTables(t.db()), before);
}
