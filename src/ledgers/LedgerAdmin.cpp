#include "ledgers/LedgerAdmin.h"

#include "store/Database.h"
#include "store/Schema.h"

LedgerAdmin::LedgerAdmin(Database &db, LedgerDirectory &directory)
    : m_db(db)
    , m_directory(directory)
{ }

bool LedgerAdmin::isReservedName(const QString &name)
{
    // DEFAULT owns the template every new ledger copies; "_BAK" owners hold the category
    // screen's roll-back copies; "訪客" and "請選擇" mean "nobody" on the screens.
    return name == Schema::TemplateOwner || name.endsWith(QStringLiteral("_BAK"))
        || name == QStringLiteral("訪客") || name == QStringLiteral("請選擇");
}

LedgerAdmin::CreateResult LedgerAdmin::createLedger(const QString &name, const QString &password)
{
    if (isReservedName(name))
        return CreateResult::Reserved;
    if (m_directory.FindLedger(name).found)
        return CreateResult::Duplicate;
    // A name that owns no categories or settings gets the template first, committed on its
    // own: a program killed before the record is written then leaves unlisted rows (the next
    // creation of that name replaces them), never a listed ledger without categories.
    const bool fresh = !ownsCategoriesOrSettings(name);
    if (fresh)
        copyTemplate(name);
    // The rows a former ledger of that name left are replaced in one transaction that
    // commits only once the record is written: a failure leaves the database as it was.
    bool recorded = false;
    bool duplicate = false;
    try {
        Transaction tx(m_db);
        if (!fresh)
            copyTemplate(name);
        duplicate = m_directory.AddLedger(name, password) == AddLedgerResult::Duplicate;
        recorded = !duplicate;
        if (recorded)
            tx.commit();
    } catch (...) {
        try {
            if (recorded)
                m_directory.RemoveLedger(name, password, [](const QString &) { return true; });
            if (fresh)
                dropTemplateCopy(name);
        } catch (...) { }
        throw;
    }
    if (duplicate) {
        if (fresh)
            dropTemplateCopy(name);
        return CreateResult::Duplicate;
    }
    return CreateResult::Created;
}

bool LedgerAdmin::ownsCategoriesOrSettings(const QString &name)
{
    return m_db
        .scalar(QStringLiteral("SELECT EXISTS (SELECT 1 FROM 帳目分類 WHERE 帳目擁有者 = ?) "
                               "OR EXISTS (SELECT 1 FROM 參數設定 WHERE 使用者 = ?)"),
            { name, name })
        .toBool();
}

void LedgerAdmin::dropTemplateCopy(const QString &name)
{
    // Only called for a name that owned no categories or settings before: its entries and
    // day totals, if a former ledger left any, stay.
    Transaction tx(m_db);
    m_db.exec(QStringLiteral("DELETE FROM 帳目分類 WHERE 帳目擁有者 = ?"), { name });
    m_db.exec(QStringLiteral("DELETE FROM 參數設定 WHERE 使用者 = ?"), { name });
    tx.commit();
}

void LedgerAdmin::copyTemplate(const QString &name)
{
    Transaction tx(m_db);
    // Rows left by a former ledger of the same name go first.
    m_db.exec(QStringLiteral("DELETE FROM 帳目分類 WHERE 帳目擁有者 = ?"), { name });
    m_db.exec(
        QStringLiteral("INSERT INTO 帳目分類 (帳目類別, 帳目屬性, 帳目名稱, 帳目順序, 帳目擁有者) "
                       "SELECT 帳目類別, 帳目屬性, 帳目名稱, 帳目順序, ? FROM 帳目分類 "
                       "WHERE 帳目擁有者 = ?"),
        { name, Schema::TemplateOwner });
    m_db.exec(QStringLiteral("DELETE FROM 參數設定 WHERE 使用者 = ?"), { name });
    m_db.exec(QStringLiteral("INSERT INTO 參數設定 (代碼, 設定值, 使用者) SELECT 代碼, 設定值, ? "
                             "FROM 參數設定 WHERE 使用者 = ?"),
        { name, Schema::TemplateOwner });
    tx.commit();
}

void LedgerAdmin::deleteLedgerRows(const QString &name)
{
    Transaction tx(m_db);
    m_db.exec(QStringLiteral("DELETE FROM 單日記帳本 WHERE 使用者 = ?"), { name });
    m_db.exec(QStringLiteral("DELETE FROM 記帳本 WHERE 使用者 = ?"), { name });
    m_db.exec(QStringLiteral("DELETE FROM 帳目分類 WHERE 帳目擁有者 = ?"), { name });
    m_db.exec(QStringLiteral("DELETE FROM 參數設定 WHERE 使用者 = ?"), { name });
    tx.commit();
}

RemoveLedgerResult LedgerAdmin::removeLedger(
    const QString &name, const QString &password, const std::function<bool()> &confirm)
{
    // The rows go in a transaction that commits only after the list no longer names the
    // ledger: a failed list write rolls the rows back, and a program killed in between
    // leaves unlisted rows at worst, never a listed ledger without its data.
    Transaction tx(m_db);
    const RemoveLedgerResult result
        = m_directory.RemoveLedger(name, password, [&](const QString &ledger) {
              if (!confirm())
                  return false;
              deleteLedgerRows(ledger);
              return true;
          });
    tx.commit();
    return result;
}

std::optional<int> LedgerAdmin::defaultDayPage(const QString &name)
{
    QSqlQuery query
        = m_db.exec(QStringLiteral("SELECT 設定值 FROM 參數設定 WHERE 代碼 = ? AND 使用者 = ?"),
            { Schema::DefaultPageCode, name });
    std::optional<int> value;
    int rows = 0;
    while (query.next()) {
        ++rows;
        value = query.value(0).toString().trimmed().toInt();
    }
    if (rows != 1)
        return std::nullopt;
    return value;
}
