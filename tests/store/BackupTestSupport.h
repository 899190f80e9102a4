#pragma once

#include "store/Database.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <ostream>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

// Readable gtest output for texts and lists of texts.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace backuptest {

inline const QString Ledger = QStringLiteral("小明's 帳");
inline const QString Other = QStringLiteral("阿華");

// Every row of the four tables (or only those owned by one ledger) as text with each value's
// stored type, sorted, so that two files can be compared row for row.
inline QStringList dump(Database &db, const QString &owner = {})
{
    struct Table
    {
        const char *name;
        const char *owner;
    };
    QStringList rows;
    for (const Table &table : { Table { "單日記帳本", "使用者" }, Table { "記帳本", "使用者" },
             Table { "帳目分類", "帳目擁有者" }, Table { "參數設定", "使用者" } }) {
        QString sql = QStringLiteral("SELECT * FROM %1").arg(QString::fromUtf8(table.name));
        QVariantList params;
        if (!owner.isNull()) {
            sql += QStringLiteral(" WHERE %1 = ?").arg(QString::fromUtf8(table.owner));
            params << owner;
        }
        QSqlQuery query = db.exec(sql, params);
        while (query.next()) {
            QStringList values { QString::fromUtf8(table.name) };
            for (int i = 0; i < query.record().count(); ++i) {
                const QVariant v = query.value(i);
                values << (v.isNull() ? QStringLiteral("<null>")
                                      : v.toString() + QLatin1Char(':') + v.typeName());
            }
            rows << values.join(QLatin1Char('|'));
        }
    }
    rows.sort();
    return rows;
}

// The same on another file, read through a connection of its own.
inline QStringList dumpFile(const QString &path, const QString &owner = {})
{
    Database db(path);
    return dump(db, owner);
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(bytes);
}

inline QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}

inline QStringList safetyCopies(const QString &dir)
{
    return QDir(dir).entryList({ QStringLiteral("回存前備份*") }, QDir::Files);
}

// Two ledgers with entries, a category of their own and their settings.
inline void fillTwoLedgers(TestProgram &t)
{
    t.loginAs(Ledger);
    t.copyTemplate(Other);
    t.addEntry(Ledger, QDate(2012, 3, 1), true, 1, QStringLiteral("門市銷售"), 1200,
        QStringLiteral("它's 備註"));
    t.addEntry(Ledger, QDate(2012, 3, 1), false, 1, QStringLiteral("餐飲"), 85);
    t.addEntry(Ledger, QDate(2012, 3, 9), false, 3, QStringLiteral("租金"), 15000, {},
        QStringLiteral("1"));
    t.addEntry(Ledger, QDate(2012, 3, 9), false, 6, QStringLiteral("無花費"), 0, {}, QVariant());
    t.db().exec(
        QStringLiteral("INSERT INTO 帳目分類 VALUES ('0', '1', '寵物', 110, ?)"), { Ledger });
    t.db().exec(QStringLiteral("UPDATE 參數設定 SET 設定值 = '1' WHERE 使用者 = ?"), { Ledger });
    t.addEntry(Other, QDate(2012, 3, 1), true, 2, QStringLiteral("投資"), 500);
}

// Runs SQL on a scratch SQLite file (for backups written by other or older programs).
inline void makeSqliteFile(const QString &path, const QStringList &statements)
{
    const QString name = QStringLiteral("scratch-") + path;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.open();
        for (const QString &sql : statements) {
            QSqlQuery query(db);
            query.exec(sql);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

#ifdef Q_OS_UNIX
// While alive, no file of this process may grow past maxBytes: a full disk as a writer sees it.
class DiskFull
{
public:
    explicit DiskFull(rlim_t maxBytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = maxBytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~DiskFull()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
};
#endif

} // namespace backuptest
