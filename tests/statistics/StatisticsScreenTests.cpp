#include "analysis/CashDetail_Unit.h"
#include "calendar/RM_Main_Unit.h"
#include "statistics/Month_Unit.h"
#include "statistics/StatisticsWidgets.h"
#include "statistics/Year_Unit.h"
#include "support/TestProgram.h"

#include <QAccessible>
#include <QAction>
#include <QBarCategoryAxis>
#include <QChart>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {
const QString Ledger = QStringLiteral("甲");

void addMixedMonths(TestProgram &t, const QString &ledger = Ledger)
{
    // January and March 2012 with entries, February empty; a deficit in March.
    t.addEntry(ledger, QDate(2012, 1, 5), true, 1, "門市銷售", 3000);
    t.addEntry(ledger, QDate(2012, 1, 6), false, 2, "商品進貨", 1200);
    t.addEntry(ledger, QDate(2012, 3, 2), true, 1, "網路銷售", 800);
    t.addEntry(ledger, QDate(2012, 3, 3), true, 2, "投資", 200);
    t.addEntry(ledger, QDate(2012, 3, 4), false, 3, "租金", 9000);
    t.addEntry(ledger, QDate(2012, 3, 5), false, 1, "餐飲", 150);
    t.addEntry(ledger, QDate(2011, 12, 20), false, 1, "交通", 70);
}

QStringList rowTexts(QTreeWidget *list)
{
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list->topLevelItem(i);
        rows << QStringList { item->text(0), item->text(1), item->text(2), item->text(3) }.join(
            '|');
    }
    return rows;
}

QStringList comboItems(QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// Picks an item the way a user does, so the change handler runs.
void choose(QComboBox *combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

struct Fixture
{
    TestProgram t;
    TMonth_Form *month;
    TYear_Form *year;
    TRM_Main_Form *calendar;
    explicit Fixture(int monthNumber = 3)
    {
        t.loginAs(Ledger, 2012, monthNumber);
        month = t->Month_Form;
        year = t->Year_Form;
        calendar = t->RM_Main_Form;
    }
};

int redPixels(const QImage &image, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 150 && c.green() < 90 && c.blue() < 90)
                ++count;
        }
    }
    return count;
}
} // namespace

TEST(MonthScreen, OpensOnTheLedgersDefaultSideWithTheCompanyPersonalGroup)
{
    for (const int page : { 0, 1 }) {
        Fixture f;
        addMixedMonths(f.t);
        f.t->DefaultDayPage = page;
        f.month->openFromCalendar();
        EXPECT_EQ(f.month->JvComboBox1->currentText(), page == 0 ? "收入" : "支出");
        EXPECT_EQ(f.month->JvComboBox2->currentText(), "公司/個人比較");
        EXPECT_EQ(f.month->ViewMode, page == 0 ? 0 : 2);
        EXPECT_EQ(f.month->M_Label->text(), "3月");
        EXPECT_EQ(f.month->windowTitle(), "2012年度-月統計");
        EXPECT_EQ(rowTexts(f.month->ListView1),
            (QStringList { "商品銷售|800|個人花費|150", "投資|200|管銷|9,000", "|||", "|||", "|||",
                "|||", "合計|1,000|合計|(9,150)" }));
        EXPECT_EQ(f.month->Chart1->pointCount(), 2);
        // Bar names alternate in height, even with only two bars.
        const auto *axis = qobject_cast<QBarCategoryAxis *>(
            f.month->Chart1->chart()->axes(Qt::Horizontal).value(0));
        ASSERT_NE(axis, nullptr);
        ASSERT_EQ(axis->count(), 2);
        EXPECT_FALSE(axis->at(0).startsWith("<br>"));
        EXPECT_TRUE(axis->at(1).startsWith("<br>"));
        EXPECT_EQ(f.month->StatusBar1->panelText(0), "結餘：");
    }
}

