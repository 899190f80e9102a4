// Start-up to a visible ledger selection window, and the peak memory of the program after
// every screen has shown the main ledger of the largest file.
//
//   qinghe_startup [--cache=DIR] [--runs=N]
//
// It works on a copy of the generated stress-size ledgers (kept in DIR, default bench-data).
//
// The parent starts this program again as a child for each measurement: the time runs from
// starting the process until the child reports its selection window on screen.

#include "analysis/CashDetail_Unit.h"
#include "analysis/Year_Month_Unit.h"
#include "app/ApplicationSetup.h"
#include "app/Program.h"
#include "calendar/RM_Main_Unit.h"
#include "dayentry/CashRecord_Unit.h"
#include "ledgers/SelectUser_Unit.h"
#include "recurring/FirmCash_Unit.h"
#include "statistics/Month_Unit.h"
#include "statistics/Year_Unit.h"

#include "BenchRun.h"
#include "LedgerGenerator.h"
#include "QuietPrompts.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QProcess>
#include <QSpinBox>
#include <QTranslator>
#include <QWindow>
#include <algorithm>
#include <cstdio>

namespace {

long peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

int child(const QString &dataDir, bool walk)
{
    prepareApplication();
    Program program(dataDir, walk ? std::make_unique<QuietPrompts>() : nullptr);
    program.SelectUser_Form->showCentred();
    QWindow *window = program.SelectUser_Form->windowHandle();
    while (!window || !window->isExposed()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        window = program.SelectUser_Form->windowHandle();
    }
    settle();
    std::printf("shown\n");
    std::fflush(stdout);
    if (!walk)
        return 0;

    // Every screen that reads entries, on the main ledger.
    TRM_Main_Form *calendar = program.RM_Main_Form;
    calendar->User_Label->setText(LedgerGenerator::mainLedger());
    calendar->Year_Label->setValue(LedgerGenerator::benchYear());
    calendar->M_Label->setText(QStringLiteral("%1月").arg(LedgerGenerator::benchMonth()));
    program.SelectUser_Form->hide();
    calendar->show();
    calendar->FormActivate();
    settle();
    auto visit = [&](const char *name, const std::function<void()> &open) {
        if (!program.guarded(open))
            std::fprintf(stderr, "%s could not open\n", name);
        settle();
        std::fprintf(stderr, "%-14s peak %ld kB\n", name, peakKilobytes());
    };
    visit("calendar", [&] { calendar->FormActivate(); });
    visit("day", [&] {
        program.CashRecord_Form->openFromCalendar(LedgerGenerator::benchDay());
        program.CashRecord_Form->FormActivate();
    });
    visit("fixed items", [&] {
        program.FirmCash_Form->openFromCalendar(
            LedgerGenerator::benchYear(), LedgerGenerator::benchMonth());
        program.FirmCash_Form->FormActivate();
    });
    visit("month stats", [&] { program.Month_Form->openFromCalendar(); });
    visit("month detail", [&] { program.Month_Form->BitBtn4Click(); });
    visit("year stats", [&] { program.Year_Form->openFromCalendar(); });
    visit("year detail", [&] { program.Year_Form->BitBtn5Click(); });
    visit("year analysis", [&] {
        program.Year_Month_Form->openFromCalendar(LedgerGenerator::benchYear());
        program.Year_Month_Form->FormActivate();
    });
    std::printf("peak %ld\n", peakKilobytes());
    std::fflush(stdout);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QString dataDir;
    QString cache = QDir::current().filePath(QStringLiteral("bench-data"));
    int runs = 7;
    bool isChild = false, walk = false;
    for (const QString &a : args) {
        if (a.startsWith(QStringLiteral("--data=")))
            dataDir = a.mid(7);
        else if (a.startsWith(QStringLiteral("--cache=")))
            cache = a.mid(8);
        else if (a.startsWith(QStringLiteral("--runs=")))
            runs = std::max(1, a.mid(7).toInt());
        else if (a == QStringLiteral("--child"))
            isChild = true;
        else if (a == QStringLiteral("--walk"))
            walk = true;
    }
    if (isChild)
        return child(dataDir, walk);
    try {
        const QString source
            = LedgerGenerator::ensureDataset(cache, LedgerGenerator::Size::Stress1M);
        dataDir = QDir(cache).filePath(QStringLiteral("startup-1m"));
        BenchRun::copyLedgers(source, dataDir);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "Cannot prepare the ledgers: %s\n", e.what());
        return 1;
    }

    auto start = [&](bool withWalk, qint64 *shownMs) -> QByteArray {
        QProcess process;
        process.setProcessChannelMode(QProcess::SeparateChannels);
        QStringList childArgs { QStringLiteral("--child"), QStringLiteral("--data=") + dataDir };
        if (withWalk)
            childArgs << QStringLiteral("--walk");
        QElapsedTimer timer;
        timer.start();
        process.start(QCoreApplication::applicationFilePath(), childArgs);
        QByteArray out;
        while (!out.contains("shown\n") && process.waitForReadyRead(30000))
            out += process.readAllStandardOutput();
        *shownMs = timer.elapsed();
        process.waitForFinished(600000);
        out += process.readAllStandardOutput();
        std::fputs(process.readAllStandardError().constData(), stderr);
        return out;
    };

    // The first start brings an older data file up to date and fills the disk cache; it is
    // not counted.
    qint64 warmUp = 0;
    start(false, &warmUp);
    QList<qint64> times;
    for (int i = 0; i < runs; ++i) {
        qint64 ms = 0;
        start(false, &ms);
        times << ms;
    }
    std::sort(times.begin(), times.end());
    std::printf("startup_ms %lld\n", static_cast<long long>(times.at(times.size() / 2)));
    qint64 ignored = 0;
    const QByteArray walked = start(true, &ignored);
    for (const QByteArray &line : walked.split('\n')) {
        if (line.startsWith("peak "))
            std::printf("peak_kb %s\n", line.mid(5).constData());
    }
    QDir(dataDir).removeRecursively();
    return 0;
}
