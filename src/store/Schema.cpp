#include "store/Schema.h"

#include "store/Database.h"

#include <QSqlRecord>

namespace {
const QString EntriesTable = QStringLiteral(
    "CREATE TABLE 單日記帳本 (日期 TEXT NOT NULL, 使用者 TEXT NOT NULL, 帳目類型 INTEGER NOT NULL, "
    "帳目屬性 TEXT, 帳目名稱 TEXT, 金額 INTEGER, 說明 TEXT, 定期 VARCHAR(1) NULL, 序列號 INTEGER)");

QStringList indexStatements()
{
    return {
        QStringLiteral(
            "CREATE INDEX IF NOT EXISTS 單日記帳本_使用者_日期 ON 單日記帳本 (使用者, 日期)"),
        QStringLiteral(
            "CREATE UNIQUE INDEX IF NOT EXISTS 記帳本_使用者_日期 ON 記帳本 (使用者, 日期)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS 帳目分類_擁有者 ON 帳目分類 "
                       "(帳目擁有者, 帳目類別, 帳目順序)"),
        QStringLiteral(
            "CREATE UNIQUE INDEX IF NOT EXISTS 參數設定_使用者_代碼 ON 參數設定 (使用者, 代碼)"),
        // An entry's main category is looked up among the category rows of its number, so
        // the day's list does not read every ledger's categories for each entry.
        QStringLiteral("CREATE INDEX IF NOT EXISTS 帳目分類_屬性 ON 帳目分類 (帳目屬性)"),
        // The fixed-items list reads only the recurring entries; without this it would read
        // every entry the ledger ever had.
        QStringLiteral("CREATE INDEX IF NOT EXISTS 單日記帳本_使用者_定期 ON 單日記帳本 "
                       "(使用者, 定期) WHERE 定期 <> ''"),
    };
}

struct MainCategory
{
    const char *name;
    QStringList subcategories;
};

void insertKind(Database &db, const QString &kind, const QList<MainCategory> &mains)
{
    const QString sql = QStringLiteral("INSERT INTO 帳目分類 (帳目類別, 帳目屬性, 帳目名稱, "
                                       "帳目順序, 帳目擁有者) VALUES (?, ?, ?, ?, ?)");
    for (int i = 0; i < mains.size(); ++i) {
        const int n = i + 1;
        db.exec(sql,
            { kind, QString::number(n), QString::fromUtf8(mains[i].name), n * 100,
                Schema::TemplateOwner });
        for (int p = 0; p < mains[i].subcategories.size(); ++p)
            db.exec(sql,
                { kind, QString::number(n), mains[i].subcategories[p], n * 100 + p + 1,
                    Schema::TemplateOwner });
    }
}
} // namespace

namespace Schema {

QString mainCategoryCondition(const QString &alias)
{
    const QString t = alias.isEmpty() ? QString() : alias + QLatin1Char('.');
    return t + QStringLiteral("帳目順序 % 100 = 0 AND ") + t + QStringLiteral("帳目屬性 = substr(")
        + t + QStringLiteral("帳目順序, 1, 1)");
}

QStringList tableNames()
{
    return { QStringLiteral("單日記帳本"), QStringLiteral("記帳本"), QStringLiteral("帳目分類"),
        QStringLiteral("參數設定") };
}

QStringList createStatements()
{
    QStringList statements {
        EntriesTable,
        QStringLiteral("CREATE TABLE 記帳本 (日期 TEXT NOT NULL, 使用者 TEXT NOT NULL, "
                       "收入小計 INTEGER, 支出小計 INTEGER)"),
        QStringLiteral("CREATE TABLE 帳目分類 (帳目類別 TEXT, 帳目屬性 TEXT, 帳目名稱 TEXT, "
                       "帳目順序 INTEGER, 帳目擁有者 TEXT)"),
        QStringLiteral("CREATE TABLE 參數設定 (代碼 TEXT, 設定值 TEXT, 使用者 TEXT)"),
    };
    statements << indexStatements();
    return statements;
}

void insertTemplate(Database &db)
{
    insertKind(db, QStringLiteral("1"),
        { { "商品銷售", { "門市銷售", "網路銷售", "批發銷售" } }, { "投資", {} }, { "其他", {} },
            { "個人收入", {} } });
    insertKind(db, QStringLiteral("0"),
        { { "個人花費",
              { "餐飲", "交通", "服飾", "居家", "娛樂", "醫療", "教育", "保險", "通訊" } },
            { "進貨", { "商品進貨", "原料", "包材" } },
            { "管銷",
                { "租金", "薪資", "水電瓦斯", "電話網路", "廣告", "運費", "文具用品", "維修" } },
            { "稅捐規費", {} }, { "其他支出", {} }, { "無花費", {} } });
    db.exec(QStringLiteral("INSERT INTO 參數設定 (代碼, 設定值, 使用者) VALUES (?, ?, ?)"),
        { DefaultPageCode, QStringLiteral("0"), TemplateOwner });
}

void ensureRecurringColumn(Database &db)
{
    QStringList columns;
    QSqlQuery info = db.exec(QStringLiteral("PRAGMA table_info(單日記帳本)"));
    while (info.next())
        columns << info.value(1).toString();
    info.finish();
    if (columns.contains(QStringLiteral("定期")))
        return;
    // SQLite can only append a column; the table is rebuilt so that 定期 stands eighth.
    db.exec(QStringLiteral("ALTER TABLE 單日記帳本 RENAME TO 單日記帳本_舊"));
    db.exec(EntriesTable);
    db.exec(QStringLiteral("INSERT INTO 單日記帳本 (日期, 使用者, 帳目類型, 帳目屬性, 帳目名稱, "
                           "金額, 說明, 定期, 序列號) "
                           "SELECT 日期, 使用者, 帳目類型, 帳目屬性, 帳目名稱, 金額, 說明, NULL, "
                           "序列號 FROM 單日記帳本_舊"));
    db.exec(QStringLiteral("DROP TABLE 單日記帳本_舊"));
}

void ensureIndexes(Database &db)
{
    for (const QString &statement : indexStatements()) {
        try {
            db.exec(statement);
        } catch (const DbError &) {
            // An old file may hold duplicate rows that a unique index refuses; it still
            // gets a plain index so that it reads fast, and keeps every row as it was.
            QString plain = statement;
            db.exec(plain.replace(QStringLiteral("UNIQUE INDEX"), QStringLiteral("INDEX")));
        }
    }
}

} // namespace Schema