TEST(StatisticsScreens, CalendarCommandsOpenThemAndLeavingBringsTheCalendarBack)
{
    Fixture f;
    addMixedMonths(f.t);
    f.calendar->showCentred();
    f.calendar->BitBtn3Click();
    EXPECT_TRUE(f.month->isVisible());
    EXPECT_FALSE(f.calendar->isVisible());
    EXPECT_EQ(f.month->ExpenseTotal, 9150);
    f.month->BitBtn3Click();
    EXPECT_TRUE(f.calendar->isVisible());

    f.calendar->BitBtn4Click();
    EXPECT_TRUE(f.year->isVisible());
    EXPECT_FALSE(f.calendar->isVisible());
    EXPECT_EQ(f.year->Y_Label->text(), "2012");
    EXPECT_EQ(f.year->IncomeTotal, 4000);
    f.year->close();
    EXPECT_TRUE(f.calendar->isVisible());
}

TEST(StatisticsScreens, DetailListButtonsHandOverToTheDetailList)
{
    Fixture f;
    addMixedMonths(f.t);
    f.month->openFromCalendar();
    QTest::mouseClick(f.month->BitBtn4, Qt::LeftButton);
    EXPECT_FALSE(f.month->isVisible());
    EXPECT_TRUE(f.t->CashDetail_Form->isVisible());
    EXPECT_EQ(f.t->CashDetail_Form->DetailCaller, "Month_Form");
    EXPECT_FALSE(f.t->CashDetail_Form->yearMode());

    f.t->CashDetail_Form->hide();
    f.year->openFromCalendar();
    QTest::mouseClick(f.year->BitBtn5, Qt::LeftButton);
    EXPECT_FALSE(f.year->isVisible());
    EXPECT_TRUE(f.t->CashDetail_Form->isVisible());
    EXPECT_EQ(f.t->CashDetail_Form->DetailCaller, "Year_Form");
    EXPECT_TRUE(f.t->CashDetail_Form->yearMode());
}

TEST(MonthScreen, SideSelectorOffersItsGroupsAndEachChoiceRecomputes)
{
    Fixture f;
    addMixedMonths(f.t);
    f.month->openFromCalendar();
    choose(f.month->JvComboBox1, 1);
    EXPECT_EQ(comboItems(f.month->JvComboBox2),
        (QStringList { "公司/個人比較", "進貨", "管銷", "個人花費" }));
    choose(f.month->JvComboBox2, 2);
    EXPECT_EQ(f.month->ViewMode, 4);
    EXPECT_EQ(f.month->AttrFilter, 3);
    EXPECT_EQ(rowTexts(f.month->ListView1).first(), "商品銷售|800|租金|9,000");
    EXPECT_EQ(f.month->StatusBar1->panelText(0), "");
    EXPECT_EQ(f.month->currentStatus().note, "管銷 = 公司營運的各項費用");

    choose(f.month->JvComboBox1, 0);
    EXPECT_EQ(comboItems(f.month->JvComboBox2), (QStringList { "公司/個人比較", "商品銷售" }));
    EXPECT_EQ(f.month->JvComboBox2->currentIndex(), 0);
    choose(f.month->JvComboBox2, 1);
    EXPECT_EQ(f.month->ViewMode, 1);
    EXPECT_EQ(f.month->StatusBar1->panelText(0), "毛利：");
    EXPECT_EQ(f.month->currentStatus().note, "毛利 = 商品銷售 - 進貨");

    // The chart menu changes the view only; selectors and filter stay.
    f.month->N2->trigger();
    EXPECT_EQ(f.month->ViewMode, 2);
    EXPECT_EQ(f.month->AttrFilter, 1);
    EXPECT_EQ(f.month->JvComboBox2->currentText(), "商品銷售");
    EXPECT_EQ(f.month->Chart1->points().first().label, "個人花費");
    f.month->N1->trigger();
    EXPECT_EQ(f.month->ViewMode, 0);
}

