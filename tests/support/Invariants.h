#pragma once

#include <QString>
#include <QStringList>

class Database;

struct InvariantOptions
{
    // While the category screen is open its roll-back copy (owner "<ledger>_BAK") exists.
    bool allowBackupCategories = false;
};

// Checks what every writer must leave behind, whatever happened on the way:
// - the file passes PRAGMA integrity_check;
// - for every ledger and date, 記帳本 has exactly one row when 單日記帳本 has entries (with
//   the exact income and expense sums) and none otherwise;
// - serials are unique per ledger, day and kind;
// - every entry's main category exists for its ledger or in the template;
// - every stored date is a real calendar date;
// - no "_BAK" category owner is left (unless allowed).
// Returns one readable line per violation; an empty list means the data is sound.
QStringList checkInvariants(Database &db, const InvariantOptions &options = {});

// The same on a file, through a connection of its own.
QStringList checkInvariants(const QString &databaseFile, const InvariantOptions &options = {});

// For gtest: EXPECT_TRUE(v.isEmpty()) << describeViolations(v).
std::string describeViolations(const QStringList &violations);
