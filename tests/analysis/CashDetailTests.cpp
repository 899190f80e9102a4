#include "analysis/CashDetail_Unit.h"
#include "calendar/RM_Main_Unit.h"
#include "report/Report.h"
#include "statistics/Month_Unit.h"
#include "statistics/Year_Unit.h"
#include "store/Database.h"
#include "support/TestProgram.h"
#include "tools/PdfText.h"
#include "tools/XlsxReader.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

namespace {

const QString Ledger = QStringLiteral("小明");

class CashDetailTest : public ::testing::Test
{
protected:
    void SetUp() override { t.loginAs(Ledger, 2009, 3); }

    TCashDetail_Form &form() { return *t->CashDetail_Form; }

    // n income entries of main category 2 in March 2009, notes 備註001…
    void addIncome(int n, qint64 amount = 10)
    {
        for (int i = 1; i <= n; ++i)
            t.addEntry(Ledger, QDate(2009, 3, 1 + (i - 1) / 10), true, 2, QStringLiteral("投資"),
                amount, QStringLiteral("備註%1").arg(i, 3, 10, QLatin1Char('0')));
    }

    void click(QPushButton *button) { QTest::mouseClick(button, Qt::LeftButton); }
    QString text(int row, int column)
    {
        const QTableWidgetItem *item = form().lv1->item(row, column);
        return item ? item->text() : QStringLiteral("(no cell)");
    }
    QColor totalColor() { return form().JvLabel4->palette().color(QPalette::WindowText); }

    TestProgram t;
};

} // namespace

TEST_F(CashDetailTest, PagesThroughTwoHundredFiftyRows)
{
    addIncome(250);
    t->Month_Form->show();
    form().openFrom(QStringLiteral("Month_Form"));
    EXPECT_TRUE(form().isVisible());
    EXPECT_FALSE(t->Month_Form->isVisible());
    EXPECT_EQ(form().windowTitle(), QStringLiteral("明細清單"));
    EXPECT_EQ(form().JvLabel1->text(), QStringLiteral("月明細"));
    EXPECT_EQ(form().cbb1->currentText(), QStringLiteral("3"));

    EXPECT_EQ(form().jvlbl1->text(), QStringLiteral("共有250筆，目前位置1/3頁"));
    EXPECT_FALSE(form().btn_up->isEnabled());
    EXPECT_TRUE(form().btn_down->isEnabled());
    EXPECT_EQ(form().lv1->rowCount(), 100);
    EXPECT_EQ(form().JvLabel4->text(), QStringLiteral("2,500"));

    if (const QString keep = qEnvironmentVariable("QINGHE_TEST_ARTIFACTS"); !keep.isEmpty())
        form().grab().save(keep + QStringLiteral("/detail-screen.png"));

    click(form().btn_down);
    click(form().btn_down);
    EXPECT_EQ(form().jvlbl1->text(), QStringLiteral("共有250筆，目前位置3/3頁"));
    EXPECT_EQ(form().lv1->rowCount(), 50);
    EXPECT_TRUE(form().btn_up->isEnabled());
    EXPECT_FALSE(form().btn_down->isEnabled());
    EXPECT_EQ(text(49, 3), QStringLiteral("備註250"));

    // Another filter starts again at the first page.
    form().cbb2->setCurrentIndex(2); // 投資
    EXPECT_EQ(form().jvlbl1->text(), QStringLiteral("共有250筆，目前位置1/3頁"));
    EXPECT_EQ(text(0, 3), QStringLiteral("備註001"));
}

