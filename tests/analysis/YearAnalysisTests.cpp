#include "analysis/YearAnalysis.h"
#include "store/Database.h"
#include "support/TestProgram.h"

#include <gtest/gtest.h>

namespace {

const QString Ledger = QStringLiteral("小明");

class YearAnalysisTest : public ::testing::Test
{
protected:
    void SetUp() override { t.loginAs(Ledger, 2009, 3); }

    void income(const QDate &date, int main, qint64 amount, const QString &ledger = Ledger)
    {
        t.addEntry(ledger, date, true, main, QStringLiteral("項目"), amount);
    }
    void expense(const QDate &date, int main, qint64 amount, const QString &ledger = Ledger)
    {
        t.addEntry(ledger, date, false, main, QStringLiteral("項目"), amount);
    }

    TestProgram t;
    YearAnalysis analysis { t.db() };
};

} // namespace

TEST_F(YearAnalysisTest, YearWithoutEntriesGivesZerosEverywhere)
{
    income(QDate(2008, 12, 31), 1, 100);
    income(QDate(2010, 1, 1), 1, 100);
    EXPECT_EQ(analysis.comparison(Ledger, 2009), YearSums {});
    EXPECT_EQ(analysis.category(Ledger, 2009, true, 1), YearSums {});
    EXPECT_EQ(analysis.comparison(Ledger, 0), YearSums {});
}

TEST_F(YearAnalysisTest, ComparisonSumsTheDayTotalsOfEachMonth)
{
    income(QDate(2009, 1, 1), 1, 1000);
    expense(QDate(2009, 1, 31), 2, 300);
    income(QDate(2009, 3, 5), 2, 200);
    expense(QDate(2009, 3, 5), 1, 1700);
    expense(QDate(2009, 12, 31), 6, 0); // a day recorded without spending
    income(QDate(2009, 12, 31), 4, 50);
    // Other years and other ledgers stay out.
    income(QDate(2008, 1, 15), 1, 9999);
    income(QDate(2010, 12, 1), 1, 9999);
    t.copyTemplate(QStringLiteral("小華"));
    income(QDate(2009, 1, 15), 1, 9999, QStringLiteral("小華"));

    const YearSums sums = analysis.comparison(Ledger, 2009);
    EXPECT_EQ(sums.income[0], 0);
    EXPECT_EQ(sums.income[1], 1000);
    EXPECT_EQ(sums.expense[1], 300);
    EXPECT_EQ(sums.balance[1], 700);
    EXPECT_EQ(sums.income[3], 200);
    EXPECT_EQ(sums.expense[3], 1700);
    EXPECT_EQ(sums.balance[3], -1500);
    EXPECT_EQ(sums.income[12], 50);
    EXPECT_EQ(sums.balance[12], 50);
    for (int m : { 2, 4, 5, 6, 7, 8, 9, 10, 11 })
        EXPECT_EQ(sums.income[m] + sums.expense[m] + sums.balance[m], 0) << m;
}

TEST_F(YearAnalysisTest, ComparisonReadsTheDayTotalsNotTheEntries)
{
    income(QDate(2009, 2, 3), 1, 400);
    // A day whose totals row went missing shows no totals, as on the calendar.
    t.db().exec(QStringLiteral("DELETE FROM 記帳本 WHERE 使用者 = ?"), { Ledger });
    EXPECT_EQ(analysis.comparison(Ledger, 2009).income[2], 0);
}

TEST_F(YearAnalysisTest, CategoryModeSumsOneMainCategoryOfOneKind)
{
    income(QDate(2009, 4, 1), 1, 100);
    income(QDate(2009, 4, 30), 1, 250);
    income(QDate(2009, 4, 2), 2, 7000); // another main category
    expense(QDate(2009, 4, 3), 1, 8000); // same number, other kind
    income(QDate(2009, 11, 11), 1, 5);

    const YearSums incomeSums = analysis.category(Ledger, 2009, true, 1);
    EXPECT_EQ(incomeSums.income[4], 350);
    EXPECT_EQ(incomeSums.balance[4], 350);
    EXPECT_EQ(incomeSums.income[11], 5);
    EXPECT_EQ(incomeSums.expense, (std::array<qint64, 13> {}));

    const YearSums expenseSums = analysis.sums(Ledger, 2009, YearAnalysis::Mode::Expense, 1);
    EXPECT_EQ(expenseSums.expense[4], 8000);
    EXPECT_EQ(expenseSums.balance[4], -8000);
    EXPECT_EQ(expenseSums.income, (std::array<qint64, 13> {}));
}

TEST_F(YearAnalysisTest, LedgerNamesAreValuesNotStatementText)
{
    const QString odd = QStringLiteral("O'Brien\"; DROP TABLE 記帳本; --");
    t.copyTemplate(odd);
    income(QDate(2009, 6, 6), 2, 321, odd);
    EXPECT_EQ(analysis.comparison(odd, 2009).income[6], 321);
    EXPECT_EQ(analysis.category(odd, 2009, true, 2).income[6], 321);
    EXPECT_EQ(analysis.comparison(Ledger, 2009).income[6], 0);
}

TEST_F(YearAnalysisTest, MainCategoriesLeaveOutNoSpendingAndKeepTheirOwnNumbers)
{
    QStringList names;
    QList<int> numbers;
    for (const AnalysisCategory &c : analysis.mainCategories(Ledger, true)) {
        names << c.name;
        numbers << c.number;
    }
    EXPECT_EQ(names,
        QStringList({ QStringLiteral("商品銷售"), QStringLiteral("投資"), QStringLiteral("其他"),
            QStringLiteral("個人收入") }));
    EXPECT_EQ(numbers, QList<int>({ 1, 2, 3, 4 }));

    // 無花費 fifth of six: the category after it keeps its own number 6.
    t.db().exec(
        QStringLiteral("UPDATE 帳目分類 SET 帳目名稱 = CASE 帳目名稱 WHEN '無花費' THEN "
                       "'其他支出' ELSE '無花費' END WHERE 帳目擁有者 = ? AND 帳目類別 = '0' "
                       "AND 帳目屬性 IN ('5', '6') AND 帳目順序 % 100 = 0"),
        { Ledger });
    const QList<AnalysisCategory> expense = analysis.mainCategories(Ledger, false);
    ASSERT_EQ(expense.size(), 5);
    for (const AnalysisCategory &c : expense)
        EXPECT_NE(c.name, QStringLiteral("無花費"));
    EXPECT_EQ(expense[4], (AnalysisCategory { QStringLiteral("其他支出"), 6 }));
}

TEST(YearAnalysisNames, PictureAndModes)
{
    EXPECT_EQ(YearAnalysis::pictureFileName(2009), QStringLiteral("year_month2009.bmp"));
    EXPECT_EQ(YearAnalysis::modeNames(),
        QStringList(
            { QStringLiteral("收入/支出比較"), QStringLiteral("收入"), QStringLiteral("支出") }));
}
