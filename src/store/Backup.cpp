#include "store/Backup.h"

#include "store/Amount.h"
#include "store/Schema.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVector>
#include <filesystem>
#include <functional>
#include <system_error>

namespace {

QAtomicInt scratchCounter;

QString engineText(const QSqlError &error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text;
}

std::filesystem::path fsPath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

// A read-only connection of its own to another database file (a backup, or a fresh copy
// being checked), so that nothing is ever written into it.
class ReadConnection
{
public:
    explicit ReadConnection(const QString &path)
        : m_name(QStringLiteral("qinghe-read-%1").arg(scratchCounter.fetchAndAddRelaxed(1)))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open())
            m_error = engineText(db.lastError());
    }
    ~ReadConnection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    ReadConnection(const ReadConnection &) = delete;
    ReadConnection &operator=(const ReadConnection &) = delete;

    bool isOpen() const { return m_error.isNull(); }
    QString error() const { return m_error; }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

    // First column of the first row; a null text when the statement fails.
    QString text(const QString &sql) const
    {
        QSqlQuery query(db());
        if (!query.exec(sql) || !query.next())
            return {};
        return query.value(0).toString();
    }
    // First column of the first row as a number; throws DbError when the statement fails.
    qint64 count(const QString &sql, const QVariantList &params) const
    {
        QSqlQuery query(db());
        query.prepare(sql);
        for (const QVariant &value : params)
            query.addBindValue(value);
        if (!query.exec() || !query.next())
            throw DbError(QStringLiteral("無法讀取備份檔：%1").arg(engineText(query.lastError())));
        return query.value(0).toLongLong();
    }

private:
    QString m_name;
    QString m_error;
};

bool sameFile(const QString &a, const QString &b)
{
    const QFileInfo first(a), second(b);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return QDir::cleanPath(first.absoluteFilePath()) == QDir::cleanPath(second.absoluteFilePath());
}

bool hasDatabaseHeader(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return file.read(16) == QByteArray("SQLite format 3\0", 16);
}

// One of the four tables as a restore copies it: the columns in table order, the column
// holding the owner, and the columns an older file may lack (read as null).
struct LedgerTable
{
    QString name;
    QString ownerColumn;
    QStringList columns;
    QStringList optionalColumns;
    // Day totals and settings are unique per ledger and day / code in the live file; should a
    // backup of an old file hold a duplicate, the later row stands instead of failing.
    bool replaceDuplicates = false;
    QVector<QVariantList> rows;
};

QVector<LedgerTable> ledgerTables()
{
    return {
        { QStringLiteral("單日記帳本"), QStringLiteral("使用者"),
            { QStringLiteral("日期"), QStringLiteral("使用者"), QStringLiteral("帳目類型"),
                QStringLiteral("帳目屬性"), QStringLiteral("帳目名稱"), QStringLiteral("金額"),
                QStringLiteral("說明"), QStringLiteral("定期"), QStringLiteral("序列號") },
            { QStringLiteral("定期") }, false, {} },
        { QStringLiteral("記帳本"), QStringLiteral("使用者"),
            { QStringLiteral("日期"), QStringLiteral("使用者"), QStringLiteral("收入小計"),
                QStringLiteral("支出小計") },
            {}, true, {} },
        { QStringLiteral("帳目分類"), QStringLiteral("帳目擁有者"),
            { QStringLiteral("帳目類別"), QStringLiteral("帳目屬性"), QStringLiteral("帳目名稱"),
                QStringLiteral("帳目順序"), QStringLiteral("帳目擁有者") },
            {}, false, {} },
        { QStringLiteral("參數設定"), QStringLiteral("使用者"),
            { QStringLiteral("代碼"), QStringLiteral("設定值"), QStringLiteral("使用者") }, {},
            true, {} },
    };
}

QStringList columnsOf(const ReadConnection &backup, const QString &table)
{
    QStringList columns;
    QSqlQuery query(backup.db());
    // Table names are our own fixed identifiers, never user input.
    if (!query.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table)))
        throw BackupRefused(Backup::notOurFileMessage());
    while (query.next())
        columns << query.value(1).toString();
    return columns;
}