TEST_F(CashDetailTest, EmptyOrImpossiblePeriodsListNothing)
{
    t->DefaultDayPage = 1;
    form().openFrom(QStringLiteral("Month_Form"));
    EXPECT_EQ(form().kindIndex(), 1);
    EXPECT_EQ(form().jvlbl1->text(), QStringLiteral("共有0筆，目前位置1/0頁"));
    EXPECT_FALSE(form().btn_up->isEnabled());
    EXPECT_FALSE(form().btn_down->isEnabled());
    EXPECT_EQ(form().JvLabel4->text(), QStringLiteral("0"));

    addIncome(3);
    form().setKindIndex(0);
    for (const QString &typed : { QString(), QStringLiteral("13"), QStringLiteral("0") }) {
        form().cbb1->setEditText(typed);
        EXPECT_EQ(form().jvlbl1->text(), QStringLiteral("共有0筆，目前位置1/0頁"))
            << typed.toStdString();
        EXPECT_EQ(form().lv1->rowCount(), 0);
    }
    QTest::keyClicks(form().cbb1->lineEdit(), QStringLiteral("x3"));
    EXPECT_EQ(form().cbb1->currentText(), QStringLiteral("03"));
    EXPECT_EQ(form().lv1->rowCount(), 3);
}

TEST_F(CashDetailTest, TotalsAreBlueForIncomeAndRedWithMinusForExpense)
{
    t.addEntry(Ledger, QDate(2009, 3, 5), false, 4, QStringLiteral("稅捐規費"), 1234);
    t.addEntry(Ledger, QDate(2009, 3, 6), true, 4, QStringLiteral("個人收入"), 1234);
    form().openFrom(QStringLiteral("Month_Form"));
    EXPECT_EQ(form().JvLabel4->text(), QStringLiteral("1,234"));
    EXPECT_EQ(totalColor(), QColor(0, 0, 255));
    form().setKindIndex(1);
    EXPECT_EQ(form().JvLabel4->text(), QStringLiteral("-1,234"));
    EXPECT_EQ(totalColor(), QColor(255, 0, 0));
}

TEST_F(CashDetailTest, CategoryFiltersAndTheSubcategoryBox)
{
    t.addEntry(Ledger, QDate(2009, 3, 1), false, 1, QStringLiteral("餐飲"), 100);
    t.addEntry(Ledger, QDate(2009, 3, 2), false, 1, QStringLiteral("交通"), 200);
    t.addEntry(Ledger, QDate(2009, 3, 3), false, 2, QStringLiteral("原料"), 400);
    t.addEntry(Ledger, QDate(2009, 3, 4), false, 2, QStringLiteral("包材"), 800);
    t.addEntry(Ledger, QDate(2009, 3, 5), false, 5, QStringLiteral("其他支出"), 1600);
    t->DefaultDayPage = 1;
    form().openFrom(QStringLiteral("Month_Form"));
    EXPECT_EQ(form().cbb2->currentText(), QStringLiteral("全部"));
    EXPECT_FALSE(form().cbb3->isVisible());
    EXPECT_EQ(form().lv1->rowCount(), 5);

    form().cbb2->setCurrentIndex(1); // 個人花費
    ASSERT_TRUE(form().cbb3->isVisible());
    form().cbb3->setCurrentIndex(form().cbb3->findText(QStringLiteral("交通")));
    EXPECT_EQ(form().lv1->rowCount(), 1);
    EXPECT_EQ(text(0, 1), QStringLiteral("個人花費-交通"));
    EXPECT_EQ(form().JvLabel4->text(), QStringLiteral("-200"));

    form().cbb2->setCurrentIndex(2); // 進貨, also with subcategories
    if (const QString keep = qEnvironmentVariable("QINGHE_TEST_ARTIFACTS"); !keep.isEmpty())
        form().grab().save(keep + QStringLiteral("/detail-screen-filtered.png"));
    EXPECT_EQ(form().cbb3->currentText(), QStringLiteral("全部"));
    EXPECT_TRUE(form().cbb3->isVisible());
    EXPECT_EQ(form().lv1->rowCount(), 2);
    EXPECT_EQ(form().JvLabel4->text(), QStringLiteral("-1,200"));

    form().cbb2->setCurrentIndex(5); // 其他支出: no subcategory box
    EXPECT_FALSE(form().cbb3->isVisible());
    EXPECT_EQ(form().lv1->rowCount(), 1);
    EXPECT_EQ(text(0, 1), QStringLiteral("其他支出"));

    form().setKindIndex(0); // the kind change resets the filter
    EXPECT_EQ(form().cbb2->currentText(), QStringLiteral("全部"));
    EXPECT_EQ(form().cbb2->count(), 5);
}

