#include "statistics/CategorySummary.h"
#include "store/Amount.h"
#include "support/TestProgram.h"

#include <gtest/gtest.h>

namespace {
const QString Ledger = QStringLiteral("甲");

// A few months of mixed entries for 甲, and a neighbour ledger whose entries must never mix in.
void addFixture(TestProgram &t)
{
    t.copyTemplate(Ledger);
    t.copyTemplate("乙");
    struct E
    {
        int m, d;
        bool income;
        int attr;
        const char *name;
        qint64 amount;
    };
    const E entries[] = {
        { 3, 1, true, 1, "門市銷售", 1000 },
        { 3, 5, true, 1, "門市銷售", 2500 },
        { 3, 7, true, 1, "網路銷售", 800 },
        { 3, 10, true, 2, "投資", 300 },
        { 3, 25, true, 4, "個人收入", 5000 },
        { 3, 1, false, 1, "餐飲", 120 },
        { 3, 2, false, 1, "餐飲", 80 },
        { 3, 3, false, 1, "交通", 50 },
        { 3, 4, false, 2, "商品進貨", 1500 },
        { 3, 6, false, 2, "原料", 700 },
        { 3, 1, false, 3, "租金", 12000 },
        { 3, 15, false, 3, "水電瓦斯", 900 },
        { 3, 20, false, 4, "稅捐規費", 400 },
        { 3, 31, false, 6, "無花費", 0 },
        // The month's neighbours: outside March, inside the year.
        { 2, 29, true, 1, "批發銷售", 3000 },
        { 4, 1, false, 3, "薪資", 20000 },
        { 4, 2, true, 3, "其他", 150 },
        { 12, 31, false, 1, "餐飲", 60 },
    };
    for (const E &e : entries) {
        t.addEntry(
            Ledger, QDate(2012, e.m, e.d), e.income, e.attr, QString::fromUtf8(e.name), e.amount);
    }
    // Outside the year, and another ledger in the same month.
    t.addEntry(Ledger, QDate(2011, 12, 31), true, 2, "投資", 7777);
    t.addEntry(Ledger, QDate(2013, 1, 1), false, 1, "餐飲", 8888);
    t.addEntry("乙", QDate(2012, 3, 10), true, 2, "投資", 99999);
    t.addEntry("乙", QDate(2012, 3, 10), false, 3, "租金", 55555);
}

SummaryInput input(int viewMode, const QString &group, bool monthly)
{
    SummaryInput in;
    in.year = 2012;
    if (monthly)
        in.month = 3;
    in.ledger = Ledger;
    in.viewMode = viewMode;
    in.attrFilter = CategorySummary::attrFilterFor(viewMode);
    in.groupText = group;
    return in;
}

// Independent sums: what a bookkeeper would add up by hand, straight from the entries.
qint64 sqlSum(Database &db, bool monthly, const QString &where, const QVariantList &params = {})
{
    const QString from = monthly ? "2012-03-01" : "2012-01-01";
    const QString until = monthly ? "2012-04-01" : "2013-01-01";
    QVariantList all { Ledger, from, until };
    all << params;
    return db
        .scalar("SELECT IFNULL(SUM(金額), 0) FROM 單日記帳本 WHERE 使用者 = ? AND 日期 >= ? "
                "AND 日期 < ? AND 帳目名稱 <> '無花費' AND "
                + where,
            all)
        .toLongLong();
}

QStringList names(const QList<SummaryLine> &lines, bool withAmountOnly = true)
{
    QStringList out;
    for (const SummaryLine &line : lines) {
        if (line.hasAmount || !withAmountOnly)
            out << line.name;
    }
    return out;
}

struct ModeCase
{
    int viewMode;
    const char *group;
    bool monthly;
    QStringList income; // lines with a sum, listed then extra
    QStringList expense;
    QStringList chart;
};

const QStringList MonthIncomeMain { "商品銷售", "投資", "個人收入" };
const QStringList MonthExpenseMain { "個人花費", "進貨", "管銷", "稅捐規費" };
const QStringList YearIncomeMain { "商品銷售", "投資", "其他", "個人收入" };
const QStringList YearExpenseMain { "個人花費", "進貨", "管銷", "稅捐規費" };

const ModeCase ModeCases[] = {
    { 0, "公司/個人比較", true, MonthIncomeMain, MonthExpenseMain, MonthIncomeMain },
    { 2, "公司/個人比較", true, MonthIncomeMain, MonthExpenseMain, MonthExpenseMain },
    { 1, "商品銷售", true, { "門市銷售", "網路銷售" }, { "商品進貨", "原料" },
        { "門市銷售", "網路銷售" } },
    { 3, "進貨", true, { "門市銷售", "網路銷售" }, { "商品進貨", "原料" }, { "商品進貨", "原料" } },
    { 4, "管銷", true, { "商品銷售", "投資", "個人收入" }, { "租金", "水電瓦斯" },
        { "租金", "水電瓦斯" } },
    { 5, "個人花費", true, { "商品銷售", "投資", "個人收入" }, { "餐飲", "交通" },
        { "餐飲", "交通" } },
    { 0, "公司/個人比較", false, YearIncomeMain, YearExpenseMain, YearIncomeMain },
    { 2, "公司/個人比較", false, YearIncomeMain, YearExpenseMain, YearExpenseMain },
    { 1, "商品銷售", false, { "門市銷售", "網路銷售", "批發銷售" }, { "商品進貨", "原料" },
        { "門市銷售", "網路銷售", "批發銷售" } },
    { 3, "進貨", false, { "門市銷售", "網路銷售", "批發銷售" }, { "商品進貨", "原料" },
        { "商品進貨", "原料" } },
    { 4, "管銷", false, { "商品銷售", "投資", "其他", "個人收入" }, { "租金", "薪資", "水電瓦斯" },
        { "租金", "薪資", "水電瓦斯" } },
    { 5, "個人花費", false, { "商品銷售", "投資", "其他", "個人收入" }, { "餐飲", "交通" },
        { "餐飲", "交通" } },
};

// The condition that selects a line's entries in each view mode.
std::pair<QString, QVariantList> lineFilter(int viewMode, bool income, const SummaryLine &line)
{
    const int type = income ? 1 : 0;
    if (viewMode == 0 || viewMode == 2 || (income && viewMode >= 4))
        return { "帳目類型 = ? AND 帳目屬性 = ?", { type, line.attr } };
    return { "帳目類型 = ? AND 帳目屬性 = ? AND 帳目名稱 = ?", { type, line.attr, line.name } };
}

std::pair<QString, QVariantList> totalFilter(int viewMode, bool income)
{
    const int type = income ? 1 : 0;
    switch (viewMode) {
    case 1:
    case 3:
        return { "帳目類型 = ? AND 帳目屬性 = ?", { type, income ? "1" : "2" } };
    case 4:
    case 5:
        if (income)
            return { "帳目類型 = 1", {} };
        return { "帳目類型 = 0 AND 帳目屬性 = ?", { viewMode == 4 ? "3" : "1" } };
    default:
        return { "帳目類型 = ?", { type } };
    }
}
} // namespace

