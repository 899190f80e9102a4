#include "report/Report.h"
#include "statistics/Month_Unit.h"
#include "statistics/StatisticsReport.h"
#include "statistics/Year_Unit.h"
#include "support/TestProgram.h"
#include "tools/PdfText.h"

#include <QComboBox>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
const QString Ledger = QStringLiteral("甲");

// March 2012: a deficit, so the balance row prints with a minus sign.
void addMarch(TestProgram &t)
{
    t.addEntry(Ledger, QDate(2012, 3, 5), true, 1, "門市銷售", 1200);
    t.addEntry(Ledger, QDate(2012, 3, 5), true, 2, "投資", 500);
    t.addEntry(Ledger, QDate(2012, 3, 4), false, 3, "租金", 9000);
    t.addEntry(Ledger, QDate(2012, 3, 2), false, 1, "餐飲", 300);
}

QStringList rowTexts(const QTreeWidget *list)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list->topLevelItem(i);
        rows << QStringList { item->text(0), item->text(1), item->text(2), item->text(3) }.join(
            QLatin1Char('|'));
    }
    return rows;
}

// Prints from a screen with the preview replaced by writing the report to a PDF file;
// remembers what the list showed while the report was being prepared.
struct Printed
{
    QString pdf;
    QStringList rowsDuringPreview;
    int pages = 0;
};

Printed print(TestProgram &t, StatisticsForm *form, const QString &pdf)
{
    Printed printed;
    printed.pdf = pdf;
    t.prompts().onPreview = [&](Report &report) {
        printed.pages = report.writePdf(pdf);
        printed.rowsDuringPreview = rowTexts(form->ListView1);
    };
    StatisticsReport::print(*form, t.program());
    t.prompts().onPreview = nullptr;
    PdfText::keep(pdf, QFileInfo(pdf).fileName());
    return printed;
}

// The text of a page with runs of blanks folded, so the columns read as "a b c".
QString pageText(const QString &pdf, int page)
{
    QString text = PdfText::text(pdf, page);
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    text.replace(blanks, QStringLiteral(" "));
    return text;
}

// Where pdftotext finds a word on the first page, in millimetres from the paper's corner.
std::optional<QRectF> wordBox(const QString &pdf, const QString &word)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"),
        { QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
            QStringLiteral("1"), pdf, QStringLiteral("-") });
    p.waitForFinished(60000);
    static const QRegularExpression pattern(
        QStringLiteral("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" "
                       "yMax=\"([0-9.]+)\">([^<]*)</word>"));
    const QString out = QString::fromUtf8(p.readAllStandardOutput());
    for (auto it = pattern.globalMatch(out); it.hasNext();) {
        const auto m = it.next();
        if (PdfText::withIdeographs(m.captured(5)) != word)
            continue;
        constexpr double mm = 25.4 / 72;
        return QRectF(QPointF(m.captured(1).toDouble() * mm, m.captured(2).toDouble() * mm),
            QPointF(m.captured(3).toDouble() * mm, m.captured(4).toDouble() * mm));
    }
    return std::nullopt;
}

// Strongly coloured pixels (the chart's bars) in the lower part of the first page, under the
// table of a short list.
int colouredPixelsBelowTable(const QString &pdf, const QString &pngBase)
{
    const QImage page(PdfText::renderPng(pdf, 1, pngBase, 40));
    if (page.isNull())
        return -1;
    int count = 0;
    for (int y = page.height() * 2 / 5; y < page.height() * 9 / 10; ++y)
        for (int x = 0; x < page.width(); ++x)
            if (page.pixelColor(x, y).hsvSaturation() > 120)
                ++count;
    return count;
}

struct ReportFixture
{
    TestProgram t;
    QTemporaryDir out;
    ReportFixture() { t.loginAs(Ledger, 2012, 3); }
};
} // namespace