TEST_F(CashDetailTest, LeaveOutLowersTheTotalUntilTheListIsBuiltAgain)
{
    t.addEntry(Ledger, QDate(2009, 3, 1), true, 2, QStringLiteral("投資"), 100);
    t.addEntry(Ledger, QDate(2009, 3, 2), true, 2, QStringLiteral("投資"), 500);
    t.addEntry(Ledger, QDate(2009, 3, 3), true, 2, QStringLiteral("投資"), 700);
    form().openFrom(QStringLiteral("Month_Form"));
    const QString pageLabel = form().jvlbl1->text();

    click(form().btn4); // nothing chosen: nothing happens
    EXPECT_EQ(form().lv1->rowCount(), 3);

    form().lv1->selectRow(1);
    click(form().btn4);
    EXPECT_EQ(form().lv1->rowCount(), 2);
    EXPECT_EQ(form().JvLabel4->text(), QStringLiteral("800"));
    EXPECT_EQ(text(1, 2), QStringLiteral("700"));
    EXPECT_EQ(form().jvlbl1->text(), pageLabel);
    click(form().btn4); // the removed row's place names no row until the user picks one
    EXPECT_EQ(form().lv1->rowCount(), 2);

    form().BuildDetailList();
    EXPECT_EQ(form().lv1->rowCount(), 3);
    EXPECT_EQ(form().JvLabel4->text(), QStringLiteral("1,300"));
    click(form().btn4); // the index from before the rebuild is forgotten
    EXPECT_EQ(form().lv1->rowCount(), 3);
    EXPECT_EQ(t.db().scalar(QStringLiteral("SELECT COUNT(*) FROM 單日記帳本")).toInt(), 3);
}

TEST_F(CashDetailTest, ModesAndWhereTheScreenReturns)
{
    t.addEntry(Ledger, QDate(2009, 3, 1), true, 2, QStringLiteral("投資"), 100);
    t.addEntry(Ledger, QDate(2009, 7, 1), true, 2, QStringLiteral("投資"), 200);
    t->Year_Form->show();
    form().openFrom(QStringLiteral("Year_Form"));
    EXPECT_FALSE(t->Year_Form->isVisible());
    EXPECT_EQ(form().JvLabel1->text(), QStringLiteral("年度明細"));
    EXPECT_EQ(form().btn1->text(), QStringLiteral("月明細"));
    EXPECT_EQ(form().cbb1->count(), 11);
    EXPECT_EQ(form().cbb1->itemText(0), QStringLiteral("2004"));
    EXPECT_EQ(form().cbb1->currentText(), QStringLiteral("2009"));
    EXPECT_EQ(form().lv1->rowCount(), 2);

    click(form().btn1);
    EXPECT_EQ(form().JvLabel1->text(), QStringLiteral("月明細"));
    EXPECT_EQ(form().btn1->text(), QStringLiteral("年度明細"));
    EXPECT_EQ(form().cbb1->currentText(), QStringLiteral("3"));
    EXPECT_EQ(form().lv1->rowCount(), 1);

    click(form().btn2);
    EXPECT_TRUE(t->Year_Form->isVisible());
    EXPECT_FALSE(form().isVisible());

    form().openFrom(QStringLiteral("Month_Form"));
    click(form().btn3);
    EXPECT_FALSE(form().isVisible());
    EXPECT_TRUE(t->RM_Main_Form->isVisible());
}

TEST_F(CashDetailTest, AFailedReadOnOpeningIsShownNotThrown)
{
    // The yearly statistics open the list straight from a button.
    t.db().setStatementHook([](const QString &sql) {
        if (sql.contains(QStringLiteral("單日記帳本")))
            throw DbError(QStringLiteral("磁碟錯誤"));
    });
    EXPECT_NO_THROW(form().openFrom(QStringLiteral("Year_Form")));
    EXPECT_EQ(t.prompts().errors, QStringList { QStringLiteral("磁碟錯誤") });
    t.db().setStatementHook({});
}

