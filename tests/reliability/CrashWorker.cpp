// Runs real bookkeeping actions on a data directory, one after another, until it is killed.
// The crash test kills it at random moments and checks that every action it was in the
// middle of is found either whole or not at all.
//
//   crash_worker <data dir> <seed> [ledgers]
//
// Each action marks what it writes so that a half-done action can be recognised:
// - a day save writes n entries noted "d<action>:<i>/<n>" (all of one save, or none);
// - a recurring item named "定期<k>" posts 12 entries with one amount and note, and a change
//   gives all of them a new amount and note together;
// - a category edit adds or removes one subcategory; a category screen session takes the
//   roll-back copy, edits, and keeps or rolls back;
// - a restore puts the ledger "回存帳" back to the state kept in 回存帳.BAK;
// or, with "ledgers", only: a ledger is created and removed again.
#include "CrashActions.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: crash_worker <data dir> <seed>\n");
        return 2;
    }
    const bool ledgers = argc > 3 && QByteArray(argv[3]) == "ledgers";
    CrashActions actions(QString::fromLocal8Bit(argv[1]),
        ledgers ? CrashActions::Mix::Ledgers : CrashActions::Mix::Bookkeeping);
    QRandomGenerator random(QByteArray(argv[2]).toUInt());
    for (qint64 step = 0;; ++step) {
        const QString done = actions.runOne(random);
        std::printf("%s\n", qPrintable(done));
        std::fflush(stdout);
    }
}
