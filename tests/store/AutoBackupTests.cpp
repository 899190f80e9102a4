#include "BackupTestSupport.h"
#include "store/AutoBackup.h"
#include "store/Backup.h"
#include "store/BackupRotation.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QSet>
#include <gtest/gtest.h>

using namespace backuptest;

namespace {

QDateTime at(int y, int m, int d, int h = 20, int min = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, s));
}

QString name(const QDateTime &made, int counter = 1)
{
    return BackupRotation::fileName(made, counter);
}

// The copies left by a series of runs, each one rotating what the earlier ones left.
class Runs
{
public:
    void run(const QDateTime &made)
    {
        int counter = 1;
        while (m_kept.contains(name(made, counter)))
            ++counter;
        const QString newest = name(made, counter);
        m_kept.insert(newest);
        QVector<AutomaticCopy> copies;
        for (const QString &file : std::as_const(m_kept))
            copies << *BackupRotation::parse(file);
        const QStringList removed = BackupRotation::toRemove(copies);
        ASSERT_FALSE(removed.contains(newest)) << qPrintable(newest);
        for (const QString &file : removed)
            m_kept.remove(file);
    }
    void daily(QDate from, const QDate &to)
    {
        for (; from <= to; from = from.addDays(1))
            run(QDateTime(from, QTime(20, 0)));
    }
    QStringList kept() const
    {
        QStringList names(m_kept.begin(), m_kept.end());
        names.sort();
        return names;
    }

private:
    QSet<QString> m_kept;
};

QStringList sorted(QStringList names)
{
    names.sort();
    return names;
}

QStringList daysOf(int y, int m, int fromDay, int toDay)
{
    QStringList names;
    for (int d = fromDay; d <= toDay; ++d)
        names << name(at(y, m, d));
    return names;
}

// The last day of each month from (y, m) on, count months.
QStringList monthEnds(int y, int m, int count)
{
    QStringList names;
    QDate first(y, m, 1);
    for (int i = 0; i < count; ++i, first = first.addMonths(1))
        names << name(QDateTime(first.addMonths(1).addDays(-1), QTime(20, 0)));
    return names;
}

} // namespace

TEST(BackupRotation, NamesCarryDateTimeAndCounterAndOnlyTheirOwnPatternIsACopy)
{
    EXPECT_EQ(name(at(2026, 3, 5, 9, 7, 2)), QStringLiteral("青禾20260305-090702.BAK"));
    EXPECT_EQ(name(at(2026, 3, 5, 9, 7, 2), 2), QStringLiteral("青禾20260305-090702_2.BAK"));

    const auto copy = BackupRotation::parse(QStringLiteral("青禾20260305-090702_3.BAK"));
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->made, at(2026, 3, 5, 9, 7, 2));
    EXPECT_EQ(copy->counter, 3);

    for (const char *other :
        { "青禾20260305.BAK", "青禾20260305-090702.bak", "青禾20260305-090702.BAK.UserInfo",
            "回存前備份20260305090702.BAK", "青禾20261305-090702.BAK", "青禾20260305-090702_1.BAK",
            "我的青禾20260305-090702.BAK", "青禾20260305-090702.BAK.1a2b3c4d.tmp" })
        EXPECT_FALSE(BackupRotation::parse(QString::fromUtf8(other))) << other;
}

TEST(BackupRotation, AYearAndAHalfOfDailyRunsKeepsTheTenNewestAndTwelveMonthEnds)
{
    Runs runs;
    runs.daily(QDate(2025, 1, 1), QDate(2025, 3, 15));
    // Ten newest: 6 to 15 March; before March, the newest of January and of February; the
    // older March copies are gone.
    EXPECT_EQ(runs.kept(), sorted(daysOf(2025, 3, 6, 15) + monthEnds(2025, 1, 2)));

    runs.daily(QDate(2025, 3, 16), QDate(2026, 6, 29));
    runs.run(at(2026, 6, 30));
    runs.run(at(2026, 6, 30)); // two runs ending in the same second
    const QStringList newest = daysOf(2026, 6, 22, 30) + QStringList { name(at(2026, 6, 30), 2) };
    // June 2026 holds the oldest kept copy: the twelve months before it are June 2025 to
    // May 2026, each by its last day.
    EXPECT_EQ(runs.kept(), sorted(newest + monthEnds(2025, 6, 12)));
}

