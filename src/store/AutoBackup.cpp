#include "store/AutoBackup.h"

#include "store/Backup.h"
#include "store/BackupRotation.h"
#include "store/Database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSaveFile>
#include <QStorageInfo>
#include <QVector>
#include <algorithm>

namespace {

constexpr qint64 MinimumFreeBytes = qint64(1) << 30;

QString userInfoCopyOf(const QString &copy)
{
    return copy + QStringLiteral(".UserInfo");
}

// The size VACUUM INTO will write: the pages in use.
qint64 expectedCopyBytes(Database &db)
{
    const qint64 pages = db.scalar(QStringLiteral("PRAGMA page_count")).toLongLong();
    const qint64 freePages = db.scalar(QStringLiteral("PRAGMA freelist_count")).toLongLong();
    const qint64 pageSize = db.scalar(QStringLiteral("PRAGMA page_size")).toLongLong();
    return std::max<qint64>(0, pages - freePages) * pageSize;
}

void copyUserInfo(const QString &from, const QString &to)
{
    QByteArray bytes;
    if (QFileInfo::exists(from)) {
        QFile source(from);
        if (!source.open(QIODevice::ReadOnly))
            throw DbError(QStringLiteral("無法讀取 %1：%2")
                              .arg(QDir::toNativeSeparators(from), source.errorString()));
        bytes = source.readAll();
    }
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size()
        || !target.commit())
        throw DbError(QStringLiteral("無法寫入 %1：%2")
                          .arg(QDir::toNativeSeparators(to), target.errorString()));
}

} // namespace

AutoBackup::AutoBackup(const QString &programDir)
    : m_programDir(programDir)
{ }

QString AutoBackup::folderIn(const QString &programDir)
{
    return QDir(programDir).filePath(QStringLiteral("自動備份"));
}

QString AutoBackup::restoreFolder(const QString &programDir)
{
    const QDir folder(folderIn(programDir));
    if (folder.exists() && !folder.entryList({ QStringLiteral("*.BAK") }, QDir::Files).isEmpty())
        return folder.path();
    return programDir;
}

bool AutoBackup::leavesEnoughSpace(const DiskSpace &space, qint64 copyBytes)
{
    if (space.available < 0 || space.total <= 0)
        return true;
    const qint64 after = space.available - copyBytes;
    return after >= MinimumFreeBytes && after >= space.total / 10;
}

DiskSpace AutoBackup::diskSpaceOf(const QString &folder)
{
    const QStorageInfo storage(folder);
    if (!storage.isValid() || !storage.isReady())
        return {};
    return { storage.bytesAvailable(), storage.bytesTotal() };
}

QString AutoBackup::lowSpaceMessage()
{
    return QStringLiteral("磁碟空間不足，這次沒有自動備份：備份後剩下的空間會少於 1 GB 或磁碟的 "
                          "10%。帳本的資料都還在；請清出空間，或用「備份」存到別的磁碟。");
}

int AutoBackup::Progress::percent() const
{
    const int done = m_percent.load();
    QString partial;
    qint64 expected = 0;
    {
        QMutexLocker lock(&m_mutex);
        partial = m_partialCopy;
        expected = m_expectedBytes;
    }
    if (partial.isEmpty() || expected <= 0)
        return done;
    // While the engine writes, the copy's size says how far it is; checking it comes after.
    const qint64 written = QFileInfo(partial).size();
    return std::max(done, int(std::min<qint64>(90, written * 90 / expected)));
}

void AutoBackup::Progress::copyStarted(const QString &partialCopy, qint64 expectedBytes)
{
    QMutexLocker lock(&m_mutex);
    m_partialCopy = partialCopy;
    m_expectedBytes = expectedBytes;
}

void AutoBackup::Progress::set(int percent)
{
    {
        QMutexLocker lock(&m_mutex);
        m_partialCopy.clear();
    }
    m_percent.store(percent);
}

QString AutoBackup::targetFor(const QDateTime &now) const
{
    const QDir dir(folder());
    for (int counter = 1;; ++counter) {
        const QString path = dir.filePath(BackupRotation::fileName(now, counter));
        if (!QFileInfo::exists(path) && !QFileInfo::exists(userInfoCopyOf(path)))
            return path;
    }
}

AutoBackup::Result AutoBackup::run(const QDateTime &now, Progress *progress)
{
    Result result;
    auto setProgress = [progress](int percent) {
        if (progress)
            progress->set(percent);
    };
    const QString dataFile = QDir(m_programDir).filePath(QStringLiteral("CDB.dat"));
    const QString userInfo = QDir(m_programDir).filePath(QStringLiteral("UserInfo"));
    QString target;
    try {
        Database db(dataFile);
        const qint64 copyBytes = expectedCopyBytes(db) + QFileInfo(userInfo).size();
        const QString where = QFileInfo::exists(folder()) ? folder() : m_programDir;
        if (!leavesEnoughSpace(diskSpace(where), copyBytes)) {
            result.outcome = Result::Outcome::Skipped;
            result.message = lowSpaceMessage();
            return result;
        }
        if (!QDir().mkpath(folder()))
            throw DbError(
                QStringLiteral("無法建立資料夾 %1").arg(QDir::toNativeSeparators(folder())));
        target = targetFor(now);

        Backup backup(db, m_programDir);
        backup.setCopyObserver([&](const QString &partial) {
            if (progress)
                progress->copyStarted(partial, copyBytes);
        });
        backup.backupTo(target);
        setProgress(93);
        try {
            copyUserInfo(userInfo, userInfoCopyOf(target));
        } catch (...) {
            // A copy without its ledger list would not give a deleted ledger back.
            QFile::remove(target);
            throw;
        }
        setProgress(96);
    } catch (const std::exception &e) {
        result.outcome = Result::Outcome::Failed;
        result.message = QStringLiteral("自動備份沒有完成，帳本和先前的備份都沒有變動。\n%1")
                             .arg(QString::fromUtf8(e.what()));
        setProgress(100);
        return result;
    }
    result.outcome = Result::Outcome::Made;
    result.copy = target;
    result.removed = rotate(target);
    setProgress(100);
    return result;
}

QStringList AutoBackup::rotate(const QString &keep) const
{
    const QDir dir(folder());
    QVector<AutomaticCopy> copies;
    for (const QString &name : dir.entryList({ QStringLiteral("*.BAK") }, QDir::Files)) {
        if (const auto copy = BackupRotation::parse(name))
            copies << *copy;
    }
    QStringList removed;
    for (const QString &name : BackupRotation::toRemove(copies)) {
        const QString path = dir.filePath(name);
        // A clock set back could make the new copy look the oldest; it always stays.
        if (QFileInfo(path) == QFileInfo(keep))
            continue;
        if (QFile::remove(path)) {
            QFile::remove(userInfoCopyOf(path));
            removed << path;
        }
    }
    return removed;
}
