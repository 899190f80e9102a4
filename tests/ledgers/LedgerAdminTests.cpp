#include "ledgers/LedgerAdmin.h"
#include "ledgers/LedgerDirectory.h"
#include "reliability/TableDump.h"
#include "store/Database.h"
#include "support/TestProgram.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class LedgerAdminTest : public ::testing::Test
{
protected:
    TempDataDir dir;
    Database db { dir.file(QStringLiteral("CDB.dat")) };
    LedgerDirectory directory { dir.file(QStringLiteral("UserInfo")) };
    LedgerAdmin admin { db, directory };

    int count(const QString &table, const QString &ownerColumn, const QString &owner)
    {
        return db
            .scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = ?").arg(table, ownerColumn),
                { owner })
            .toInt();
    }
    int ownedRows(const QString &ledger)
    {
        return count(QStringLiteral("單日記帳本"), QStringLiteral("使用者"), ledger)
            + count(QStringLiteral("記帳本"), QStringLiteral("使用者"), ledger)
            + count(QStringLiteral("帳目分類"), QStringLiteral("帳目擁有者"), ledger)
            + count(QStringLiteral("參數設定"), QStringLiteral("使用者"), ledger);
    }
    QStringList categories(const QString &owner)
    {
        QStringList rows;
        QSqlQuery q = db.exec(QStringLiteral("SELECT 帳目類別, 帳目屬性, 帳目名稱, 帳目順序 FROM "
                                             "帳目分類 WHERE 帳目擁有者 = ? ORDER BY 1, 2, 4, 3"),
            { owner });
        while (q.next())
            rows << QStringLiteral("%1|%2|%3|%4")
                        .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                            q.value(3).toString());
        return rows;
    }
    void addEntryRows(const QString &ledger)
    {
        db.exec(
            QStringLiteral("INSERT INTO 單日記帳本 (日期, 使用者, 帳目類型, 帳目屬性, 帳目名稱, "
                           "金額, 說明, 定期, 序列號) VALUES ('2012-03-05', ?, 0, '1', '早餐', "
                           "80, '', NULL, 2012030501)"),
            { ledger });
        db.exec(QStringLiteral("INSERT INTO 記帳本 (日期, 使用者, 收入小計, 支出小計) VALUES "
                               "('2012-03-05', ?, 0, 80)"),
            { ledger });
    }
};

TEST_F(LedgerAdminTest, NewLedgerGetsExactlyTheTemplateAndReplacesLeftovers)
{
    // Rows a former ledger of the same name left behind must not survive.
    db.exec(QStringLiteral("INSERT INTO 帳目分類 VALUES ('1', '9', '舊分類', 1, '小店')"));
    db.exec(QStringLiteral("INSERT INTO 參數設定 VALUES ('舊設定', '1', '小店')"));

    EXPECT_EQ(admin.createLedger(QStringLiteral("小店"), QStringLiteral("pw")),
        LedgerAdmin::CreateResult::Created);

    EXPECT_EQ(categories(QStringLiteral("小店")), categories(QStringLiteral("DEFAULT")));
    EXPECT_FALSE(categories(QStringLiteral("小店")).isEmpty());
    EXPECT_EQ(count(QStringLiteral("參數設定"), QStringLiteral("使用者"), QStringLiteral("小店")),
        count(QStringLiteral("參數設定"), QStringLiteral("使用者"), QStringLiteral("DEFAULT")));
    EXPECT_EQ(admin.defaultDayPage(QStringLiteral("小店")),
        admin.defaultDayPage(QStringLiteral("DEFAULT")));
    EXPECT_TRUE(
        directory.CheckLedgerPassword(QStringLiteral("小店"), QStringLiteral("pw")).matches);
}

