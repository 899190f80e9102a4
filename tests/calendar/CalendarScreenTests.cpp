#include "analysis/Year_Month_Unit.h"
#include "calendar/CalendarWidgets.h"
#include "calendar/RM_Main_Unit.h"
#include "dayentry/CashRecord_Unit.h"
#include "dialogs/Help_Unit.h"
#include "ledgers/SelectUser_Unit.h"
#include "recurring/FirmCash_Unit.h"
#include "statistics/Month_Unit.h"
#include "statistics/Year_Unit.h"
#include "store/DataFileSaved_Unit.h"
#include "support/TestProgram.h"
#include "ui/Colors.h"

#include <QAccessible>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {
const QColor Green = winColor(65280);
const QColor Blue = winColor(16711680);
const QColor Red = winColor(255);

// The calendar of a running program, reached by the controls' names.
class Calendar
{
public:
    explicit Calendar(TestProgram &t)
        : form(t->RM_Main_Form)
    { }

    template<typename T = QWidget> T *get(const QString &name) const
    {
        T *child = form->findChild<T *>(name);
        EXPECT_NE(child, nullptr) << name.toStdString();
        return child;
    }
    DayCell *cell(int k) const { return get<DayCell>(QStringLiteral("RichEdit%1").arg(k)); }
    // The cell holding a day of the shown month.
    DayCell *day(int d) const
    {
        for (int k = 1; k <= 42; ++k) {
            DayCell *c = cell(k);
            if (!c->lines().isEmpty() && c->lines().first().text == QString::number(d))
                return c;
        }
        return nullptr;
    }
    QString panel(int i) const { return get<PanelStatusBar>("StatusBar1")->panelText(i); }
    QString month() const { return get<QLabel>("M_Label")->text(); }
    int year() const { return get<QSpinBox>("Year_Label")->value(); }
    void click(const QString &name) const { QTest::mouseClick(get<QWidget>(name), Qt::LeftButton); }
    void hover(DayCell *c) const
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), c->mapToGlobal(QPointF(10, 10)),
            Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(c, &move);
    }

    TRM_Main_Form *form;
};

void openCalendar(TestProgram &t, const QString &ledger, int year, int month)
{
    t.loginAs(ledger, year, month);
    t->RM_Main_Form->show();
    t->RM_Main_Form->FormActivate();
}

// What a screen reader hears for a control.
QString spoken(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}
} // namespace

TEST(CalendarScreen, GuestSeesDayNumbersOnlyAndCannotOpenADay)
{
    TestProgram t;
    Calendar cal(t);
    cal.form->show();
    t->RM_Main_Form->Year_Label->setValue(2012);
    t->RM_Main_Form->M_Label->setText(QStringLiteral("3月"));
    cal.form->FormActivate();

    EXPECT_EQ(cal.get<QLabel>("User_Label")->text(), QStringLiteral("訪客"));
    // 1 March 2012 is a Thursday: cell 5.
    EXPECT_TRUE(cal.cell(4)->text().isEmpty());
    ASSERT_EQ(cal.cell(5)->lines().size(), 1);
    EXPECT_EQ(cal.cell(5)->text(), QStringLiteral("1"));
    EXPECT_EQ(cal.cell(5)->lines().first().color, Green);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(cal.panel(i).isEmpty());
    for (const char *name : { "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5", "BitBtn6" })
        EXPECT_FALSE(cal.get<QPushButton>(name)->isEnabled()) << name;
    EXPECT_TRUE(cal.get<QPushButton>("BitBtn1")->isEnabled());
    EXPECT_TRUE(cal.get<QPushButton>("BitBtn7")->isEnabled());

    cal.hover(cal.day(12));
    EXPECT_EQ(cal.day(12)->background(), QColor(Qt::white));
    QTest::mouseClick(cal.day(12), Qt::LeftButton);
    EXPECT_TRUE(cal.form->isVisible());
    EXPECT_FALSE(t->CashRecord_Form->isVisible());
    EXPECT_TRUE(t->LastDayCell.isEmpty());
}