TEST(CategorySummary, EveryViewModeSumsLikeTheEntriesMonthlyAndYearly)
{
    TestProgram t;
    addFixture(t);
    Database &db = t.db();
    for (const ModeCase &c : ModeCases) {
        SCOPED_TRACE(QStringLiteral("view mode %1 %2")
                         .arg(c.viewMode)
                         .arg(c.monthly ? "月" : "年")
                         .toStdString());
        const SummaryResult r = CategorySummary(db).run(input(c.viewMode, c.group, c.monthly));
        ASSERT_TRUE(r.hasEntries);
        EXPECT_EQ(names(r.incomeLines) + names(r.extraIncomeLines), c.income);
        EXPECT_EQ(names(r.expenseLines) + names(r.extraExpenseLines), c.expense);

        for (const bool income : { true, false }) {
            const auto &listed = income ? r.incomeLines : r.expenseLines;
            const auto &extra = income ? r.extraIncomeLines : r.extraExpenseLines;
            for (const SummaryLine &line : listed + extra) {
                if (!line.hasAmount)
                    continue;
                const auto [where, params] = lineFilter(c.viewMode, income, line);
                EXPECT_EQ(line.amount, sqlSum(db, c.monthly, where, params))
                    << line.name.toStdString();
            }
            const auto [where, params] = totalFilter(c.viewMode, income);
            EXPECT_EQ(
                income ? r.incomeTotal : r.expenseTotal, sqlSum(db, c.monthly, where, params));
        }

        QStringList chartLabels;
        for (const ChartPoint &p : r.chartPoints)
            chartLabels << p.label;
        EXPECT_EQ(chartLabels, c.chart);

        // The list: the lines side by side, four blank rows, the total row.
        ASSERT_GE(r.rows.size(), 5);
        const qsizetype lines = std::max(c.income.size(), c.expense.size());
        ASSERT_EQ(r.rows.size(), lines + 5);
        for (qsizetype i = 0; i < lines; ++i) {
            EXPECT_EQ(r.rows[i].incomeName, c.income.value(i));
            EXPECT_EQ(r.rows[i].expenseName, c.expense.value(i));
        }
        for (qsizetype i = lines; i < lines + 4; ++i)
            EXPECT_EQ(r.rows[i], SummaryRow {});
        EXPECT_EQ(r.rows.last(),
            (SummaryRow { "合計", formatAmount(r.incomeTotal), "合計",
                "(" + formatAmount(r.expenseTotal) + ")" }));
    }
}

