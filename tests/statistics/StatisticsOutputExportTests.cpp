#include "report/Report.h"
#include "statistics/CategoryExport.h"
#include "statistics/CategoryExportBook.h"
#include "statistics/Month_Unit.h"
#include "statistics/Year_Unit.h"
#include "support/TestProgram.h"
#include "tools/XlsxReader.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString Ledger = QStringLiteral("甲");
const QString Ideo = QStringLiteral("\u3000");

// March 2012 of ledger 甲: sales and an investment, two identical lunches, rent, the day
// screen's "no spending" marker on both sides, and entries that belong elsewhere.
void addMarch(TestProgram &t)
{
    t.addEntry(Ledger, QDate(2012, 3, 5), true, 1, "門市銷售", 1200, "現金");
    t.addEntry(Ledger, QDate(2012, 3, 5), true, 2, "投資", 500, "股利");
    t.addEntry(Ledger, QDate(2012, 3, 7), true, 3, "無花費", 40);
    t.addEntry(Ledger, QDate(2012, 3, 4), false, 3, "租金", 9000);
    t.addEntry(Ledger, QDate(2012, 3, 2), false, 1, "餐飲", 150, "午餐");
    t.addEntry(Ledger, QDate(2012, 3, 2), false, 1, "餐飲", 150, "午餐");
    t.addEntry(Ledger, QDate(2012, 3, 6), false, 1, "無花費", 30);
    t.addEntry(Ledger, QDate(2012, 4, 1), false, 1, "交通", 70);
    t.addEntry(QStringLiteral("乙"), QDate(2012, 3, 5), false, 1, "餐飲", 999);
}

QStringList lineTexts(const ExportSheetData &data)
{
    QStringList out;
    for (const ExportLine &line : data.lines)
        out << QStringList { line.timeText(), line.categoryText(),
            line.amount ? QString::number(*line.amount) : QStringLiteral("-"), line.note }
                   .join(QLatin1Char('|'));
    return out;
}

