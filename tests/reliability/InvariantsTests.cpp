#include "store/Database.h"
#include "store/LedgerOps.h"
#include "support/Invariants.h"
#include "support/TestProgram.h"

#include <gtest/gtest.h>

namespace {
const QDate Day(2012, 3, 12);

struct Damage
{
    const char *what;
    const char *sql;
    const char *expected; // a piece of the violation text
};
} // namespace

TEST(Invariants, SoundDataHasNoViolations)
{
    TestProgram t;
    t.copyTemplate("甲");
    t.addEntry("甲", Day, true, 1, "門市銷售", 500);
    t.addEntry("甲", Day, false, 6, "無花費", 0);
    t.addEntry("乙", Day.addDays(1), false, 1, "餐飲", 80);
    const QStringList violations = checkInvariants(t.db());
    EXPECT_TRUE(violations.isEmpty()) << describeViolations(violations);
}

// Each kind of damage a writer could leave behind is reported.
TEST(Invariants, EachKindOfDamageIsReported)
{
    const Damage damages[] = {
        { "entries without a day row", "DELETE FROM 記帳本", "has entries but no day row" },
        { "wrong sums", "UPDATE 記帳本 SET 收入小計 = 1", "entries sum to 500/80" },
        { "day row without entries", "INSERT INTO 記帳本 VALUES ('2012-03-20', '甲', 0, 0)",
            "but no entries" },
        { "two day rows", "DROP INDEX 記帳本_使用者_日期; INSERT INTO 記帳本 SELECT * FROM 記帳本",
            "has 2 rows" },
        { "repeated serial", "UPDATE 單日記帳本 SET 序列號 = 2012031201", "used 2 times" },
        { "unknown main category", "UPDATE 單日記帳本 SET 帳目屬性 = '9' WHERE 帳目類型 = 1",
            "main category 9" },
        { "impossible date", "UPDATE 單日記帳本 SET 日期 = '2012-02-30' WHERE 帳目類型 = 1",
            "is not a calendar date" },
        { "roll-back copy left",
            "INSERT INTO 帳目分類 VALUES ('1', '1', '門市銷售', 101, '甲_BAK')",
            "roll-back copy \"甲_BAK\"" },
    };
    for (const Damage &damage : damages) {
        SCOPED_TRACE(damage.what);
        TestProgram t;
        t.copyTemplate("甲");
        t.addEntry("甲", Day, true, 1, "門市銷售", 500);
        t.addEntry("甲", Day, false, 1, "餐飲", 50);
        t.addEntry("甲", Day, false, 1, "交通", 30);
        for (const QString &statement : QString::fromUtf8(damage.sql).split("; "))
            t.db().exec(statement);
        const QStringList violations = checkInvariants(t.db());
        ASSERT_FALSE(violations.isEmpty());
        EXPECT_TRUE(violations.join("\n").contains(QString::fromUtf8(damage.expected)))
            << describeViolations(violations);
    }
}

TEST(Invariants, RollBackCopyIsAllowedWhileTheCategoryScreenIsOpen)
{
    TestProgram t;
    t.db().exec("INSERT INTO 帳目分類 SELECT 帳目類別, 帳目屬性, 帳目名稱, 帳目順序, '甲_BAK' "
                "FROM 帳目分類 WHERE 帳目擁有者 = 'DEFAULT'");
    EXPECT_TRUE(checkInvariants(t.db(), { .allowBackupCategories = true }).isEmpty());
    EXPECT_EQ(checkInvariants(t.db()).size(), 1);
}
