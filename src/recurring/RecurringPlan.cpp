#include "recurring/RecurringPlan.h"

#include "store/Amount.h"
#include "store/Database.h"
#include "store/LedgerOps.h"
#include "store/Schema.h"

#include <QSqlQuery>
#include <algorithm>

namespace {
// An empty note is stored as the empty text, never as null.
QString nonNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}
} // namespace

RecurringInputError::RecurringInputError(const QString &message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{ }

RecurringPlan::RecurringPlan(Database &db, QString ledger)
    : m_db(db)
    , m_ledger(std::move(ledger))
{ }

QList<QDate> RecurringPlan::dates(const QDate &start, const QDate &end, int period)
{
    QList<QDate> result;
    if (!start.isValid() || !end.isValid() || period < 1 || start > end)
        return result;
    const int day = start.day();
    for (int step = 0;; step += period) {
        // Counted from the start month each time, so a short month does not pull the later
        // dates back (1/31 → 2/28 → 3/31).
        const QDate month = QDate(start.year(), start.month(), 1).addMonths(step);
        const QDate date(month.year(), month.month(), std::min(day, month.daysInMonth()));
        if (date > end)
            break;
        result << date;
    }
    return result;
}

qint64 RecurringPlan::checkedAmount(const QString &text)
{
    const std::optional<qint64> amount = parseAmount(text);
    if (!amount)
        throw RecurringInputError(QStringLiteral("金額必須是不超過9位數的整數！"));
    return *amount;
}

QList<QDate> RecurringPlan::post(const RecurringPosting &posting)
{
    if (posting.period < 1 || posting.period > 3)
        throw RecurringInputError(QStringLiteral("請選擇定期的週期！"));
    const QString name = posting.entryName.trimmed();
    if (posting.mainNumber < 1 || name.isEmpty() || name == QStringLiteral("請選擇"))
        throw RecurringInputError(QStringLiteral("請選擇帳目！"));
    const qint64 amount = checkedAmount(posting.amountText);
    if (posting.start > posting.end)
        throw RecurringInputError(QStringLiteral("起始日期不可晚於結束日期！"));

    const QList<QDate> days = dates(posting.start, posting.end, posting.period);
    Transaction tx(m_db);
    for (const QDate &day : days) {
        const qint64 serial = GetNewSingleDayRecordNo(m_db, m_ledger, day, posting.income);
        m_db.exec(QStringLiteral("INSERT INTO 單日記帳本 (日期, 使用者, 帳目類型, 帳目屬性, "
                                 "帳目名稱, 金額, 說明, 定期, 序列號) "
                                 "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
            { dbDate(day), m_ledger, posting.income ? 1 : 0, QString::number(posting.mainNumber),
                name, amount, nonNull(posting.note), QString::number(posting.period), serial });
        SyncDayTotals(m_db, m_ledger, day);
    }
    tx.commit();
    return days;
}

// An item's own entries: the values of its list row, between its first and last date. The
// note matches with trailing blanks left out, as the list groups it: older day saves stored
// notes without them, which split an item in two.
static const char MatchItem[] = " WHERE 使用者 = ? AND 日期 >= ? AND 日期 <= ? AND 帳目類型 = ? "
                                "AND 帳目屬性 = ? AND 帳目名稱 = ? AND 定期 = ? AND 金額 = ? "
                                "AND rtrim(COALESCE(說明, '')) = rtrim(?)";

int RecurringPlan::rewrite(
    const RecurringItem &item, const QString &sql, const QVariantList &leading)
{
    const QVariantList match { m_ledger, dbDate(item.first), dbDate(item.last), item.income ? 1 : 0,
        QString::number(item.mainNumber), item.entryName, QString::number(item.period), item.amount,
        nonNull(item.note) };
    Transaction tx(m_db);
    QList<QDate> days;
    {
        QSqlQuery query = m_db.exec(
            QStringLiteral("SELECT DISTINCT 日期 FROM 單日記帳本") + QString::fromUtf8(MatchItem),
            match);
        while (query.next())
            days << fromDbDate(query.value(0).toString());
    }
    QSqlQuery query = m_db.exec(sql + QString::fromUtf8(MatchItem), leading + match);
    const int touched = std::max(0, query.numRowsAffected());
    query.finish();
    for (const QDate &day : days)
        SyncDayTotals(m_db, m_ledger, day);
    tx.commit();
    return touched;
}

int RecurringPlan::change(const RecurringItem &item, const QString &amountText, const QString &note)
{
    const qint64 amount = checkedAmount(amountText);
    return rewrite(item, QStringLiteral("UPDATE 單日記帳本 SET 金額 = ?, 說明 = ?"),
        { amount, nonNull(note) });
}

int RecurringPlan::remove(const RecurringItem &item)
{
    return rewrite(item, QStringLiteral("DELETE FROM 單日記帳本"), {});
}

QList<RecurringItem> RecurringPlan::items() const
{
    // The ledger's recurring entries are grouped first (the index holds only them), then
    // named by their main category. The main category rows are the same for every owner;
    // DISTINCT folds their copies, so the cost does not grow with the number of ledgers.
    QSqlQuery query = m_db.exec(
        QStringLiteral(
            "SELECT g.起日, g.迄日, g.定期, c.帳目名稱, g.帳目名稱, g.帳目類型, g.帳目屬性, "
            "g.金額, g.說明 "
            "FROM (SELECT MIN(日期) AS 起日, MAX(日期) AS 迄日, 定期, 帳目名稱, 帳目類型, "
            "  帳目屬性, 金額, rtrim(COALESCE(說明, '')) AS 說明 FROM 單日記帳本 "
            "  WHERE 使用者 = ? AND 定期 <> '' "
            "  GROUP BY 定期, 帳目名稱, 帳目類型, 帳目屬性, 金額, rtrim(COALESCE(說明, ''))) g "
            "JOIN (SELECT DISTINCT 帳目類別, 帳目屬性, 帳目名稱 FROM 帳目分類 WHERE ")
            + Schema::mainCategoryCondition()
            + QStringLiteral(
                ") c "
                "ON c.帳目屬性 = g.帳目屬性 AND CAST(c.帳目類別 AS INTEGER) = g.帳目類型 "
                "ORDER BY g.定期, c.帳目名稱, g.帳目名稱, g.帳目類型, g.帳目屬性, g.金額, g.說明"),
        { m_ledger });
    QList<RecurringItem> result;
    while (query.next()) {
        RecurringItem item;
        item.first = fromDbDate(query.value(0).toString());
        item.last = fromDbDate(query.value(1).toString());
        item.period = query.value(2).toString().toInt();
        item.mainName = query.value(3).toString();
        item.entryName = query.value(4).toString();
        item.income = query.value(5).toInt() != 0;
        item.mainNumber = query.value(6).toString().toInt();
        item.amount = query.value(7).toLongLong();
        item.note = query.value(8).toString();
        result << item;
    }
    return result;
}

qint64 RecurringPlan::monthlyShare(qint64 amount, int period)
{
    if (period <= 1)
        return amount;
    const qint64 whole = amount / period;
    const qint64 twiceRest = 2 * (amount % period);
    if (twiceRest > period || (twiceRest == period && whole % 2 != 0))
        return whole + 1;
    return whole;
}

MonthlySums RecurringPlan::monthlySums(const QList<RecurringItem> &items)
{
    MonthlySums sums;
    for (const RecurringItem &item : items)
        (item.income ? sums.income : sums.expense) += monthlyShare(item.amount, item.period);
    return sums;
}

QString RecurringPlan::periodText(int period)
{
    switch (period) {
    case 1:
        return QStringLiteral("每月");
    case 2:
        return QStringLiteral("2個月");
    case 3:
        return QStringLiteral("每季");
    }
    return {};
}
