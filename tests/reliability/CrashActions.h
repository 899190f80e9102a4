#pragma once

#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <memory>

class Database;
class LedgerDirectory;

// The actions of the crash test's worker, the data directory they start from, and the check
// that each of them is found whole or not at all.
class CrashActions
{
public:
    // Which actions runOne() chooses from.
    enum class Mix { Bookkeeping, Ledgers };

    explicit CrashActions(const QString &dataDir, Mix mix = Mix::Bookkeeping);
    ~CrashActions();

    // A data directory with the two ledgers the actions use and the backup they restore.
    static void prepare(const QString &dataDir);

    // Runs one action chosen at random; returns what it did.
    QString runOne(QRandomGenerator &random);

    // Everything that is not whole, one line each; empty when every action is whole or absent.
    static QStringList verify(const QString &dataDir);

private:
    QString saveDay(QRandomGenerator &random, quint32 id);
    QString recurring(QRandomGenerator &random, quint32 id);
    QString editCategories(QRandomGenerator &random, quint32 id);
    QString categoryScreenSession(QRandomGenerator &random, quint32 id);
    QString createAndRemoveLedger(quint32 id);
    QString restore();

    QString m_dir;
    Mix m_mix;
    std::unique_ptr<Database> m_db;
    std::unique_ptr<LedgerDirectory> m_directory;
};
