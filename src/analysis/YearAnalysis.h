#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>

class Database;

// Income, expense and balance of each month of one year. Index 1 to 12 are the months;
// index 0 stays 0 (the charts start their lines there).
struct YearSums
{
    std::array<qint64, 13> income {};
    std::array<qint64, 13> expense {};
    std::array<qint64, 13> balance {};

    bool operator==(const YearSums &) const = default;
};

// A main category as the analysis offers it: its name and its own number (帳目屬性).
struct AnalysisCategory
{
    QString name;
    int number = 0;

    bool operator==(const AnalysisCategory &) const = default;
};

// The year analysis: the twelve months of one year of a ledger, either all day totals
// (income against expense) or one main category of one kind.
class YearAnalysis
{
public:
    enum class Mode { Comparison, Income, Expense };

    explicit YearAnalysis(Database &db)
        : m_db(db)
    { }

    // Day totals of every day of the year, month by month.
    YearSums comparison(const QString &ledger, int year);
    // The entries of one main category of one kind, month by month; the other kind stays 0.
    YearSums category(const QString &ledger, int year, bool income, int mainNumber);
    // The sums a mode shows; mainNumber is used by the income and expense modes only.
    YearSums sums(const QString &ledger, int year, Mode mode, int mainNumber);

    // The main categories of one kind in their order, each with its own number. 無花費 only
    // marks a day without spending, so it is never offered.
    QList<AnalysisCategory> mainCategories(const QString &ledger, bool income);

    // The chart picture of a year: year_month2009.bmp.
    static QString pictureFileName(int year);
    // Items of the comparison box, in order of Mode.
    static QStringList modeNames();

private:
    YearSums monthlySums(const QString &sql, const QVariantList &params);

    Database &m_db;
};
