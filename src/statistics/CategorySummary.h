#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Database;
class QSqlQuery;

// What the monthly and yearly statistics screens ask for.
struct SummaryInput
{
    int year = 0;
    // The month of the monthly screen; none for the whole year.
    std::optional<int> month;
    QString ledger;
    // 0 income by main category, 1 sales against purchases (income side), 2 expense by main
    // category, 3 sales against purchases (expense side), 4 operating costs, 5 personal spending.
    int viewMode = 2;
    // Attribute whose bars the chart shows in view modes 1, 3, 4 and 5.
    int attrFilter = 1;
    // Text the group selector shows; it decides whether income is summed by attribute.
    QString groupText;
};

// One line of the summary: a listed category or an extra group.
struct SummaryLine
{
    QString name;
    QString attr;
    bool hasAmount = false;
    qint64 amount = 0;
    QString amountText() const;
};

struct ChartPoint
{
    qint64 value = 0;
    QString label;
    bool operator==(const ChartPoint &) const = default;
};

// One row of the four-column list.
struct SummaryRow
{
    QString incomeName;
    QString incomeAmount;
    QString expenseName;
    QString expenseAmount;
    bool operator==(const SummaryRow &) const = default;
    bool isTotal() const;
};

struct SummaryResult
{
    // False when the period holds no counted entry: no rows, no points, totals 0.
    bool hasEntries = false;
    qint64 incomeTotal = 0;
    qint64 expenseTotal = 0;
    QList<SummaryLine> incomeLines;
    QList<SummaryLine> expenseLines;
    QList<SummaryLine> extraIncomeLines;
    QList<SummaryLine> extraExpenseLines;
    QList<ChartPoint> chartPoints;
    // The list from top to bottom, ending with four blank rows and the total row.
    QList<SummaryRow> rows;
    qint64 balance() const { return incomeTotal - expenseTotal; }
};

// What the status bar shows for a group.
struct SummaryStatus
{
    QString caption; // "結餘：", "毛利：" or empty
    bool showsBalance = false;
    QString balanceText;
    bool negative = false;
    QString note; // grey explanation, may be empty
};

// Sums one period of a ledger by category, for the statistics screens.
class CategorySummary
{
public:
    explicit CategorySummary(Database &db);

    SummaryResult run(const SummaryInput &input);

    // Selector rules shared by both screens.
    static QStringList sideItems();
    static QStringList groupItems(const QString &sideText);
    static int viewModeFor(const QString &sideText, int groupIndex);
    static int attrFilterFor(int viewMode);
    static SummaryStatus status(const QString &groupText, qint64 incomeTotal, qint64 expenseTotal);
    // Income attribute "1" … "4" by name; empty for any other.
    static QString incomeAttributeName(const QString &attr);

    // Name of a chart picture file: prefix and key, characters a file name cannot hold
    // replaced by "_".
    static QString pictureFileName(const QString &prefix, const QString &key);

    static const QString TotalCaption; // "合計"
    static const QString NoSpendingName; // "無花費"

private:
    struct EntryRow
    {
        bool income = true;
        QString name;
        qint64 amount = 0;
        QString attr;
    };
    struct Category
    {
        bool income = true;
        QString attr;
        QString name;
    };

    QList<EntryRow> summaryRows(const SummaryInput &input);
    QList<EntryRow> rowsByMainCategory(const SummaryInput &input);
    QList<EntryRow> rowsOfSalesAndPurchases(const SummaryInput &input);
    QList<EntryRow> rowsOfIncomeAndOneExpense(const SummaryInput &input, const QString &attr);
    QList<Category> categories(const SummaryInput &input);
    static QList<EntryRow> readRows(QSqlQuery &query);

    Database &m_db;
};
