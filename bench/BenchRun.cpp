#include "BenchRun.h"

#include "store/Database.h"

#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>
#include <cstring>
#include <stdexcept>
#include <string>

namespace BenchRun {

Options parse(int argc, char **argv)
{
    Options options;
    options.cache = QDir::current().filePath(QStringLiteral("bench-data"));
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--size=1m") == 0)
            options.size = LedgerGenerator::Size::Stress1M;
        else if (std::strcmp(argv[i], "--size=146k") == 0)
            options.size = LedgerGenerator::Size::Main146k;
        else if (std::strncmp(argv[i], "--cache=", 8) == 0)
            options.cache = QString::fromLocal8Bit(argv[i] + 8);
        else
            options.rest.push_back(argv[i]);
    }
    return options;
}

void copyLedgers(const QString &from, const QString &to)
{
    QDir(to).removeRecursively();
    QDir().mkpath(to);
    for (const QString &name : { QStringLiteral("CDB.dat"), QStringLiteral("UserInfo") }) {
        if (!QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name)))
            throw std::runtime_error("cannot copy the generated ledgers");
    }
}

void describe(Database &db, LedgerGenerator::Size size)
{
    const qint64 entries
        = db.scalar(QStringLiteral("SELECT COUNT(*) FROM 單日記帳本")).toLongLong();
    benchmark::AddCustomContext("entries", std::to_string(entries));
    benchmark::AddCustomContext("size", LedgerGenerator::sizeName(size).toStdString());
}

int run(std::vector<char *> &rest)
{
    int count = int(rest.size());
    benchmark::Initialize(&count, rest.data());
    if (benchmark::ReportUnrecognizedArguments(count, rest.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace BenchRun
