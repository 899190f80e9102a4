#pragma once

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <functional>
#include <stdexcept>

// A failure of the data store. what() and message() carry the text the user is shown.
class DbError : public std::runtime_error
{
public:
    explicit DbError(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

// The program's one connection to CDB.dat. Opens lazily, creates a missing file with the
// schema and the template, refuses (without touching it) a file that is not ours, and
// brings older files up to date through numbered migrations.
class Database
{
public:
    explicit Database(const QString &filePath);
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    void open();
    void close();
    bool isOpen() const;
    QString filePath() const { return m_path; }
    QString connectionName() const { return m_connectionName; }

    // Runs one statement with bound values (positional "?"); throws DbError on failure.
    QSqlQuery exec(const QString &sql, const QVariantList &params = {});
    // First column of the first row, or an invalid QVariant when there is no row.
    QVariant scalar(const QString &sql, const QVariantList &params = {});
    // One statement prepared once and run many times with new values (bulk copies), which
    // saves compiling it again for every row.
    QSqlQuery prepare(const QString &sql);
    void run(QSqlQuery &prepared, const QVariantList &params);

    // Transactions nest: the outermost is BEGIN/COMMIT, inner ones are savepoints.
    void begin();
    void commit();
    void rollback();
    int transactionDepth() const { return m_depth; }

    // Rows written through this object since it was first opened, across closing and
    // reopening; creating or upgrading the file at open does not count. Tells a run that
    // changed the books from one that only looked.
    qint64 changeCount() const;
    // The writes since mark (an earlier changeCount()) left the books as they were (a copy
    // taken and dropped again): they no longer count.
    void forgetChangesSince(qint64 mark);

    // Test seam: called with each statement's text before it runs; may throw to
    // simulate a failure at that point.
    void setStatementHook(std::function<void(const QString &sql)> hook)
    {
        m_hook = std::move(hook);
    }

    static constexpr int SchemaVersion = 4;

private:
    void checkFileIsDatabase() const;
    QSqlDatabase connectTo(const QString &file);
    void createFile();
    void createSchema();
    void migrate();
    void requireTables();
    qint64 engineChanges() const;

    QString m_path;
    QString m_connectionName;
    int m_depth = 0;
    qint64 m_changesBefore = 0; // counted on connections already closed, less forgotten ones
    qint64 m_changesAtOpen = 0; // the engine's count when the current connection was ready
    std::function<void(const QString &)> m_hook;
};

// Commits when commit() is called; rolls back when the scope is left otherwise
// (an exception in the middle of a multi-statement action leaves nothing half-written).
class Transaction
{
public:
    explicit Transaction(Database &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;
    void commit();

private:
    Database &m_db;
    bool m_done = false;
};

// Dates are stored as ISO text so that a period filter is a plain range on the index.
QString dbDate(const QDate &date);
QDate fromDbDate(const QString &text);
