#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

class Database;

// Which entries the detail list shows: one kind of one ledger in one month or one year,
// optionally one main category or one of its subcategories.
struct DetailFilter
{
    QString ledger;
    int year = 0;
    std::optional<int> month; // unset: the whole year
    bool income = true;
    std::optional<int> mainNumber; // 帳目屬性 of the main category
    std::optional<QString> entryName; // with mainNumber: the subcategory's entry name
};

// One entry of the list, with the texts the list and its print and export show.
struct DetailRow
{
    QDate date;
    bool income = true;
    int mainNumber = 0;
    QString mainName;
    QString entryName;
    qint64 amount = 0;
    QString note;
    qint64 serial = 0;

    QString timeText() const; // "3/15"
    QString categoryText() const; // padded main category, "-", entry name (where it has subs)
    QString amountText() const; // "#,##0"
};

// Where the shown page lies among all pages.
struct DetailPage
{
    int count = 0;
    int pages = 0; // 0 when nothing matches
    int current = 1;
    bool previousEnabled = false;
    bool nextEnabled = false;
    QString label() const; // 共有N筆，目前位置C/P頁

    // startRow: number (from 1) of the page's first row.
    static DetailPage of(int count, int startRow);
};

// The entries of the detail list, in ascending serial order, a page or all at once.
class DetailQuery
{
public:
    static constexpr int PageSize = 100;

    explicit DetailQuery(Database &db)
        : m_db(db)
    { }

    int count(const DetailFilter &filter);
    // Sum of every matching amount (an empty amount counts 0).
    qint64 total(const DetailFilter &filter);
    // PageSize rows from row startRow (from 1).
    QList<DetailRow> page(const DetailFilter &filter, int startRow);
    QList<DetailRow> all(const DetailFilter &filter);

    // A period that does not exist (no year, month outside 1–12) matches nothing.
    static bool validPeriod(const DetailFilter &filter);

private:
    QList<DetailRow> rows(const DetailFilter &filter, int limit, int offset);

    Database &m_db;
};
