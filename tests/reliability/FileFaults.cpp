#include "FileFaults.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <linux/capability.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr unsigned OverrideCapabilities
    = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

bool setEffectiveOverride(bool on)
{
    __user_cap_header_struct header { _LINUX_CAPABILITY_VERSION_3, 0 };
    __user_cap_data_struct data[2] {};
    if (syscall(SYS_capget, &header, data) != 0)
        return false;
    if (on)
        data[0].effective |= data[0].permitted & OverrideCapabilities;
    else
        data[0].effective &= ~OverrideCapabilities;
    return syscall(SYS_capset, &header, data) == 0;
}

void setModes(const QString &dir, bool writable)
{
    const QFileDevice::Permissions file = QFileDevice::ReadOwner | QFileDevice::ReadUser
        | (writable ? QFileDevice::WriteOwner | QFileDevice::WriteUser
                    : QFileDevice::Permissions());
    const QDir d(dir);
    for (const QString &name : d.entryList(QDir::Files | QDir::Hidden))
        QFile::setPermissions(d.filePath(name), file);
    QFile::setPermissions(dir, file | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

} // namespace

ReadOnlyFiles::ReadOnlyFiles(const QString &dir)
    : m_dir(dir)
{
    setModes(m_dir, false);
    if (geteuid() == 0) {
        if (!setEffectiveOverride(false)) {
            setModes(m_dir, true);
            throw std::runtime_error("cannot set aside the file override capabilities");
        }
        m_droppedCapabilities = true;
    }
}

ReadOnlyFiles::~ReadOnlyFiles()
{
    if (m_droppedCapabilities)
        setEffectiveOverride(true);
    setModes(m_dir, true);
}

FileSizeLimit::FileSizeLimit(qint64 maxBytes)
{
    // Past the limit the kernel would also send SIGXFSZ, which ends the process by default.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old {};
    getrlimit(RLIMIT_FSIZE, &old);
    m_oldSoft = old.rlim_cur;
    m_oldHard = old.rlim_max;
    rlimit limit { rlim_t(maxBytes), old.rlim_max };
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        throw std::runtime_error("cannot limit the file size");
}

FileSizeLimit::~FileSizeLimit()
{
    rlimit old { rlim_t(m_oldSoft), rlim_t(m_oldHard) };
    setrlimit(RLIMIT_FSIZE, &old);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write a fixture file");
    file.write(bytes);
}
