#pragma once

#include <QByteArray>
#include <QString>

// Ways to make the file system refuse the program, for tests. They work the same whether the
// tests run as an ordinary user or as root (root ignores file modes unless it sets aside its
// override capabilities, which ReadOnlyFiles does for the calling thread).

// While alive: the directory and every file in it are read-only and the calling thread
// cannot override file modes. Everything is restored on destruction.
class ReadOnlyFiles
{
public:
    explicit ReadOnlyFiles(const QString &dir);
    ~ReadOnlyFiles();
    ReadOnlyFiles(const ReadOnlyFiles &) = delete;
    ReadOnlyFiles &operator=(const ReadOnlyFiles &) = delete;

private:
    QString m_dir;
    bool m_droppedCapabilities = false;
};

// While alive: no file of this process may grow past maxBytes (a full disk, as far as a
// writer can tell: writes past the limit fail).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 maxBytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    unsigned long long m_oldSoft = 0;
    unsigned long long m_oldHard = 0;
};

QByteArray readAll(const QString &path);
void writeAll(const QString &path, const QByteArray &bytes);
