#include "analysis/YearAnalysis.h"
#include "store/Schema.h"

#include "store/Database.h"

#include <QSqlQuery>

namespace {

const QString &NoSpending = Schema::NoSpendingName;

// The year as a closed range of stored dates, so that the date index serves the filter.
QVariantList yearRange(int year)
{
    return { dbDate(QDate(year, 1, 1)), dbDate(QDate(year, 12, 31)) };
}

} // namespace

YearSums YearAnalysis::monthlySums(const QString &sql, const QVariantList &params)
{
    YearSums sums;
    QSqlQuery query = m_db.exec(sql, params);
    while (query.next()) {
        const int month = query.value(0).toInt();
        if (month < 1 || month > 12)
            continue;
        const qint64 income = query.value(1).toLongLong();
        const qint64 expense = query.value(2).toLongLong();
        sums.income[month] += income;
        sums.expense[month] += expense;
        sums.balance[month] += income - expense;
    }
    return sums;
}

YearSums YearAnalysis::comparison(const QString &ledger, int year)
{
    if (year < 1 || year > 9999)
        return {};
    QVariantList params { ledger };
    params << yearRange(year);
    return monthlySums(
        QStringLiteral("SELECT CAST(substr(日期, 6, 2) AS INTEGER) AS 月, "
                       "IFNULL(SUM(收入小計), 0), IFNULL(SUM(支出小計), 0) FROM 記帳本 "
                       "WHERE 使用者 = ? AND 日期 BETWEEN ? AND ? GROUP BY 月"),
        params);
}

YearSums YearAnalysis::category(const QString &ledger, int year, bool income, int mainNumber)
{
    if (year < 1 || year > 9999)
        return {};
    QVariantList params { ledger };
    params << yearRange(year) << (income ? 1 : 0) << mainNumber;
    const QString amount = QStringLiteral("IFNULL(SUM(金額), 0)");
    const QString columns
        = income ? amount + QStringLiteral(", 0") : QStringLiteral("0, ") + amount;
    return monthlySums(QStringLiteral("SELECT CAST(substr(日期, 6, 2) AS INTEGER) AS 月, ")
            + columns
            + QStringLiteral(" FROM 單日記帳本 WHERE 使用者 = ? AND 日期 BETWEEN ? AND ? "
                             "AND 帳目類型 = ? AND CAST(帳目屬性 AS INTEGER) = ? GROUP BY 月"),
        params);
}

YearSums YearAnalysis::sums(const QString &ledger, int year, Mode mode, int mainNumber)
{
    switch (mode) {
    case Mode::Comparison:
        return comparison(ledger, year);
    case Mode::Income:
        return category(ledger, year, true, mainNumber);
    case Mode::Expense:
        return category(ledger, year, false, mainNumber);
    }
    return {};
}

QList<AnalysisCategory> YearAnalysis::mainCategories(const QString &ledger, bool income)
{
    QSqlQuery query
        = m_db.exec(QStringLiteral("SELECT 帳目名稱, 帳目屬性 FROM 帳目分類 WHERE 帳目擁有者 = ? "
                                   "AND 帳目類別 = ? AND ")
                + Schema::mainCategoryCondition() + QStringLiteral(" ORDER BY 帳目順序"),
            { ledger, income ? QStringLiteral("1") : QStringLiteral("0") });
    QList<AnalysisCategory> categories;
    while (query.next()) {
        const QString name = query.value(0).toString();
        if (name == NoSpending)
            continue;
        categories.append({ name, query.value(1).toString().trimmed().toInt() });
    }
    return categories;
}

QString YearAnalysis::pictureFileName(int year)
{
    return QStringLiteral("year_month%1.bmp").arg(year);
}

QStringList YearAnalysis::modeNames()
{
    return { QStringLiteral("收入/支出比較"), QStringLiteral("收入"), QStringLiteral("支出") };
}
