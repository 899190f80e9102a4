#include "store/Database.h"
#include "store/Schema.h"
#include "support/TestProgram.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {
QByteArray fileHash(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}
} // namespace

TEST(Database, MissingFileIsCreatedWithTablesInTheirColumnOrder)
{
    TempDataDir dir;
    Database db(dir.file("CDB.dat"));
    db.open();
    EXPECT_EQ(column(db, "SELECT name FROM pragma_table_info('單日記帳本')"),
        QStringList({ "日期", "使用者", "帳目類型", "帳目屬性", "帳目名稱", "金額", "說明", "定期",
            "序列號" }));
    EXPECT_EQ(column(db, "SELECT name FROM pragma_table_info('記帳本')"),
        QStringList({ "日期", "使用者", "收入小計", "支出小計" }));
    EXPECT_EQ(column(db, "SELECT name FROM pragma_table_info('帳目分類')"),
        QStringList({ "帳目類別", "帳目屬性", "帳目名稱", "帳目順序", "帳目擁有者" }));
    EXPECT_EQ(column(db, "SELECT name FROM pragma_table_info('參數設定')"),
        QStringList({ "代碼", "設定值", "使用者" }));
    EXPECT_EQ(db.scalar("PRAGMA user_version").toInt(), Database::SchemaVersion);
}

TEST(Database, TemplateHoldsTheFixedMainCategoriesWithTheirCodes)
{
    TempDataDir dir;
    Database db(dir.file("CDB.dat"));
    EXPECT_EQ(column(db,
                  "SELECT 帳目名稱 || ':' || 帳目屬性 || ':' || 帳目順序 FROM 帳目分類 "
                  "WHERE 帳目擁有者='DEFAULT' AND 帳目類別='1' AND 帳目順序 % 100 = 0 "
                  "ORDER BY 帳目順序"),
        QStringList({ "商品銷售:1:100", "投資:2:200", "其他:3:300", "個人收入:4:400" }));
    EXPECT_EQ(column(db,
                  "SELECT 帳目名稱 FROM 帳目分類 WHERE 帳目擁有者='DEFAULT' AND 帳目類別='0' "
                  "AND 帳目順序 % 100 = 0 ORDER BY 帳目順序"),
        QStringList({ "個人花費", "進貨", "管銷", "稅捐規費", "其他支出", "無花費" }));
    EXPECT_EQ(column(db,
                  "SELECT 帳目名稱 || ':' || 帳目順序 FROM 帳目分類 WHERE 帳目擁有者='DEFAULT' "
                  "AND 帳目類別='0' AND 帳目屬性='2' ORDER BY 帳目順序"),
        QStringList({ "進貨:200", "商品進貨:201", "原料:202", "包材:203" }));
    // Only income 1 and expense 1-3 have subcategories.
    EXPECT_EQ(column(db,
                  "SELECT DISTINCT 帳目類別 || 帳目屬性 FROM 帳目分類 WHERE 帳目擁有者='DEFAULT' "
                  "AND 帳目順序 % 100 <> 0 ORDER BY 1"),
        QStringList({ "01", "02", "03", "11" }));
    EXPECT_EQ(column(db,
                  "SELECT 設定值 FROM 參數設定 WHERE 代碼='預設單日記帳畫面' AND 使用者='DEFAULT'"),
        QStringList({ "0" }));
}

TEST(Database, FilesThatAreNotOursAreRefusedAndLeftUntouched)
{
    struct Case
    {
        const char *what;
        QByteArray content;
    };
    QByteArray sqliteHeaderOnly("SQLite format 3\0", 16);
    sqliteHeaderOnly += QByteArray(84, '\x01');
    const Case cases[] = {
        { "text", QByteArray("這不是資料庫\nhello") },
        { "empty", QByteArray() },
        { "truncated", sqliteHeaderOnly },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TempDataDir dir;
        const QString path = dir.file("CDB.dat");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.content);
        file.close();
        const QByteArray before = fileHash(path);
        Database db(path);
        try {
            db.open();
            FAIL() << "opened";
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().contains(path)) << e.message().toStdString();
        }
        EXPECT_EQ(fileHash(path), before);
    }
}

// A first creation that fails part-way (a full disk) leaves no file behind that would be
// refused at every later start; the next start creates it whole.
TEST(Database, AFailedFirstCreationLeavesNoFileAndTheNextStartCreatesIt)
{
    TempDataDir dir;
    const QString path = dir.file("CDB.dat");
    {
        Database db(path);
        db.setStatementHook([](const QString &sql) {
            if (sql.contains("INSERT INTO 帳目分類"))
                throw DbError("database or disk is full");
        });
        EXPECT_THROW(db.open(), DbError);
        EXPECT_FALSE(db.isOpen());
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList());
    Database db(path);
    db.open();
    EXPECT_GT(db.scalar("SELECT COUNT(*) FROM 帳目分類 WHERE 帳目擁有者 = 'DEFAULT'").toInt(), 0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({ "CDB.dat" }));
}