TEST(BackupRotation, AMonthsNewestCopySurvivesLeavingTheTenNewestAfterAGap)
{
    Runs runs;
    runs.daily(QDate(2025, 1, 1), QDate(2025, 1, 31));
    for (int d = 10; d <= 12; ++d)
        runs.run(at(2025, 5, d));
    // The oldest kept copy is still in January: older January copies go.
    EXPECT_EQ(runs.kept(), sorted(daysOf(2025, 1, 25, 31) + daysOf(2025, 5, 10, 12)));

    for (int d = 13; d <= 20; ++d)
        runs.run(at(2025, 5, d));
    // Now January is a month before the oldest kept one: its newest copy stays.
    EXPECT_EQ(runs.kept(), sorted(daysOf(2025, 5, 11, 20) + monthEnds(2025, 1, 1)));

    // A year on, January 2025 is still within the twelve months before the oldest kept copy
    // (January 2026), and so is May's newest; a month later January 2025 is not.
    const QString january = name(at(2025, 1, 31)), may = name(at(2025, 5, 20));
    runs.daily(QDate(2026, 1, 1), QDate(2026, 1, 10));
    EXPECT_EQ(runs.kept(), sorted(daysOf(2026, 1, 1, 10) + QStringList { january, may }));
    runs.daily(QDate(2026, 2, 1), QDate(2026, 2, 10));
    EXPECT_EQ(
        runs.kept(), sorted(daysOf(2026, 2, 1, 10) + QStringList { may, name(at(2026, 1, 10)) }));
}

TEST(AutoBackup, SpaceRuleKeepsOneGigabyteAndATenthOfTheDiskFree)
{
    constexpr qint64 GB = qint64(1) << 30;
    struct Case
    {
        qint64 available, total, copy;
        bool enough;
    } cases[] = {
        { 20 * GB, 100 * GB, 1 * GB, true },
        { 11 * GB, 100 * GB, 1 * GB, true }, // exactly a tenth left
        { 10 * GB + GB / 2, 100 * GB, 1 * GB, false }, // under a tenth
        { GB + GB / 2, 4 * GB, GB / 2, true }, // exactly 1 GB left, above a tenth
        { GB + GB / 4, 4 * GB, GB / 2, false }, // under 1 GB although above a tenth
        { 500 * GB, 1000 * GB, 1, true },
        { -1, -1, 5 * GB, true }, // unknown: the copy itself meets a full disk cleanly
    };
    for (const Case &c : cases)
        EXPECT_EQ(AutoBackup::leavesEnoughSpace({ c.available, c.total }, c.copy), c.enough)
            << c.available << " of " << c.total << " less " << c.copy;
}

struct AutoCopy : ::testing::Test
{
    AutoCopy()
    {
        fillTwoLedgers(t);
        writeBytes(t->userInfoPath(), QByteArrayLiteral("ledger lines\r\n"));
        t.db().close();
    }
    QString folder() const { return AutoBackup::folderIn(t.dir()); }
    // An older automatic copy (a few bytes; rotation goes by names only).
    void olderCopy(const QDateTime &made)
    {
        QDir().mkpath(folder());
        writeBytes(QDir(folder()).filePath(name(made)), QByteArrayLiteral("old copy"));
        writeBytes(QDir(folder()).filePath(name(made)) + QStringLiteral(".UserInfo"), "old list");
    }
    QMap<QString, QByteArray> folderBytes() const
    {
        QMap<QString, QByteArray> bytes;
        for (const QString &file : filesIn(folder()))
            bytes[file] = readBytes(QDir(folder()).filePath(file));
        return bytes;
    }
    TestProgram t;
};

TEST_F(AutoCopy, IsASoundCopyWithTheLedgerListBesideItThatRestoresTheLedger)
{
    const QStringList live = dump(t.db());
    AutoBackup backup(t.dir());
    AutoBackup::Progress progress;
    const AutoBackup::Result result = backup.run(at(2026, 3, 5, 9, 7, 2), &progress);

    ASSERT_EQ(result.outcome, AutoBackup::Result::Outcome::Made) << qPrintable(result.message);
    EXPECT_EQ(result.copy, QDir(folder()).filePath(QStringLiteral("青禾20260305-090702.BAK")));
    EXPECT_EQ(progress.percent(), 100);
    EXPECT_EQ(filesIn(folder()),
        QStringList({ QStringLiteral("青禾20260305-090702.BAK"),
            QStringLiteral("青禾20260305-090702.BAK.UserInfo") }));
    EXPECT_EQ(readBytes(result.copy + QStringLiteral(".UserInfo")), "ledger lines\r\n");
    {
        Database copy(result.copy);
        EXPECT_EQ(copy.scalar(QStringLiteral("PRAGMA integrity_check")).toString(), "ok");
        EXPECT_EQ(dump(copy), live);
    }

    // The ledger's day deleted by mistake comes back from the copy.
    t.db().exec(QStringLiteral("DELETE FROM 單日記帳本 WHERE 使用者 = ?"), { Ledger });
    Backup(t.db(), t.dir()).restoreLedger(result.copy, Ledger);
    EXPECT_EQ(dump(t.db()), live);

    // A second run in the same second gets a counter.
    EXPECT_EQ(backup.run(at(2026, 3, 5, 9, 7, 2)).copy,
        QDir(folder()).filePath(QStringLiteral("青禾20260305-090702_2.BAK")));
}

