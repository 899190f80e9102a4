#include "statistics/CategoryExport.h"
#include "store/Schema.h"

#include "store/Database.h"
#include "store/LedgerOps.h"

#include <QSqlQuery>

QString ExportPeriod::text() const
{
    if (month)
        return QStringLiteral("%1年%2月明細").arg(year).arg(*month);
    return QStringLiteral("%1年度明細").arg(year);
}

QString ExportPeriod::suggestedFileName() const
{
    if (month)
        return QStringLiteral("%1年%2月份分類明細.xlsx").arg(year).arg(*month);
    return QStringLiteral("%1年度分類明細.xlsx").arg(year);
}

QString ExportLine::timeText() const
{
    return QStringLiteral("%1/%2").arg(date.month()).arg(date.day());
}

QString ExportLine::categoryText() const
{
    if (mainName.isEmpty())
        return entryName;
    return entryDisplayName(mainName, entryName, true, QStringLiteral("－"));
}

QString ExportSheetData::name() const
{
    return income ? QStringLiteral("收入") : QStringLiteral("支出");
}

qint64 ExportSheetData::total() const
{
    qint64 sum = 0;
    for (const ExportLine &line : lines)
        sum += line.amount.value_or(0);
    return sum;
}

// The main category's name comes from the ledger's own category rows (the template's when the
// ledger has none), so that every entry is one line, however many ledgers share the names.
// An entry whose main category is gone still counts: leaving it out would understate the sheet.
ExportSheetData CategoryExport::sheet(const ExportPeriod &period, bool income)
{
    ExportSheetData data;
    data.income = income;
    const QDate first = QDate(period.year, period.month.value_or(1), 1);
    if (!first.isValid())
        return data;
    const QDate next = period.month ? first.addMonths(1) : first.addYears(1);

    QVariantList params { period.ledger, income ? QStringLiteral("1") : QStringLiteral("0"),
        period.ledger, dbDate(first), dbDate(next), income ? 1 : 0 };
    QString where;
    if (!income) {
        where = QStringLiteral(" AND IFNULL(e.帳目名稱, '') <> ?");
        params << Schema::NoSpendingName;
    }
    const QString order = period.month
        ? QStringLiteral("e.日期, m.帳目順序 IS NULL, m.帳目順序, e.帳目屬性, e.帳目名稱, e.金額, "
                         "e.說明, e.序列號, e.rowid")
        : QStringLiteral("e.序列號, e.日期, e.rowid");
    QSqlQuery query = m_db.exec(
        QStringLiteral(
            "WITH 主分類 AS (SELECT 帳目類別, 帳目屬性, 帳目名稱, 帳目順序, "
            "ROW_NUMBER() OVER (PARTITION BY 帳目類別, 帳目屬性 ORDER BY 帳目擁有者 = ? DESC, "
            "帳目擁有者 = 'DEFAULT' DESC, rowid) AS 順位 FROM 帳目分類 WHERE ")
            + Schema::mainCategoryCondition()
            + QStringLiteral(
                ") "
                "SELECT e.日期, m.帳目名稱, e.帳目名稱, e.金額, e.說明 "
                "FROM 單日記帳本 e LEFT JOIN 主分類 m ON m.順位 = 1 AND m.帳目類別 = ? "
                "AND m.帳目屬性 = e.帳目屬性 "
                "WHERE e.使用者 = ? AND e.日期 >= ? AND e.日期 < ? AND e.帳目類型 = ?")
            + where + QStringLiteral(" ORDER BY ") + order,
        params);
    while (query.next()) {
        ExportLine line;
        line.date = fromDbDate(query.value(0).toString());
        line.mainName = query.value(1).toString();
        line.entryName = query.value(2).toString();
        if (!query.value(3).isNull())
            line.amount = query.value(3).toLongLong();
        line.note = query.value(4).toString();
        data.lines.append(line);
    }
    return data;
}

QList<ExportSheetData> CategoryExport::sheets(const ExportPeriod &period)
{
    QList<ExportSheetData> out;
    for (const bool income : { true, false }) {
        ExportSheetData data = sheet(period, income);
        if (!data.lines.isEmpty())
            out.append(std::move(data));
    }
    return out;
}