TEST(CalendarScreen, DayAndMonthTotalsInTheirColours)
{
    TestProgram t;
    t.copyTemplate("甲");
    t.addEntry("甲", QDate(2012, 3, 12), true, 2, "投資", 1200);
    t.addEntry("甲", QDate(2012, 3, 12), false, 1, "餐飲", 300);
    t.addEntry("甲", QDate(2012, 3, 12), false, 1, "交通", 50);
    t.addEntry("甲", QDate(2012, 3, 20), false, 1, "醫療", 2000);
    t.addEntry("乙", QDate(2012, 3, 12), true, 2, "投資", 999);
    Calendar cal(t);
    openCalendar(t, "甲", 2012, 3);

    DayCell *twelve = cal.day(12);
    ASSERT_NE(twelve, nullptr);
    EXPECT_EQ(twelve->objectName(), QStringLiteral("RichEdit16"));
    ASSERT_EQ(twelve->lines().size(), 3);
    EXPECT_EQ(twelve->lines()[0].color, Green);
    EXPECT_EQ(twelve->lines()[0].alignment, Qt::AlignLeft);
    EXPECT_EQ(twelve->lines()[1].text, QStringLiteral("1,200"));
    EXPECT_EQ(twelve->lines()[1].color, Blue);
    EXPECT_EQ(twelve->lines()[1].alignment, Qt::AlignRight);
    EXPECT_EQ(twelve->lines()[2].text, QStringLiteral("-350"));
    EXPECT_EQ(twelve->lines()[2].color, Red);
    // A day with only expenses still shows its income total of 0.
    EXPECT_EQ(cal.day(20)->text(), QStringLiteral("20\n0\n-2,000"));
    EXPECT_EQ(cal.day(13)->text(), QStringLiteral("13"));

    EXPECT_EQ(cal.panel(0), QStringLiteral("收入: 1,200"));
    EXPECT_EQ(cal.panel(1), QStringLiteral("支出: 2,350"));
    EXPECT_EQ(cal.panel(2), QStringLiteral("本月結餘:"));
    EXPECT_EQ(cal.form->MonthBalanceText, QStringLiteral("-1,150"));
    EXPECT_EQ(cal.form->monthBalanceColor(), Red);
    EXPECT_TRUE(cal.get<PanelStatusBar>("StatusBar1")->isOwnerDrawn(3));
    for (const char *name : { "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5", "BitBtn6" })
        EXPECT_TRUE(cal.get<QPushButton>(name)->isEnabled()) << name;
    // The painted balance reaches screen readers too.
    EXPECT_EQ(spoken(cal.get<PanelStatusBar>("StatusBar1")),
        QStringLiteral("收入: 1,200 支出: 2,350 本月結餘: -1,150"));

    // Activation refills: a change made elsewhere shows on return.
    t.addEntry("甲", QDate(2012, 3, 13), true, 2, "投資", 5000);
    cal.form->FormActivate();
    EXPECT_EQ(cal.day(13)->text(), QStringLiteral("13\n5,000\n-0"));
    EXPECT_EQ(cal.form->MonthBalanceText, QStringLiteral("3,850"));
    EXPECT_EQ(cal.form->monthBalanceColor(), Blue);
    EXPECT_EQ(spoken(cal.get<PanelStatusBar>("StatusBar1")),
        QStringLiteral("收入: 6,200 支出: 2,350 本月結餘: 3,850"));
}

TEST(CalendarScreen, AFailedRefillNeverLabelsAnotherMonthsFigures)
{
    TestProgram t;
    t.copyTemplate("甲");
    t.addEntry("甲", QDate(2012, 3, 12), true, 2, "投資", 1200);
    Calendar cal(t);
    openCalendar(t, "甲", 2012, 3);
    t.db().setStatementHook([](const QString &) { throw DbError(QStringLiteral("磁碟錯誤")); });

    // A step that cannot be read stays on the month whose figures the page shows.
    cal.click("MSpeedButton2");
    EXPECT_EQ(t.prompts().errors, QStringList { QStringLiteral("磁碟錯誤") });
    EXPECT_EQ(cal.month(), QStringLiteral("3月"));
    EXPECT_EQ(cal.year(), 2012);
    EXPECT_EQ(cal.day(12)->text(), QStringLiteral("12\n1,200\n-0"));
    cal.form->FormActivate(); // the message box closed
    EXPECT_EQ(t.prompts().errors.size(), 1);
    EXPECT_EQ(cal.month(), QStringLiteral("3月"));

    // Another screen moved the month while the calendar was hidden: its days are shown,
    // without March's figures under them.
    cal.form->hide();
    cal.form->M_Label->setText(QStringLiteral("4月"));
    cal.form->show();
    cal.form->FormActivate();
    EXPECT_EQ(t.prompts().errors.size(), 2);
    EXPECT_EQ(cal.day(1)->objectName(), QStringLiteral("RichEdit1")); // 1 April 2012: Sunday
    EXPECT_EQ(cal.day(12)->text(), QStringLiteral("12"));
    EXPECT_EQ(cal.panel(0), QString());
    EXPECT_EQ(cal.panel(1), QString());
    EXPECT_FALSE(cal.get<PanelStatusBar>("StatusBar1")->isOwnerDrawn(3));

    // A typed year that cannot be read goes back to the year shown.
    cal.get<QSpinBox>("Year_Label")->setValue(2013);
    EXPECT_EQ(t.prompts().errors.size(), 3);
    EXPECT_EQ(cal.year(), 2012);
    EXPECT_EQ(cal.month(), QStringLiteral("4月"));

    t.db().setStatementHook({});
    cal.click("MSpeedButton1");
    EXPECT_EQ(cal.month(), QStringLiteral("3月"));
    EXPECT_EQ(cal.day(12)->text(), QStringLiteral("12\n1,200\n-0"));
}

