#include "store/LedgerOps.h"
#include "store/Schema.h"

#include "store/Database.h"

qint64 GetNewSingleDayRecordNo(Database &db, const QString &ledger, const QDate &date, bool income)
{
    const QVariant highest = db.scalar(
        QStringLiteral(
            "SELECT MAX(序列號) FROM 單日記帳本 WHERE 使用者 = ? AND 日期 = ? AND 帳目類型 = ?"),
        { ledger, dbDate(date), income ? 1 : 0 });
    if (highest.isNull() || !highest.isValid())
        return date.toString(QStringLiteral("yyyyMMdd")).toLongLong() * 100 + 1;
    return highest.toLongLong() + 1;
}

QStringList GetCategoryNameList(
    Database &db, const QString &ledger, const QString &kind, std::optional<int> mainNumber)
{
    QSqlQuery query = mainNumber
        ? db.exec(
            QStringLiteral("SELECT 帳目名稱 FROM 帳目分類 WHERE 帳目擁有者 = ? AND 帳目類別 = ? "
                           "AND 帳目屬性 = ? AND 帳目順序 <> ? ORDER BY 帳目順序"),
            { ledger, kind, QString::number(*mainNumber), *mainNumber * 100 })
        : db.exec(
            QStringLiteral("SELECT 帳目名稱 FROM 帳目分類 WHERE 帳目擁有者 = ? AND 帳目類別 = ? "
                           "AND ")
                + Schema::mainCategoryCondition() + QStringLiteral(" ORDER BY 帳目順序"),
            { ledger, kind });
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

QString GetWeekDayName(int weekday)
{
    static const QStringList names { QStringLiteral("日"), QStringLiteral("一"),
        QStringLiteral("二"), QStringLiteral("三"), QStringLiteral("四"), QStringLiteral("五"),
        QStringLiteral("六") };
    if (weekday < 1 || weekday > 7)
        return {};
    return names.at(weekday - 1);
}

QString weekDayNameOf(const QDate &date)
{
    return GetWeekDayName(date.dayOfWeek() % 7 + 1);
}

QString fourstr(const QString &text)
{
    QString padded = text;
    while (padded.size() < 4)
        padded += QChar(0x3000);
    return padded;
}

QStringList MultiSpilt(const QString &text, const QString &separator)
{
    if (separator.isEmpty())
        return { text };
    return text.split(separator);
}

void SyncDayTotals(Database &db, const QString &ledger, const QDate &date)
{
    Transaction tx(db);
    const QString day = dbDate(date);
    QSqlQuery sums = db.exec(
        QStringLiteral("SELECT COUNT(*), COALESCE(SUM(CASE WHEN 帳目類型 = 1 THEN 金額 END), 0), "
                       "COALESCE(SUM(CASE WHEN 帳目類型 = 0 THEN 金額 END), 0) "
                       "FROM 單日記帳本 WHERE 使用者 = ? AND 日期 = ?"),
        { ledger, day });
    sums.next();
    const qint64 count = sums.value(0).toLongLong();
    const qint64 income = sums.value(1).toLongLong();
    const qint64 expense = sums.value(2).toLongLong();
    sums.finish();
    db.exec(QStringLiteral("DELETE FROM 記帳本 WHERE 使用者 = ? AND 日期 = ?"), { ledger, day });
    if (count > 0)
        db.exec(QStringLiteral(
                    "INSERT INTO 記帳本 (日期, 使用者, 收入小計, 支出小計) VALUES (?, ?, ?, ?)"),
            { day, ledger, income, expense });
    tx.commit();
}

bool mainHasSubcategories(bool income, int mainNumber)
{
    return income ? mainNumber == 1 : (mainNumber >= 1 && mainNumber <= 3);
}

QString entryDisplayName(const QString &mainName, const QString &entryName,
    bool mainHasSubcategories, const QString &separator)
{
    if (!mainHasSubcategories)
        return entryName;
    return fourstr(mainName) + separator + entryName;
}
