#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// One running copy per data directory. A lock left by a process that no longer runs is
// taken over, so a crash never keeps the program from starting.
class InstanceLock
{
public:
    explicit InstanceLock(const QString &programDir);
    ~InstanceLock();
    bool acquire();
    void release();

private:
    std::unique_ptr<QLockFile> m_lock;
};
