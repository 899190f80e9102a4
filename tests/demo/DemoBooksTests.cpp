#include "DemoBooks.h"

#include "app/InstanceLock.h"
#include "ledgers/LedgerAdmin.h"
#include "ledgers/LedgerDirectory.h"
#include "recurring/RecurringPlan.h"
#include "store/Database.h"
#include "store/LedgerOps.h"
#include "support/Invariants.h"
#include "support/TestProgram.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

const QDate End(2026, 11, 30);

DemoOptions optionsFor(const TempDataDir &dir)
{
    DemoOptions options;
    options.dataDir = dir.path();
    options.end = End;
    return options;
}

QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Every entry of every ledger, in a fixed order, as text.
QStringList dumpEntries(const QString &dataDir)
{
    Database db(QDir(dataDir).filePath(QStringLiteral("CDB.dat")));
    QSqlQuery query = db.exec(QStringLiteral(
        "SELECT 使用者, 日期, 帳目類型, 帳目屬性, 帳目名稱, 金額, 說明, 定期, 序列號 "
        "FROM 單日記帳本 ORDER BY 使用者, 日期, 帳目類型, 序列號"));
    QStringList rows;
    while (query.next()) {
        QStringList fields;
        for (int i = 0; i < 9; ++i)
            fields << query.value(i).toString();
        rows << fields.join(QLatin1Char('|'));
    }
    return rows;
}

bool refused(const DemoOptions &options)
{
    try {
        DemoBooks::write(options);
    } catch (const DemoRefused &) {
        return true;
    }
    return false;
}

} // namespace

TEST(DemoBooks, WritesTwoSoundLedgersAsTheProgramWouldHaveWrittenThem)
{
    TempDataDir dir;
    const DemoResult result = DemoBooks::write(optionsFor(dir));
    EXPECT_EQ(result.first, QDate(2025, 11, 1));
    EXPECT_EQ(result.last, End);

    const QStringList violations = checkInvariants(dir.file(QStringLiteral("CDB.dat")));
    EXPECT_TRUE(violations.isEmpty()) << describeViolations(violations);

    LedgerDirectory directory(dir.file(QStringLiteral("UserInfo")));
    EXPECT_EQ(directory.ListLedgerNames(),
        QStringList({ DemoBooks::shopLedger(), DemoBooks::homeLedger() }));
    EXPECT_TRUE(
        directory.CheckLedgerPassword(DemoBooks::shopLedger(), DemoBooks::shopPassword()).matches);
    EXPECT_FALSE(directory.FindLedger(DemoBooks::shopLedger()).yearEmpty);
    EXPECT_TRUE(directory.FindLedger(DemoBooks::homeLedger()).passwordEmpty);

    Database db(dir.file(QStringLiteral("CDB.dat")));
    for (const QString &ledger : { DemoBooks::shopLedger(), DemoBooks::homeLedger() }) {
        SCOPED_TRACE(ledger.toStdString());
        // Something to see in every month of the year, income and expense alike.
        QSqlQuery months
            = db.exec(QStringLiteral("SELECT COUNT(DISTINCT substr(日期, 1, 7)), SUM(收入小計), "
                                     "SUM(支出小計) FROM 記帳本 WHERE 使用者 = ? AND 日期 <= ?"),
                { ledger, dbDate(End) });
        ASSERT_TRUE(months.next());
        EXPECT_EQ(months.value(0).toInt(), 13);
        EXPECT_GT(months.value(1).toLongLong(), months.value(2).toLongLong() / 2);
        EXPECT_GT(months.value(2).toLongLong(), 0);
        months.finish();

        // Fixed items of every period, shown on the fixed-items screen.
        QSet<int> periods;
        for (const RecurringItem &item : RecurringPlan(db, ledger).items())
            periods << item.period;
        EXPECT_GE(periods.size(), 2);
        EXPECT_TRUE(periods.contains(1));
    }
    EXPECT_TRUE(GetCategoryNameList(db, DemoBooks::homeLedger(), QStringLiteral("0"), 1)
                    .contains(QStringLiteral("寵物")));
    EXPECT_EQ(LedgerAdmin(db, directory).defaultDayPage(DemoBooks::homeLedger()), 1);
    EXPECT_EQ(LedgerAdmin(db, directory).defaultDayPage(DemoBooks::shopLedger()), 0);
}

TEST(DemoBooks, TheSameOptionsGiveTheSameBooks)
{
    TempDataDir first;
    TempDataDir second;
    DemoBooks::write(optionsFor(first));
    DemoBooks::write(optionsFor(second));
    const QStringList entries = dumpEntries(first.path());
    EXPECT_GT(entries.size(), 1000);
    EXPECT_EQ(entries, dumpEntries(second.path()));
}

TEST(DemoBooks, NeverWritesIntoSomeonesBooks)
{
    TempDataDir dir;
    {
        TestProgram program(dir.path());
        ASSERT_EQ(LedgerAdmin(program.db(), program->directory())
                      .createLedger(QStringLiteral("阿明"), QString()),
            LedgerAdmin::CreateResult::Created);
        program.addEntry(
            QStringLiteral("阿明"), QDate(2026, 3, 12), false, 1, QStringLiteral("餐飲"), 120);
        program.db().close();
    }
    const QString data = dir.file(QStringLiteral("CDB.dat"));
    const QString list = dir.file(QStringLiteral("UserInfo"));
    const QByteArray dataBefore = fileHash(data);
    const QByteArray listBefore = fileHash(list);

    EXPECT_TRUE(refused(optionsFor(dir)));
    EXPECT_EQ(fileHash(data), dataBefore);
    EXPECT_EQ(fileHash(list), listBefore);

    // Forced, the demo ledgers go beside the ledger that was there, and a copy of the old
    // books is kept.
    DemoOptions forced = optionsFor(dir);
    forced.force = true;
    const DemoResult result = DemoBooks::write(forced);
    EXPECT_TRUE(QFile::exists(result.safetyCopy));
    EXPECT_EQ(fileHash(result.safetyCopy + QStringLiteral(".UserInfo")), listBefore);
    EXPECT_EQ(LedgerDirectory(list).ListLedgerNames(),
        QStringList({ QStringLiteral("阿明"), DemoBooks::shopLedger(), DemoBooks::homeLedger() }));
    const QStringList entries = dumpEntries(dir.path());
    EXPECT_EQ(entries.filter(QStringLiteral("阿明|")),
        QStringList({ QStringLiteral("阿明|2026-03-12|0|1|餐飲|120|||2026031201") }));

    // Even forced, a ledger of a demo name is never replaced.
    const QByteArray dataAfter = fileHash(data);
    EXPECT_TRUE(refused(forced));
    EXPECT_EQ(fileHash(data), dataAfter);
}

TEST(DemoBooks, WaitsForTheRunningProgramToLeave)
{
    TempDataDir dir;
    InstanceLock running(dir.path());
    ASSERT_EQ(running.acquire(), InstanceLock::Result::Acquired);
    EXPECT_TRUE(refused(optionsFor(dir)));
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("CDB.dat"))));
}