QStringList rowTexts(const XlsxBook &book, const QString &sheet, int fromRow, int toRow)
{
    QStringList out;
    for (int row = fromRow; row <= toRow; ++row) {
        QStringList cells;
        for (const char *column : { "A", "B", "C", "D" })
            cells << book.text(sheet, QString::fromLatin1(column) + QString::number(row));
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

struct ExportFixture
{
    TestProgram t;
    QTemporaryDir out;
    ExportFixture() { t.loginAs(Ledger, 2012, 3); }
    QString path(const QString &name) const { return out.filePath(name); }
    ExportPeriod march() const { return { Ledger, 2012, 3 }; }
};
} // namespace

TEST(CategoryExport, MonthKeepsEveryEntryInDateAndCategoryOrder)
{
    ExportFixture f;
    addMarch(f.t);
    CategoryExport query(f.t.db());

    const ExportSheetData income = query.sheet(f.march(), true);
    EXPECT_EQ(lineTexts(income),
        QStringList(
            { "3/5|商品銷售－門市銷售|1200|現金", "3/5|投資" + Ideo + Ideo + "－投資|500|股利",
                "3/7|其他" + Ideo + Ideo + "－無花費|40|" }));
    EXPECT_EQ(income.total(), 1740);

    // The two identical lunches are two lines and both count; the marker stays out.
    const ExportSheetData expense = query.sheet(f.march(), false);
    EXPECT_EQ(lineTexts(expense),
        QStringList({ "3/2|個人花費－餐飲|150|午餐", "3/2|個人花費－餐飲|150|午餐",
            "3/4|管銷" + Ideo + Ideo + "－租金|9000|" }));
    EXPECT_EQ(expense.total(), 9300);
}

TEST(CategoryExport, YearListsByEntrySerialAndKeepsDuplicates)
{
    ExportFixture f;
    addMarch(f.t);
    f.t.addEntry(Ledger, QDate(2012, 1, 9), false, 2, "商品進貨", 2500, "首批");
    f.t.addEntry(Ledger, QDate(2011, 12, 31), false, 2, "商品進貨", 1);
    const ExportSheetData expense = CategoryExport(f.t.db()).sheet({ Ledger, 2012, {} }, false);
    EXPECT_EQ(lineTexts(expense),
        QStringList({ "1/9|進貨" + Ideo + Ideo + "－商品進貨|2500|首批",
            "3/2|個人花費－餐飲|150|午餐", "3/2|個人花費－餐飲|150|午餐",
            "3/4|管銷" + Ideo + Ideo + "－租金|9000|", "4/1|個人花費－交通|70|" }));
    EXPECT_EQ(expense.total(), 11870);
}

TEST(CategoryExport, EntriesWithoutAMainCategoryOrAmountStillAppear)
{
    ExportFixture f;
    // No main category 9 exists: the line shows the entry's own name and still counts.
    f.t.addEntry(Ledger, QDate(2012, 3, 8), false, 9, "舊分類", 300);
    f.t.db().exec(QStringLiteral("INSERT INTO 單日記帳本 (日期, 使用者, 帳目類型, 帳目屬性, "
                                 "帳目名稱, 金額, 說明, 序列號) VALUES (?, ?, 0, '1', '交通', "
                                 "NULL, '', 2012030901)"),
        { dbDate(QDate(2012, 3, 9)), Ledger });
    const ExportSheetData expense = CategoryExport(f.t.db()).sheet(f.march(), false);
    EXPECT_EQ(lineTexts(expense), QStringList({ "3/8|舊分類|300|", "3/9|個人花費－交通|-|" }));
    EXPECT_EQ(expense.total(), 300);
}

TEST(CategoryExport, NamesAndPeriodTexts)
{
    const ExportPeriod month { Ledger, 2008, 3 };
    const ExportPeriod year { Ledger, 2008, {} };
    EXPECT_EQ(month.suggestedFileName(), QStringLiteral("2008年3月份分類明細.xlsx"));
    EXPECT_EQ(year.suggestedFileName(), QStringLiteral("2008年度分類明細.xlsx"));
    EXPECT_EQ(month.text(), QStringLiteral("2008年3月明細"));
    EXPECT_EQ(year.text(), QStringLiteral("2008年度明細"));
    EXPECT_EQ(CategoryExport::fileFilter(), QStringLiteral("Excel檔 (*.xlsx)"));
}

TEST(CategoryExportBook, MonthWorkbookReadsBackAsASpreadsheetShowsIt)
{
    ExportFixture f;
    addMarch(f.t);
    const QString path = f.path(QStringLiteral("march"));
    f.t.prompts().savePaths.push_back(path); // without extension: .xlsx is added
    ASSERT_TRUE(CategoryExportBook::run(f.t.db(), f.t.prompts(), f.march()));

    ASSERT_EQ(f.t.prompts().saveRequests.size(), 1);
    const QStringList request = f.t.prompts().saveRequests.first().split(QLatin1Char('|'));
    EXPECT_TRUE(request.value(1).endsWith(QStringLiteral("/2012年3月份分類明細.xlsx")));
    EXPECT_EQ(request.value(2), QStringLiteral("Excel檔 (*.xlsx)"));
    EXPECT_EQ(f.t.prompts().warnings, QStringList { QStringLiteral("匯出成功!!") });

    const XlsxBook book(path + QStringLiteral(".xlsx"));
    ASSERT_TRUE(book.error().isEmpty()) << book.error().toStdString();
    EXPECT_EQ(book.sheetNames(), QStringList({ "收入", "支出" }));

    for (const QString sheet : { QStringLiteral("收入"), QStringLiteral("支出") }) {
        SCOPED_TRACE(sheet.toStdString());
        EXPECT_EQ(book.merged(sheet), QStringList { QStringLiteral("G1:I1") });
        const QJsonObject product = book.cell(sheet, QStringLiteral("G1"));
        EXPECT_EQ(product.value("value").toString(), QStringLiteral("青禾理財簿"));
        EXPECT_EQ(product.value("font_color").toString(), QStringLiteral("808080"));
        EXPECT_EQ(product.value("font_size").toDouble(), 12);
        EXPECT_EQ(product.value("h_align").toString(), QStringLiteral("center"));
        EXPECT_EQ(product.value("v_align").toString(), QStringLiteral("center"));
        EXPECT_EQ(rowTexts(book, sheet, 1, 3),
            QStringList(
                { "使用者：|甲||", "資料期間：|2012年3月明細||", "帳目類型：|" + sheet + "||" }));
        EXPECT_EQ(
            rowTexts(book, sheet, 4, 6), QStringList({ "|||", "|||", "時間|分類|金額|說明" }));
        for (const char *head : { "A6", "B6", "C6", "D6" }) {
            const QJsonObject cell = book.cell(sheet, QString::fromLatin1(head));
            EXPECT_EQ(cell.value("h_align").toString(), QStringLiteral("center")) << head;
            EXPECT_EQ(cell.value("bottom").toString(), QStringLiteral("medium")) << head;
        }
    }
    EXPECT_EQ(book.cell("收入", "B3").value("font_color").toString(), QStringLiteral("0000FF"));
    EXPECT_EQ(book.cell("支出", "B3").value("font_color").toString(), QStringLiteral("FF0000"));

    EXPECT_EQ(rowTexts(book, "收入", 7, 10),
        QStringList(
            { "3/5|商品銷售－門市銷售|1200|現金", "3/5|投資" + Ideo + Ideo + "－投資|500|股利",
                "3/7|其他" + Ideo + Ideo + "－無花費|40|", "合計：||1740|" }));
    EXPECT_EQ(rowTexts(book, "支出", 7, 11),
        QStringList({ "3/2|個人花費－餐飲|150|午餐", "3/2|個人花費－餐飲|150|午餐",
            "3/4|管銷" + Ideo + Ideo + "－租金|9000|", "合計：||9300|", "|||" }));

    // Dates stay text; amounts are numbers shown with digit grouping.
    EXPECT_EQ(book.cell("收入", "A7").value("type").toString(), QStringLiteral("text"));
    for (const char *ref : { "C7", "C8", "C9", "C10" }) {
        const QJsonObject cell = book.cell("支出", QString::fromLatin1(ref));
        EXPECT_EQ(cell.value("type").toString(), QStringLiteral("number")) << ref;
        EXPECT_EQ(cell.value("number_format").toString(), QStringLiteral("#,##0")) << ref;
    }
    EXPECT_EQ(book.cell("支出", "C10").value("h_align").toString(), QStringLiteral("right"));

    // The last entry line closes with a border; lines above it and the total have none.
    for (const char *ref : { "A9", "B9", "C9", "D9" })
        EXPECT_EQ(book.cell("支出", QString::fromLatin1(ref)).value("bottom").toString(),
            QStringLiteral("medium"))
            << ref;
    for (const char *ref : { "A8", "D8", "A10", "C10" })
        EXPECT_NE(book.cell("支出", QString::fromLatin1(ref)).value("bottom").toString(),
            QStringLiteral("medium"))
            << ref;
}

TEST(CategoryExportBook, ASideWithoutEntriesGetsNoSheet)
{
    ExportFixture f;
    f.t.addEntry(Ledger, QDate(2012, 3, 2), false, 1, "餐飲", 150);
    f.t.addEntry(Ledger, QDate(2012, 3, 3), true, 1, "無花費", 0);
    f.t.db().exec(QStringLiteral("DELETE FROM 單日記帳本 WHERE 帳目類型 = 1"));
    const QString path = f.path(QStringLiteral("only-expense.xlsx"));
    f.t.prompts().savePaths.push_back(path);
    ASSERT_TRUE(CategoryExportBook::run(f.t.db(), f.t.prompts(), f.march()));
    const XlsxBook book(path);
    ASSERT_TRUE(book.error().isEmpty()) << book.error().toStdString();
    EXPECT_EQ(book.sheetNames(), QStringList { QStringLiteral("支出") });
}

TEST(CategoryExportBook, NothingIsWrittenWhenTheExportCannotBeDone)
{
    struct Case
    {
        const char *what;
        bool withEntries;
        const char *saveTo; // relative to the output folder; empty: the user cancels
        const char *tempFolder;
        QStringList warnings, alerts;
        bool reportsError;
    };
    const Case cases[] = {
        { "no entries in the period", false, "book.xlsx", "", { "本期間沒有資料可匯出" }, {},
            false },
        { "cancelled", true, "", "", {}, {}, false },
        { "workbook cannot be created", true, "book.xlsx", "/proc/qinghe-no-such-folder", {},
            { "啟動警告: 無法建立試算表檔案" }, false },
        { "folder does not exist", true, "missing/book.xlsx", "", {}, {}, true },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ExportFixture f;
        if (c.withEntries)
            addMarch(f.t);
        if (*c.saveTo)
            f.t.prompts().savePaths.push_back(f.path(QString::fromUtf8(c.saveTo)));
        EXPECT_FALSE(CategoryExportBook::run(
            f.t.db(), f.t.prompts(), f.march(), QString::fromUtf8(c.tempFolder)));
        EXPECT_EQ(f.t.prompts().warnings, c.warnings);
        EXPECT_EQ(f.t.prompts().alerts, c.alerts);
        EXPECT_EQ(!f.t.prompts().errors.isEmpty(), c.reportsError);
        EXPECT_TRUE(QDir(f.out.path()).entryList(QDir::Files | QDir::NoDotAndDotDot).isEmpty());
        EXPECT_FALSE(QFile::exists(f.path(QStringLiteral("missing"))));
    }
}

TEST(StatisticsScreens, PrintAndExportButtonsOfBothScreens)
{
    ExportFixture f;
    addMarch(f.t);
    TMonth_Form *month = f.t->Month_Form;
    TYear_Form *year = f.t->Year_Form;

    month->openFromCalendar();
    QStringList printed;
    f.t.prompts().onPreview = [&](Report &report) {
        printed << report.expand(QStringLiteral("[ReportTitle]|[CashIn]"), -1);
    };
    month->BitBtn1->click();
    ASSERT_EQ(printed.size(), 1);
    EXPECT_TRUE(printed[0].startsWith(QStringLiteral("3月統計報表|")));
    EXPECT_TRUE(printed[0].endsWith(QStringLiteral("合計\r\n結餘\r\n")));

    const QString monthPath = f.path(QStringLiteral("month.xlsx"));
    f.t.prompts().savePaths.push_back(monthPath);
    month->BitBtn2->click();
    EXPECT_TRUE(f.t.prompts().saveRequests.value(0).contains(
        QStringLiteral("/2012年3月份分類明細.xlsx|Excel檔 (*.xlsx)")));
    const XlsxBook monthBook(monthPath);
    ASSERT_TRUE(monthBook.error().isEmpty()) << monthBook.error().toStdString();
    EXPECT_EQ(monthBook.text("支出", "B2"), QStringLiteral("2012年3月明細"));
    month->BitBtn3Click();

    year->openFromCalendar();
    year->BitBtn1->click();
    ASSERT_EQ(printed.size(), 2);
    EXPECT_TRUE(printed[1].startsWith(QStringLiteral("2012年統計報表|")));

    const QString yearPath = f.path(QStringLiteral("year.xlsx"));
    f.t.prompts().savePaths.push_back(yearPath);
    year->BitBtn2->click();
    EXPECT_TRUE(f.t.prompts().saveRequests.value(1).contains(
        QStringLiteral("/2012年度分類明細.xlsx|Excel檔 (*.xlsx)")));
    const XlsxBook yearBook(yearPath);
    ASSERT_TRUE(yearBook.error().isEmpty()) << yearBook.error().toStdString();
    EXPECT_EQ(yearBook.sheetNames(), QStringList({ "收入", "支出" }));
    EXPECT_EQ(yearBook.text("支出", "B2"), QStringLiteral("2012年度明細"));
    // The two identical lunches are two lines in the year as well; April is counted.
    EXPECT_EQ(rowTexts(yearBook, "支出", 7, 11),
        QStringList({ "3/2|個人花費－餐飲|150|午餐", "3/2|個人花費－餐飲|150|午餐",
            "3/4|管銷" + Ideo + Ideo + "－租金|9000|", "4/1|個人花費－交通|70|",
            "合計：||9370|" }));
    EXPECT_EQ(f.t.prompts().warnings,
        QStringList({ QStringLiteral("匯出成功!!"), QStringLiteral("匯出成功!!") }));
    EXPECT_TRUE(f.t.prompts().errors.isEmpty()) << f.t.prompts().errors.join('\n').toStdString();
}
