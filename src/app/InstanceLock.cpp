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

bool InstanceLock::acquire()
{
    // tryLock takes over a lock whose process has gone (it checks the recorded process).
    return m_lock->tryLock(0);
}

void InstanceLock::release()
{
    if (m_lock->isLocked())
        m_lock->unlock();
}