TEST(CalendarScreen, ALongLedgerNameIsCutShortBeforeTheNextMonthArrow)
{
    TestProgram t;
    Calendar cal(t);
    const QString name(20, QChar(0x5E33)); // 帳 twenty times
    openCalendar(t, name, 2012, 3);
    QLabel *label = cal.get<QLabel>("User_Label");
    QToolButton *next = cal.get<QToolButton>("MSpeedButton2");
    const int rightEdge = cal.get<QSpinBox>("Year_Label")->x() - 50;
    EXPECT_GT(label->geometry().left(), next->geometry().right());
    EXPECT_EQ(label->geometry().right() + 1, rightEdge);
    EXPECT_EQ(cal.form->childAt(next->geometry().center()), next) << "the arrow takes the click";
    EXPECT_EQ(label->text(), name) << "the current ledger keeps its whole name";
    EXPECT_EQ(label->toolTip(), name);
    if (const QString dir = qEnvironmentVariable("QINGHE_SCREENSHOT_DIR"); !dir.isEmpty())
        cal.form->grab().save(QDir(dir).filePath("calendar-long-name.png"));

    cal.form->User_Label->setText(QStringLiteral("甲"));
    cal.form->FormActivate();
    EXPECT_EQ(label->geometry().right() + 1, rightEdge);
    EXPECT_TRUE(label->toolTip().isEmpty());
}

TEST(CalendarScreen, EmptyMonthShowsZerosWithBlueBalance)
{
    TestProgram t;
    t.copyTemplate("甲");
    t.addEntry("甲", QDate(2012, 2, 10), false, 1, "餐飲", 1500);
    Calendar cal(t);
    openCalendar(t, "甲", 2012, 3);
    EXPECT_EQ(cal.panel(0), QStringLiteral("收入: 0"));
    EXPECT_EQ(cal.panel(1), QStringLiteral("支出: 0"));
    EXPECT_EQ(cal.form->MonthBalanceText, QStringLiteral("0"));
    EXPECT_EQ(cal.form->monthBalanceColor(), Blue);

    cal.click("MSpeedButton1");
    EXPECT_EQ(cal.month(), QStringLiteral("2月"));
    EXPECT_EQ(cal.form->MonthBalanceText, QStringLiteral("-1,500"));
    EXPECT_EQ(cal.form->monthBalanceColor(), Red);
}

TEST(CalendarScreen, MonthArrowsCrossTheYear)
{
    TestProgram t;
    Calendar cal(t);
    openCalendar(t, "甲", 2012, 1);

    cal.click("MSpeedButton1");
    EXPECT_EQ(cal.month(), QStringLiteral("12月"));
    EXPECT_EQ(cal.year(), 2011);
    EXPECT_EQ(t->currentYear(), 2011);
    EXPECT_EQ(t->currentMonth(), 12);
    // 1 December 2011 is a Thursday.
    EXPECT_EQ(cal.day(1)->objectName(), QStringLiteral("RichEdit5"));

    cal.click("MSpeedButton2");
    EXPECT_EQ(cal.month(), QStringLiteral("1月"));
    EXPECT_EQ(cal.year(), 2012);
    // 1 January 2012 is a Sunday.
    EXPECT_EQ(cal.day(1)->objectName(), QStringLiteral("RichEdit1"));

    // Forward from December into the next year.
    t->RM_Main_Form->M_Label->setText(QStringLiteral("12月"));
    cal.click("MSpeedButton2");
    EXPECT_EQ(cal.month(), QStringLiteral("1月"));
    EXPECT_EQ(cal.year(), 2013);
    // 1 January 2013 is a Tuesday.
    EXPECT_EQ(cal.day(1)->objectName(), QStringLiteral("RichEdit3"));
}