TEST(MonthScreen, SteppingAcrossYearEndsMovesTheCalendarToo)
{
    Fixture f(1);
    addMixedMonths(f.t);
    f.month->openFromCalendar();
    QTest::mouseClick(f.month->MSpeedButton1, Qt::LeftButton);
    EXPECT_EQ(f.month->M_Label->text(), "12月");
    EXPECT_EQ(f.calendar->M_Label->text(), "12月");
    EXPECT_EQ(f.calendar->Year_Label->value(), 2011);
    EXPECT_EQ(f.month->windowTitle(), "2011年度-月統計");
    EXPECT_EQ(f.month->ExpenseTotal, 70);

    QTest::mouseClick(f.month->MSpeedButton2, Qt::LeftButton);
    EXPECT_EQ(f.month->M_Label->text(), "1月");
    EXPECT_EQ(f.calendar->Year_Label->value(), 2012);
    EXPECT_EQ(f.month->windowTitle(), "2012年度-月統計");
    EXPECT_EQ(f.month->IncomeTotal, 3000);

    f.calendar->M_Label->setText("12月");
    f.month->M_Label->setText("12月");
    QTest::mouseClick(f.month->MSpeedButton2, Qt::LeftButton);
    EXPECT_EQ(f.month->M_Label->text(), "1月");
    EXPECT_EQ(f.calendar->Year_Label->value(), 2013);
}

TEST(MonthScreen, PrintAndExportFollowTheEntriesAndThePictureFileFollowsToo)
{
    Fixture f(1);
    addMixedMonths(f.t, "甲/乙");
    f.t.loginAs("甲/乙", 2012, 1);
    f.month->openFromCalendar();
    const QString picture = f.t->filePath("month甲_乙.bmp");
    EXPECT_EQ(f.month->chartPicturePath(), picture);
    EXPECT_TRUE(f.month->BitBtn1->isEnabled());
    EXPECT_TRUE(f.month->BitBtn2->isEnabled());
    ASSERT_TRUE(QFile::exists(picture));
    EXPECT_FALSE(QImage(picture).isNull());

    // February has no entries: empty list, no picture, nothing to print.
    QTest::mouseClick(f.month->MSpeedButton2, Qt::LeftButton);
    EXPECT_EQ(f.month->ListView1->topLevelItemCount(), 0);
    EXPECT_EQ(f.month->Chart1->pointCount(), 0);
    EXPECT_FALSE(QFile::exists(picture));
    EXPECT_FALSE(f.month->BitBtn1->isEnabled());
    EXPECT_FALSE(f.month->BitBtn2->isEnabled());
    EXPECT_EQ(f.month->StatusBar1->panelText(0), "結餘：");
    EXPECT_EQ(f.month->currentStatus().balanceText, "0");

    QTest::mouseClick(f.month->MSpeedButton2, Qt::LeftButton);
    EXPECT_TRUE(QFile::exists(picture));
    EXPECT_TRUE(f.month->BitBtn1->isEnabled());

    // The close box keeps the picture; leaving removes it.
    f.month->close();
    EXPECT_FALSE(f.month->isVisible());
    EXPECT_TRUE(f.calendar->isVisible());
    EXPECT_TRUE(QFile::exists(picture));
    f.month->openFromCalendar();
    QTest::mouseClick(f.month->BitBtn3, Qt::LeftButton);
    EXPECT_FALSE(f.month->isVisible());
    EXPECT_TRUE(f.calendar->isVisible());
    EXPECT_FALSE(QFile::exists(picture));
}

TEST(MonthScreen, APictureThatCannotBeWrittenIsReportedOnceAndTheFiguresStillShow)
{
    Fixture f;
    addMixedMonths(f.t);
    QDir(f.t.dir()).mkdir("month甲.bmp"); // a folder where the picture should go
    f.month->openFromCalendar();
    f.month->FormActivate();
    EXPECT_EQ(f.t.prompts().errors.size(), 1);
    EXPECT_TRUE(f.t.prompts().errors.value(0).contains("month甲.bmp"));
    EXPECT_EQ(f.month->IncomeTotal, 1000);
    EXPECT_EQ(f.month->ListView1->topLevelItemCount(), 7);
}

TEST(MonthScreen, EscapeFromAnyControlLeavesLikeTheLeaveButton)
{
    Fixture f;
    addMixedMonths(f.t);
    f.month->openFromCalendar();
    ASSERT_TRUE(QFile::exists(f.month->chartPicturePath()));
    QTest::keyClick(f.month->ListView1, Qt::Key_Escape);
    EXPECT_FALSE(f.month->isVisible());
    EXPECT_TRUE(f.calendar->isVisible());
    EXPECT_FALSE(QFile::exists(f.month->chartPicturePath()));
}

