#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <stdexcept>

class Database;

// Input the user has to correct; the text is shown as it is.
class RecurringInputError : public std::runtime_error
{
public:
    explicit RecurringInputError(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

// One recurring item as the fixed list shows it: the entries of a ledger that share period,
// kind, main category, entry name, amount and note, from the first to the last date.
struct RecurringItem
{
    QDate first;
    QDate last;
    int period = 1; // 1 monthly, 2 every two months, 3 quarterly
    QString mainName;
    QString entryName;
    bool income = true;
    int mainNumber = 1;
    qint64 amount = 0;
    QString note;
};

// A new recurring item to post over a range.
struct RecurringPosting
{
    bool income = true;
    int mainNumber = 1;
    QString entryName;
    QString amountText;
    QString note;
    int period = 1;
    QDate start;
    QDate end;
};

struct MonthlySums
{
    qint64 income = 0;
    qint64 expense = 0;
    qint64 difference() const { return income - expense; }
};

// Recurring income and expense of one ledger: posting an item on every date of its period
// within a range, changing or deleting it on those dates, and listing the items.
class RecurringPlan
{
public:
    RecurringPlan(Database &db, QString ledger);

    // The dates of a period from start to end: the start's day in every period-th month,
    // or the month's last day when the month is shorter. Empty when start is after end.
    static QList<QDate> dates(const QDate &start, const QDate &end, int period);

    // Posts one entry per date with its next serial and keeps each day's totals.
    // Throws RecurringInputError for input the user must correct. Returns the dates posted.
    QList<QDate> post(const RecurringPosting &posting);
    // Gives the item's entries (those its list row stands for, from its first to its last
    // date) the new amount and note. Returns the number of entries changed.
    int change(const RecurringItem &item, const QString &amountText, const QString &note);
    // Deletes the item's entries. Returns the number of entries deleted.
    int remove(const RecurringItem &item);

    // The ledger's recurring items (notes that differ only in trailing blanks are one item),
    // ordered by period, main category name, entry name, kind,
    // main category number, amount and note.
    QList<RecurringItem> items() const;

    // An item's share of a month: amount ÷ period, halves rounded to the even neighbour.
    static qint64 monthlyShare(qint64 amount, int period);
    static MonthlySums monthlySums(const QList<RecurringItem> &items);

    static QString periodText(int period);

private:
    static qint64 checkedAmount(const QString &text);
    int rewrite(const RecurringItem &item, const QString &sql, const QVariantList &leading);

    Database &m_db;
    QString m_ledger;
};