TEST(CategorySummary, MarchByMainCategoryReadsAsABookkeeperExpects)
{
    TestProgram t;
    addFixture(t);
    const SummaryResult r = CategorySummary(t.db()).run(input(2, "公司/個人比較", true));
    const QList<SummaryRow> expected {
        { "商品銷售", "4,300", "個人花費", "250" },
        { "投資", "300", "進貨", "2,200" },
        { "個人收入", "5,000", "管銷", "12,900" },
        { "", "", "稅捐規費", "400" },
        {},
        {},
        {},
        {},
        { "合計", "9,600", "合計", "(15,750)" },
    };
    EXPECT_EQ(r.rows, expected);
    EXPECT_EQ(r.balance(), 9600 - 15750);
    const QList<ChartPoint> bars { { 250, "個人花費" }, { 2200, "進貨" }, { 12900, "管銷" },
        { 400, "稅捐規費" } };
    EXPECT_EQ(r.chartPoints, bars);
}

TEST(CategorySummary, APeriodWithoutCountedEntriesGivesNothing)
{
    TestProgram t;
    t.copyTemplate(Ledger);
    // The no-spending marker is never counted, whatever amount it carries.
    t.addEntry(Ledger, QDate(2012, 5, 3), false, 6, "無花費", 0);
    t.addEntry(Ledger, QDate(2012, 5, 4), false, 6, "無花費", 50);
    for (const int mode : { 0, 1, 2, 3, 4, 5 }) {
        SummaryInput in = input(mode, "公司/個人比較", true);
        in.month = 5;
        const SummaryResult r = CategorySummary(t.db()).run(in);
        EXPECT_FALSE(r.hasEntries);
        EXPECT_TRUE(r.rows.isEmpty());
        EXPECT_TRUE(r.chartPoints.isEmpty());
        EXPECT_EQ(r.incomeTotal, 0);
        EXPECT_EQ(r.expenseTotal, 0);
    }
}

TEST(CategorySummary, NoSpendingMarkerAmongOtherEntriesIsLeftOut)
{
    TestProgram t;
    t.copyTemplate(Ledger);
    t.addEntry(Ledger, QDate(2012, 3, 3), false, 6, "無花費", 70);
    t.addEntry(Ledger, QDate(2012, 3, 4), false, 5, "其他支出", 30);
    const SummaryResult r = CategorySummary(t.db()).run(input(2, "公司/個人比較", true));
    EXPECT_EQ(r.expenseTotal, 30);
    EXPECT_EQ(names(r.expenseLines) + names(r.extraExpenseLines), QStringList { "其他支出" });
}

namespace {
void addCategory(TestProgram &t, const QString &kind, int attr, const QString &name, int code)
{
    t.db().exec("INSERT INTO 帳目分類 (帳目類別, 帳目屬性, 帳目名稱, 帳目順序, 帳目擁有者) "
                "VALUES (?, ?, ?, ?, ?)",
        { kind, QString::number(attr), name, code, Ledger });
}
} // namespace

TEST(CategorySummary, SameNameOnBothSidesMakesTwoLines)
{
    TestProgram t;
    t.copyTemplate(Ledger);
    addCategory(t, "1", 1, "包材", 104); // a sales subcategory named like a purchase one
    t.addEntry(Ledger, QDate(2012, 3, 3), true, 1, "包材", 100);
    t.addEntry(Ledger, QDate(2012, 3, 3), false, 2, "包材", 40);
    const SummaryResult r = CategorySummary(t.db()).run(input(1, "商品銷售", true));
    ASSERT_EQ(r.rows.size(), 6);
    EXPECT_EQ(r.rows[0], (SummaryRow { "包材", "100", "包材", "40" }));
    EXPECT_EQ(r.balance(), 60);
}

