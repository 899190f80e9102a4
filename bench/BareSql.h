#pragma once

#include <QByteArray>
#include <QString>
#include <initializer_list>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class Database;

// The same statements the program runs, straight through the engine's C interface on the
// program's own connection: what an operation costs without any of our code around it.
namespace BareSql {

using Value = std::variant<std::monostate, long long, QByteArray>;

inline Value text(const QString &s)
{
    return s.toUtf8();
}

// The engine handle under a Database's connection (opened if need be).
sqlite3 *handle(Database &db);

// Prepares, binds, steps through every row reading every column, finalizes. Returns a
// checksum of what was read, so that the reading cannot be optimised away.
long long run(sqlite3 *db, const char *sql, const std::vector<Value> &params = {});

// One statement prepared once and run many times (the way a bare bulk insert is written).
class Statement
{
public:
    Statement(sqlite3 *db, const char *sql);
    ~Statement();
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    long long run(const std::vector<Value> &params);

private:
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace BareSql