TEST_F(LedgerAdminTest, RefusedNamesTouchNothing)
{
    ASSERT_EQ(admin.createLedger(QStringLiteral("家用"), {}), LedgerAdmin::CreateResult::Created);
    const QByteArray before = fileBytes(directory.filePath());
    const int templateRows = ownedRows(QStringLiteral("DEFAULT"));

    const struct
    {
        const char *name;
        LedgerAdmin::CreateResult expected;
    } cases[] = {
        { "家用", LedgerAdmin::CreateResult::Duplicate },
        { "DEFAULT", LedgerAdmin::CreateResult::Reserved },
        { "家用_BAK", LedgerAdmin::CreateResult::Reserved },
        { "訪客", LedgerAdmin::CreateResult::Reserved },
        { "請選擇", LedgerAdmin::CreateResult::Reserved },
    };
    for (const auto &c : cases) {
        const QString name = QString::fromUtf8(c.name);
        EXPECT_EQ(admin.createLedger(name, QStringLiteral("x")), c.expected) << c.name;
    }
    EXPECT_EQ(fileBytes(directory.filePath()), before);
    EXPECT_EQ(ownedRows(QStringLiteral("DEFAULT")), templateRows);
    EXPECT_EQ(ownedRows(QStringLiteral("家用_BAK")), 0);
    // Case matters: a name differing only in letter case is another ledger.
    EXPECT_EQ(admin.createLedger(QStringLiteral("Shop"), {}), LedgerAdmin::CreateResult::Created);
    EXPECT_EQ(admin.createLedger(QStringLiteral("shop"), {}), LedgerAdmin::CreateResult::Created);
    EXPECT_EQ(
        admin.createLedger(QStringLiteral("default"), {}), LedgerAdmin::CreateResult::Created);
}

TEST_F(LedgerAdminTest, FailedTemplateCopyTakesTheRecordOutAgain)
{
    ASSERT_EQ(admin.createLedger(QStringLiteral("甲"), {}), LedgerAdmin::CreateResult::Created);
    const QByteArray before = fileBytes(directory.filePath());
    db.setStatementHook([](const QString &sql) {
        if (sql.contains(QStringLiteral("INSERT INTO 參數設定")))
            throw DbError(QStringLiteral("disk I/O error"));
    });

    EXPECT_THROW(admin.createLedger(QStringLiteral("乙"), QStringLiteral("pw")), DbError);
    db.setStatementHook({});

    EXPECT_EQ(fileBytes(directory.filePath()), before);
    EXPECT_FALSE(directory.FindLedger(QStringLiteral("乙")).found);
    EXPECT_EQ(ownedRows(QStringLiteral("乙")), 0);
    // Nothing stuck: the same name can be created afterwards.
    EXPECT_EQ(admin.createLedger(QStringLiteral("乙"), QStringLiteral("pw")),
        LedgerAdmin::CreateResult::Created);
}

// Re-creating a ledger to reach the entries a former one of that name left: a failure of the
// record's write, or of the commit after it, leaves the database and the list as they were.
TEST_F(LedgerAdminTest, AFailedCreationLeavesEverythingAsItWas)
{
    ASSERT_EQ(admin.createLedger(QStringLiteral("甲"), {}), LedgerAdmin::CreateResult::Created);
    db.exec(QStringLiteral("INSERT INTO 帳目分類 VALUES ('1', '9', '舊分類', 1, '小店')"));
    db.exec(QStringLiteral("INSERT INTO 參數設定 VALUES ('舊設定', '1', '小店')"));
    addEntryRows(QStringLiteral("小店"));
    addEntryRows(QStringLiteral("新店")); // entries only
    const QStringList before = dumpTables(db);
    const QByteArray listBefore = fileBytes(directory.filePath());

    for (const char *name : { "小店", "新店", "空店" }) {
        for (const bool atCommit : { false, true }) {
            SCOPED_TRACE(testing::Message() << name << (atCommit ? " commit" : " record"));
            // The first commit after the record was written fails, and only that one.
            bool written = false;
            bool failed = false;
            directory.setSaveHook([&] {
                if (!atCommit)
                    throw LedgerError(QStringLiteral("無法寫入帳本清單檔"));
                written = true;
            });
            db.setStatementHook([&](const QString &sql) {
                if (written && !failed && sql == QStringLiteral("COMMIT")) {
                    failed = true;
                    throw DbError(QStringLiteral("disk I/O error"));
                }
            });
            EXPECT_ANY_THROW(admin.createLedger(QString::fromUtf8(name), QStringLiteral("pw")));
            directory.setSaveHook({});
            db.setStatementHook({});
            EXPECT_EQ(dumpTables(db), before);
            EXPECT_EQ(fileBytes(directory.filePath()), listBefore);
            EXPECT_EQ(db.transactionDepth(), 0);
        }
    }
    // Created after all: the former ledger's entries are there, its categories replaced.
    EXPECT_EQ(admin.createLedger(QStringLiteral("小店"), {}), LedgerAdmin::CreateResult::Created);
    EXPECT_EQ(
        count(QStringLiteral("單日記帳本"), QStringLiteral("使用者"), QStringLiteral("小店")), 1);
    EXPECT_EQ(categories(QStringLiteral("小店")), categories(QStringLiteral("DEFAULT")));
}

