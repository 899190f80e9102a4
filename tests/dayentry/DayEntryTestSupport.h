#pragma once

#include "support/TestProgram.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable failure output for texts.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace dayentrytest {

inline const QString Ledger = QStringLiteral("王小明");

// The stored entries of a day, one line each: kind|main|name|amount|note|period|serial,
// income first, by serial. A null 定期 reads "<null>".
inline QStringList storedEntries(Database &db, const QDate &date, const QString &ledger = Ledger)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT 帳目類型, 帳目屬性, 帳目名稱, 金額, 說明, 定期, "
                                         "序列號 FROM 單日記帳本 WHERE 使用者 = ? AND 日期 = ? "
                                         "ORDER BY 帳目類型 DESC, 序列號"),
        { ledger, dbDate(date) });
    QStringList rows;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < 7; ++i)
            cells << (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString());
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// The day's row in 記帳本 as "income/expense", or "none".
inline QString storedTotal(Database &db, const QDate &date, const QString &ledger = Ledger)
{
    QSqlQuery q = db.exec(QStringLiteral("SELECT 收入小計, 支出小計 FROM 記帳本 WHERE 使用者 = ? "
                                         "AND 日期 = ?"),
        { ledger, dbDate(date) });
    QStringList rows;
    while (q.next())
        rows << q.value(0).toString() + QLatin1Char('/') + q.value(1).toString();
    return rows.isEmpty() ? QStringLiteral("none") : rows.join(QLatin1Char(';'));
}

} // namespace dayentrytest
