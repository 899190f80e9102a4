#include "statistics/CategorySummary.h"
#include "store/Schema.h"

#include "store/Amount.h"
#include "store/Database.h"

#include <QDate>
#include <algorithm>

const QString CategorySummary::TotalCaption = QStringLiteral("合計");
const QString CategorySummary::NoSpendingName = Schema::NoSpendingName;

namespace {
const QString Income = QStringLiteral("收入");
const QString CompanyPersonal = QStringLiteral("公司/個人比較");
const QString Sales = QStringLiteral("商品銷售");
const QString Purchases = QStringLiteral("進貨");
const QString Operating = QStringLiteral("管銷");
const QString Personal = QStringLiteral("個人花費");

// Category names typed long ago may carry trailing blanks; the monthly view ignores them.
QString trimRight(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) <= QLatin1Char(' '))
        --end;
    return text.left(end);
}

bool sumsIncomeByAttribute(const QString &groupText)
{
    return groupText == Operating || groupText == Personal;
}

struct Period
{
    QString from;
    QString until;
};

Period periodOf(const SummaryInput &input)
{
    const QDate first = input.month ? QDate(input.year, *input.month, 1) : QDate(input.year, 1, 1);
    if (!first.isValid())
        throw DbError(QStringLiteral("統計期間不正確：%1年%2月")
                          .arg(input.year)
                          .arg(input.month.value_or(0)));
    const QDate next = input.month ? first.addMonths(1) : first.addYears(1);
    return { dbDate(first), dbDate(next) };
}

SummaryLine *findLine(QList<SummaryLine> &lines, const QString &name, const QString &attr)
{
    for (SummaryLine &line : lines) {
        if (line.name == name && line.attr == attr)
            return &line;
    }
    return nullptr;
}

void addTo(SummaryLine &line, qint64 amount)
{
    line.amount += amount;
    line.hasAmount = true;
}
} // namespace

QString SummaryLine::amountText() const
{
    return hasAmount ? formatAmount(amount) : QString();
}

bool SummaryRow::isTotal() const
{
    return incomeName == CategorySummary::TotalCaption;
}

CategorySummary::CategorySummary(Database &db)
    : m_db(db)
{ }

QStringList CategorySummary::sideItems()
{
    return { Income, QStringLiteral("支出") };
}

QStringList CategorySummary::groupItems(const QString &sideText)
{
    if (sideText != Income)
        return { CompanyPersonal, Purchases, Operating, Personal };
    return { CompanyPersonal, Sales };
}

int CategorySummary::viewModeFor(const QString &sideText, int groupIndex)
{
    return sideText != Income ? groupIndex + 2 : groupIndex;
}

int CategorySummary::attrFilterFor(int viewMode)
{
    switch (viewMode) {
    case 3:
        return 2;
    case 4:
        return 3;
    default:
        return 1;
    }
}

QString CategorySummary::incomeAttributeName(const QString &attr)
{
    static const QStringList names { Sales, QStringLiteral("投資"), QStringLiteral("其他"),
        QStringLiteral("個人收入") };
    bool ok = false;
    const int n = attr.toInt(&ok);
    if (!ok || n < 1 || n > names.size() || attr != QString::number(n))
        return {};
    return names.at(n - 1);
}

QString CategorySummary::pictureFileName(const QString &prefix, const QString &key)
{
    QString safe = key;
    for (QChar &c : safe) {
        if (c < QLatin1Char(' ') || QStringLiteral("\\/:*?\"<>|").contains(c))
            c = QLatin1Char('_');
    }
    return prefix + safe + QStringLiteral(".bmp");
}

SummaryStatus CategorySummary::status(
    const QString &groupText, qint64 incomeTotal, qint64 expenseTotal)
{
    SummaryStatus s;
    const bool grossProfit = groupText == Sales || groupText == Purchases;
    if (groupText == CompanyPersonal || grossProfit) {
        const qint64 balance = incomeTotal - expenseTotal;
        s.showsBalance = true;
        s.balanceText = formatAmount(balance);
        s.negative = balance < 0;
        s.caption = grossProfit ? QStringLiteral("毛利：") : QStringLiteral("結餘：");
    }
    if (grossProfit)
        s.note = QStringLiteral("毛利 = 商品銷售 - 進貨");
    else if (groupText == Operating)
        s.note = QStringLiteral("管銷 = 公司營運的各項費用");
    return s;
}