TEST(CalendarScreen, YearUpArrowGoesToThePreviousYear)
{
    TestProgram t;
    t.copyTemplate("甲");
    t.addEntry("甲", QDate(2011, 3, 1), true, 2, "投資", 70);
    Calendar cal(t);
    openCalendar(t, "甲", 2012, 3);
    auto *year = cal.get<QSpinBox>("Year_Label");

    year->stepUp();
    EXPECT_EQ(year->value(), 2011);
    // The month is refilled for the new year: 1 March 2011 is a Tuesday.
    EXPECT_EQ(cal.cell(3)->text(), QStringLiteral("1\n70\n-0"));
    EXPECT_EQ(cal.panel(0), QStringLiteral("收入: 70"));

    QTest::keyClick(year, Qt::Key_Down);
    EXPECT_EQ(year->value(), 2012);
    EXPECT_EQ(cal.panel(0), QStringLiteral("收入: 0"));
}

TEST(CalendarScreen, HoverHighlightsOnlyADayUnderTheMouse)
{
    TestProgram t;
    Calendar cal(t);
    openCalendar(t, "甲", 2012, 3);
    const QColor cream = winColor(15793151);

    cal.hover(cal.day(12));
    EXPECT_EQ(cal.day(12)->background(), cream);
    cal.hover(cal.day(13));
    EXPECT_EQ(cal.day(12)->background(), QColor(Qt::white));
    EXPECT_EQ(cal.day(13)->background(), cream);
    // An empty cell clears the highlight without taking it.
    cal.hover(cal.cell(1));
    EXPECT_EQ(cal.day(13)->background(), QColor(Qt::white));
    EXPECT_EQ(cal.cell(1)->background(), QColor(Qt::white));
}

TEST(CalendarScreen, ClickingADayOpensTheDayScreen)
{
    TestProgram t;
    Calendar cal(t);
    openCalendar(t, "甲", 2012, 3);

    // An empty cell does nothing.
    QTest::mouseClick(cal.cell(1), Qt::LeftButton);
    EXPECT_TRUE(cal.form->isVisible());
    EXPECT_TRUE(t->LastDayCell.isEmpty());

    QTest::mouseClick(cal.day(12), Qt::RightButton);
    EXPECT_FALSE(cal.form->isVisible());
    EXPECT_TRUE(t->CashRecord_Form->isVisible());
    EXPECT_EQ(t->LastDayCell, QStringLiteral("RichEdit16"));
    EXPECT_EQ(cal.form->clickedDay(), 12);
    // The day screen reads the date from the calendar's year and month.
    EXPECT_EQ(t->currentYear(), 2012);
    EXPECT_EQ(t->currentMonth(), 3);
}

TEST(CalendarScreen, EscAsksAndCancelKeepsEverything)
{
    TestProgram t;
    Calendar cal(t);
    openCalendar(t, "甲", 2012, 3);
    t.prompts().confirmAnswers = { false };

    QTest::keyClick(cal.get<QSpinBox>("Year_Label"), Qt::Key_Escape);
    EXPECT_EQ(t.prompts().questions, QStringList { QStringLiteral("確定要離開本系統?") });
    EXPECT_FALSE(t->ended());
    EXPECT_TRUE(cal.form->isVisible());
    EXPECT_EQ(t->currentLedger(), QStringLiteral("甲"));
    EXPECT_EQ(cal.year(), 2012);
    EXPECT_EQ(cal.month(), QStringLiteral("3月"));

    // 退出系統 with OK leaves the program.
    t.prompts().confirmAnswers = { true };
    cal.click("BitBtn7");
    EXPECT_EQ(t.prompts().questions.size(), 2);
    EXPECT_TRUE(t->ended());
    EXPECT_FALSE(cal.form->isVisible());
}

