#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <optional>

class Database;

// One entry of a day as the day screen lists it.
struct DayEntry
{
    bool income = true;
    int mainNumber = 1; // 帳目屬性: the main category's position within its kind, from 1
    QString mainName; // the main category's name (from the main-category rows)
    QString name; // 帳目名稱
    qint64 amount = 0;
    QString note;
    // 定期 as stored (null in rows older than the column); a row the user added or changed
    // on the day screen carries the empty text.
    QVariant period = QStringLiteral("");
    qint64 serial = 0;
};

struct DayTotals
{
    qint64 income = 0;
    qint64 expense = 0;
};

// The entries and the total of one day of one ledger.
class DayBook
{
public:
    DayBook(Database &db, const QString &ledger);

    // The day's entries, each kind ordered by main category code, then name, amount, note and
    // serial. An entry whose main category has no row is listed with an empty main name.
    QList<DayEntry> load(const QDate &date) const;
    // The day's row in 記帳本; nothing when the day has none.
    std::optional<DayTotals> totals(const QDate &date) const;

    // Replaces the day's entries and total by the given rows, all or nothing. A day without
    // rows keeps no total. Returns the totals written.
    DayTotals save(const QDate &date, const QList<DayEntry> &rows);

    qint64 nextSerial(const QDate &date, bool income) const;

    // Stores the page the day screen opens on (0 income, 1 expense) for the ledger.
    void storeDefaultPage(int page);

    // Whether entries under this main category carry a subcategory name (the shared rule of
    // LedgerOps).
    static bool mainHasSubcategories(bool income, int mainNumber);

private:
    // Every stored value of the day's entries and totals, as sortable text.
    QStringList storedDay(const QString &day) const;

    Database &m_db;
    QString m_ledger;
};