TEST(CategorySummary, EqualNamesUnderDifferentAttributesStayApart)
{
    // Sorted by attribute and name, a sales entry named 投資 arrives right before the
    // investment entries of the same name; each still counts under its own attribute.
    TestProgram t;
    t.copyTemplate(Ledger);
    addCategory(t, "1", 1, "投資", 104);
    t.addEntry(Ledger, QDate(2012, 3, 3), true, 1, "投資", 100);
    t.addEntry(Ledger, QDate(2012, 3, 4), true, 2, "投資", 300);
    t.addEntry(Ledger, QDate(2012, 3, 5), false, 3, "租金", 50);
    const SummaryResult r = CategorySummary(t.db()).run(input(4, "管銷", true));
    ASSERT_EQ(r.extraIncomeLines.size(), 2);
    EXPECT_EQ(r.extraIncomeLines[0].name, "商品銷售");
    EXPECT_EQ(r.extraIncomeLines[0].amount, 100);
    EXPECT_EQ(r.extraIncomeLines[1].name, "投資");
    EXPECT_EQ(r.extraIncomeLines[1].amount, 300);
    EXPECT_EQ(r.incomeTotal, 400);
}

TEST(CategorySummary, EntriesOfRemovedCategoriesStillCountAsExtraLines)
{
    TestProgram t;
    t.copyTemplate(Ledger);
    t.addEntry(Ledger, QDate(2012, 3, 3), true, 1, "門市銷售", 500);
    t.addEntry(Ledger, QDate(2012, 3, 3), true, 1, "舊通路", 200);
    t.addEntry(Ledger, QDate(2012, 3, 4), false, 2, "舊原料", 90);
    t.addEntry(Ledger, QDate(2012, 3, 4), false, 2, "原料", 10);
    const SummaryResult r = CategorySummary(t.db()).run(input(3, "進貨", true));
    // Listed categories first, then the extra lines.
    ASSERT_EQ(r.rows.size(), 7);
    EXPECT_EQ(r.rows[0], (SummaryRow { "門市銷售", "500", "原料", "10" }));
    EXPECT_EQ(r.rows[1], (SummaryRow { "舊通路", "200", "舊原料", "90" }));
    EXPECT_EQ(r.incomeTotal, 700);
    EXPECT_EQ(r.expenseTotal, 100);
    // The chart of the purchases side shows the extra purchase line too.
    const QList<ChartPoint> bars { { 10, "原料" }, { 90, "舊原料" } };
    EXPECT_EQ(r.chartPoints, bars);
}

TEST(CategorySummary, EntryWithoutAMainCategoryStillCountsByMainCategory)
{
    TestProgram t;
    t.copyTemplate(Ledger);
    t.addEntry(Ledger, QDate(2012, 3, 3), false, 7, "特別支出", 250);
    t.addEntry(Ledger, QDate(2012, 3, 3), false, 4, "稅捐規費", 50);
    const SummaryResult r = CategorySummary(t.db()).run(input(2, "公司/個人比較", true));
    EXPECT_EQ(names(r.expenseLines), QStringList { "稅捐規費" });
    ASSERT_EQ(r.extraExpenseLines.size(), 1);
    EXPECT_EQ(r.extraExpenseLines[0].name, "特別支出");
    EXPECT_EQ(r.expenseTotal, 300);
}

TEST(CategorySummary, IncomeByAttributeNamesKeepsUnknownAttributesByName)
{
    TestProgram t;
    t.copyTemplate(Ledger);
    t.addEntry(Ledger, QDate(2012, 3, 1), true, 4, "個人收入", 40);
    t.addEntry(Ledger, QDate(2012, 3, 2), true, 1, "網路銷售", 20);
    t.addEntry(Ledger, QDate(2012, 3, 3), true, 1, "門市銷售", 10);
    t.addEntry(Ledger, QDate(2012, 3, 4), true, 7, "神秘收入", 5);
    t.addEntry(Ledger, QDate(2012, 3, 5), false, 1, "餐飲", 1);
    const SummaryResult r = CategorySummary(t.db()).run(input(5, "個人花費", true));
    QList<std::pair<QString, qint64>> income;
    for (const SummaryLine &line : r.extraIncomeLines)
        income.append({ line.name, line.amount });
    // One line per attribute, in the order the attributes first occur.
    const QList<std::pair<QString, qint64>> expected { { "商品銷售", 30 }, { "個人收入", 40 },
        { "神秘收入", 5 } };
    EXPECT_EQ(income, expected);
    EXPECT_TRUE(r.incomeLines.isEmpty());
    EXPECT_EQ(r.incomeTotal, 75);
}