TEST(StatisticsReport, MonthReportPrintsTheListWithBalanceTitleAndPageNumber)
{
    ReportFixture f;
    addMarch(f.t);
    TMonth_Form *month = f.t->Month_Form;
    month->openFromCalendar();
    ASSERT_TRUE(month->BitBtn1->isEnabled());
    const QStringList before = rowTexts(month->ListView1);

    const Printed printed = print(f.t, month, f.out.filePath(QStringLiteral("month.pdf")));
    EXPECT_EQ(f.t.prompts().previews, 1);
    EXPECT_EQ(printed.pages, 1);

    // While the report is prepared the list ends with the balance; afterwards it is as before.
    EXPECT_EQ(printed.rowsDuringPreview, before + QStringList { QStringLiteral("結餘|-7,600||") });
    EXPECT_EQ(rowTexts(month->ListView1), before);

    const QString text = pageText(printed.pdf, 1);
    for (const QString &expected : { QStringLiteral("製表人：甲"), QStringLiteral("3月統計報表"),
             QStringLiteral("收入 金額 支出 金額"), QStringLiteral("商品銷售 1,200 個人花費 300"),
             QStringLiteral("投資 500 管銷 9,000"), QStringLiteral("合計 1,700 合計 (9,300)"),
             QStringLiteral("結餘 -7,600") })
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n"
                                             << text.toStdString();
    // The page number stands alone at the foot of the page.
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList nonBlank;
    for (const QString &line : lines)
        if (!line.trimmed().isEmpty())
            nonBlank << line.trimmed();
    ASSERT_FALSE(nonBlank.isEmpty());
    EXPECT_EQ(nonBlank.last(), QStringLiteral("1"));

    // The picture of the chart is on the page under the figures.
    EXPECT_GT(colouredPixelsBelowTable(printed.pdf, f.out.filePath(QStringLiteral("month"))), 500);
}

TEST(StatisticsReport, WithoutTheChartPictureTheFiguresStillPrint)
{
    ReportFixture f;
    addMarch(f.t);
    TMonth_Form *month = f.t->Month_Form;
    month->openFromCalendar();
    ASSERT_TRUE(QFile::remove(month->chartPicturePath()));

    const Printed printed = print(f.t, month, f.out.filePath(QStringLiteral("nochart.pdf")));
    EXPECT_TRUE(f.t.prompts().errors.isEmpty());
    EXPECT_TRUE(pageText(printed.pdf, 1).contains(QStringLiteral("結餘 -7,600")));
    EXPECT_EQ(colouredPixelsBelowTable(printed.pdf, f.out.filePath(QStringLiteral("nochart"))), 0);
}

