#include "CrashActions.h"

#include "categories/CategorySettings.h"
#include "dayentry/DayBook.h"
#include "ledgers/LedgerAdmin.h"
#include "ledgers/LedgerDirectory.h"
#include "recurring/RecurringPlan.h"
#include "store/Backup.h"
#include "store/Database.h"
#include "store/Schema.h"
#include "support/Invariants.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>

namespace {

const QString Household = QStringLiteral("家計");
const QString Restored = QStringLiteral("回存帳");

QString backupFile(const QString &dir)
{
    return QDir(dir).filePath(QStringLiteral("回存帳.BAK"));
}

// A day's entries, all marked with the action that wrote them.
QList<DayEntry> dayRows(const QDate &date, int count, quint32 id, QRandomGenerator &random)
{
    QList<DayEntry> rows;
    int incomes = 0;
    int expenses = 0;
    for (int i = 0; i < count; ++i) {
        DayEntry row;
        row.income = i % 2 == 0;
        row.mainNumber = 1;
        row.name = row.income ? QStringLiteral("門市銷售") : QStringLiteral("餐飲");
        row.amount = random.bounded(1, 100000);
        row.note = QStringLiteral("d%1:%2/%3").arg(id).arg(i).arg(count);
        const int n = row.income ? ++incomes : ++expenses;
        row.serial = date.toString(QStringLiteral("yyyyMMdd")).toLongLong() * 100 + n;
        rows << row;
    }
    return rows;
}

} // namespace

CrashActions::CrashActions(const QString &dataDir, Mix mix)
    : m_dir(dataDir)
    , m_mix(mix)
    , m_db(std::make_unique<Database>(QDir(dataDir).filePath(QStringLiteral("CDB.dat"))))
    , m_directory(
          std::make_unique<LedgerDirectory>(QDir(dataDir).filePath(QStringLiteral("UserInfo"))))
{
    m_db->open();
}

CrashActions::~CrashActions() = default;

void CrashActions::prepare(const QString &dataDir)
{
    CrashActions actions(dataDir);
    LedgerAdmin admin(*actions.m_db, *actions.m_directory);
    admin.createLedger(Household, QString());
    admin.createLedger(Restored, QString());
    QRandomGenerator random(1);
    for (int day = 1; day <= 28; day += 3) {
        const QDate date(2012, 3, day);
        DayBook(*actions.m_db, Restored).save(date, dayRows(date, 4, day, random));
    }
    Backup(*actions.m_db, dataDir).backupTo(backupFile(dataDir));
}

QString CrashActions::runOne(QRandomGenerator &random)
{
    const quint32 id = random.generate();
    if (m_mix == Mix::Ledgers)
        return createAndRemoveLedger(id);
    switch (random.bounded(10)) {
    case 0:
    case 1:
    case 2:
    case 3:
        return saveDay(random, id);
    case 4:
    case 5:
    case 6:
        return recurring(random, id);
    case 7:
        return editCategories(random, id);
    case 8:
        return categoryScreenSession(random, id);
    default:
        return restore();
    }
}

QString CrashActions::saveDay(QRandomGenerator &random, quint32 id)
{
    const QString ledger = random.bounded(2) ? Household : Restored;
    const QDate date(2012, 3, random.bounded(1, 29));
    DayBook(*m_db, ledger).save(date, dayRows(date, random.bounded(6), id, random));
    return QStringLiteral("day %1 %2").arg(ledger, date.toString(Qt::ISODate));
}

QString CrashActions::recurring(QRandomGenerator &random, quint32 id)
{
    RecurringPlan plan(*m_db, Household);
    const QList<RecurringItem> items = plan.items();
    if (items.size() < 3 || random.bounded(3) == 0) {
        RecurringPosting posting;
        posting.income = false;
        posting.mainNumber = 2;
        posting.entryName = QStringLiteral("定期%1").arg(id);
        posting.amountText = QString::number(random.bounded(1, 50000));
        posting.note = QStringLiteral("r%1").arg(id);
        posting.period = 1;
        posting.start = QDate(2013, 1, 15);
        posting.end = QDate(2013, 12, 15);
        plan.post(posting);
        return QStringLiteral("post %1").arg(posting.entryName);
    }
    const RecurringItem &item = items.at(random.bounded(int(items.size())));
    if (random.bounded(2)) {
        plan.change(
            item, QString::number(random.bounded(1, 50000)), QStringLiteral("r%1c").arg(id));
        return QStringLiteral("change %1").arg(item.entryName);
    }
    plan.remove(item);
    return QStringLiteral("remove %1").arg(item.entryName);
}

QString CrashActions::editCategories(QRandomGenerator &random, quint32 id)
{
    CategorySettings settings(*m_db, Household);
    const QStringList added = settings.subcategories(QStringLiteral("0"), 3)
                                  .filter(QRegularExpression(QStringLiteral("^分類")));
    if (added.size() < 6 || random.bounded(2)) {
        settings.add(QStringLiteral("0"), 3, QStringLiteral("分類%1").arg(id));
        return QStringLiteral("category add");
    }
    settings.remove(QStringLiteral("0"), 3, added.at(random.bounded(int(added.size()))));
    return QStringLiteral("category remove");
}

