#include "analysis/Year_Month_Unit.h"
#include "calendar/RM_Main_Unit.h"
#include "report/Report.h"
#include "statistics/Year_Unit.h"
#include "support/TestProgram.h"
#include "tools/PdfText.h"
#include "tools/XlsxReader.h"

#include <QChartView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <QValueAxis>
#include <gtest/gtest.h>

namespace {

const QString Ledger = QStringLiteral("小明");
const QColor Red(255, 0, 0), Blue(0, 0, 255);

class YearMonthScreenTest : public ::testing::Test
{
protected:
    void SetUp() override { t.loginAs(Ledger, 2009, 3); }

    TYear_Month_Form &form() { return *t->Year_Month_Form; }
    TRM_Main_Form &calendar() { return *t->RM_Main_Form; }

    // As the calendar's command opens it.
    void open(int year = 2009)
    {
        calendar().hide();
        form().openFromCalendar(year);
    }
    QString picture(int year) const
    {
        return t.dir() + QStringLiteral("/year_month%1.bmp").arg(year);
    }
    QString cell(int column, int row) { return form().cellLook(column, row).text; }
    QList<double> values(QLineSeries *series)
    {
        QList<double> out;
        for (const QPointF &p : series->points())
            out << p.y();
        return out;
    }
    QStringList categoryItems()
    {
        QStringList items;
        for (int i = 0; i < form().cbb2->count(); ++i)
            items << form().cbb2->itemText(i);
        return items;
    }
    void keep(const QString &name)
    {
        if (const QString dir = qEnvironmentVariable("QINGHE_TEST_ARTIFACTS"); !dir.isEmpty())
            form().grab().save(dir + QLatin1Char('/') + name);
    }
    // A year of data: income every month, one month (March) in the red.
    void addYear()
    {
        for (int m = 1; m <= 12; ++m) {
            t.addEntry(
                Ledger, QDate(2009, m, 10), true, 1, QStringLiteral("門市銷售"), 20000 + m * 1500);
            t.addEntry(
                Ledger, QDate(2009, m, 12), false, 2, QStringLiteral("商品進貨"), 9000 + m * 700);
        }
        t.addEntry(Ledger, QDate(2009, 3, 20), false, 3, QStringLiteral("租金"), 30000);
        t.addEntry(Ledger, QDate(2009, 7, 1), true, 4, QStringLiteral("個人收入"), 1234567);
    }

    TestProgram t;
};

} // namespace

TEST_F(YearMonthScreenTest, YearWithoutEntriesShowsZerosFlatLinesAndAPicture)
{
    open();
    EXPECT_TRUE(form().isVisible());
    EXPECT_FALSE(calendar().isVisible());
    EXPECT_EQ(form().windowTitle(), QStringLiteral("年度分析"));
    EXPECT_EQ(form().Y_Label->text(), QStringLiteral("2009"));
    EXPECT_EQ(form().cbb1->currentText(), QStringLiteral("收入/支出比較"));
    EXPECT_FALSE(form().cbb2->isVisible());
    keep(QStringLiteral("year-month-empty.png"));

    EXPECT_EQ(cell(1, 0), QStringLiteral("1月"));
    EXPECT_EQ(cell(12, 0), QStringLiteral("12月"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("收入"));
    EXPECT_EQ(cell(0, 2), QStringLiteral("支出"));
    EXPECT_EQ(cell(0, 3), QStringLiteral("結餘"));
    for (int row = 1; row <= 3; ++row)
        for (int m = 1; m <= 12; ++m)
            EXPECT_EQ(cell(m, row), QStringLiteral("0")) << row << "," << m;

    ASSERT_EQ(form().Series1->count(), 13);
    ASSERT_EQ(form().Series2->count(), 13);
    EXPECT_EQ(values(form().Series1), QList<double>(13, 0.0));
    EXPECT_EQ(values(form().Series2), QList<double>(13, 0.0));
    auto *axis = qobject_cast<QValueAxis *>(
        form().Chart1->chart()->axes(Qt::Vertical, form().Series1).value(0));
    ASSERT_NE(axis, nullptr);
    EXPECT_EQ(axis->min(), 0.0);

    QImage image(picture(2009));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), form().Chart1->size());
    EXPECT_TRUE(t.prompts().errors.isEmpty());
}

