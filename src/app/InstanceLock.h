#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// One running copy per data directory. A lock left by a process that no longer runs is
// taken over, so a crash never keeps the program from starting.
class InstanceLock
{
public:
    enum class Result { Acquired, HeldByAnother, Failed };

    explicit InstanceLock(const QString &programDir);
    ~InstanceLock();
    Result acquire();
    // Why Failed happened, in words for the user.
    QString failureText() const;
    // Never fails the exit: a lock that cannot be removed is left for the next start to
    // take over.
    void release();

private:
    std::unique_ptr<QLockFile> m_lock;
};
