#pragma once

#include "store/Database.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariantList>
#include <QVector>
#include <functional>

// A backup or restore the program declines because of the chosen file; nothing was changed.
// message() is the reason the user is shown.
class BackupRefused : public DbError
{
public:
    using DbError::DbError;
};

// Backups of the whole data file and the restore of one ledger from such a backup.
//
// A backup is a consistent copy made by the engine itself, checked before it takes the
// chosen name, so an existing file there is only ever replaced by a complete, sound copy.
// A restore reads the backup through its own connection, keeps a safety copy of the live
// file, and then replaces the ledger's rows of all four tables in one transaction.
class Backup
{
public:
    Backup(Database &db, const QString &programDir);

    // programDir/青禾yyyymmdd.BAK
    static QString defaultFileName(const QString &programDir, const QDate &today);
    // programDir/回存前備份yyyymmddhhmmss.BAK, with a counter added when that name is taken.
    static QString safetyCopyName(const QString &programDir, const QDateTime &now);

    static QString notOurFileMessage() { return QStringLiteral("此備份檔不是本程式的資料檔"); }
    static QString noLedgerDataMessage() { return QStringLiteral("備份檔中沒有此帳本的資料"); }

    // Copies every ledger to target. Throws DbError (the old file at target stays as it was)
    // or BackupRefused (target is the live data file).
    void backupTo(const QString &target);
    // Told the name of the unfinished copy before the engine writes it, so that its growth
    // can be followed from another thread.
    void setCopyObserver(std::function<void(const QString &partialCopy)> observer)
    {
        m_copyObserver = std::move(observer);
    }

    // A restore read and checked but not yet applied: what the user is asked about.
    struct RestorePlan
    {
        QString ledger;
        qint64 backupEntries = 0; // the ledger's entries in the backup
        qint64 currentEntries = 0; // the ledger's entries now
        // The ledger's rows of the four tables, in the order the restore writes them.
        QVector<QVector<QVariantList>> rows;
    };
    struct RestoreResult
    {
        QString safetyCopy;
        bool compacted = false;
    };
    // Reads the ledger's rows from backupFile and checks them; nothing is written. Throws
    // BackupRefused when the file is not a sound backup of this program or holds nothing of
    // the ledger, DbError when it cannot be read.
    RestorePlan prepareRestore(const QString &backupFile, const QString &ledger);
    // The question asked before a plan is applied, naming both entry counts.
    static QString restoreQuestion(const RestorePlan &plan);
    // Keeps a safety copy of the live file, then replaces all of the ledger's entries, day
    // totals, categories and settings with the plan's. Throws DbError on any failure (the
    // live data is then as it was).
    RestoreResult applyRestore(
        const RestorePlan &plan, const QDateTime &now = QDateTime::currentDateTime());
    // Both steps at once, without a question.
    RestoreResult restoreLedger(const QString &backupFile, const QString &ledger,
        const QDateTime &now = QDateTime::currentDateTime());
    // The message after a restore, naming the safety copy.
    static QString restoredMessage(const RestoreResult &result);

    // Gives the space of removed rows back to the file system. Failing is harmless: the
    // data stays as it is, merely uncompacted; so a failure only returns false.
    bool compact();

private:
    Database &m_db;
    QString m_programDir;
    std::function<void(const QString &)> m_copyObserver;
};