TEST(StatisticsReport, YearReportIsTitledWithTheYear)
{
    ReportFixture f;
    addMarch(f.t);
    f.t.addEntry(Ledger, QDate(2012, 11, 30), true, 4, "個人收入", 20000);
    TYear_Form *year = f.t->Year_Form;
    year->openFromCalendar();
    const Printed printed = print(f.t, year, f.out.filePath(QStringLiteral("year.pdf")));
    const QString text = pageText(printed.pdf, 1);
    EXPECT_TRUE(text.contains(QStringLiteral("2012年統計報表"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("結餘 12,400"))) << text.toStdString();
    EXPECT_FALSE(rowTexts(year->ListView1).join('\n').contains(QStringLiteral("結餘")));
}

TEST(StatisticsReport, ALongListRunsOntoFurtherPagesWithTheHeadingsRepeated)
{
    ReportFixture f;
    // Purchases under names that are no categories: each one its own extra line.
    for (int i = 1; i <= 80; ++i)
        f.t.addEntry(Ledger, QDate(2012, 3, 1 + i % 28), false, 2,
            QStringLiteral("貨品%1").arg(i, 2, 10, QLatin1Char('0')), 100 * i);
    TMonth_Form *month = f.t->Month_Form;
    month->openFromCalendar();
    month->JvComboBox1->setCurrentIndex(1);
    month->JvComboBox1Change();
    month->JvComboBox2->setCurrentIndex(1); // 進貨
    month->JvComboBox2Change();
    ASSERT_GT(month->ListView1->topLevelItemCount(), 80);

    const Printed printed = print(f.t, month, f.out.filePath(QStringLiteral("long.pdf")));
    ASSERT_GE(printed.pages, 2);
    EXPECT_EQ(PdfText::pageCount(printed.pdf), printed.pages);
    const QString first = pageText(printed.pdf, 1);
    const QString last = pageText(printed.pdf, printed.pages);
    EXPECT_TRUE(first.contains(QStringLiteral("貨品01 100")));
    EXPECT_FALSE(first.contains(QStringLiteral("貨品80")));
    EXPECT_TRUE(last.contains(QStringLiteral("收入 金額 支出 金額")));
    EXPECT_TRUE(last.contains(QStringLiteral("貨品80 8,000")));
    EXPECT_TRUE(last.contains(QStringLiteral("結餘 -324,000"))) << last.toStdString();
    EXPECT_EQ(
        last.trimmed().split(QLatin1Char('\n')).last().trimmed(), QString::number(printed.pages));
    // The title heads the first page only.
    EXPECT_TRUE(first.contains(QStringLiteral("3月統計報表")));
    EXPECT_FALSE(last.contains(QStringLiteral("3月統計報表")));
}

TEST(StatisticsReport, VariablesAnswerByNameInAnyCase)
{
    ReportFixture f;
    addMarch(f.t);
    TMonth_Form *month = f.t->Month_Form;
    month->openFromCalendar();
    const QTreeWidget &list = *month->ListView1;

    // Every row is one line ended by CR LF, blank rows included.
    const QString names = StatisticsReport::columnText(list, 0);
    EXPECT_EQ(names.count(QStringLiteral("\r\n")), list.topLevelItemCount());
    EXPECT_TRUE(names.endsWith(QStringLiteral("合計\r\n")));
    EXPECT_TRUE(names.contains(QStringLiteral("\r\n\r\n\r\n\r\n")));

    auto value = [&](const char *name) {
        return StatisticsReport::value(*month, Ledger, QString::fromLatin1(name));
    };
    EXPECT_EQ(value("cashin"), names);
    EXPECT_EQ(value("CASHOUTCASH"), StatisticsReport::columnText(list, 3));
    EXPECT_EQ(value("ReportTitle"), QStringLiteral("3月統計報表"));
    EXPECT_EQ(value("UserStr"), QStringLiteral("製表人：甲"));
    EXPECT_EQ(value("CashInStr"), QStringLiteral("收入"));
    EXPECT_EQ(value("CashOutStr"), QStringLiteral("支出"));
    EXPECT_EQ(value("CashInCashStr"), QStringLiteral("金額"));
    EXPECT_EQ(value("CashOutCashStr"), QStringLiteral("金額"));
    EXPECT_EQ(value("Unknown"), std::nullopt);
}

TEST(StatisticsReport, LongNamesPrintWholeAndTheRowsStayInLine)
{
    ReportFixture f;
    const QString longName = QStringLiteral("國際物流運輸暨倉儲管理服務費"); // 14 characters
    f.t.addEntry(Ledger, QDate(2012, 3, 3), false, 2, longName, 4321);
    f.t.addEntry(Ledger, QDate(2012, 3, 3), true, 1, "門市銷售", 9876);
    TMonth_Form *month = f.t->Month_Form;
    month->openFromCalendar();
    month->JvComboBox1->setCurrentIndex(1);
    month->JvComboBox1Change();
    month->JvComboBox2->setCurrentIndex(1); // 進貨
    month->JvComboBox2Change();

    const Printed printed = print(f.t, month, f.out.filePath(QStringLiteral("names.pdf")));
    const QString text = pageText(printed.pdf, 1);
    EXPECT_TRUE(
        text.contains(QStringLiteral("門市銷售 9,876 ") + longName + QStringLiteral(" 4,321")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("結餘 5,555"))) << text.toStdString();

    // The name stays within its column (10 mm margin + 100 to 141 mm), on the line of its sum.
    const auto name = wordBox(printed.pdf, longName);
    const auto amount = wordBox(printed.pdf, QStringLiteral("4,321"));
    ASSERT_TRUE(name && amount);
    EXPECT_GE(name->left(), 110.0);
    EXPECT_LE(name->right(), 151.0);
    EXPECT_NEAR(name->top(), amount->top(), 0.5);
}

TEST(StatisticsReport, AFailedPreviewIsReportedAndLeavesTheListAsItWas)
{
    ReportFixture f;
    addMarch(f.t);
    TMonth_Form *month = f.t->Month_Form;
    month->openFromCalendar();
    const QStringList before = rowTexts(month->ListView1);
    f.t.prompts().onPreview = [](Report &) { throw std::runtime_error("printer gone"); };
    month->BitBtn1->click();
    EXPECT_EQ(f.t.prompts().previews, 1);
    EXPECT_EQ(f.t.prompts().errors.size(), 1);
    EXPECT_EQ(rowTexts(month->ListView1), before);
}
