#pragma once

#include "store/Database.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

// Every row of the four tables as text, in a fixed order, to compare a database before and
// after an action that must leave it as it was.
inline QStringList dumpTables(Database &db)
{
    QStringList rows;
    for (const char *table : { "單日記帳本", "記帳本", "帳目分類", "參數設定" }) {
        QSqlQuery query = db.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table));
        while (query.next()) {
            QStringList values { QString::fromUtf8(table) };
            for (int i = 0; i < query.record().count(); ++i)
                values << (query.isNull(i) ? QStringLiteral("<null>") : query.value(i).toString());
            rows << values.join(QLatin1Char('|'));
        }
    }
    return rows;
}
