#include "store/Database.h"

#include "store/Schema.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>

DbError::DbError(const QString &message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{ }

namespace {
QAtomicInt connectionCounter;

QString engineMessage(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    if (text.isEmpty())
        return QStringLiteral("資料庫發生未知的錯誤");
    // The failures a user can do something about are said in the program's words; the
    // engine's own text follows for whoever has to look further.
    const int code = error.nativeErrorCode().toInt() & 0xff;
    switch (code) {
    case 13: // SQLITE_FULL
        return QStringLiteral("磁碟空間不足，這次的資料沒有寫入，先前的資料都還在。（%1）")
            .arg(text);
    case 8: // SQLITE_READONLY
        return QStringLiteral("資料檔是唯讀的，無法寫入，資料沒有變更。（%1）").arg(text);
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return QStringLiteral("資料檔已損壞，無法讀取。（%1）").arg(text);
    default:
        return text;
    }
}
} // namespace

QString dbDate(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QDate fromDbDate(const QString &text)
{
    // Stored dates are read by position: lists read thousands of them, and a format parse
    // costs far more than the query. Anything else goes through the parse as before.
    if (text.size() >= 10 && text.at(4) == QLatin1Char('-') && text.at(7) == QLatin1Char('-')) {
        auto number = [&text](int from, int count) {
            int value = 0;
            for (int i = from; i < from + count; ++i) {
                const QChar c = text.at(i);
                if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                    return -1;
                value = value * 10 + (c.unicode() - '0');
            }
            return value;
        };
        const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
        if (year > 0 && month > 0 && day > 0) {
            const QDate date(year, month, day);
            if (date.isValid())
                return date;
        }
    }
    return QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
}

Database::Database(const QString &filePath)
    : m_path(filePath)
    , m_connectionName(QStringLiteral("qinghe-%1").arg(connectionCounter.fetchAndAddRelaxed(1)))
{ }

Database::~Database()
{
    close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

bool Database::isOpen() const
{
    return QSqlDatabase::contains(m_connectionName)
        && QSqlDatabase::database(m_connectionName, false).isOpen();
}

void Database::checkFileIsDatabase() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("無法讀取資料檔 %1：%2").arg(m_path, file.errorString()));
    const QByteArray header = file.read(16);
    if (header != QByteArray("SQLite format 3\0", 16))
        throw DbError(QStringLiteral("資料檔 %1 不是本程式的資料庫，無法開啟。").arg(m_path));
}

void Database::open()
{
    if (isOpen())
        return;
    if (!QFileInfo::exists(m_path))
        createFile();
    checkFileIsDatabase();

    QSqlDatabase db = connectTo(m_path);
    try {
        requireTables();
        migrate();
    } catch (...) {
        db.close();
        throw;
    }
    m_changesAtOpen = engineChanges();
}

QSqlDatabase Database::connectTo(const QString &file)
{
    QSqlDatabase db = QSqlDatabase::contains(m_connectionName)
        ? QSqlDatabase::database(m_connectionName, false)
        : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    db.setDatabaseName(file);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=3000"));
    if (!db.open())
        throw DbError(
            QStringLiteral("無法開啟資料檔 %1：%2").arg(file, engineMessage(db.lastError())));
    return db;
}

void Database::createFile()
{
    // The new file is built beside its place and moved there only when whole: a failure on
    // the way (a full disk) leaves no half-made CDB.dat that every later start would refuse.
    const QString temp = m_path + QStringLiteral(".new");
    const auto removeTemp = [&] {
        QFile::remove(temp);
        QFile::remove(temp + QStringLiteral("-journal"));
    };
    removeTemp(); // left by a run that ended while creating
    QSqlDatabase db = connectTo(temp);
    try {
        createSchema();
    } catch (...) {
        db.close();
        removeTemp();
        throw;
    }
    db.close();
    QFile file(temp);
    if (!file.rename(m_path)) {
        const QString reason = file.errorString();
        removeTemp();
        throw DbError(QStringLiteral("無法建立資料檔 %1：%2").arg(m_path, reason));
    }
}

void Database::close()
{
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    if (db.isOpen()) {
        if (m_depth > 0)
            db.rollback();
        // Rolled-back rows still count: a run that tried to write gets a copy too.
        m_changesBefore += engineChanges() - m_changesAtOpen;
        db.close();
    }
    m_depth = 0;
}

qint64 Database::engineChanges() const
{
    // Read past exec() so that the test hook never sees (or fails) it.
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (!query.exec(QStringLiteral("SELECT total_changes()")) || !query.next())
        return 0;
    return query.value(0).toLongLong();
}

qint64 Database::changeCount() const
{
    return m_changesBefore + (isOpen() ? engineChanges() - m_changesAtOpen : 0);
}

void Database::forgetChangesSince(qint64 mark)
{
    m_changesBefore -= changeCount() - mark;
}

QSqlQuery Database::exec(const QString &sql, const QVariantList &params)
{
    open();
    if (m_hook)
        m_hook(sql);
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw DbError(engineMessage(query.lastError()));
    for (int i = 0; i < params.size(); ++i)
        query.bindValue(i, params.at(i));
    if (!query.exec())
        throw DbError(engineMessage(query.lastError()));
    return query;
}

QSqlQuery Database::prepare(const QString &sql)
{
    open();
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        throw DbError(engineMessage(query.lastError()));
    return query;
}

void Database::run(QSqlQuery &prepared, const QVariantList &params)
{
    if (m_hook)
        m_hook(prepared.lastQuery());
    for (int i = 0; i < params.size(); ++i)
        prepared.bindValue(i, params.at(i));
    if (!prepared.exec())
        throw DbError(engineMessage(prepared.lastError()));
}

QVariant Database::scalar(const QString &sql, const QVariantList &params)
{
    QSqlQuery query = exec(sql, params);
    if (query.next())
        return query.value(0);
    return {};
}

void Database::begin()
{
    open();
    if (m_depth == 0)
        exec(QStringLiteral("BEGIN IMMEDIATE"));
    else
        exec(QStringLiteral("SAVEPOINT sp%1").arg(m_depth));
    ++m_depth;
}

void Database::commit()
{
    if (m_depth <= 0)
        return;
    if (m_depth == 1)
        exec(QStringLiteral("COMMIT"));
    else
        exec(QStringLiteral("RELEASE SAVEPOINT sp%1").arg(m_depth - 1));
    --m_depth;
}

void Database::rollback()
{
    if (m_depth <= 0)
        return;
    --m_depth;
    // The hook must not stop a roll-back, so these bypass exec().
    QSqlQuery query(QSqlDatabase::database(m_connectionName, false));
    if (m_depth == 0) {
        query.exec(QStringLiteral("ROLLBACK"));
    } else {
        query.exec(QStringLiteral("ROLLBACK TO SAVEPOINT sp%1").arg(m_depth));
        query.exec(QStringLiteral("RELEASE SAVEPOINT sp%1").arg(m_depth));
    }
}

void Database::requireTables()
{
    QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
    QStringList tables;
    {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type='table'")))
            throw DbError(QStringLiteral("資料檔 %1 不是本程式的資料庫，無法開啟。").arg(m_path));
        while (query.next())
            tables << query.value(0).toString();
    }
    for (const QString &name : Schema::tableNames()) {
        if (!tables.contains(name))
            throw DbError(
                QStringLiteral("資料檔 %1 缺少資料表「%2」，無法開啟。").arg(m_path, name));
    }
}

void Database::createSchema()
{
    Transaction tx(*this);
    for (const QString &statement : Schema::createStatements())
        exec(statement);
    Schema::insertTemplate(*this);
    exec(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion));
    tx.commit();
}

void Database::migrate()
{
    const int version = scalar(QStringLiteral("PRAGMA user_version")).toInt();
    if (version >= SchemaVersion)
        return;
    Transaction tx(*this);
    if (version < 1)
        Schema::ensureRecurringColumn(*this);
    // 2: the indexes of the period filters; 3: the index of the recurring entries; 4: the
    // index of the category numbers. Index statements only add what is missing, so one pass
    // brings any of these versions up.
    if (version < 4)
        Schema::ensureIndexes(*this);
    exec(QStringLiteral("PRAGMA user_version = %1").arg(SchemaVersion));
    tx.commit();
}

Transaction::Transaction(Database &db)
    : m_db(db)
{
    m_db.begin();
}

Transaction::~Transaction()
{
    if (!m_done)
        m_db.rollback();
}

void Transaction::commit()
{
    m_db.commit();
    m_done = true;
}