QList<CategorySummary::EntryRow> CategorySummary::summaryRows(const SummaryInput &input)
{
    switch (input.viewMode) {
    case 0:
    case 2:
        return rowsByMainCategory(input);
    case 1:
    case 3:
        return rowsOfSalesAndPurchases(input);
    case 4:
        return rowsOfIncomeAndOneExpense(input, QStringLiteral("3"));
    case 5:
        return rowsOfIncomeAndOneExpense(input, QStringLiteral("1"));
    default:
        throw DbError(QStringLiteral("未知的統計方式：%1").arg(input.viewMode));
    }
}

// Every entry under the name of its main category. The main category rows are the same for
// every owner; the ledger's own copy is preferred so that each entry counts exactly once.
// An entry whose main category is missing still counts, under its own name.
// The engine sums the entries by name first and then names the few sums, so a year costs
// little more than a month; the rows arrive in the order the groups are listed in.
QList<CategorySummary::EntryRow> CategorySummary::rowsByMainCategory(const SummaryInput &input)
{
    const Period period = periodOf(input);
    QSqlQuery query = m_db.exec(
        QStringLiteral(
            "WITH 主分類 AS (SELECT 帳目類別, 帳目屬性, 帳目名稱, 帳目順序, "
            "ROW_NUMBER() OVER (PARTITION BY 帳目類別, 帳目屬性 ORDER BY 帳目擁有者 = ? DESC, "
            "帳目擁有者 = 'DEFAULT' DESC, rowid) AS 順位 FROM 帳目分類 WHERE ")
            + Schema::mainCategoryCondition()
            + QStringLiteral(
                "), "
                "分組 AS (SELECT 帳目類型, 帳目屬性, 帳目名稱, SUM(金額) AS 金額 FROM 單日記帳本 "
                "WHERE 使用者 = ? AND 日期 >= ? AND 日期 < ? AND IFNULL(帳目名稱, '') <> ? "
                "GROUP BY 帳目類型, 帳目屬性, 帳目名稱) "
                "SELECT e.帳目類型, COALESCE(m.帳目名稱, e.帳目名稱) AS 名稱, SUM(e.金額), "
                "e.帳目屬性 "
                "FROM 分組 e LEFT JOIN 主分類 m ON m.順位 = 1 "
                "AND m.帳目類別 = (CASE WHEN e.帳目類型 = 1 THEN '1' ELSE '0' END) "
                "AND m.帳目屬性 = e.帳目屬性 "
                "GROUP BY e.帳目類型, m.帳目順序, e.帳目屬性, 名稱 "
                "ORDER BY e.帳目類型 DESC, m.帳目順序 IS NULL, m.帳目順序, e.帳目屬性, 名稱"),
        { input.ledger, input.ledger, period.from, period.until, NoSpendingName });
    return readRows(query);
}

// Sales (income attribute 1) and purchases (expense attribute 2), summed by entry name.
QList<CategorySummary::EntryRow> CategorySummary::rowsOfSalesAndPurchases(const SummaryInput &input)
{
    const Period period = periodOf(input);
    QSqlQuery query = m_db.exec(
        QStringLiteral("SELECT 帳目類型, 帳目名稱, SUM(金額), 帳目屬性 FROM 單日記帳本 "
                       "WHERE 使用者 = ? AND 日期 >= ? AND 日期 < ? "
                       "AND ((帳目屬性 = ? AND 帳目類型 = 1) OR (帳目屬性 = ? AND 帳目類型 = 0)) "
                       "AND IFNULL(帳目名稱, '') <> ? "
                       "GROUP BY 帳目類型, 帳目屬性, 帳目名稱 "
                       "ORDER BY 帳目類型 DESC, 帳目屬性, 帳目名稱"),
        { input.ledger, period.from, period.until, QStringLiteral("1"), QStringLiteral("2"),
            NoSpendingName });
    return readRows(query);
}