TEST(StatisticsScreens, AStepThatCannotBeReadStaysOnThePeriodShown)
{
    Fixture f(12);
    addMixedMonths(f.t);
    f.t.db().setStatementHook([](const QString &) { throw DbError(QStringLiteral("磁碟錯誤")); });
    f.month->openFromCalendar();
    ASSERT_EQ(f.t.prompts().errors.size(), 1);
    QTest::mouseClick(f.month->MSpeedButton2, Qt::LeftButton); // into January of 2013
    EXPECT_EQ(f.t.prompts().errors.size(), 2);
    EXPECT_EQ(f.month->M_Label->text(), "12月");
    EXPECT_EQ(f.calendar->M_Label->text(), "12月");
    EXPECT_EQ(f.calendar->Year_Label->value(), 2012);
    EXPECT_EQ(f.month->windowTitle(), "2012年度-月統計");
    f.month->FormActivate(); // the message box closed
    EXPECT_EQ(f.t.prompts().errors.size(), 2);
    f.month->hide();

    f.year->openFromCalendar();
    QTest::mouseClick(f.year->YSpeedButton1, Qt::LeftButton);
    EXPECT_EQ(f.t.prompts().errors.size(), 4);
    EXPECT_EQ(f.year->Y_Label->text(), "2012");
    EXPECT_EQ(f.calendar->Year_Label->value(), 2012);

    f.t.db().setStatementHook({});
    QTest::mouseClick(f.year->YSpeedButton1, Qt::LeftButton);
    EXPECT_EQ(f.year->Y_Label->text(), "2011");
    EXPECT_EQ(f.year->ExpenseTotal, 70);
}

TEST(StatisticsScreens, EscapeOnTheOpenChartMenuClosesOnlyTheMenu)
{
    Fixture f;
    addMixedMonths(f.t);
    for (StatisticsForm *screen :
        { static_cast<StatisticsForm *>(f.month), static_cast<StatisticsForm *>(f.year) }) {
        SCOPED_TRACE(screen->objectName().toStdString());
        screen->openFromCalendar();
        const QString picture = screen->chartPicturePath();
        ASSERT_TRUE(QFile::exists(picture));
        screen->pm1->popup(screen->Chart1->mapToGlobal(QPoint(40, 40)));
        ASSERT_TRUE(screen->pm1->isVisible());
        QTest::keyClick(screen->pm1, Qt::Key_Escape);
        EXPECT_FALSE(screen->pm1->isVisible());
        EXPECT_TRUE(screen->isVisible());
        EXPECT_TRUE(QFile::exists(picture));
        QTest::keyClick(screen->ListView1, Qt::Key_Escape); // with the menu closed, Esc leaves
        EXPECT_FALSE(screen->isVisible());
    }
}

TEST(StatisticsScreens, StatusBarTellsScreenReadersTheBalanceAndTheNote)
{
    Fixture f;
    addMixedMonths(f.t);
    f.month->openFromCalendar();
    auto spoken = [&] {
        return QAccessible::queryAccessibleInterface(f.month->StatusBar1)->text(QAccessible::Name);
    };
    choose(f.month->JvComboBox1, 1); // 支出, 公司/個人比較
    EXPECT_EQ(spoken(), QStringLiteral("結餘：-8,150"));
    choose(f.month->JvComboBox2, 1); // 進貨
    EXPECT_EQ(spoken(),
        QStringLiteral("毛利：%1 毛利 = 商品銷售 - 進貨")
            .arg(f.month->currentStatus().balanceText));
    choose(f.month->JvComboBox2, 2); // 管銷: no balance
    EXPECT_EQ(spoken(), QStringLiteral("管銷 = 公司營運的各項費用"));

    f.year->openFromCalendar();
    choose(f.year->JvComboBox1, 1);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(f.year->StatusBar1)->text(QAccessible::Name),
        QStringLiteral("結餘：%1").arg(f.year->currentStatus().balanceText));
}

