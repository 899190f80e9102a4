// Fills a data directory with a year of demo books, so a new user sees every screen with data.
//   qinghe_demo [--data-dir DIR] [--end yyyy-MM-dd] [--force]
#include "DemoBooks.h"

#include "ledgers/LedgerError.h"
#include "store/Database.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <cstdio>

namespace {
QString optionValue(const QStringList &arguments, const QString &name)
{
    const int at = arguments.indexOf(name);
    if (at >= 0 && at + 1 < arguments.size())
        return arguments.at(at + 1);
    for (const QString &argument : arguments) {
        if (argument.startsWith(name + QLatin1Char('=')))
            return argument.mid(name.size() + 1);
    }
    return {};
}

void print(FILE *stream, const QString &text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stream);
}
} // namespace

int main(int argc, char *argv[])
{
    // The same name as the program, so the default directory is the one it reads.
    QCoreApplication::setApplicationName(QStringLiteral("qinghe"));
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();

    DemoOptions options;
    options.dataDir = optionValue(arguments, QStringLiteral("--data-dir"));
    if (options.dataDir.isEmpty())
        options.dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString end = optionValue(arguments, QStringLiteral("--end"));
    if (!end.isEmpty())
        options.end = QDate::fromString(end, Qt::ISODate);
    options.force = arguments.contains(QStringLiteral("--force"));

    try {
        const DemoResult result = DemoBooks::write(options);
        print(stdout,
            QStringLiteral("Demo books written to %1:\n"
                           "  %2 (password %3): a small bakery\n"
                           "  %4 (no password): a household\n"
                           "  %5 entries from %6 to %7, fixed items to the end of %8.")
                .arg(QDir::toNativeSeparators(options.dataDir), DemoBooks::shopLedger(),
                    DemoBooks::shopPassword(), DemoBooks::homeLedger())
                .arg(result.entries)
                .arg(result.first.toString(QStringLiteral("yyyy/M/d")),
                    result.last.toString(QStringLiteral("yyyy/M/d")))
                .arg(result.last.year()));
        if (!result.safetyCopy.isEmpty())
            print(stdout,
                QStringLiteral("  The books that were there first are copied to %1.")
                    .arg(QDir::toNativeSeparators(result.safetyCopy)));
        return 0;
    } catch (const DemoRefused &e) {
        print(stderr, QStringLiteral("qinghe_demo: ") + QString::fromUtf8(e.what()));
    } catch (const DbError &e) {
        print(stderr, QStringLiteral("qinghe_demo: ") + e.message());
    } catch (const LedgerError &e) {
        print(stderr, QStringLiteral("qinghe_demo: ") + e.message());
    }
    return 1;
}
