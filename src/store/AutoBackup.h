#pragma once

#include <QDateTime>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>

// Free and whole size of the disk a folder lies on, in bytes; negative when unknown.
struct DiskSpace
{
    qint64 available = -1;
    qint64 total = -1;
};

// The copy made when a run that changed the books ends: the same checked copy as 備份, into
// the folder 自動備份 of the data folder, with the ledger list of that moment beside it, and
// the older automatic copies rotated once the new one is sound.
//
// run() opens a connection of its own, so it may work on another thread while the program's
// connection is closed or idle.
class AutoBackup
{
public:
    explicit AutoBackup(const QString &programDir);

    static QString folderIn(const QString &programDir);
    QString folder() const { return folderIn(m_programDir); }
    // Where 回存 looks first: the automatic copies when there are any, else the data folder.
    static QString restoreFolder(const QString &programDir);

    // The copy must leave at least 1 GB and at least a tenth of the disk free. An unknown
    // free space does not stop it (the copy itself then fails cleanly if the disk is full).
    static bool leavesEnoughSpace(const DiskSpace &space, qint64 copyBytes);
    static DiskSpace diskSpaceOf(const QString &folder);
    static QString lowSpaceMessage();

    // How far run() is, for a window on another thread to show.
    class Progress
    {
    public:
        int percent() const;

    private:
        friend class AutoBackup;
        void copyStarted(const QString &partialCopy, qint64 expectedBytes);
        void set(int percent);

        mutable QMutex m_mutex;
        QString m_partialCopy;
        qint64 m_expectedBytes = 0;
        std::atomic<int> m_percent { 0 };
    };

    struct Result
    {
        enum class Outcome { Made, Skipped, Failed };
        Outcome outcome = Outcome::Failed;
        QString copy; // the new .BAK when made
        QStringList removed; // older copies the rotation removed
        QString message; // for Skipped and Failed: the one message the user sees
    };

    // Makes the copy named after now; never throws.
    Result run(const QDateTime &now, Progress *progress = nullptr);

    // Stands in for the file system's answer in tests.
    std::function<DiskSpace(const QString &folder)> diskSpace = &AutoBackup::diskSpaceOf;

private:
    QString targetFor(const QDateTime &now) const;
    QStringList rotate(const QString &keep) const;

    QString m_programDir;
};
