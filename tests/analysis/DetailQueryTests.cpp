#include "analysis/DetailQuery.h"
#include "support/TestProgram.h"

#include <gtest/gtest.h>

namespace {

const QString Ledger = QStringLiteral("小明's 帳");

class DetailQueryTest : public ::testing::Test
{
protected:
    void SetUp() override { t.loginAs(Ledger, 2009, 3); }

    DetailFilter month(bool income, int m = 3) const
    {
        DetailFilter f;
        f.ledger = Ledger;
        f.year = 2009;
        f.month = m;
        f.income = income;
        return f;
    }

    TestProgram t;
};

} // namespace

TEST_F(DetailQueryTest, PagesOfAHundredInSerialOrderWithCountAndTotal)
{
    // 250 income entries over March, added out of date order.
    for (int i = 0; i < 250; ++i)
        t.addEntry(Ledger, QDate(2009, 3, 31 - i % 31), true, 2, QStringLiteral("投資"), 10 + i);
    DetailQuery query(t.db());
    const DetailFilter f = month(true);
    EXPECT_EQ(query.count(f), 250);
    EXPECT_EQ(query.total(f), 250 * 10 + 249 * 250 / 2);

    const QList<DetailRow> all = query.all(f);
    ASSERT_EQ(all.size(), 250);
    for (int i = 1; i < all.size(); ++i)
        ASSERT_LT(all[i - 1].serial, all[i].serial);
    const QList<DetailRow> first = query.page(f, 1), third = query.page(f, 201);
    ASSERT_EQ(first.size(), 100);
    ASSERT_EQ(third.size(), 50);
    EXPECT_EQ(first.first().serial, all[0].serial);
    EXPECT_EQ(third.first().serial, all[200].serial);
    EXPECT_EQ(third.last().serial, all[249].serial);

    struct Case
    {
        int count, start;
        QString label;
        bool previous, next;
    };
    for (const Case &c : { Case { 250, 1, QStringLiteral("共有250筆，目前位置1/3頁"), false, true },
             Case { 250, 101, QStringLiteral("共有250筆，目前位置2/3頁"), true, true },
             Case { 250, 201, QStringLiteral("共有250筆，目前位置3/3頁"), true, false },
             Case { 100, 1, QStringLiteral("共有100筆，目前位置1/1頁"), false, false },
             Case { 0, 1, QStringLiteral("共有0筆，目前位置1/0頁"), false, false } }) {
        const DetailPage page = DetailPage::of(c.count, c.start);
        EXPECT_EQ(page.label(), c.label);
        EXPECT_EQ(page.previousEnabled, c.previous) << c.label.toStdString();
        EXPECT_EQ(page.nextEnabled, c.next) << c.label.toStdString();
    }
}

TEST_F(DetailQueryTest, FiltersByPeriodKindLedgerAndCategory)
{
    t.copyTemplate(QStringLiteral("別人"));
    t.addEntry(Ledger, QDate(2009, 3, 1), false, 1, QStringLiteral("餐飲"), 100);
    t.addEntry(Ledger, QDate(2009, 3, 31), false, 1, QStringLiteral("交通"), 200);
    t.addEntry(Ledger, QDate(2009, 3, 15), false, 3, QStringLiteral("租金"), 400);
    t.addEntry(Ledger, QDate(2009, 4, 1), false, 1, QStringLiteral("餐飲"), 800);
    t.addEntry(Ledger, QDate(2008, 3, 2), false, 1, QStringLiteral("餐飲"), 1600);
    t.addEntry(Ledger, QDate(2009, 3, 2), true, 1, QStringLiteral("門市銷售"), 3200);
    t.addEntry(QStringLiteral("別人"), QDate(2009, 3, 2), false, 1, QStringLiteral("餐飲"), 6400);

    DetailQuery query(t.db());
    struct Case
    {
        const char *what;
        DetailFilter filter;
        qint64 total;
    };
    DetailFilter year = month(false);
    year.month.reset();
    DetailFilter main1 = month(false);
    main1.mainNumber = 1;
    DetailFilter sub = main1;
    sub.entryName = QStringLiteral("交通");
    DetailFilter main3Year = year;
    main3Year.mainNumber = 3;
    for (const Case &c : { Case { "month, expense", month(false), 700 },
             Case { "month, income", month(true), 3200 }, Case { "year", year, 1500 },
             Case { "main category", main1, 300 }, Case { "subcategory", sub, 200 },
             Case { "main category over the year", main3Year, 400 } }) {
        qint64 sum = 0;
        for (const DetailRow &r : query.all(c.filter))
            sum += r.amount;
        EXPECT_EQ(sum, c.total) << c.what;
        EXPECT_EQ(query.total(c.filter), c.total) << c.what;
        EXPECT_EQ(query.count(c.filter), int(query.all(c.filter).size())) << c.what;
    }
}

TEST_F(DetailQueryTest, DisplayTextsFollowTheMainCategory)
{
    t.copyTemplate(QStringLiteral("別人")); // a second copy of every main category row
    t.addEntry(Ledger, QDate(2009, 3, 5), true, 1, QStringLiteral("門市銷售"), 1234,
        QStringLiteral("現金"));
    t.addEntry(Ledger, QDate(2009, 3, 15), true, 2, QStringLiteral("投資"), 5);
    t.addEntry(Ledger, QDate(2009, 3, 6), false, 3, QStringLiteral("租金"), 7);
    t.addEntry(Ledger, QDate(2009, 3, 7), false, 4, QStringLiteral("稅捐規費"), 8);
    t.addEntry(Ledger, QDate(2009, 3, 8), false, 6, QStringLiteral("無花費"), 0);

    DetailQuery query(t.db());
    const QList<DetailRow> income = query.all(month(true));
    ASSERT_EQ(income.size(), 2); // each entry once, however many ledgers share the categories
    EXPECT_EQ(income[0].timeText(), QStringLiteral("3/5"));
    EXPECT_EQ(income[0].categoryText(), QStringLiteral("商品銷售-門市銷售"));
    EXPECT_EQ(income[0].amountText(), QStringLiteral("1,234"));
    EXPECT_EQ(income[0].note, QStringLiteral("現金"));
    EXPECT_EQ(income[1].timeText(), QStringLiteral("3/15"));
    EXPECT_EQ(income[1].categoryText(), QStringLiteral("投資"));

    const QList<DetailRow> expense = query.all(month(false));
    ASSERT_EQ(expense.size(), 3);
    EXPECT_EQ(expense[0].categoryText(), QStringLiteral("管銷\u3000\u3000-租金"));
    EXPECT_EQ(expense[1].categoryText(), QStringLiteral("稅捐規費"));
    EXPECT_EQ(expense[2].categoryText(), QStringLiteral("無花費"));
}

TEST_F(DetailQueryTest, PeriodsThatDoNotExistListNothing)
{
    t.addEntry(Ledger, QDate(2009, 3, 5), true, 2, QStringLiteral("投資"), 5);
    DetailQuery query(t.db());
    for (auto [year, m] : { std::pair { 2009, 0 }, std::pair { 2009, 13 }, std::pair { 0, 3 } }) {
        DetailFilter f = month(true, m);
        f.year = year;
        EXPECT_EQ(query.count(f), 0);
        EXPECT_EQ(query.total(f), 0);
        EXPECT_TRUE(query.all(f).isEmpty());
    }
}