// (date() alone passes "2012-02-31" through; a modifier makes SQLite normalise it.)
// Entries no writer of this program produces (an impossible date, a serial used twice, a
// main category that does not exist) mean the backup was damaged or edited; the restore is
// refused rather than storing them. Asked of the backup before the user is, and of the
// replaced rows again before they are committed.
using CountQuery = std::function<qint64(const QString &sql, const QVariantList &params)>;

void refuseUnsoundEntries(const CountQuery &count, const QString &ledger)
{
    const qint64 badDates
        = count(QStringLiteral("SELECT COUNT(*) FROM 單日記帳本 WHERE 使用者 = ? "
                               "AND (日期 IS NULL OR date(日期, '+0 days') IS NOT 日期)"),
            { ledger });
    const qint64 repeatedSerials
        = count(QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM 單日記帳本 WHERE 使用者 = ? "
                               "GROUP BY 日期, 帳目類型, 序列號 HAVING COUNT(*) > 1)"),
            { ledger });
    const qint64 unknownMains = count(
        QStringLiteral("SELECT COUNT(*) FROM 單日記帳本 e WHERE e.使用者 = ? AND NOT EXISTS ("
                       "SELECT 1 FROM 帳目分類 c WHERE c.帳目擁有者 IN (?, ?) "
                       "AND c.帳目類別 = CAST(e.帳目類型 AS TEXT) AND c.帳目屬性 = e.帳目屬性 "
                       "AND c.帳目順序 = CAST(e.帳目屬性 AS INTEGER) * 100)"),
        { ledger, ledger, Schema::TemplateOwner });
    if (badDates > 0 || repeatedSerials > 0 || unknownMains > 0)
        throw BackupRefused(QStringLiteral("此備份檔已損壞，無法回存。"));
}

CountQuery countIn(Database &db)
{
    return [&db](const QString &sql, const QVariantList &params) {
        return db.scalar(sql, params).toLongLong();
    };
}

// Reads the ledger's rows of every table from the backup, refusing a file that is not a
// sound database of this program.
QVector<LedgerTable> readLedger(const QString &backupFile, const QString &ledger)
{
    if (!QFileInfo::exists(backupFile))
        throw DbError(QStringLiteral("找不到備份檔 %1").arg(QDir::toNativeSeparators(backupFile)));
    if (!hasDatabaseHeader(backupFile))
        throw BackupRefused(Backup::notOurFileMessage());

    ReadConnection backup(backupFile);
    if (!backup.isOpen())
        throw BackupRefused(Backup::notOurFileMessage());
    const QString check = backup.text(QStringLiteral("PRAGMA quick_check"));
    if (check.isNull())
        throw BackupRefused(Backup::notOurFileMessage());
    if (check != QLatin1String("ok"))
        throw BackupRefused(QStringLiteral("此備份檔已損壞，無法回存。"));

    QVector<LedgerTable> tables = ledgerTables();
    for (LedgerTable &table : tables) {
        const QStringList present = columnsOf(backup, table.name);
        QStringList select;
        for (const QString &column : table.columns) {
            if (present.contains(column))
                select << QStringLiteral("\"%1\"").arg(column);
            else if (table.optionalColumns.contains(column))
                select << QStringLiteral("NULL");
            else
                throw BackupRefused(Backup::notOurFileMessage());
        }
        QSqlQuery query(backup.db());
        query.setForwardOnly(true);
        query.prepare(QStringLiteral("SELECT %1 FROM \"%2\" WHERE \"%3\" = ? ORDER BY rowid")
                          .arg(select.join(QStringLiteral(", ")), table.name, table.ownerColumn));
        query.addBindValue(ledger);
        if (!query.exec())
            throw DbError(
                QStringLiteral("無法讀取備份檔 %1：%2")
                    .arg(QDir::toNativeSeparators(backupFile), engineText(query.lastError())));
        while (query.next()) {
            QVariantList row;
            row.reserve(table.columns.size());
            for (int i = 0; i < table.columns.size(); ++i)
                row << query.value(i);
            table.rows << row;
        }
    }
    refuseUnsoundEntries([&backup](const QString &sql,
                             const QVariantList &params) { return backup.count(sql, params); },
        ledger);
    return tables;
}

