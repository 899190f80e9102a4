#include "support/Invariants.h"

#include "store/Database.h"

#include <QHash>
#include <QSqlQuery>

namespace {

struct DayKey
{
    QString ledger;
    QString date;
    bool operator==(const DayKey &other) const
    {
        return ledger == other.ledger && date == other.date;
    }
};

size_t qHash(const DayKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.ledger, key.date);
}

struct Sums
{
    qint64 income = 0;
    qint64 expense = 0;
    int rows = 0;
};

void checkIntegrity(Database &db, QStringList &out)
{
    QSqlQuery query = db.exec(QStringLiteral("PRAGMA integrity_check"));
    QStringList problems;
    while (query.next())
        problems << query.value(0).toString();
    if (problems != QStringList { QStringLiteral("ok") })
        out << QStringLiteral("integrity_check: %1").arg(problems.join(QStringLiteral("; ")));
}

void checkDayTotals(Database &db, QStringList &out)
{
    QHash<DayKey, Sums> fromEntries;
    {
        QSqlQuery query = db.exec(QStringLiteral(
            "SELECT 使用者, 日期, COALESCE(SUM(CASE WHEN 帳目類型 = 1 THEN 金額 END), 0), "
            "COALESCE(SUM(CASE WHEN 帳目類型 = 0 THEN 金額 END), 0) "
            "FROM 單日記帳本 GROUP BY 使用者, 日期"));
        while (query.next()) {
            Sums &sums = fromEntries[{ query.value(0).toString(), query.value(1).toString() }];
            sums.income = query.value(2).toLongLong();
            sums.expense = query.value(3).toLongLong();
        }
    }
    QHash<DayKey, Sums> stored;
    {
        QSqlQuery query
            = db.exec(QStringLiteral("SELECT 使用者, 日期, 收入小計, 支出小計 FROM 記帳本"));
        while (query.next()) {
            Sums &sums = stored[{ query.value(0).toString(), query.value(1).toString() }];
            sums.income = query.value(2).toLongLong();
            sums.expense = query.value(3).toLongLong();
            ++sums.rows;
        }
    }
    for (auto it = fromEntries.cbegin(); it != fromEntries.cend(); ++it) {
        const DayKey &key = it.key();
        const auto found = stored.constFind(key);
        if (found == stored.cend()) {
            out << QStringLiteral("記帳本: %1 %2 has entries but no day row")
                       .arg(key.ledger, key.date);
            continue;
        }
        if (found->income != it->income || found->expense != it->expense)
            out << QStringLiteral("記帳本: %1 %2 holds %3/%4, entries sum to %5/%6")
                       .arg(key.ledger, key.date)
                       .arg(found->income)
                       .arg(found->expense)
                       .arg(it->income)
                       .arg(it->expense);
    }
    for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
        if (it->rows > 1)
            out << QStringLiteral("記帳本: %1 %2 has %3 rows")
                       .arg(it.key().ledger, it.key().date)
                       .arg(it->rows);
        if (!fromEntries.contains(it.key()))
            out << QStringLiteral("記帳本: %1 %2 has a day row but no entries")
                       .arg(it.key().ledger, it.key().date);
    }
}

void checkSerials(Database &db, QStringList &out)
{
    QSqlQuery query
        = db.exec(QStringLiteral("SELECT 使用者, 日期, 帳目類型, 序列號, COUNT(*) FROM 單日記帳本 "
                                 "GROUP BY 使用者, 日期, 帳目類型, 序列號 HAVING COUNT(*) > 1"));
    while (query.next())
        out << QStringLiteral("單日記帳本: serial %1 used %2 times by %3 on %4 (kind %5)")
                   .arg(query.value(3).toString(), query.value(4).toString(),
                       query.value(0).toString(), query.value(1).toString(),
                       query.value(2).toString());
}

void checkMainCategories(Database &db, QStringList &out)
{
    QSqlQuery query = db.exec(QStringLiteral(
        "SELECT DISTINCT e.使用者, e.帳目類型, e.帳目屬性 FROM 單日記帳本 e "
        "WHERE NOT EXISTS (SELECT 1 FROM 帳目分類 c WHERE c.帳目擁有者 IN (e.使用者, 'DEFAULT') "
        "AND c.帳目類別 = CAST(e.帳目類型 AS TEXT) AND c.帳目屬性 = e.帳目屬性 "
        "AND c.帳目順序 = CAST(e.帳目屬性 AS INTEGER) * 100)"));
    while (query.next())
        out << QStringLiteral("單日記帳本: %1 has entries of kind %2 under main category %3, "
                              "which does not exist")
                   .arg(query.value(0).toString(), query.value(1).toString(),
                       query.value(2).toString());
}

void checkDates(Database &db, QStringList &out)
{
    for (const QString &table : { QStringLiteral("單日記帳本"), QStringLiteral("記帳本") }) {
        QSqlQuery query = db.exec(QStringLiteral("SELECT DISTINCT 日期 FROM %1").arg(table));
        while (query.next()) {
            const QString text = query.value(0).toString();
            if (!fromDbDate(text).isValid() || text.size() != 10)
                out << QStringLiteral("%1: stored date \"%2\" is not a calendar date")
                           .arg(table, text);
        }
    }
}

void checkBackupOwners(Database &db, QStringList &out)
{
    QSqlQuery query = db.exec(QStringLiteral(
        "SELECT DISTINCT 帳目擁有者 FROM 帳目分類 WHERE 帳目擁有者 LIKE '%\\_BAK' ESCAPE '\\'"));
    while (query.next())
        out << QStringLiteral("帳目分類: roll-back copy \"%1\" left behind")
                   .arg(query.value(0).toString());
}

} // namespace

QStringList checkInvariants(Database &db, const InvariantOptions &options)
{
    QStringList violations;
    try {
        checkIntegrity(db, violations);
        checkDayTotals(db, violations);
        checkSerials(db, violations);
        checkMainCategories(db, violations);
        checkDates(db, violations);
        if (!options.allowBackupCategories)
            checkBackupOwners(db, violations);
    } catch (const DbError &error) {
        violations << QStringLiteral("the check itself failed: %1").arg(error.message());
    }
    return violations;
}

QStringList checkInvariants(const QString &databaseFile, const InvariantOptions &options)
{
    try {
        Database db(databaseFile);
        db.open();
        return checkInvariants(db, options);
    } catch (const DbError &error) {
        return { QStringLiteral("cannot open %1: %2").arg(databaseFile, error.message()) };
    }
}

std::string describeViolations(const QStringList &violations)
{
    return violations.join(QLatin1Char('\n')).toStdString();
}