// What the category screen does between opening and closing: take the roll-back copy, edit,
// then keep the edits or roll them back.
QString CrashActions::categoryScreenSession(QRandomGenerator &random, quint32 id)
{
    CategorySettings settings(*m_db, Household);
    settings.takeBackup();
    // A few names only, so that kept sessions do not pile up past 99 subcategories.
    settings.add(QStringLiteral("1"), 1, QStringLiteral("試%1").arg(id % 40));
    const QStringList subs = settings.subcategories(QStringLiteral("0"), 2);
    if (subs.size() > 1)
        settings.move(QStringLiteral("0"), 2, 0, false);
    const bool rollBack = random.bounded(2) == 0;
    settings.finish(rollBack);
    return rollBack ? QStringLiteral("categories rolled back") : QStringLiteral("categories kept");
}

QString CrashActions::createAndRemoveLedger(quint32 id)
{
    LedgerAdmin admin(*m_db, *m_directory);
    const QString name = QStringLiteral("臨時%1").arg(id % 1000);
    admin.createLedger(name, QString());
    admin.removeLedger(name, QString(), [] { return true; });
    return QStringLiteral("ledger %1").arg(name);
}

QString CrashActions::restore()
{
    // Every restore keeps a safety copy of the live file; only the newest few matter here.
    const QDir dir(m_dir);
    for (const QString &name : dir.entryList({ QStringLiteral("回存前備份*") }, QDir::Files))
        QFile::remove(dir.filePath(name));
    Backup(*m_db, m_dir).restoreLedger(backupFile(m_dir), Restored);
    return QStringLiteral("restore");
}

QStringList CrashActions::verify(const QString &dataDir)
{
    const QString file = QDir(dataDir).filePath(QStringLiteral("CDB.dat"));
    // A kill while the category screen is open leaves its roll-back copy, as the open screen
    // itself would; the next session drops it first.
    QStringList problems = checkInvariants(file, { .allowBackupCategories = true });
    try {
        Database db(file);
        db.open();

        // Day saves: each day holds the entries of exactly one save, all of them.
        QSqlQuery days = db.exec(QStringLiteral(
            "SELECT 使用者, 日期, group_concat(說明, ' ') FROM 單日記帳本 WHERE 說明 LIKE 'd%' "
            "GROUP BY 使用者, 日期"));
        static const QRegularExpression mark(QStringLiteral("^d(\\d+):(\\d+)/(\\d+)$"));
        while (days.next()) {
            const QStringList notes = days.value(2).toString().split(QLatin1Char(' '));
            QSet<QString> ids;
            QSet<int> positions;
            int count = -1;
            for (const QString &note : notes) {
                const QRegularExpressionMatch m = mark.match(note);
                ids << m.captured(1);
                positions << m.captured(2).toInt();
                count = m.captured(3).toInt();
            }
            if (ids.size() != 1 || positions.size() != notes.size() || notes.size() != count)
                problems << QStringLiteral("day %1 %2 holds a partial save: %3")
                                .arg(days.value(0).toString(), days.value(1).toString(),
                                    days.value(2).toString());
        }

        // Recurring items: twelve entries, one amount and note.
        QSqlQuery items = db.exec(QStringLiteral(
            "SELECT 帳目名稱, COUNT(*), COUNT(DISTINCT 金額 || '|' || 說明) FROM 單日記帳本 "
            "WHERE 帳目名稱 LIKE '定期%' GROUP BY 帳目名稱"));
        while (items.next()) {
            if (items.value(1).toInt() != 12 || items.value(2).toInt() != 1)
                problems << QStringLiteral("recurring %1: %2 entries with %3 amounts or notes")
                                .arg(items.value(0).toString(), items.value(1).toString(),
                                    items.value(2).toString());
        }

        // Categories: a ledger always has its ten main categories (a roll-back is never half
        // done), and a roll-back copy left by a kill while the screen was open is whole too.
        // Main categories are told by the program's own rule: a subcategory past the 99th of
        // an older file has a code ending in 00 but is no main category.
        QSqlQuery mains = db.exec(QStringLiteral("SELECT 帳目擁有者, COUNT(*) FROM 帳目分類 WHERE ")
            + Schema::mainCategoryCondition()
            + QStringLiteral(" AND 帳目擁有者 <> 'DEFAULT' GROUP BY 帳目擁有者"));
        while (mains.next()) {
            if (mains.value(1).toInt() != 10)
                problems << QStringLiteral("categories of %1 hold %2 main categories: %3")
                                .arg(mains.value(0).toString(), mains.value(1).toString(),
                                    mains.value(2).toString());
        }

        // Ledgers: every listed ledger has its categories.
        const QStringList listed
            = LedgerDirectory(QDir(dataDir).filePath(QStringLiteral("UserInfo"))).ListLedgerNames();
        QStringList owners;
        QSqlQuery query = db.exec(
            QStringLiteral("SELECT DISTINCT 帳目擁有者 FROM 帳目分類 WHERE 帳目擁有者 <> 'DEFAULT' "
                           "AND 帳目擁有者 NOT LIKE '%\\_BAK' ESCAPE '\\'"));
        while (query.next())
            owners << query.value(0).toString();
        for (const QString &name : listed) {
            if (!owners.contains(name))
                problems << QStringLiteral("ledger %1 is listed but has no categories").arg(name);
        }
        // The other way round is allowed: a kill between the two steps of creating or removing
        // may leave rows of a ledger that is not listed; nobody can reach them, and creating
        // that name again clears them first.
    } catch (const std::exception &e) {
        problems << QStringLiteral("verifying failed: %1").arg(QString::fromUtf8(e.what()));
    }
    return problems;
}