void replaceLedger(Database &db, const QString &ledger, const QVector<LedgerTable> &tables)
{
    Transaction tx(db);
    for (const LedgerTable &table : tables)
        db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(table.name, table.ownerColumn),
            { ledger });
    for (const LedgerTable &table : tables) {
        QStringList marks;
        for (int i = 0; i < table.columns.size(); ++i)
            marks << QStringLiteral("?");
        const QString sql
            = QStringLiteral("INSERT %1INTO %2 (%3) VALUES (%4)")
                  .arg(table.replaceDuplicates ? QStringLiteral("OR REPLACE ") : QString(),
                      table.name, table.columns.join(QStringLiteral(", ")),
                      marks.join(QStringLiteral(", ")));
        QSqlQuery insert = db.prepare(sql);
        for (const QVariantList &row : table.rows)
            db.run(insert, row);
    }
    refuseUnsoundEntries(countIn(db), ledger);
    // The day totals are rebuilt from the restored entries rather than trusted: a backup
    // whose totals disagree with its entries must not carry that into the live data.
    db.exec(QStringLiteral("DELETE FROM 記帳本 WHERE 使用者 = ?"), { ledger });
    db.exec(QStringLiteral(
                "INSERT INTO 記帳本 (日期, 使用者, 收入小計, 支出小計) "
                "SELECT 日期, 使用者, COALESCE(SUM(CASE WHEN 帳目類型 = 1 THEN 金額 END), 0), "
                "COALESCE(SUM(CASE WHEN 帳目類型 = 0 THEN 金額 END), 0) "
                "FROM 單日記帳本 WHERE 使用者 = ? GROUP BY 日期, 使用者"),
        { ledger });
    tx.commit();
}

} // namespace

Backup::Backup(Database &db, const QString &programDir)
    : m_db(db)
    , m_programDir(programDir)
{ }

QString Backup::defaultFileName(const QString &programDir, const QDate &today)
{
    return QDir(programDir)
        .filePath(QStringLiteral("青禾%1.BAK").arg(today.toString(QStringLiteral("yyyyMMdd"))));
}

QString Backup::safetyCopyName(const QString &programDir, const QDateTime &now)
{
    const QString stem
        = QStringLiteral("回存前備份%1").arg(now.toString(QStringLiteral("yyyyMMddHHmmss")));
    const QDir dir(programDir);
    QString path = dir.filePath(stem + QStringLiteral(".BAK"));
    // Two restores within one second must not overwrite the first one's safety copy.
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(QStringLiteral("%1_%2.BAK").arg(stem).arg(n));
    return path;
}

