#include "categories/CategorySettings.h"

#include "store/Database.h"
#include "store/LedgerOps.h"
#include "store/Schema.h"

namespace {
const QString CopyRows = QStringLiteral(
    "INSERT INTO 帳目分類 (帳目類別, 帳目屬性, 帳目名稱, 帳目順序, 帳目擁有者) "
    "SELECT 帳目類別, 帳目屬性, 帳目名稱, 帳目順序, ? FROM 帳目分類 WHERE 帳目擁有者 = ?");
const QString DeleteOwner = QStringLiteral("DELETE FROM 帳目分類 WHERE 帳目擁有者 = ?");
} // namespace

CategorySettings::CategorySettings(Database &db, const QString &ledger)
    : m_db(db)
    , m_ledger(ledger)
{ }

QString CategorySettings::backupOwner(const QString &ledger)
{
    return ledger + QStringLiteral("_BAK");
}

qint64 CategorySettings::takeBackup()
{
    const qint64 before = m_db.changeCount();
    Transaction tx(m_db);
    m_db.exec(DeleteOwner, { backupOwner(m_ledger) });
    m_db.exec(CopyRows, { backupOwner(m_ledger), m_ledger });
    tx.commit();
    return before;
}

void CategorySettings::finish(bool rollBack, qint64 changesBeforeCopy)
{
    Transaction tx(m_db);
    if (rollBack) {
        m_db.exec(DeleteOwner, { m_ledger });
        m_db.exec(CopyRows, { m_ledger, backupOwner(m_ledger) });
    }
    const bool unchanged = rollBack || sameAsCopy();
    m_db.exec(DeleteOwner, { backupOwner(m_ledger) });
    tx.commit();
    if (unchanged && changesBeforeCopy >= 0)
        m_db.forgetChangesSince(changesBeforeCopy);
}

bool CategorySettings::sameAsCopy() const
{
    // Row for row, both ways: every category of the ledger is in the copy and back.
    const QString missing = QStringLiteral(
        "SELECT COUNT(*) FROM (SELECT 帳目類別, 帳目屬性, 帳目名稱, 帳目順序 FROM 帳目分類 "
        "WHERE 帳目擁有者 = ? EXCEPT SELECT 帳目類別, 帳目屬性, 帳目名稱, 帳目順序 FROM 帳目分類 "
        "WHERE 帳目擁有者 = ?)");
    const QString count = QStringLiteral("SELECT COUNT(*) FROM 帳目分類 WHERE 帳目擁有者 = ?");
    const QString copy = backupOwner(m_ledger);
    return m_db.scalar(missing, { m_ledger, copy }).toLongLong() == 0
        && m_db.scalar(missing, { copy, m_ledger }).toLongLong() == 0
        && m_db.scalar(count, { m_ledger }).toLongLong()
        == m_db.scalar(count, { copy }).toLongLong();
}

QStringList CategorySettings::subcategories(const QString &kind, int number) const
{
    return GetCategoryNameList(m_db, m_ledger, kind, number);
}

bool CategorySettings::exists(const QString &kind, int number, const QString &name) const
{
    return m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM 帳目分類 WHERE 帳目類別 = ? AND "
                                      "帳目屬性 = ? AND 帳目名稱 = ? AND 帳目擁有者 = ?"),
                   { kind, QString::number(number), name, m_ledger })
               .toLongLong()
        != 0;
}

CategorySettings::AddResult CategorySettings::add(
    const QString &kind, int number, const QString &name)
{
    Transaction tx(m_db);
    if (exists(kind, number, name))
        return AddResult::Duplicate;
    const int count = int(subcategories(kind, number).size());
    if (count >= Schema::MaxSubcategories)
        return AddResult::Full;
    const int code = count + number * 100 + 1;
    m_db.exec(QStringLiteral("INSERT INTO 帳目分類 (帳目類別, 帳目屬性, 帳目名稱, 帳目順序, "
                             "帳目擁有者) VALUES (?, ?, ?, ?, ?)"),
        { kind, QString::number(number), name, code, m_ledger });
    tx.commit();
    return AddResult::Added;
}

QString CategorySettings::fullMessage(const QString &mainName)
{
    return QStringLiteral("「%1」已有 %2 個子分類，無法再新增；請先移除不用的子分類。")
        .arg(mainName)
        .arg(Schema::MaxSubcategories);
}

void CategorySettings::remove(const QString &kind, int number, const QString &name)
{
    // The main category row itself is never removed here.
    m_db.exec(QStringLiteral("DELETE FROM 帳目分類 WHERE 帳目類別 = ? AND 帳目屬性 = ? AND "
                             "帳目名稱 = ? AND 帳目擁有者 = ? AND 帳目順序 <> ?"),
        { kind, QString::number(number), name, m_ledger, number * 100 });
}

int CategorySettings::move(const QString &kind, int number, int index, bool up)
{
    const QStringList names = subcategories(kind, number);
    if (index < 0 || index >= names.size())
        return index;
    const int other = up ? index - 1 : index + 1;
    if (other < 0 || other >= names.size())
        return index;
    const QString sql = QStringLiteral(
        "UPDATE 帳目分類 SET 帳目順序 = ? WHERE 帳目類別 = ? AND 帳目屬性 = ? AND 帳目名稱 = ? "
        "AND 帳目擁有者 = ? AND 帳目順序 <> ?");
    // The two rows swap places: position p gets the code n*100 + p (p from 1).
    Transaction tx(m_db);
    m_db.exec(sql,
        { number * 100 + other + 1, kind, QString::number(number), names[index], m_ledger,
            number * 100 });
    m_db.exec(sql,
        { number * 100 + index + 1, kind, QString::number(number), names[other], m_ledger,
            number * 100 });
    tx.commit();
    return other;
}
