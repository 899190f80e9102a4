#include "support/TestProgram.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Runs the real program on a data directory, offscreen.
class ProgramRun
{
public:
    explicit ProgramRun(const QString &dataDir)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(QINGHE_BIN), { QStringLiteral("--data-dir"), dataDir });
    }
    ~ProgramRun()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    QProcess process;
};

QString lockPath(const QString &dir)
{
    return dir + QStringLiteral("/fss.lock");
}

// The process id recorded in the lock file, or 0 while there is none.
qint64 lockOwner(const QString &dir)
{
    QFile file(lockPath(dir));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return file.readLine().trimmed().toLongLong();
}

bool waitForLockOwner(const QString &dir, qint64 pid)
{
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired()) {
        if (lockOwner(dir) == pid)
            return true;
        QThread::msleep(50);
    }
    return false;
}

TEST(SingleInstance, SecondCopyOnTheSameDataEndsSilentlyWithZero)
{
    TempDataDir dir;
    ProgramRun first(dir.path());
    ASSERT_TRUE(first.process.waitForStarted(10000));
    ASSERT_TRUE(waitForLockOwner(dir.path(), first.process.processId()));

    ProgramRun second(dir.path());
    ASSERT_TRUE(second.process.waitForFinished(20000));
    EXPECT_EQ(second.process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.process.exitCode(), 0);
    EXPECT_TRUE(second.process.readAllStandardOutput().isEmpty());
    EXPECT_EQ(first.process.state(), QProcess::Running);
    EXPECT_EQ(lockOwner(dir.path()), first.process.processId());
}

TEST(SingleInstance, LockOfAKilledCopyIsTakenOver)
{
    TempDataDir dir;
    {
        ProgramRun killed(dir.path());
        ASSERT_TRUE(killed.process.waitForStarted(10000));
        ASSERT_TRUE(waitForLockOwner(dir.path(), killed.process.processId()));
        killed.process.kill();
        ASSERT_TRUE(killed.process.waitForFinished(10000));
    }
    ASSERT_TRUE(QFile::exists(lockPath(dir.path()))); // left behind

    ProgramRun next(dir.path());
    ASSERT_TRUE(next.process.waitForStarted(10000));
    EXPECT_TRUE(waitForLockOwner(dir.path(), next.process.processId()));
    EXPECT_EQ(next.process.state(), QProcess::Running);
}

TEST(SingleInstance, OtherDataDirectoriesRunSideBySide)
{
    TempDataDir one, two;
    ProgramRun first(one.path());
    ASSERT_TRUE(first.process.waitForStarted(10000));
    ASSERT_TRUE(waitForLockOwner(one.path(), first.process.processId()));
    ProgramRun second(two.path());
    ASSERT_TRUE(second.process.waitForStarted(10000));
    EXPECT_TRUE(waitForLockOwner(two.path(), second.process.processId()));
}

} // namespace