TEST_F(YearMonthScreenTest, AYearOfDataInTableChartAndColours)
{
    addYear();
    open();
    keep(QStringLiteral("year-month-screen.png"));

    // January: 21,500 in, 9,700 out. March: 24,500 in, 11,100 + 30,000 out.
    EXPECT_EQ(form().StringGrid1->item(1, 1)->text(), QStringLiteral("21500"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("21,500"));
    EXPECT_EQ(cell(1, 2), QStringLiteral("9,700"));
    EXPECT_EQ(cell(1, 3), QStringLiteral("11,800"));
    EXPECT_EQ(cell(3, 3), QStringLiteral("-16,600"));
    EXPECT_EQ(cell(7, 1), QStringLiteral("1,265,067"));
    EXPECT_EQ(values(form().Series1).value(0), 0.0);
    EXPECT_EQ(values(form().Series1).value(7), 1265067.0);
    EXPECT_EQ(values(form().Series2).value(3), 41100.0);

    // Balances: red below zero, blue otherwise; comparison mode leaves the other rows plain.
    EXPECT_EQ(form().cellLook(3, 3).textColor, Red);
    EXPECT_EQ(form().cellLook(1, 3).textColor, Blue);
    const QColor plain = form().StringGrid1->palette().color(QPalette::Text);
    EXPECT_EQ(form().cellLook(1, 1).textColor, plain);
    EXPECT_EQ(form().cellLook(1, 2).textColor, plain);
    EXPECT_EQ(form().cellLook(1, 1).fill, QColor(Qt::white));

    // Fixed cells raised; numbers right-aligned, names left, months centred.
    EXPECT_TRUE(form().cellLook(0, 1).raised);
    EXPECT_TRUE(form().cellLook(5, 0).raised);
    EXPECT_FALSE(form().cellLook(5, 1).raised);
    EXPECT_TRUE(form().cellLook(5, 1).alignment & Qt::AlignRight);
    EXPECT_TRUE(form().cellLook(0, 2).alignment & Qt::AlignLeft);
    EXPECT_TRUE(form().cellLook(5, 0).alignment & Qt::AlignHCenter);

    // A selected cell: highlight, with red text in the balance row.
    const QPalette palette = form().StringGrid1->palette();
    form().StringGrid1->setCurrentCell(3, 1);
    EXPECT_EQ(form().cellLook(1, 3).fill, palette.color(QPalette::Highlight));
    EXPECT_EQ(form().cellLook(1, 3).textColor, Red);
    form().StringGrid1->setCurrentCell(1, 4);
    EXPECT_EQ(form().cellLook(4, 1).textColor, palette.color(QPalette::HighlightedText));
    EXPECT_EQ(form().cellLook(1, 3).fill, QColor(Qt::white));
}

TEST_F(YearMonthScreenTest, IncomeModeShowsOneMainCategoryAndNoExpense)
{
    addYear();
    open();
    form().cbb1->setCurrentIndex(1); // 收入
    EXPECT_TRUE(form().cbb2->isVisible());
    EXPECT_EQ(categoryItems(),
        QStringList({ QStringLiteral("商品銷售"), QStringLiteral("投資"), QStringLiteral("其他"),
            QStringLiteral("個人收入") }));
    EXPECT_EQ(form().cbb2->currentIndex(), 0);
    EXPECT_EQ(cell(1, 1), QStringLiteral("21,500"));
    EXPECT_EQ(cell(7, 1), QStringLiteral("30,500")); // 個人收入 is not 商品銷售
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(cell(m, 2), QStringLiteral("0")) << m;
    EXPECT_EQ(values(form().Series2), QList<double>(13, 0.0));
    EXPECT_EQ(form().cellLook(1, 1).textColor, Blue);

    form().cbb2->setCurrentIndex(3); // 個人收入
    EXPECT_EQ(cell(7, 1), QStringLiteral("1,234,567"));
    EXPECT_EQ(cell(1, 1), QStringLiteral("0"));

    form().cbb1->setCurrentIndex(2); // 支出
    EXPECT_EQ(form().cbb2->currentText(), QStringLiteral("個人花費"));
    form().cbb2->setCurrentIndex(1); // 進貨
    EXPECT_EQ(cell(1, 2), QStringLiteral("9,700"));
    EXPECT_EQ(cell(1, 3), QStringLiteral("-9,700"));
    EXPECT_EQ(form().cellLook(1, 2).textColor, Red);
    EXPECT_EQ(form().cellLook(1, 3).textColor, Red);
    keep(QStringLiteral("year-month-expense.png"));

    form().cbb1->setCurrentIndex(0);
    EXPECT_FALSE(form().cbb2->isVisible());
    EXPECT_EQ(cell(3, 2), QStringLiteral("41,100"));
}

TEST_F(YearMonthScreenTest, ExpenseBoxNeverOffersNoSpendingAndEachCategoryShowsItsOwnSums)
{
    // 無花費 fifth: the category listed after it is number 6.
    t.db().exec(
        QStringLiteral("UPDATE 帳目分類 SET 帳目名稱 = CASE 帳目名稱 WHEN '無花費' THEN "
                       "'其他支出' ELSE '無花費' END WHERE 帳目擁有者 = ? AND 帳目類別 = '0' "
                       "AND 帳目屬性 IN ('5', '6') AND 帳目順序 % 100 = 0"),
        { Ledger });
    t.addEntry(Ledger, QDate(2009, 5, 5), false, 6, QStringLiteral("其他支出"), 600);
    t.addEntry(Ledger, QDate(2009, 5, 6), false, 5, QStringLiteral("無花費"), 0);
    open();
    form().cbb1->setCurrentIndex(2);
    EXPECT_EQ(categoryItems(),
        QStringList({ QStringLiteral("個人花費"), QStringLiteral("進貨"), QStringLiteral("管銷"),
            QStringLiteral("稅捐規費"), QStringLiteral("其他支出") }));
    form().cbb2->setCurrentIndex(4);
    EXPECT_EQ(cell(5, 2), QStringLiteral("600"));
    EXPECT_EQ(cell(5, 3), QStringLiteral("-600"));
}

TEST_F(YearMonthScreenTest, YearButtonsMoveTheCalendarsYearToo)
{
    t.addEntry(Ledger, QDate(2008, 2, 2), true, 2, QStringLiteral("投資"), 800);
    open();
    EXPECT_EQ(form().YSpeedButton1->toolTip(), QStringLiteral("上一年度"));
    QTest::mouseClick(form().YSpeedButton1, Qt::LeftButton);
    EXPECT_EQ(form().Y_Label->text(), QStringLiteral("2008"));
    EXPECT_EQ(calendar().Year_Label->value(), 2008);
    EXPECT_EQ(cell(2, 1), QStringLiteral("800"));
    EXPECT_TRUE(QFile::exists(picture(2008)));

    QTest::mouseClick(form().YSpeedButton2, Qt::LeftButton);
    EXPECT_EQ(form().Y_Label->text(), QStringLiteral("2009"));
    EXPECT_EQ(calendar().Year_Label->value(), 2009);
    EXPECT_EQ(cell(2, 1), QStringLiteral("0"));
}

TEST_F(YearMonthScreenTest, LeaveDeletesThePicturesCloseKeepsThem)
{
    open();
    ASSERT_TRUE(QFile::exists(picture(2009)));
    form().close();
    EXPECT_FALSE(form().isVisible());
    EXPECT_TRUE(calendar().isVisible());
    EXPECT_TRUE(QFile::exists(picture(2009)));

    open();
    QTest::mouseClick(form().YSpeedButton1, Qt::LeftButton);
    ASSERT_TRUE(QFile::exists(picture(2008)));
    QTest::mouseClick(form().BitBtn4, Qt::LeftButton);
    EXPECT_FALSE(form().isVisible());
    EXPECT_TRUE(calendar().isVisible());
    EXPECT_FALSE(QFile::exists(picture(2008)));
    EXPECT_FALSE(QFile::exists(picture(2009)));

    // Esc from a control leaves the same way.
    open(2009);
    ASSERT_TRUE(QFile::exists(picture(2009)));
    QTest::keyClick(form().cbb1, Qt::Key_Escape);
    EXPECT_FALSE(form().isVisible());
    EXPECT_TRUE(calendar().isVisible());
    EXPECT_FALSE(QFile::exists(picture(2009)));
}

TEST_F(YearMonthScreenTest, APictureThatCannotBeWrittenIsReportedOnceAndPrintingGoesOn)
{
    t.addEntry(Ledger, QDate(2009, 4, 4), true, 2, QStringLiteral("投資"), 4321);
    ASSERT_TRUE(QDir().mkpath(picture(2009))); // a folder where the picture should go
    open();
    ASSERT_EQ(t.prompts().errors.size(), 1);
    EXPECT_TRUE(t.prompts().errors[0].contains(picture(2009)));
    form().FormActivate(); // the message box gave the focus back
    EXPECT_EQ(t.prompts().errors.size(), 1);
    EXPECT_EQ(cell(4, 1), QStringLiteral("4,321"));

    const QString pdf = t.dir() + QStringLiteral("/no-chart.pdf");
    t.prompts().onPreview = [&](Report &report) { report.writePdf(pdf); };
    QTest::mouseClick(form().BitBtn2, Qt::LeftButton);
    EXPECT_TRUE(PdfText::text(pdf).contains(QStringLiteral("4,321")));
}

TEST_F(YearMonthScreenTest, AFailedReadIsShownOnceAndLeavesTheScreenUsable)
{
    t.addEntry(Ledger, QDate(2008, 1, 1), true, 2, QStringLiteral("投資"), 77);
    open(2008);
    EXPECT_EQ(cell(1, 1), QStringLiteral("77"));
    form().hide();
    t.db().setStatementHook([](const QString &sql) {
        if (sql.contains(QStringLiteral("記帳本")))
            throw DbError(QStringLiteral("磁碟錯誤"));
    });
    open(2009);
    EXPECT_EQ(t.prompts().errors, QStringList { QStringLiteral("磁碟錯誤") });
    form().FormActivate(); // the message box gave the focus back
    EXPECT_EQ(t.prompts().errors.size(), 1);
    EXPECT_EQ(cell(1, 1), QStringLiteral("0")); // not 2008's figures under 2009
    EXPECT_EQ(values(form().Series1), QList<double>(13, 0.0));

    t.db().setStatementHook({});
    t.addEntry(Ledger, QDate(2009, 1, 1), true, 2, QStringLiteral("投資"), 10);
    form().FormActivate();
    EXPECT_EQ(cell(1, 1), QStringLiteral("10"));
}

TEST_F(YearMonthScreenTest, OpensFromTheYearlyStatisticsAndGoesBackThere)
{
    t.addEntry(Ledger, QDate(2009, 8, 8), true, 2, QStringLiteral("投資"), 900);
    calendar().hide();
    t->Year_Form->openFromCalendar();
    ASSERT_TRUE(t->Year_Form->isVisible());
    t->Year_Form->BitBtn3->setEnabled(true);
    QTest::mouseClick(t->Year_Form->BitBtn3, Qt::LeftButton);
    EXPECT_TRUE(form().isVisible());
    EXPECT_FALSE(t->Year_Form->isVisible());
    EXPECT_EQ(form().Y_Label->text(), QStringLiteral("2009"));
    EXPECT_EQ(cell(8, 1), QStringLiteral("900"));

    QTest::mouseClick(form().YSpeedButton2, Qt::LeftButton);
    QTest::mouseClick(form().BitBtn1, Qt::LeftButton); // 年統計
    EXPECT_FALSE(form().isVisible());
    EXPECT_TRUE(t->Year_Form->isVisible());
    EXPECT_FALSE(calendar().isVisible());
    EXPECT_EQ(t->Year_Form->Y_Label->text(), QStringLiteral("2010"));
    EXPECT_TRUE(QFile::exists(picture(2010))); // only 離開 and Esc remove it
}

TEST_F(YearMonthScreenTest, ReportPrintsTheTwelveMonthsAndTheChart)
{
    addYear();
    open();
    const QString pdf = t.dir() + QStringLiteral("/analysis.pdf");
    int pictures = 0;
    t.prompts().onPreview = [&](Report &report) {
        if (ReportItem *item = report.item(QStringLiteral("Picture1")))
            pictures += item->picture.isNull() ? 0 : 1;
        report.writePdf(pdf);
    };
    QTest::mouseClick(form().BitBtn2, Qt::LeftButton);
    ASSERT_EQ(t.prompts().previews, 1);
    EXPECT_EQ(pictures, 1);
    PdfText::keep(pdf, QStringLiteral("year-month-report.pdf"));

    const QString text = PdfText::text(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("2009年度分析報表"))) << text.toStdString();
    for (const QString &head : { QStringLiteral("月份"), QStringLiteral("收入"),
             QStringLiteral("支出"), QStringLiteral("結餘") })
        EXPECT_TRUE(text.contains(head)) << head.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("製表人")));
    // Each month's line holds its three figures, in order.
    const QStringList lines = text.split(QLatin1Char('\n'));
    auto lineOf = [&](const QString &month) {
        for (const QString &line : lines)
            if (line.trimmed().startsWith(month + QLatin1Char(' ')))
                return line.simplified();
        return QString();
    };
    EXPECT_EQ(lineOf(QStringLiteral("1月")), QStringLiteral("1月 21,500 9,700 11,800"));
    EXPECT_EQ(lineOf(QStringLiteral("3月")), QStringLiteral("3月 24,500 41,100 -16,600"));
    EXPECT_EQ(lineOf(QStringLiteral("12月")), QStringLiteral("12月 38,000 17,400 20,600"));
    EXPECT_EQ(PdfText::pageCount(pdf), 1);
}

