#include "analysis/DetailQuery.h"

#include "store/Amount.h"
#include "store/Database.h"
#include "store/LedgerOps.h"
#include "store/Schema.h"

#include <QSqlQuery>

namespace {

struct Period
{
    QString from, until;
};

Period periodOf(const DetailFilter &filter)
{
    const QDate start(filter.year, filter.month.value_or(1), 1);
    const QDate end = filter.month ? start.addMonths(1) : start.addYears(1);
    return { dbDate(start), dbDate(end) };
}

// The conditions every statement of the list shares, on the entries table "e".
QString conditions(const DetailFilter &filter, QVariantList &params)
{
    const Period period = periodOf(filter);
    QString sql = QStringLiteral("e.使用者 = ? AND e.日期 >= ? AND e.日期 < ? AND e.帳目類型 = ?");
    params << filter.ledger << period.from << period.until << (filter.income ? 1 : 0);
    if (filter.mainNumber) {
        sql += QStringLiteral(" AND e.帳目屬性 = ?");
        params << QString::number(*filter.mainNumber);
        if (filter.entryName) {
            sql += QStringLiteral(" AND e.帳目名稱 = ?");
            params << *filter.entryName;
        }
    }
    return sql;
}

QString trimmedLeft(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return text.mid(i);
}

} // namespace

QString DetailRow::timeText() const
{
    return QStringLiteral("%1/%2").arg(date.month()).arg(date.day());
}

QString DetailRow::categoryText() const
{
    if (!mainHasSubcategories(income, mainNumber) || mainName.isEmpty())
        return entryName;
    return fourstr(trimmedLeft(mainName)) + QLatin1Char('-') + trimmedLeft(entryName);
}

QString DetailRow::amountText() const
{
    return formatAmount(amount);
}

QString DetailPage::label() const
{
    return QStringLiteral("共有%1筆，目前位置%2/%3頁").arg(count).arg(current).arg(pages);
}

DetailPage DetailPage::of(int count, int startRow)
{
    DetailPage page;
    page.count = count;
    page.pages = (count + DetailQuery::PageSize - 1) / DetailQuery::PageSize;
    page.current = std::max(0, startRow - 1) / DetailQuery::PageSize + 1;
    page.previousEnabled = page.current > 1;
    page.nextEnabled = page.pages > 0 && page.current < page.pages;
    return page;
}

bool DetailQuery::validPeriod(const DetailFilter &filter)
{
    return filter.year >= 1 && filter.year <= 9999
        && (!filter.month || (*filter.month >= 1 && *filter.month <= 12));
}

int DetailQuery::count(const DetailFilter &filter)
{
    if (!validPeriod(filter))
        return 0;
    QVariantList params;
    const QString where = conditions(filter, params);
    return m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM 單日記帳本 e WHERE ") + where, params)
        .toInt();
}

qint64 DetailQuery::total(const DetailFilter &filter)
{
    if (!validPeriod(filter))
        return 0;
    QVariantList params;
    const QString where = conditions(filter, params);
    return m_db
        .scalar(QStringLiteral("SELECT IFNULL(SUM(IFNULL(e.金額, 0)), 0) FROM 單日記帳本 e WHERE ")
                + where,
            params)
        .toLongLong();
}

QList<DetailRow> DetailQuery::page(const DetailFilter &filter, int startRow)
{
    return rows(filter, PageSize, std::max(0, startRow - 1));
}

QList<DetailRow> DetailQuery::all(const DetailFilter &filter)
{
    return rows(filter, -1, 0);
}

// The main category's name comes from the ledger's own category rows (the template's when the
// ledger has none), so each entry is listed exactly once.
QList<DetailRow> DetailQuery::rows(const DetailFilter &filter, int limit, int offset)
{
    QList<DetailRow> out;
    if (!validPeriod(filter))
        return out;
    QVariantList params { filter.ledger,
        filter.income ? QStringLiteral("1") : QStringLiteral("0") };
    const QString where = conditions(filter, params);
    params << limit << offset;
    QSqlQuery query = m_db.exec(
        QStringLiteral(
            "WITH 主分類 AS (SELECT 帳目類別, 帳目屬性, 帳目名稱, "
            "ROW_NUMBER() OVER (PARTITION BY 帳目類別, 帳目屬性 ORDER BY 帳目擁有者 = ? DESC, "
            "帳目擁有者 = 'DEFAULT' DESC, rowid) AS 順位 FROM 帳目分類 WHERE ")
            + Schema::mainCategoryCondition()
            + QStringLiteral(
                ") "
                "SELECT e.日期, e.帳目屬性, m.帳目名稱, e.帳目名稱, e.金額, e.說明, e.序列號 "
                "FROM 單日記帳本 e LEFT JOIN 主分類 m ON m.順位 = 1 AND m.帳目類別 = ? "
                "AND m.帳目屬性 = e.帳目屬性 WHERE ")
            + where + QStringLiteral(" ORDER BY e.序列號, e.日期, e.rowid LIMIT ? OFFSET ?"),
        params);
    while (query.next()) {
        DetailRow row;
        row.date = fromDbDate(query.value(0).toString());
        row.income = filter.income;
        row.mainNumber = query.value(1).toString().trimmed().toInt();
        row.mainName = query.value(2).toString();
        row.entryName = query.value(3).toString();
        row.amount = query.value(4).toLongLong();
        row.note = query.value(5).toString();
        row.serial = query.value(6).toLongLong();
        out.append(row);
    }
    return out;
}