// All income and the expense entries of one attribute, summed by entry name.
QList<CategorySummary::EntryRow> CategorySummary::rowsOfIncomeAndOneExpense(
    const SummaryInput &input, const QString &attr)
{
    const Period period = periodOf(input);
    QSqlQuery query
        = m_db.exec(QStringLiteral("SELECT 帳目類型, 帳目名稱, SUM(金額), 帳目屬性 FROM 單日記帳本 "
                                   "WHERE 使用者 = ? AND 日期 >= ? AND 日期 < ? "
                                   "AND (帳目類型 = 1 OR (帳目屬性 = ? AND 帳目類型 = 0)) "
                                   "AND IFNULL(帳目名稱, '') <> ? "
                                   "GROUP BY 帳目類型, 帳目屬性, 帳目名稱 "
                                   "ORDER BY 帳目類型 DESC, 帳目屬性, 帳目名稱"),
            { input.ledger, period.from, period.until, attr, NoSpendingName });
    return readRows(query);
}

QList<CategorySummary::EntryRow> CategorySummary::readRows(QSqlQuery &query)
{
    QList<CategorySummary::EntryRow> rows;
    while (query.next()) {
        rows.append({ query.value(0).toInt() != 0, query.value(1).toString(),
            query.value(2).toLongLong(), query.value(3).toString() });
    }
    return rows;
}

QList<CategorySummary::Category> CategorySummary::categories(const SummaryInput &input)
{
    QSqlQuery query;
    switch (input.viewMode) {
    case 0:
    case 2:
        // The main categories of both sides.
        query = m_db.exec(
            QStringLiteral("SELECT 帳目類別, 帳目屬性, 帳目名稱 FROM 帳目分類 WHERE 帳目擁有者 = ? "
                           "AND ")
                + Schema::mainCategoryCondition()
                + QStringLiteral(" ORDER BY 帳目順序, 帳目類別 DESC"),
            { input.ledger });
        break;
    case 1:
    case 3:
        // Sales subcategories, and every expense category but personal spending itself.
        query = m_db.exec(
            QStringLiteral("SELECT 帳目類別, 帳目屬性, 帳目名稱 FROM 帳目分類 "
                           "WHERE 帳目擁有者 = ? AND 帳目順序 <> 100 "
                           "AND ((帳目屬性 = '1' AND 帳目類別 = '1') OR 帳目類別 = '0') "
                           "ORDER BY 帳目類別, 帳目順序"),
            { input.ledger });
        break;
    default:
        // Expense subcategories only: income is summed into extra lines.
        query = m_db.exec(
            QStringLiteral("SELECT 帳目類別, 帳目屬性, 帳目名稱 FROM 帳目分類 WHERE 帳目擁有者 = ? "
                           "AND 帳目順序 % 100 <> 0 AND 帳目屬性 = substr(帳目順序, 1, 1) "
                           "AND 帳目類別 = '0' ORDER BY 帳目類別, 帳目順序"),
            { input.ledger });
        break;
    }
    QList<Category> list;
    while (query.next()) {
        const QString kind = query.value(0).toString();
        if (kind != QLatin1String("1") && kind != QLatin1String("0"))
            continue;
        list.append(
            { kind == QLatin1String("1"), query.value(1).toString(), query.value(2).toString() });
    }
    return list;
}