void Backup::backupTo(const QString &target)
{
    const QFileInfo targetInfo(target);
    const QString targetPath = targetInfo.absoluteFilePath();
    if (sameFile(targetPath, m_db.filePath()))
        throw BackupRefused(QStringLiteral("不能把備份存成使用中的資料檔，請另選檔名。"));

    auto fail = [&](const QString &reason) {
        throw DbError(QStringLiteral("無法寫入備份檔 %1：%2")
                          .arg(QDir::toNativeSeparators(targetPath), reason));
    };
    const QDir folder = targetInfo.absoluteDir();
    if (!folder.exists())
        fail(QStringLiteral("資料夾不存在"));
    if (targetInfo.isDir())
        fail(QStringLiteral("已有同名的資料夾"));

    // The copy is written under a temporary name beside the target and takes the target's
    // name only when it is complete and sound; until then an older file there stays.
    QString tempPath;
    {
        QFile temp;
        for (int attempt = 0; attempt < 100; ++attempt) {
            temp.setFileName(folder.filePath(
                QStringLiteral("%1.%2.tmp")
                    .arg(targetInfo.fileName())
                    .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'))));
            if (temp.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                break;
            if (!temp.exists())
                fail(temp.errorString());
        }
        if (!temp.isOpen())
            fail(temp.errorString());
        tempPath = temp.fileName();
    }
    struct RemoveTemp
    {
        QString path;
        bool keep = false;
        ~RemoveTemp()
        {
            if (!keep)
                QFile::remove(path);
        }
    } guard { tempPath };

    if (m_copyObserver)
        m_copyObserver(tempPath);
    try {
        m_db.exec(QStringLiteral("VACUUM INTO ?"), { tempPath });
    } catch (const DbError &e) {
        fail(e.message());
    }
    {
        ReadConnection copy(tempPath);
        const QString check
            = copy.isOpen() ? copy.text(QStringLiteral("PRAGMA integrity_check")) : QString();
        if (check != QLatin1String("ok"))
            fail(QStringLiteral("備份複本檢查未通過%1")
                     .arg(check.isEmpty() ? QString() : QStringLiteral("（%1）").arg(check)));
    }

    std::error_code ec;
    std::filesystem::rename(fsPath(tempPath), fsPath(targetPath), ec);
    if (ec)
        fail(QString::fromLocal8Bit(ec.message().c_str()));
    guard.keep = true;
}

Backup::RestorePlan Backup::prepareRestore(const QString &backupFile, const QString &ledger)
{
    const QVector<LedgerTable> tables = readLedger(backupFile, ledger);
    RestorePlan plan;
    plan.ledger = ledger;
    bool any = false;
    for (const LedgerTable &table : tables) {
        any = any || !table.rows.isEmpty();
        plan.rows << table.rows;
    }
    if (!any)
        throw BackupRefused(noLedgerDataMessage());
    plan.backupEntries = tables.front().rows.size();
    plan.currentEntries = countIn(m_db)(
        QStringLiteral("SELECT COUNT(*) FROM 單日記帳本 WHERE 使用者 = ?"), { ledger });
    return plan;
}

QString Backup::restoreQuestion(const RestorePlan &plan)
{
    return QStringLiteral("備份中「%1」有 %2 筆記帳資料，目前有 %3 筆；回存後目前的資料將被取代，"
                          "確定要回存嗎？")
        .arg(plan.ledger, formatAmount(plan.backupEntries), formatAmount(plan.currentEntries));
}

QString Backup::restoredMessage(const RestoreResult &result)
{
    return QStringLiteral("回存完成。回存前的資料已另存為：\n%1")
        .arg(QDir::toNativeSeparators(result.safetyCopy));
}

Backup::RestoreResult Backup::applyRestore(const RestorePlan &plan, const QDateTime &now)
{
    QVector<LedgerTable> tables = ledgerTables();
    if (plan.rows.size() != tables.size())
        throw DbError(QStringLiteral("回存資料不完整，未進行回存。"));
    for (int i = 0; i < tables.size(); ++i)
        tables[i].rows = plan.rows[i];

    RestoreResult result;
    result.safetyCopy = safetyCopyName(m_programDir, now);
    try {
        backupTo(result.safetyCopy);
    } catch (const DbError &e) {
        throw DbError(
            QStringLiteral("回存前無法先備份目前的資料，未進行回存。\n%1").arg(e.message()));
    }

    replaceLedger(m_db, plan.ledger, tables);
    result.compacted = compact();
    return result;
}

Backup::RestoreResult Backup::restoreLedger(
    const QString &backupFile, const QString &ledger, const QDateTime &now)
{
    return applyRestore(prepareRestore(backupFile, ledger), now);
}

bool Backup::compact()
{
    if (m_db.transactionDepth() > 0)
        return false;
    try {
        m_db.exec(QStringLiteral("VACUUM"));
        return true;
    } catch (const DbError &) {
        return false;
    }
}
