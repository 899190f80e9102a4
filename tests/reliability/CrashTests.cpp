#include "CrashActions.h"
#include "support/TestProgram.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <iostream>

namespace {

// Starts the worker on the prepared directory again and again and kills it outright
// (SIGKILL: no clean-up of any kind) at a random moment; after each kill the data must hold
// every action either whole or not at all.
void killRepeatedly(const QString &mix, int maxKills)
{
    TempDataDir dir;
    CrashActions::prepare(dir.path());
    ASSERT_TRUE(CrashActions::verify(dir.path()).isEmpty());

    QRandomGenerator random(20121211);
    QElapsedTimer clock;
    clock.start();
    int kills = 0;
    qint64 actions = 0;
    while (kills < maxKills && clock.elapsed() < 90'000) {
        QProcess worker;
        worker.start(QStringLiteral(QINGHE_CRASH_WORKER),
            { dir.path(), QString::number(random.generate()), mix });
        ASSERT_TRUE(worker.waitForStarted(5000)) << qPrintable(worker.errorString());
        QThread::msleep(random.bounded(10, 180));
        ::kill(pid_t(worker.processId()), SIGKILL);
        worker.waitForFinished(5000);
        const QByteArray output = worker.readAllStandardOutput();
        actions += output.count('\n');
        ASSERT_EQ(worker.exitStatus(), QProcess::CrashExit)
            << "the worker stopped on its own: " << worker.readAllStandardError().toStdString();
        ++kills;
        const QStringList problems = CrashActions::verify(dir.path());
        if (!problems.isEmpty() && qEnvironmentVariableIsSet("QINGHE_KEEP_CRASH"))
            QFile::copy(dir.file("CDB.dat"), qEnvironmentVariable("QINGHE_KEEP_CRASH"));
        ASSERT_TRUE(problems.isEmpty())
            << "after kill " << kills
            << ", last done: " << output.split('\n').value(output.count('\n') - 1).toStdString()
            << "\n"
            << problems.join('\n').toStdString();
    }
    std::cout << "kills survived: " << kills << ", actions completed between kills: " << actions
              << ", in " << clock.elapsed() / 1000.0 << " s" << std::endl;
    EXPECT_GE(kills, 50);
    EXPECT_GT(actions, 0);
}

} // namespace

// Day saves, recurring posts, changes and deletions, category edits and restores.
TEST(CrashSafety, EveryActionIsWholeOrAbsentAfterAKill)
{
    killRepeatedly(QStringLiteral("bookkeeping"), 200);
}

// Creating and removing ledgers: the list file and the database must agree after a kill.
TEST(CrashSafety, LedgersAreWholeOrAbsentAfterAKill)
{
    killRepeatedly(QStringLiteral("ledgers"), 100);
}
