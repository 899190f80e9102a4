#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <stdexcept>

// Why the demo books were not written; nothing in the data directory was changed.
class DemoRefused : public std::runtime_error
{
public:
    explicit DemoRefused(const QString &message)
        : std::runtime_error(message.toStdString())
    { }
};

struct DemoOptions
{
    QString dataDir;
    // The last day with entries; the books cover the twelve months before it.
    QDate end = QDate::currentDate();
    // Adds the demo ledgers next to ledgers that are already there (never replacing one).
    bool force = false;
    quint32 seed = 20240501;
};

struct DemoResult
{
    QStringList ledgers;
    QDate first;
    QDate last;
    int entries = 0;
    // A copy of the books that were there before, when force added to them.
    QString safetyCopy;
};

// Writes a year of a small bakery ("小店", password "1234") and of a household ("我家", no
// password) into a data directory, through the program's own ledger, day book, recurring
// and category classes, so that everything the screens read is as the program writes it.
class DemoBooks
{
public:
    static QString shopLedger() { return QStringLiteral("小店"); }
    static QString shopPassword() { return QStringLiteral("1234"); }
    static QString homeLedger() { return QStringLiteral("我家"); }

    // Throws DemoRefused when the directory already holds ledgers (unless forced), holds a
    // ledger of a demo name, or is in use by a running program.
    static DemoResult write(const DemoOptions &options);
};
