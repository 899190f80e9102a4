#include "BareSql.h"

#include "store/Database.h"

#include <QSqlDatabase>
#include <QSqlDriver>
#include <sqlite3.h>
#include <stdexcept>
#include <string>

namespace BareSql {

namespace {

[[noreturn]] void fail(sqlite3 *db, const char *sql)
{
    throw std::runtime_error(std::string(sqlite3_errmsg(db)) + " in: " + sql);
}

void bind(sqlite3 *db, sqlite3_stmt *stmt, const std::vector<Value> &params)
{
    int i = 1;
    for (const Value &value : params) {
        int rc = SQLITE_OK;
        if (std::holds_alternative<long long>(value))
            rc = sqlite3_bind_int64(stmt, i, std::get<long long>(value));
        else if (std::holds_alternative<QByteArray>(value)) {
            const QByteArray &bytes = std::get<QByteArray>(value);
            rc = sqlite3_bind_text(stmt, i, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        } else
            rc = sqlite3_bind_null(stmt, i);
        if (rc != SQLITE_OK)
            fail(db, sqlite3_sql(stmt));
        ++i;
    }
}

long long stepAll(sqlite3 *db, sqlite3_stmt *stmt)
{
    long long sum = 0;
    const int columns = sqlite3_column_count(stmt);
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            fail(db, sqlite3_sql(stmt));
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_INTEGER:
                sum += sqlite3_column_int64(stmt, c);
                break;
            case SQLITE_NULL:
                break;
            default:
                // Text is read as the bytes the engine holds, which is what a caller gets.
                sum += sqlite3_column_bytes(stmt, c) + (sqlite3_column_text(stmt, c) != nullptr);
                break;
            }
        }
        ++sum;
    }
    return sum;
}

} // namespace

sqlite3 *handle(Database &db)
{
    db.open();
    const QVariant v = QSqlDatabase::database(db.connectionName(), false).driver()->handle();
    if (qstrcmp(v.typeName(), "sqlite3*") != 0)
        throw std::runtime_error("not an SQLite connection");
    return *static_cast<sqlite3 *const *>(v.constData());
}

long long run(sqlite3 *db, const char *sql, const std::vector<Value> &params)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        fail(db, sql);
    long long sum = 0;
    try {
        bind(db, stmt, params);
        sum = stepAll(db, stmt);
    } catch (...) {
        sqlite3_finalize(stmt);
        throw;
    }
    sqlite3_finalize(stmt);
    return sum;
}

Statement::Statement(sqlite3 *db, const char *sql)
{
    if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
        fail(db, sql);
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

long long Statement::run(const std::vector<Value> &params)
{
    sqlite3 *db = sqlite3_db_handle(m_stmt);
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    bind(db, m_stmt, params);
    return stepAll(db, m_stmt);
}

} // namespace BareSql
