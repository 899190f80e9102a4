#pragma once

#include <QDate>
#include <QStringList>
#include <optional>

class Database;

// Operations several screens share. Every one takes the ledger it works on.

// Serial of a new entry: yyyymmdd01 for the first of its kind that day, else one above
// the highest stored serial of that ledger, day and kind.
qint64 GetNewSingleDayRecordNo(Database &db, const QString &ledger, const QDate &date, bool income);

// Kind "1" income / "0" expense. With a main category number: its subcategories;
// without: the main categories. Both in 帳目順序 order.
QStringList GetCategoryNameList(Database &db, const QString &ledger, const QString &kind,
    std::optional<int> mainNumber = std::nullopt);

// 1 = Sunday … 7 = Saturday.
QString GetWeekDayName(int weekday);
// Qt's Monday=1 … Sunday=7 mapped onto the names above.
QString weekDayNameOf(const QDate &date);

// Pads to four characters with the ideographic space U+3000.
QString fourstr(const QString &text);

QStringList MultiSpilt(const QString &text, const QString &separator);

// Brings the day's 記帳本 row in line with its entries: one row with the two sums when the
// day has entries (0-amount ones included), none otherwise.
void SyncDayTotals(Database &db, const QString &ledger, const QDate &date);

// Whether entries under this main category carry a subcategory name: income main category 1
// and expense main categories 1 to 3.
bool mainHasSubcategories(bool income, int mainNumber);

// Display name of an entry: the padded main category, U+FF0D (or the given separator) and
// the entry name when the main category has subcategories; the entry name alone otherwise.
QString entryDisplayName(const QString &mainName, const QString &entryName,
    bool mainHasSubcategories, const QString &separator = QStringLiteral("－"));