TEST_F(CashDetailTest, RestoredWindowKeepsItsFilterAndPage)
{
    addIncome(150);
    form().openFrom(QStringLiteral("Month_Form"));
    form().cbb2->setCurrentIndex(2); // 投資
    click(form().btn_down);
    ASSERT_EQ(form().jvlbl1->text(), QStringLiteral("共有150筆，目前位置2/2頁"));

    // Restored from the taskbar: the window system shows and activates it again.
    QShowEvent shown;
    QSpontaneKeyEvent::setSpontaneous(&shown);
    qApp->notify(&form(), &shown); // sendEvent would clear the spontaneous mark
    QEvent activated(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&form(), &activated);
    EXPECT_EQ(form().cbb2->currentText(), QStringLiteral("投資"));
    EXPECT_EQ(form().jvlbl1->text(), QStringLiteral("共有150筆，目前位置2/2頁"));
}

TEST_F(CashDetailTest, PrintCoversEveryRowAndComesBackToThePage)
{
    addIncome(150, 1000);
    form().openFrom(QStringLiteral("Month_Form"));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("detail.pdf"));
    int pages = 0;
    t.prompts().onPreview = [&](Report &report) { pages = report.writePdf(pdf); };
    click(form().btn6);
    ASSERT_EQ(t.prompts().previews, 1);
    ASSERT_GE(pages, 2);
    PdfText::keep(pdf, QStringLiteral("detail.pdf"));

    const QString all = PdfText::text(pdf);
    EXPECT_TRUE(all.contains(QStringLiteral("2009年3月明細(收入)")));
    for (const char *head : { "時間", "分類", "金額", "說明" })
        EXPECT_TRUE(all.contains(QString::fromUtf8(head))) << head;
    for (int i = 1; i <= 150; ++i)
        EXPECT_EQ(all.count(QStringLiteral("備註%1").arg(i, 3, 10, QLatin1Char('0'))), 1) << i;
    EXPECT_TRUE(PdfText::text(pdf, pages).contains(QStringLiteral("收入合計：150,000元")));
    EXPECT_TRUE(PdfText::text(pdf, 2).contains(QStringLiteral("2")));

    EXPECT_FALSE(form().DetailAllRows);
    EXPECT_EQ(form().lv1->rowCount(), 100);
}