TEST_F(AutoCopy, RotatesOnlyTheAutomaticCopiesOfItsFolderOnceTheNewOneIsMade)
{
    for (int d = 1; d <= 12; ++d)
        olderCopy(at(2026, 2, d));
    writeBytes(QDir(folder()).filePath(QStringLiteral("青禾20250101.BAK")), "by hand");
    writeBytes(QDir(folder()).filePath(QStringLiteral("notes.txt")), "mine");
    writeBytes(t->filePath(QStringLiteral("青禾20250101-200000.BAK")), "outside the folder");

    const AutoBackup::Result result = AutoBackup(t.dir()).run(at(2026, 3, 1));
    ASSERT_EQ(result.outcome, AutoBackup::Result::Outcome::Made) << qPrintable(result.message);
    // Kept: 1 March and 4 to 12 February (the ten newest); 1 to 3 February are in the month
    // of the oldest kept copy and older than it.
    QStringList expected { QStringLiteral("notes.txt"), QStringLiteral("青禾20250101.BAK") };
    expected << name(at(2026, 3, 1)) << name(at(2026, 3, 1)) + QStringLiteral(".UserInfo");
    for (int d = 4; d <= 12; ++d)
        expected << name(at(2026, 2, d)) << name(at(2026, 2, d)) + QStringLiteral(".UserInfo");
    EXPECT_EQ(filesIn(folder()), sorted(expected));
    EXPECT_EQ(result.removed.size(), 3);
    EXPECT_TRUE(QFileInfo::exists(t->filePath(QStringLiteral("青禾20250101-200000.BAK"))));

    // A clock set back makes the new copy the oldest by name; it is kept all the same.
    const AutoBackup::Result early = AutoBackup(t.dir()).run(at(2020, 1, 1));
    ASSERT_EQ(early.outcome, AutoBackup::Result::Outcome::Made);
    EXPECT_TRUE(QFileInfo::exists(early.copy));
}

TEST_F(AutoCopy, TooLittleSpaceSkipsTheCopyWithOneMessageAndWritesNothing)
{
    constexpr qint64 GB = qint64(1) << 30;
    AutoBackup backup(t.dir());
    backup.diskSpace = [](const QString &) { return DiskSpace { GB, 100 * GB }; };
    const AutoBackup::Result result = backup.run(at(2026, 3, 1));
    EXPECT_EQ(result.outcome, AutoBackup::Result::Outcome::Skipped);
    EXPECT_EQ(result.message, AutoBackup::lowSpaceMessage());
    EXPECT_FALSE(QFileInfo::exists(folder()));
}

TEST_F(AutoCopy, AFailedCopyLeavesTheBooksAndTheOlderCopiesAsTheyWere)
{
    for (int d = 1; d <= 12; ++d)
        olderCopy(at(2026, 2, d));
    const QMap<QString, QByteArray> before = folderBytes();
    const QByteArray books = readBytes(t->filePath(QStringLiteral("CDB.dat")));
    const QByteArray list = readBytes(t->userInfoPath());
    {
#ifdef Q_OS_UNIX
        // A disk that fills up part-way through the copy.
        DiskFull full(books.size() / 2);
        const AutoBackup::Result result = AutoBackup(t.dir()).run(at(2026, 3, 1));
        EXPECT_EQ(result.outcome, AutoBackup::Result::Outcome::Failed);
        EXPECT_TRUE(result.message.startsWith(QStringLiteral("自動備份沒有完成")))
            << qPrintable(result.message);
#endif
    }
    EXPECT_EQ(folderBytes(), before) << "nothing removed, nothing half-written left";
    EXPECT_EQ(readBytes(t->filePath(QStringLiteral("CDB.dat"))), books);
    EXPECT_EQ(readBytes(t->userInfoPath()), list);

    // The folder cannot be made: a file has its name.
    TestProgram other;
    other.loginAs(Ledger);
    other.db().close();
    writeBytes(AutoBackup::folderIn(other.dir()), "in the way");
    const AutoBackup::Result blocked = AutoBackup(other.dir()).run(at(2026, 3, 1));
    EXPECT_EQ(blocked.outcome, AutoBackup::Result::Outcome::Failed);
    EXPECT_NE(blocked.message.indexOf(QStringLiteral("自動備份")), -1);
}

TEST(AutoBackup, RestoreLooksInTheAutomaticFolderOnlyWhenItHoldsCopies)
{
    TempDataDir dir;
    EXPECT_EQ(AutoBackup::restoreFolder(dir.path()), dir.path());
    QDir().mkpath(AutoBackup::folderIn(dir.path()));
    EXPECT_EQ(AutoBackup::restoreFolder(dir.path()), dir.path()) << "empty folder";
    writeBytes(QDir(AutoBackup::folderIn(dir.path())).filePath(name(at(2026, 1, 1))), "copy");
    EXPECT_EQ(AutoBackup::restoreFolder(dir.path()), AutoBackup::folderIn(dir.path()));
}