TEST(MonthScreen, NegativeBalanceIsDrawnInRedWithALeadingMinus)
{
    Fixture f;
    addMixedMonths(f.t);
    f.month->openFromCalendar();
    choose(f.month->JvComboBox1, 1);
    EXPECT_EQ(f.month->currentStatus().balanceText, "-8,150");
    const QImage bar = f.month->StatusBar1->grab().toImage();
    EXPECT_GT(redPixels(bar, f.month->StatusBar1->panelRect(1).adjusted(0, 0, -1, -1)), 5);

    // The total row draws the bracketed expense total in red, and only that cell.
    // (Pending events first: an activation among them reruns the summary and the rows.)
    QCoreApplication::processEvents();
    QTreeWidget *list = f.month->ListView1;
    QTreeWidgetItem *total = list->topLevelItem(list->topLevelItemCount() - 1);
    ASSERT_EQ(total->text(0), "合計");
    const QImage rows = list->viewport()->grab().toImage();
    const QRect expenseCell = list->visualItemRect(total).intersected(QRect(
        list->header()->sectionPosition(3), 0, list->header()->sectionSize(3), rows.height()));
    EXPECT_GT(redPixels(rows, expenseCell.adjusted(0, 0, -1, -1)), 5);
    const QRect nameCell = list->visualItemRect(total).intersected(QRect(
        list->header()->sectionPosition(2), 0, list->header()->sectionSize(2), rows.height()));
    EXPECT_EQ(redPixels(rows, nameCell.adjusted(0, 0, -1, -1)), 0);

    // January shows a profit: no red in the balance panel.
    QTest::mouseClick(f.month->MSpeedButton1, Qt::LeftButton);
    QTest::mouseClick(f.month->MSpeedButton1, Qt::LeftButton);
    EXPECT_EQ(f.month->currentStatus().balanceText, "1,800");
    const QImage profit = f.month->StatusBar1->grab().toImage();
    EXPECT_EQ(redPixels(profit, f.month->StatusBar1->panelRect(1).adjusted(0, 0, -1, -1)), 0);
}

TEST(YearScreen, StepsTheYearWithTheCalendarAndOffersYearAnalysisForYearsWithEntries)
{
    Fixture f;
    addMixedMonths(f.t);
    f.year->openFromCalendar();
    EXPECT_EQ(f.year->Y_Label->text(), "2012");
    EXPECT_EQ(f.year->windowTitle(), "年統計");
    EXPECT_EQ(f.year->IncomeTotal, 4000);
    EXPECT_TRUE(f.year->BitBtn1->isEnabled());
    EXPECT_TRUE(f.year->BitBtn3->isEnabled());
    const QString picture2012 = f.t->filePath("year2012.bmp");
    EXPECT_TRUE(QFile::exists(picture2012));

    QTest::mouseClick(f.year->YSpeedButton1, Qt::LeftButton);
    EXPECT_EQ(f.year->Y_Label->text(), "2011");
    EXPECT_EQ(f.calendar->Year_Label->value(), 2011);
    EXPECT_EQ(f.calendar->M_Label->text(), "3月");
    EXPECT_EQ(f.year->ExpenseTotal, 70);
    EXPECT_TRUE(QFile::exists(f.t->filePath("year2011.bmp")));

    QTest::mouseClick(f.year->YSpeedButton1, Qt::LeftButton); // 2010: nothing
    EXPECT_FALSE(f.year->BitBtn1->isEnabled());
    EXPECT_FALSE(f.year->BitBtn2->isEnabled());
    EXPECT_FALSE(f.year->BitBtn3->isEnabled());
    EXPECT_FALSE(QFile::exists(f.t->filePath("year2010.bmp")));

    QTest::mouseClick(f.year->YSpeedButton2, Qt::LeftButton);
    QTest::mouseClick(f.year->YSpeedButton2, Qt::LeftButton);
    EXPECT_EQ(f.year->Y_Label->text(), "2012");
    EXPECT_TRUE(f.year->BitBtn1->isEnabled());
    EXPECT_TRUE(f.year->BitBtn2->isEnabled());
    EXPECT_TRUE(f.year->BitBtn3->isEnabled());

    // Leaving deletes the picture of the year shown; earlier years' pictures stay.
    QTest::keyClick(f.year->JvComboBox2, Qt::Key_Escape);
    EXPECT_FALSE(f.year->isVisible());
    EXPECT_FALSE(QFile::exists(picture2012));
    EXPECT_TRUE(QFile::exists(f.t->filePath("year2011.bmp")));
}