TEST(Database, DatabaseWithoutOurTablesIsRefusedAndLeftUntouched)
{
    TempDataDir dir;
    const QString path = dir.file("CDB.dat");
    {
        Database other(dir.file("seed.dat"));
        other.open();
    }
    {
        // Another program's SQLite file: valid, but none of our tables.
        QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "raw");
        raw.setDatabaseName(path);
        ASSERT_TRUE(raw.open());
        QSqlQuery(raw).exec("CREATE TABLE notes (x TEXT)");
        raw.close();
    }
    QSqlDatabase::removeDatabase("raw");
    const QByteArray before = fileHash(path);
    Database db(path);
    EXPECT_THROW(db.open(), DbError);
    EXPECT_EQ(fileHash(path), before);
}

TEST(Database, OldFileWithoutRecurringColumnGetsItInEighthPlace)
{
    TempDataDir dir;
    const QString path = dir.file("CDB.dat");
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase("QSQLITE", "old");
        raw.setDatabaseName(path);
        ASSERT_TRUE(raw.open());
        QSqlQuery q(raw);
        q.exec("CREATE TABLE 單日記帳本 (日期 TEXT, 使用者 TEXT, 帳目類型 INTEGER, 帳目屬性 TEXT, "
               "帳目名稱 TEXT, 金額 INTEGER, 說明 TEXT, 序列號 INTEGER)");
        q.exec("CREATE TABLE 記帳本 (日期 TEXT, 使用者 TEXT, 收入小計 INTEGER, 支出小計 INTEGER)");
        q.exec(
            "CREATE TABLE 帳目分類 (帳目類別 TEXT, 帳目屬性 TEXT, 帳目名稱 TEXT, 帳目順序 INTEGER, "
            "帳目擁有者 TEXT)");
        q.exec("CREATE TABLE 參數設定 (代碼 TEXT, 設定值 TEXT, 使用者 TEXT)");
        q.exec("INSERT INTO 單日記帳本 VALUES ('2008-03-05', 'A', 0, '1', '餐飲', 120, 'x', "
               "2008030501)");
        raw.close();
    }
    QSqlDatabase::removeDatabase("old");
    Database db(path);
    db.open();
    EXPECT_EQ(column(db, "SELECT name FROM pragma_table_info('單日記帳本')").at(7), "定期");
    QSqlQuery row = db.exec("SELECT * FROM 單日記帳本");
    ASSERT_TRUE(row.next());
    EXPECT_TRUE(row.value(7).isNull());
    EXPECT_EQ(row.value(8).toLongLong(), 2008030501);
    EXPECT_EQ(row.value(4).toString(), "餐飲");
}

TEST(Database, TransactionRollsBackWhenLeftByAnException)
{
    TempDataDir dir;
    Database db(dir.file("CDB.dat"));
    const auto count = [&] { return db.scalar("SELECT COUNT(*) FROM 參數設定").toInt(); };
    const int before = count();
    try {
        Transaction tx(db);
        db.exec("INSERT INTO 參數設定 VALUES ('a', 'b', 'c')");
        {
            Transaction inner(db);
            db.exec("INSERT INTO 參數設定 VALUES ('d', 'e', 'f')");
            inner.commit();
        }
        throw DbError("boom");
    } catch (const DbError &) { }
    EXPECT_EQ(count(), before);
    EXPECT_EQ(db.transactionDepth(), 0);

    // An inner failure that the outer action survives undoes only the inner part.
    {
        Transaction tx(db);
        db.exec("INSERT INTO 參數設定 VALUES ('a', 'b', 'c')");
        try {
            Transaction inner(db);
            db.exec("INSERT INTO 參數設定 VALUES ('d', 'e', 'f')");
            throw DbError("inner");
        } catch (const DbError &) { }
        tx.commit();
    }
    EXPECT_EQ(count(), before + 1);
}

TEST(Database, FailingStatementCarriesTheEngineMessage)
{
    TempDataDir dir;
    Database db(dir.file("CDB.dat"));
    try {
        db.exec("SELECT * FROM 沒有這個表");
        FAIL();
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains("no such table")) << e.message().toStdString();
    }
}

TEST(Database, ValuesAreBoundNeverPasted)
{
    TempDataDir dir;
    Database db(dir.file("CDB.dat"));
    const QString hostile = "O'Brien'; DROP TABLE 記帳本; --";
    db.exec("INSERT INTO 參數設定 VALUES (?, ?, ?)", { "code", hostile, hostile });
    EXPECT_EQ(
        db.scalar("SELECT 設定值 FROM 參數設定 WHERE 使用者 = ?", { hostile }).toString(), hostile);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM sqlite_master WHERE name='記帳本'").toInt(), 1);
}

TEST(Database, ClosesAndReopens)
{
    TempDataDir dir;
    Database db(dir.file("CDB.dat"));
    db.exec("INSERT INTO 參數設定 VALUES ('k', 'v', 'u')");
    db.close();
    EXPECT_FALSE(db.isOpen());
    EXPECT_EQ(db.scalar("SELECT 設定值 FROM 參數設定 WHERE 代碼='k'").toString(), "v");
    EXPECT_TRUE(db.isOpen());
}