TEST_F(CashDetailTest, ExportWritesBothSheetsAndRestoresTheList)
{
    t.addEntry(
        Ledger, QDate(2009, 3, 5), true, 1, QStringLiteral("門市銷售"), 1200, QStringLiteral("甲"));
    t.addEntry(Ledger, QDate(2009, 3, 6), true, 2, QStringLiteral("投資"), 300);
    t.addEntry(
        Ledger, QDate(2009, 3, 7), false, 1, QStringLiteral("餐飲"), 50, QStringLiteral("午餐"));
    t.addEntry(Ledger, QDate(2009, 3, 8), false, 3, QStringLiteral("租金"), 9000);
    QTemporaryDir dir;

    struct Case
    {
        const char *what;
        int kind;
        int mainFilter; // cbb2 index
        int incomeRows, expenseRows;
    };
    for (const Case &c : { Case { "expense with a filter", 1, 1, 2, 2 },
             Case { "income with a filter", 0, 2, 1, 2 } }) {
        form().openFrom(QStringLiteral("Month_Form"));
        form().setKindIndex(c.kind);
        form().cbb2->setCurrentIndex(c.mainFilter);
        const QString path = dir.filePath(QString::fromUtf8(c.what) + QStringLiteral(".xlsx"));
        t.prompts().clearLog();
        t.prompts().savePaths = { path };
        click(form().btn5);

        ASSERT_EQ(t.prompts().saveRequests.size(), 1);
        EXPECT_TRUE(t.prompts().saveRequests[0].contains(
            QStringLiteral("/2009年3月份分類明細.xlsx|Excel檔 (*.xlsx)")))
            << t.prompts().saveRequests[0].toStdString();
        EXPECT_EQ(t.prompts().warnings, QStringList { QStringLiteral("匯出成功!!") });
        EXPECT_EQ(form().kindIndex(), c.kind) << c.what;
        EXPECT_EQ(form().cbb2->currentText(), QStringLiteral("全部")) << c.what;
        EXPECT_FALSE(form().DetailAllRows);

        XlsxBook book(path);
        ASSERT_TRUE(book.error().isEmpty()) << book.error().toStdString();
        EXPECT_EQ(
            book.sheetNames(), QStringList({ QStringLiteral("收入"), QStringLiteral("支出") }));
        const int rows[2] = { c.incomeRows, c.expenseRows };
        const QString names[2] = { QStringLiteral("收入"), QStringLiteral("支出") };
        for (int s = 0; s < 2; ++s) {
            const QString sheet = names[s];
            const int n = rows[s];
            EXPECT_EQ(book.merged(sheet), QStringList { QStringLiteral("G1:I1") });
            EXPECT_EQ(book.text(sheet, QStringLiteral("G1")), QStringLiteral("青禾理財簿"));
            EXPECT_EQ(book.text(sheet, QStringLiteral("B1")), Ledger);
            EXPECT_EQ(book.text(sheet, QStringLiteral("B2")), QStringLiteral("2009年3月明細"));
            EXPECT_EQ(book.text(sheet, QStringLiteral("B3")), sheet);
            EXPECT_EQ(book.cell(sheet, QStringLiteral("B3"))
                          .value(QStringLiteral("font_color"))
                          .toString(),
                s == 0 ? QStringLiteral("0000FF") : QStringLiteral("FF0000"));
            EXPECT_EQ(book.text(sheet, QStringLiteral("C6")), QStringLiteral("金額"));
            EXPECT_EQ(
                book.cell(sheet, QStringLiteral("D6")).value(QStringLiteral("bottom")).toString(),
                QStringLiteral("medium"));
            EXPECT_EQ(book.cell(sheet, QStringLiteral("D%1").arg(n + 6))
                          .value(QStringLiteral("bottom"))
                          .toString(),
                QStringLiteral("medium"))
                << c.what << " " << s;
            EXPECT_EQ(book.text(sheet, QStringLiteral("A%1").arg(n + 7)), QStringLiteral("合計："));
            EXPECT_TRUE(book.text(sheet, QStringLiteral("A%1").arg(n + 8)).isEmpty())
                << c.what << " " << s;
        }
        EXPECT_EQ(book.text(QStringLiteral("支出"), QStringLiteral("A7")), QStringLiteral("3/7"));
        EXPECT_EQ(book.text(QStringLiteral("支出"), QStringLiteral("B7")),
            QStringLiteral("個人花費-餐飲"));
        EXPECT_EQ(book.text(QStringLiteral("支出"), QStringLiteral("D7")), QStringLiteral("午餐"));
        const QJsonObject amount = book.cell(QStringLiteral("支出"), QStringLiteral("C8"));
        EXPECT_EQ(amount.value(QStringLiteral("value")).toDouble(), 9000);
        EXPECT_EQ(
            amount.value(QStringLiteral("number_format")).toString(), QStringLiteral("#,##0"));
        EXPECT_EQ(book.cell(QStringLiteral("支出"), QStringLiteral("C9"))
                      .value(QStringLiteral("value"))
                      .toDouble(),
            -9050);
        EXPECT_EQ(book.cell(QStringLiteral("支出"), QStringLiteral("C9"))
                      .value(QStringLiteral("h_align"))
                      .toString(),
            QStringLiteral("right"));
    }
}

TEST_F(CashDetailTest, ExportCancelledOrFailingWritesNothingAndClaimsNoSuccess)
{
    t.addEntry(Ledger, QDate(2009, 3, 5), true, 2, QStringLiteral("投資"), 300);
    form().openFrom(QStringLiteral("Year_Form"));
    t.prompts().savePaths = { QString() };
    click(form().btn5);
    ASSERT_EQ(t.prompts().saveRequests.size(), 1);
    EXPECT_TRUE(t.prompts().saveRequests[0].contains(QStringLiteral("/2009年度分類明細.xlsx|")));
    EXPECT_TRUE(t.prompts().warnings.isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("no/such/folder/x.xlsx"));
    t.prompts().savePaths = { path };
    click(form().btn5);
    EXPECT_EQ(t.prompts().errors.size(), 1);
    EXPECT_TRUE(t.prompts().warnings.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(form().lv1->rowCount(), 1);
}
