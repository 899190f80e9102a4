#pragma once

#include <QDate>
#include <QList>
#include <QString>

// Realistic ledgers for the benchmarks, always the same for the same size: a busy main
// ledger of twenty years, two small ones beside it and, for the stress size, further busy
// branch ledgers that bring the file to about a million entries.
namespace LedgerGenerator {

// Bumped whenever the generated data changes, so that an old cache is not reused.
constexpr int Version = 1;

enum class Size { Main146k, Stress1M };

struct LedgerSpec
{
    QString name;
    QDate first;
    int days = 0;
    int entriesPerDay = 0;
    quint32 seed = 0;
    bool recurring = false;
};

QString sizeName(Size size); // "146k", "1m"
QList<LedgerSpec> ledgers(Size size);

// The ledger every benchmark works on, and the period it looks at.
QString mainLedger();
int benchYear();
int benchMonth();
QDate benchDay();

// A program directory (CDB.dat and UserInfo) holding the ledgers of this size, generated
// under cacheDir the first time and reused afterwards. Progress goes to stderr.
QString ensureDataset(const QString &cacheDir, Size size);

} // namespace LedgerGenerator