TEST(CalendarScreen, CloseBoxLeavesWithoutAsking)
{
    TestProgram t;
    Calendar cal(t);
    openCalendar(t, "甲", 2012, 3);
    cal.form->close();
    EXPECT_TRUE(t.prompts().questions.isEmpty());
    EXPECT_TRUE(t->ended());
}

TEST(CalendarScreen, SwitchingLedgerKeepsLedgerYearAndMonth)
{
    TestProgram t;
    t.copyTemplate("甲");
    t.addEntry("甲", QDate(2010, 7, 4), true, 2, "投資", 400);
    Calendar cal(t);
    openCalendar(t, "甲", 2010, 7);

    cal.click("BitBtn1");
    EXPECT_FALSE(cal.form->isVisible());
    EXPECT_TRUE(t->SelectUser_Form->isVisible());
    EXPECT_EQ(t->currentLedger(), QStringLiteral("甲"));

    // Cancelling the switch shows the calendar again; its activation refills the month.
    QTest::mouseClick(t->SelectUser_Form->findChild<QPushButton *>("Button2"), Qt::LeftButton);
    EXPECT_FALSE(t->SelectUser_Form->isVisible());
    EXPECT_TRUE(cal.form->isVisible());
    cal.form->FormActivate();
    EXPECT_EQ(t->currentLedger(), QStringLiteral("甲"));
    EXPECT_EQ(cal.year(), 2010);
    EXPECT_EQ(cal.month(), QStringLiteral("7月"));
    EXPECT_EQ(cal.panel(0), QStringLiteral("收入: 400"));
}

TEST(CalendarScreen, EveryCommandReachesItsScreen)
{
    struct Case
    {
        const char *control;
        std::function<QWidget *(Program &)> screen;
        bool calendarStays;
    };
    const Case cases[] = {
        { "BitBtn2", [](Program &p) -> QWidget * { return p.FirmCash_Form; }, false },
        { "BitBtn3", [](Program &p) -> QWidget * { return p.Month_Form; }, false },
        { "BitBtn4", [](Program &p) -> QWidget * { return p.Year_Form; }, false },
        { "BitBtn5", [](Program &p) -> QWidget * { return p.Year_Month_Form; }, false },
        { "BitBtn6", [](Program &p) -> QWidget * { return p.DataFileSaved_Form; }, true },
        { "lbl1", [](Program &p) -> QWidget * { return p.Help_Form; }, true },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.control);
        TestProgram t;
        Calendar cal(t);
        openCalendar(t, "甲", 2012, 3);
        cal.click(c.control);
        EXPECT_TRUE(c.screen(t.program())->isVisible());
        EXPECT_EQ(cal.form->isVisible(), c.calendarStays);
        if (c.calendarStays) {
            // The small windows that open over the calendar sit in the middle of the desktop.
            const QPoint offset = c.screen(t.program())->geometry().center()
                - QGuiApplication::primaryScreen()->availableGeometry().center();
            EXPECT_LE(offset.manhattanLength(), 4);
        }
        EXPECT_TRUE(t.prompts().errors.isEmpty()) << t.prompts().errors.join("\n").toStdString();
    }
}

// Saves a picture of a filled month when QINGHE_SCREENSHOT_DIR names a folder.
TEST(CalendarScreen, Screenshot)
{
    const QString dir = qEnvironmentVariable("QINGHE_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "QINGHE_SCREENSHOT_DIR not set";
    TestProgram t;
    t->RM_Main_Form->show();
    t->RM_Main_Form->grab().save(QDir(dir).filePath("calendar-guest.png"));
    t.copyTemplate("小華商行");
    const QDate start(2012, 3, 1);
    for (int d = 0; d < 31; d += 1 + d % 3) {
        t.addEntry("小華商行", start.addDays(d), true, 1, "門市銷售", 800 + d * 137);
        if (d % 2 == 0)
            t.addEntry("小華商行", start.addDays(d), false, 1, "餐飲", 120 + d * 45);
    }
    t.addEntry("小華商行", QDate(2012, 3, 30), false, 2, "商品進貨", 123456);
    Calendar cal(t);
    openCalendar(t, "小華商行", 2012, 3);
    cal.hover(cal.day(14));
    cal.form->grab().save(QDir(dir).filePath("calendar.png"));
}