TEST_F(YearMonthScreenTest, ExportAsksFirstAndWritesTableAndChart)
{
    addYear();
    open();
    const QString path = t.dir() + QStringLiteral("/分析");

    // A cancelled dialog writes nothing.
    QTest::mouseClick(form().BitBtn3, Qt::LeftButton);
    ASSERT_EQ(t.prompts().saveRequests.size(), 1);
    EXPECT_TRUE(
        t.prompts().saveRequests[0].endsWith(QStringLiteral("/2009年度分析.xlsx|Excel檔 (*.xlsx)")))
        << t.prompts().saveRequests[0].toStdString();
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".xlsx")));

    t.prompts().savePaths.push_back(path);
    QTest::mouseClick(form().BitBtn3, Qt::LeftButton);
    ASSERT_TRUE(QFile::exists(path + QStringLiteral(".xlsx")));
    EXPECT_TRUE(t.prompts().errors.isEmpty());
    PdfText::keep(path + QStringLiteral(".xlsx"), QStringLiteral("year-month.xlsx"));

    const XlsxBook book(path + QStringLiteral(".xlsx"));
    ASSERT_TRUE(book.error().isEmpty()) << book.error().toStdString();
    const QString sheet = QStringLiteral("記帳本-年度分析表");
    ASSERT_TRUE(book.sheetNames().contains(sheet));
    EXPECT_EQ(book.text(sheet, QStringLiteral("A1")), QStringLiteral("小明 的分析表"));
    EXPECT_EQ(book.text(sheet, QStringLiteral("A3")), QStringLiteral("2009年度分析表"));
    EXPECT_TRUE(book.merged(sheet).contains(QStringLiteral("A1:F1")));
    EXPECT_TRUE(book.merged(sheet).contains(QStringLiteral("A3:F3")));
    const QJsonObject title = book.cell(sheet, QStringLiteral("A1"));
    EXPECT_EQ(title.value(QStringLiteral("font_color")).toString(), QStringLiteral("000080"));
    EXPECT_EQ(title.value(QStringLiteral("font_size")).toDouble(), 16.0);
    EXPECT_EQ(book.cell(sheet, QStringLiteral("A3")).value(QStringLiteral("font_color")).toString(),
        QStringLiteral("000080"));

    const QStringList heads = { QStringLiteral("月份"), QStringLiteral("收入"),
        QStringLiteral("支出"), QStringLiteral("結餘") };
    for (int c = 0; c < 4; ++c) {
        const QString ref = QString(QChar('A' + c)) + QStringLiteral("5");
        EXPECT_EQ(book.text(sheet, ref), heads[c]);
        EXPECT_EQ(book.cell(sheet, ref).value(QStringLiteral("fill")).toString(),
            QStringLiteral("B8CCE4"));
    }
    for (int m = 1; m <= 12; ++m) {
        const int row = m + 6;
        EXPECT_EQ(book.text(sheet, QStringLiteral("A%1").arg(row)), QStringLiteral("%1月").arg(m));
        const qint64 values[3]
            = { form().sums().income[m], form().sums().expense[m], form().sums().balance[m] };
        for (int c = 0; c < 3; ++c) {
            const QJsonObject number
                = book.cell(sheet, QString(QChar('B' + c)) + QString::number(row));
            EXPECT_EQ(number.value(QStringLiteral("value")).toDouble(), double(values[c]));
            EXPECT_EQ(
                number.value(QStringLiteral("number_format")).toString(), QStringLiteral("#,##0"));
        }
    }
    EXPECT_EQ(
        book.cell(sheet, QStringLiteral("D9")).value(QStringLiteral("value")).toDouble(), -16600.0);
    const QJsonArray images = book.images(sheet);
    ASSERT_EQ(images.size(), 1);
    EXPECT_EQ(
        images[0].toObject().value(QStringLiteral("anchor")).toString(), QStringLiteral("F5"));
}
