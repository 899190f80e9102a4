#pragma once

#include "LedgerGenerator.h"

#include <QString>
#include <vector>

class Database;

// What the benchmark programs share around their benchmarks: their arguments, a working copy
// of the generated ledgers, the context of their results and the run itself.
namespace BenchRun {

struct Options
{
    LedgerGenerator::Size size = LedgerGenerator::Size::Main146k;
    QString cache; // where the generated ledgers are kept; default bench-data
    std::vector<char *> rest; // the arguments left for the benchmark library
};

// --size=146k|1m and --cache=DIR.
Options parse(int argc, char **argv);

// A fresh copy of a generated program directory (CDB.dat and UserInfo) in `to`; throws when it
// cannot be made.
void copyLedgers(const QString &from, const QString &to);

// The number of entries and the size, written into the results.
void describe(Database &db, LedgerGenerator::Size size);

// Runs the registered benchmarks; 1 for arguments the library does not know.
int run(std::vector<char *> &rest);

} // namespace BenchRun
