#pragma once

#include "store/Database.h"

#include <QDate>
#include <QDateTime>
#include <QString>

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

    struct RestoreResult
    {
        QString safetyCopy;
        bool compacted = false;
    };
    // Replaces all of ledger's entries, day totals, categories and settings with those in
    // backupFile. Throws BackupRefused when the file is not a backup of this program or
    // holds nothing of the ledger, DbError on any other failure; either way the live data
    // is as it was.
    RestoreResult restoreLedger(const QString &backupFile, const QString &ledger,
        const QDateTime &now = QDateTime::currentDateTime());

    // Gives the space of removed rows back to the file system. Failing is harmless: the
    // data stays as it is, merely uncompacted; so a failure only returns false.
    bool compact();

private:
    Database &m_db;
    QString m_programDir;
};
