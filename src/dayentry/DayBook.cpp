#include "dayentry/DayBook.h"

#include "store/Database.h"
#include "store/LedgerOps.h"
#include "store/Schema.h"

#include <QSqlRecord>

namespace {
// An empty name or note is stored as the empty text, never as null.
QString nonNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}
} // namespace

DayBook::DayBook(Database &db, const QString &ledger)
    : m_db(db)
    , m_ledger(ledger)
{ }

bool DayBook::mainHasSubcategories(bool income, int mainNumber)
{
    return ::mainHasSubcategories(income, mainNumber);
}

QList<DayEntry> DayBook::load(const QDate &date) const
{
    // The main category rows are the same for every owner (the ledger's own are preferred).
    // Every entry of the day is listed, also one whose main category row is missing: the
    // save rewrites the day from the list, so an unlisted entry would be lost.
    QSqlQuery query = m_db.exec(
        QStringLiteral(
            "SELECT e.帳目類型, m.帳目名稱, e.帳目名稱, e.金額, e.帳目屬性, e.說明, e.定期, "
            "e.序列號 "
            "FROM 單日記帳本 e LEFT JOIN 帳目分類 m ON m.rowid = ("
            "  SELECT c.rowid FROM 帳目分類 c "
            "  WHERE c.帳目屬性 = e.帳目屬性 AND CAST(c.帳目類別 AS INTEGER) = e.帳目類型 "
            "  AND ")
            + Schema::mainCategoryCondition(QStringLiteral("c"))
            + QStringLiteral("  ORDER BY c.帳目擁有者 = ? DESC LIMIT 1) "
                             "WHERE e.日期 = ? AND e.使用者 = ? "
                             "ORDER BY e.帳目類型, m.帳目順序, e.帳目屬性, m.帳目名稱, e.帳目名稱, "
                             "e.金額, e.說明, "
                             "e.序列號"),
        { m_ledger, dbDate(date), m_ledger });
    QList<DayEntry> entries;
    while (query.next()) {
        DayEntry entry;
        entry.income = query.value(0).toInt() != 0;
        entry.mainName = query.value(1).toString().trimmed();
        entry.name = query.value(2).toString();
        entry.amount = query.value(3).toLongLong();
        entry.mainNumber = query.value(4).toString().trimmed().toInt();
        // As typed: a note cut short here would be saved back cut short.
        entry.note = query.value(5).toString();
        entry.period = query.value(6);
        entry.serial = query.value(7).toLongLong();
        entries << entry;
    }
    return entries;
}

std::optional<DayTotals> DayBook::totals(const QDate &date) const
{
    QSqlQuery query = m_db.exec(
        QStringLiteral("SELECT 收入小計, 支出小計 FROM 記帳本 WHERE 日期 = ? AND 使用者 = ?"),
        { dbDate(date), m_ledger });
    if (!query.next())
        return std::nullopt;
    return DayTotals { query.value(0).toLongLong(), query.value(1).toLongLong() };
}

DayTotals DayBook::save(const QDate &date, const QList<DayEntry> &rows)
{
    if (!date.isValid())
        throw DbError(QStringLiteral("日期不正確"));
    const QString day = dbDate(date);
    const qint64 changesBefore = m_db.changeCount();
    const QStringList before = storedDay(day);
    Transaction tx(m_db);
    m_db.exec(
        QStringLiteral("DELETE FROM 單日記帳本 WHERE 日期 = ? AND 使用者 = ?"), { day, m_ledger });
    m_db.exec(
        QStringLiteral("DELETE FROM 記帳本 WHERE 日期 = ? AND 使用者 = ?"), { day, m_ledger });
    DayTotals totals;
    // Income rows first, each kind in its listed order.
    for (const bool income : { true, false }) {
        for (const DayEntry &row : rows) {
            if (row.income != income)
                continue;
            m_db.exec(QStringLiteral("INSERT INTO 單日記帳本 (日期, 使用者, 帳目類型, 帳目屬性, "
                                     "帳目名稱, 金額, 說明, 定期, 序列號) "
                                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                { day, m_ledger, income ? 1 : 0, QString::number(row.mainNumber), nonNull(row.name),
                    row.amount, nonNull(row.note), row.period, row.serial });
            (income ? totals.income : totals.expense) += row.amount;
        }
    }
    if (!rows.isEmpty())
        m_db.exec(QStringLiteral(
                      "INSERT INTO 記帳本 (日期, 使用者, 收入小計, 支出小計) VALUES (?, ?, ?, ?)"),
            { day, m_ledger, totals.income, totals.expense });
    tx.commit();
    // Leaving the screen stores the day as shown; when that is what was stored already, the
    // books did not change.
    if (storedDay(day) == before)
        m_db.forgetChangesSince(changesBefore);
    return totals;
}

QStringList DayBook::storedDay(const QString &day) const
{
    QStringList rows;
    for (const QString &sql :
        { QStringLiteral("SELECT * FROM 單日記帳本 WHERE 日期 = ? AND 使用者 = ?"),
            QStringLiteral("SELECT * FROM 記帳本 WHERE 日期 = ? AND 使用者 = ?") }) {
        QSqlQuery query = m_db.exec(sql, { day, m_ledger });
        while (query.next()) {
            QStringList values { sql };
            for (int i = 0; i < query.record().count(); ++i) {
                const QVariant value = query.value(i);
                values << (value.isNull() ? QStringLiteral("<null>")
                                          : value.toString() + QLatin1Char(':') + value.typeName());
            }
            rows << values.join(QLatin1Char('|'));
        }
    }
    rows.sort();
    return rows;
}

qint64 DayBook::nextSerial(const QDate &date, bool income) const
{
    return GetNewSingleDayRecordNo(m_db, m_ledger, date, income);
}

void DayBook::storeDefaultPage(int page)
{
    const QString value = QString::number(page == 1 ? 1 : 0);
    Transaction tx(m_db);
    QSqlQuery update
        = m_db.exec(QStringLiteral("UPDATE 參數設定 SET 設定值 = ? WHERE 代碼 = ? AND 使用者 = ?"),
            { value, Schema::DefaultPageCode, m_ledger });
    // A ledger without the setting row (an old file) gets one.
    if (update.numRowsAffected() == 0)
        m_db.exec(QStringLiteral("INSERT INTO 參數設定 (代碼, 設定值, 使用者) VALUES (?, ?, ?)"),
            { Schema::DefaultPageCode, value, m_ledger });
    tx.commit();
}