TEST(CategorySummary, ChartMenuModeWithAttributeGroupMatchesMainCategoriesByAttributeName)
{
    TestProgram t;
    t.copyTemplate(Ledger);
    t.db().exec("UPDATE 帳目分類 SET 帳目名稱 = '投資理財' WHERE 帳目擁有者 = ? AND "
                "帳目類別 = '1' AND 帳目順序 = 200",
        { Ledger });
    t.addEntry(Ledger, QDate(2012, 3, 1), true, 1, "門市銷售", 10);
    t.addEntry(Ledger, QDate(2012, 3, 2), true, 2, "投資", 20);
    SummaryInput in = input(0, "管銷", true);
    in.attrFilter = 3;
    const SummaryResult r = CategorySummary(t.db()).run(in);
    EXPECT_EQ(names(r.incomeLines), QStringList { "商品銷售" });
    ASSERT_EQ(r.extraIncomeLines.size(), 1);
    EXPECT_EQ(r.extraIncomeLines[0].name, "投資");
    EXPECT_EQ(r.incomeTotal, 30);
}

TEST(CategorySummary, NamesWithQuotesAndOtherLedgersAreHandledSafely)
{
    TestProgram t;
    const QString odd = "O'Neil's";
    t.copyTemplate(odd);
    t.addEntry(odd, QDate(2012, 3, 1), false, 5, "其他支出", 10);
    t.addEntry("O", QDate(2012, 3, 1), false, 5, "其他支出", 999);
    SummaryInput in = input(2, "公司/個人比較", false);
    in.ledger = odd;
    const SummaryResult r = CategorySummary(t.db()).run(in);
    EXPECT_EQ(r.expenseTotal, 10);
}

TEST(CategorySummary, SelectorsAndStatusFollowTheGroup)
{
    EXPECT_EQ(CategorySummary::groupItems("收入"), (QStringList { "公司/個人比較", "商品銷售" }));
    EXPECT_EQ(CategorySummary::groupItems("支出"),
        (QStringList { "公司/個人比較", "進貨", "管銷", "個人花費" }));
    const int modes[2][4] = { { 0, 1, -1, -1 }, { 2, 3, 4, 5 } };
    const int filters[6] = { 1, 1, 1, 2, 3, 1 };
    for (int i = 0; i < 4; ++i) {
        if (i < 2) {
            EXPECT_EQ(CategorySummary::viewModeFor("收入", i), modes[0][i]);
        }
        EXPECT_EQ(CategorySummary::viewModeFor("支出", i), modes[1][i]);
    }
    for (int mode = 0; mode < 6; ++mode)
        EXPECT_EQ(CategorySummary::attrFilterFor(mode), filters[mode]);

    struct Case
    {
        const char *group;
        const char *caption;
        bool balance;
        const char *note;
    };
    const Case cases[] = {
        { "公司/個人比較", "結餘：", true, "" },
        { "商品銷售", "毛利：", true, "毛利 = 商品銷售 - 進貨" },
        { "進貨", "毛利：", true, "毛利 = 商品銷售 - 進貨" },
        { "管銷", "", false, "管銷 = 公司營運的各項費用" },
        { "個人花費", "", false, "" },
    };
    for (const Case &c : cases) {
        const SummaryStatus s = CategorySummary::status(c.group, 1000, 2500);
        EXPECT_EQ(s.caption, c.caption) << c.group;
        EXPECT_EQ(s.showsBalance, c.balance) << c.group;
        EXPECT_EQ(s.note, c.note) << c.group;
        if (c.balance) {
            EXPECT_EQ(s.balanceText, "-1,500");
            EXPECT_TRUE(s.negative);
        }
    }
    EXPECT_FALSE(CategorySummary::status("公司/個人比較", 5, 5).negative);
}

TEST(CategorySummary, PictureFileNamesHoldAnyLedgerName)
{
    EXPECT_EQ(CategorySummary::pictureFileName("month", "甲"), "month甲.bmp");
    EXPECT_EQ(CategorySummary::pictureFileName("month", "a/b\\c:d*e?f\"g<h>i|j"),
        "montha_b_c_d_e_f_g_h_i_j.bmp");
    EXPECT_EQ(CategorySummary::pictureFileName("year", "2012"), "year2012.bmp");
}