SummaryResult CategorySummary::run(const SummaryInput &input)
{
    SummaryResult result;
    const QList<EntryRow> rows = summaryRows(input);
    if (rows.isEmpty())
        return result;
    result.hasEntries = true;

    const bool monthly = input.month.has_value();
    for (const Category &category : categories(input)) {
        const SummaryLine line { monthly ? trimRight(category.name) : category.name,
            category.attr };
        (category.income ? result.incomeLines : result.expenseLines).append(line);
    }

    const bool byAttribute = sumsIncomeByAttribute(input.groupText);
    auto flushIncome = [&](const EntryRow &last, qint64 sum) {
        QString label = last.name;
        if (byAttribute) {
            const QString attrName = incomeAttributeName(last.attr);
            if (!attrName.isEmpty())
                label = attrName;
        }
        if (SummaryLine *line = findLine(result.incomeLines, label, last.attr)) {
            addTo(*line, sum);
        } else {
            SummaryLine *merged = nullptr;
            if (byAttribute) {
                for (SummaryLine &extra : result.extraIncomeLines) {
                    if (extra.name == label) {
                        merged = &extra;
                        break;
                    }
                }
            }
            if (merged)
                addTo(*merged, sum);
            else
                result.extraIncomeLines.append({ label, last.attr, true, sum });
        }
        result.incomeTotal += sum;
    };
    auto flushExpense = [&](const EntryRow &last, qint64 sum) {
        const QString name = monthly ? trimRight(last.name) : last.name;
        if (SummaryLine *line = findLine(result.expenseLines, last.name, last.attr))
            addTo(*line, sum);
        else if (SummaryLine *extra = findLine(result.extraExpenseLines, name, last.attr))
            addTo(*extra, sum);
        else
            result.extraExpenseLines.append({ name, last.attr, true, sum });
        result.expenseTotal += sum;
    };
    auto flush = [&](const EntryRow &last, qint64 sum) {
        if (last.income)
            flushIncome(last, sum);
        else
            flushExpense(last, sum);
    };

    // A group is a run of rows of one side, name and attribute; the rows arrive sorted so.
    qint64 sum = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const EntryRow &row = rows.at(i);
        if (i > 0) {
            const EntryRow &previous = rows.at(i - 1);
            if (row.name != previous.name || row.income != previous.income
                || row.attr != previous.attr) {
                flush(previous, sum);
                sum = 0;
            }
        }
        sum += row.amount;
    }
    flush(rows.last(), sum);

    // Chart: the lines of the side the view shows.
    const bool expenseSide = input.viewMode >= 2;
    const bool everyLine = input.viewMode == 0 || input.viewMode == 2;
    const QString filter = QString::number(input.attrFilter);
    const auto &listed = expenseSide ? result.expenseLines : result.incomeLines;
    const auto &extras = expenseSide ? result.extraExpenseLines : result.extraIncomeLines;
    for (const SummaryLine &line : listed) {
        if (line.hasAmount && (everyLine || line.attr == filter))
            result.chartPoints.append({ line.amount, line.name });
    }
    for (const SummaryLine &line : extras) {
        if (!line.name.isEmpty() && (everyLine || line.attr == filter))
            result.chartPoints.append({ line.amount, line.name });
    }

    // List: listed lines in category order, then the extra lines, each side in its own
    // columns from the top; then four blank rows and the total row.
    QList<SummaryRow> &list = result.rows;
    list.resize(std::max(result.incomeLines.size(), result.expenseLines.size()));
    qsizetype incomeRow = 0;
    qsizetype expenseRow = 0;
    for (const SummaryLine &line : std::as_const(result.incomeLines)) {
        const bool shown = monthly
            ? !trimRight(line.name).isEmpty() && !trimRight(line.amountText()).isEmpty()
            : line.hasAmount;
        if (!shown)
            continue;
        list[incomeRow].incomeName = line.name;
        list[incomeRow].incomeAmount = line.amountText();
        ++incomeRow;
    }
    for (const SummaryLine &line : std::as_const(result.expenseLines)) {
        if (!line.hasAmount)
            continue;
        list[expenseRow].expenseName = line.name;
        list[expenseRow].expenseAmount = line.amountText();
        ++expenseRow;
    }
    auto rowAt = [&list](qsizetype index) -> SummaryRow & {
        if (index >= list.size())
            list.resize(index + 1);
        return list[index];
    };
    for (const SummaryLine &line : std::as_const(result.extraIncomeLines)) {
        SummaryRow &row = rowAt(incomeRow++);
        row.incomeName = line.name;
        row.incomeAmount = line.amountText();
    }
    for (const SummaryLine &line : std::as_const(result.extraExpenseLines)) {
        SummaryRow &row = rowAt(expenseRow++);
        row.expenseName = line.name;
        row.expenseAmount = line.amountText();
    }
    list.removeIf([](const SummaryRow &row) {
        return row.incomeName.isEmpty() && row.expenseName.isEmpty();
    });
    for (int i = 0; i < 4; ++i)
        list.append(SummaryRow {});
    list.append({ TotalCaption, formatAmount(result.incomeTotal), TotalCaption,
        QStringLiteral("(%1)").arg(formatAmount(result.expenseTotal)) });
    return result;
}