TEST_F(LedgerAdminTest, RemovalDeletesAllFourTablesOfThatLedgerOnly)
{
    ASSERT_EQ(admin.createLedger(QStringLiteral("甲"), QStringLiteral("pw")),
        LedgerAdmin::CreateResult::Created);
    ASSERT_EQ(admin.createLedger(QStringLiteral("乙"), {}), LedgerAdmin::CreateResult::Created);
    addEntryRows(QStringLiteral("甲"));
    addEntryRows(QStringLiteral("乙"));
    const int otherRows = ownedRows(QStringLiteral("乙"));

    int asked = 0;
    EXPECT_EQ(admin.removeLedger(QStringLiteral("甲"), QStringLiteral("pw"),
                  [&] {
                      ++asked;
                      return true;
                  }),
        RemoveLedgerResult::Removed);

    EXPECT_EQ(asked, 1);
    EXPECT_EQ(ownedRows(QStringLiteral("甲")), 0);
    EXPECT_EQ(ownedRows(QStringLiteral("乙")), otherRows);
    EXPECT_EQ(directory.ListLedgerNames(), QStringList { QStringLiteral("乙") });
}

TEST_F(LedgerAdminTest, DeclinedWrongOrFailedRemovalLeavesEverything)
{
    ASSERT_EQ(admin.createLedger(QStringLiteral("甲"), QStringLiteral("pw")),
        LedgerAdmin::CreateResult::Created);
    addEntryRows(QStringLiteral("甲"));
    const int rows = ownedRows(QStringLiteral("甲"));
    const QByteArray before = fileBytes(directory.filePath());

    EXPECT_EQ(admin.removeLedger(QStringLiteral("甲"), QStringLiteral("pw"), [] { return false; }),
        RemoveLedgerResult::Declined);
    EXPECT_EQ(admin.removeLedger(QStringLiteral("甲"), QStringLiteral("PW"), [] { return true; }),
        RemoveLedgerResult::NoMatch);

    // A failure in the third statement rolls the first two back and keeps the record.
    db.setStatementHook([](const QString &sql) {
        if (sql.contains(QStringLiteral("DELETE FROM 帳目分類")))
            throw DbError(QStringLiteral("database is locked"));
    });
    EXPECT_THROW(
        admin.removeLedger(QStringLiteral("甲"), QStringLiteral("pw"), [] { return true; }),
        DbError);
    db.setStatementHook({});

    EXPECT_EQ(ownedRows(QStringLiteral("甲")), rows);
    EXPECT_EQ(fileBytes(directory.filePath()), before);
}

TEST_F(LedgerAdminTest, DefaultDayPageNeedsExactlyOneRow)
{
    EXPECT_EQ(admin.defaultDayPage(QStringLiteral("無設定")), std::nullopt);
    db.exec(QStringLiteral("INSERT INTO 參數設定 VALUES ('預設單日記帳畫面', '1', '甲')"));
    EXPECT_EQ(admin.defaultDayPage(QStringLiteral("甲")), 1);
}

} // namespace
