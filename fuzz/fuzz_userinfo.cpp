// The ledger list file as it may be found on disk: any bytes at all.
#include "ledgers/LedgerDirectory.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {
QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("UserInfo"));
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(bytes);
    }

    LedgerDirectory directory(path);
    QStringList names;
    try {
        names = directory.ListLedgerNames();
    } catch (const LedgerError &) {
        // Refused: then every other operation refuses too, and the file stays as it was.
        try {
            directory.AddLedger(QStringLiteral("新帳本"), QStringLiteral("pw"));
            std::abort();
        } catch (const LedgerError &) { }
        if (readFile(path) != bytes)
            std::abort();
        return 0;
    }

    const QString first = names.isEmpty() ? QStringLiteral("家計") : names.first();
    (void)directory.FindLedger(first);
    (void)directory.CheckLedgerPassword(first, QStringLiteral("pw"));
    if (readFile(path) != bytes)
        std::abort(); // lookups never write

    // A readable file takes a new ledger and then lists it last, after the old names.
    const QString added = QStringLiteral("新帳本%1").arg(names.size());
    try {
        if (directory.AddLedger(added, QStringLiteral("pw")) == AddLedgerResult::Added) {
            QStringList expected = names;
            expected << added;
            if (directory.ListLedgerNames() != expected)
                std::abort();
            if (!directory.CheckLedgerPassword(added, QStringLiteral("pw")).matches)
                std::abort();
        }
    } catch (const LedgerError &) {
        std::abort();
    }
    return 0;
}
