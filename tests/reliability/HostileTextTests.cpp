#include "HostileText.h"
#include "ledgers/Big5.h"
#include "ledgers/LedgerDirectory.h"
#include "recurring/RecurringPlan.h"
#include "store/Database.h"
#include "store/LedgerOps.h"
#include "support/Invariants.h"
#include "support/TestProgram.h"

#include <gtest/gtest.h>

namespace {
const QDate Day(2012, 3, 5);
} // namespace

// Entry names, notes, category names and ledger names go in and come back unchanged.
TEST(HostileText, StoredAndReadBackUnchangedInTheData)
{
    TestProgram t;
    Database &db = t.db();
    t.copyTemplate("旁人");
    t.addEntry("旁人", Day, false, 1, "餐飲", 70, "不相干");
    QStringList texts = hostileTexts();
    texts << longNote();
    for (const QString &text : texts) {
        SCOPED_TRACE(text.left(40).toStdString());
        const QString ledger = "帳" + text;
        t.copyTemplate(ledger);
        t.addEntry(ledger, Day, false, 1, text, 12, text);
        t.addEntry(ledger, Day, true, 2, "投資", 34, text);
        EXPECT_EQ(column(db,
                      "SELECT 帳目名稱 || '|' || 說明 FROM 單日記帳本 WHERE 使用者 = ? "
                      "ORDER BY 帳目類型",
                      { ledger }),
            QStringList({ text + "|" + text, "投資|" + text }));
        EXPECT_EQ(column(db, "SELECT 收入小計 || '/' || 支出小計 FROM 記帳本 WHERE 使用者 = ?",
                      { ledger }),
            QStringList { "34/12" });

        RecurringPosting posting;
        posting.income = false;
        posting.mainNumber = 3;
        posting.entryName = text;
        posting.amountText = "9";
        posting.note = text;
        posting.start = QDate(2013, 1, 10);
        posting.end = QDate(2013, 3, 10);
        RecurringPlan plan(db, ledger);
        plan.post(posting);
        const QList<RecurringItem> items = plan.items();
        ASSERT_EQ(items.size(), 1);
        // The entry name box drops surrounding blanks, as every name field does.
        EXPECT_EQ(items.first().entryName, text.trimmed());
        EXPECT_EQ(items.first().note, text);
        EXPECT_EQ(plan.change(items.first(), "10", text + "'"), 3);
        EXPECT_EQ(plan.remove(plan.items().first()), 3);

        db.exec("INSERT INTO 帳目分類 VALUES ('0', '1', ?, 110, ?)", { text, ledger });
        EXPECT_EQ(GetCategoryNameList(db, ledger, "0", 1).last(), text);
        EXPECT_EQ(GetCategoryNameList(db, ledger, "0").size(), 6);
    }
    EXPECT_EQ(
        column(db, "SELECT 說明 FROM 單日記帳本 WHERE 使用者 = '旁人'"), QStringList { "不相干" });
    EXPECT_EQ(GetCategoryNameList(db, "旁人", "0", 1).size(), 9);
    expectDataSound(db);
}

// The ledger list file stores what Big5 can hold and refuses the rest with a message.
TEST(HostileText, LedgerNamesInTheLedgerList)
{
    TempDataDir dir;
    LedgerDirectory directory(dir.file("UserInfo"));
    QStringList stored;
    for (const QString &text : hostileTexts()) {
        SCOPED_TRACE(text.toStdString());
        const QString name = "帳" + text;
        if (!toBig5(name)) {
            try {
                directory.AddLedger(name, text);
                ADD_FAILURE() << "a name Big5 cannot hold was stored";
            } catch (const LedgerError &e) {
                EXPECT_TRUE(e.message().contains("無法")) << e.message().toStdString();
            }
            continue;
        }
        ASSERT_EQ(directory.AddLedger(name, text), AddLedgerResult::Added);
        stored << name;
        EXPECT_TRUE(directory.FindLedger(name).found);
        EXPECT_TRUE(directory.CheckLedgerPassword(name, text).matches);
        EXPECT_FALSE(directory.CheckLedgerPassword(name, text + "x").matches);
    }
    EXPECT_EQ(directory.ListLedgerNames(), stored);
    EXPECT_EQ(directory.AddLedger("帳" + hostileTexts().first(), ""), AddLedgerResult::Duplicate);
}
