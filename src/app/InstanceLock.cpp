#include "app/InstanceLock.h"

#include <QDir>

InstanceLock::InstanceLock(const QString &programDir)
    : m_lock(std::make_unique<QLockFile>(QDir(programDir).filePath(QStringLiteral("fss.lock"))))
{
    // Age alone never makes a lock stale: only a lock whose process has gone is taken over.
    m_lock->setStaleLockTime(0);
}

InstanceLock::~InstanceLock()
{
    release();
}

InstanceLock::Result InstanceLock::acquire()
{
    // tryLock takes over a lock whose process has gone (it checks the recorded process).
    if (m_lock->tryLock(0))
        return Result::Acquired;
    return m_lock->error() == QLockFile::LockFailedError ? Result::HeldByAnother : Result::Failed;
}

QString InstanceLock::failureText() const
{
    return QStringLiteral("無法在資料目錄建立鎖定檔 %1，程式無法啟動。")
        .arg(QDir::toNativeSeparators(m_lock->fileName()));
}

void InstanceLock::release()
{
    if (m_lock->isLocked())
        m_lock->unlock();
}