TEST(YearScreen, GroupsPerSideAndHandOverToYearAnalysis)
{
    Fixture f;
    addMixedMonths(f.t);
    f.year->BitBtn3->setEnabled(true);
    f.t->DefaultDayPage = 1;
    f.year->openFromCalendar();
    EXPECT_EQ(comboItems(f.year->JvComboBox2),
        (QStringList { "公司/個人比較", "進貨", "管銷", "個人花費" }));
    choose(f.year->JvComboBox2, 3);
    EXPECT_EQ(f.year->ViewMode, 5);
    EXPECT_EQ(f.year->AttrFilter, 1);
    EXPECT_EQ(f.year->StatusBar1->panelText(0), "");
    EXPECT_EQ(rowTexts(f.year->ListView1).first(), "商品銷售|3,800|餐飲|150");

    QTest::mouseClick(f.year->BitBtn3, Qt::LeftButton);
    EXPECT_FALSE(f.year->isVisible());
    EXPECT_TRUE(reinterpret_cast<QWidget *>(f.t->Year_Month_Form)->isVisible());
}

TEST(StatisticsScreens, ScreenshotsForReview)
{
    const QByteArray dir = qgetenv("QINGHE_SHOTS");
    if (dir.isEmpty())
        GTEST_SKIP() << "set QINGHE_SHOTS to a directory to write screenshots";
    Fixture f;
    addMixedMonths(f.t);
    f.t.addEntry(Ledger, QDate(2012, 3, 8), true, 1, "批發銷售", 12345);
    f.t.addEntry(Ledger, QDate(2012, 3, 9), false, 2, "原料", 4321);
    f.t.addEntry(Ledger, QDate(2012, 3, 9), false, 3, "水電瓦斯", 1870);
    f.t.addEntry(Ledger, QDate(2012, 3, 9), false, 3, "文具用品", 230);
    f.t.addEntry(Ledger, QDate(2012, 3, 10), false, 4, "稅捐規費", 3100);
    f.t.addEntry(Ledger, QDate(2012, 3, 11), false, 5, "其他支出", 990);
    f.t->DefaultDayPage = 1;
    f.month->openFromCalendar();
    QCoreApplication::processEvents();
    f.month->grab().save(dir + "/month-expense.png");
    choose(f.month->JvComboBox2, 2);
    QImage(f.month->chartPicturePath()).save(dir + "/month-operating-picture.png");
    QCoreApplication::processEvents();
    f.month->grab().save(dir + "/month-operating.png");
    choose(f.month->JvComboBox1, 0);
    choose(f.month->JvComboBox2, 1);
    QCoreApplication::processEvents();
    f.month->grab().save(dir + "/month-sales.png");
    f.month->hide();
    f.year->openFromCalendar();
    QCoreApplication::processEvents();
    f.year->grab().save(dir + "/year-expense.png");
    choose(f.year->JvComboBox1, 0);
    QCoreApplication::processEvents();
    f.year->grab().save(dir + "/year-income.png");
    QImage(f.year->chartPicturePath()).save(dir + "/year-picture.png");

    // Many bars with long names.
    f.year->hide();
    int day = 0;
    for (const char *name : { "餐飲", "交通", "服飾", "居家", "娛樂", "醫療", "教育", "保險",
             "通訊", "親友婚喪喜慶禮金紅包", "寵物美容與醫療費用" }) {
        ++day;
        f.t.addEntry(Ledger, QDate(2012, 3, day), false, 1, QString::fromUtf8(name), day * 137);
    }
    f.month->openFromCalendar();
    choose(f.month->JvComboBox2, 3);
    QImage(f.month->chartPicturePath()).save(dir + "/month-personal-picture.png");
    QCoreApplication::processEvents();
    f.month->grab().save(dir + "/month-personal.png");
    for (int i = 0; i < 9; ++i)
        QTest::mouseClick(f.month->MSpeedButton2, Qt::LeftButton);
    QCoreApplication::processEvents();
    f.month->grab().save(dir + "/month-december.png");
}
