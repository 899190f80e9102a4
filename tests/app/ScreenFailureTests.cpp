#include "calendar/CalendarWidgets.h"
#include "calendar/RM_Main_Unit.h"
#include "dayentry/CashRecord_Unit.h"
#include "recurring/FirmCash_Unit.h"
#include "statistics/Month_Unit.h"
#include "statistics/Year_Unit.h"
#include "support/TestProgram.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

// The data file fails under the running program (say its first pages were overwritten): every
// statement fails from then on. Each screen reports it once per showing, however often the
// window manager activates it again, and can still be left.
namespace {
const QString Ledger = QStringLiteral("小店");
const QString Damaged = QStringLiteral("資料檔已損壞，無法讀取。（file is not a database）");

struct FailingScreen
{
    const char *name;
    // Does what the user does to meet the failure; returns the screen in front.
    std::function<QWidget *(TestProgram &)> meet;
    // Leaves that screen the way the user does.
    std::function<void(TestProgram &)> leave;
};

void PrintTo(const FailingScreen &screen, std::ostream *os)
{
    *os << screen.name;
}

void click(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton);
}

DayCell *dayCell(TRM_Main_Form *calendar, int day)
{
    for (DayCell *cell : calendar->RichEdits)
        if (!cell->lines().isEmpty() && cell->lines().first().text == QString::number(day))
            return cell;
    return nullptr;
}

// What happens when a message box closes or the user comes back from another program.
void activate(QWidget *window)
{
    QEvent activation(QEvent::WindowActivate);
    QCoreApplication::sendEvent(window, &activation);
}
} // namespace

class ScreenFailure : public ::testing::TestWithParam<FailingScreen>
{
};

TEST_P(ScreenFailure, IsReportedOnceAndTheScreenCanStillBeLeft)
{
    TestProgram t;
    t.loginAs(Ledger, 2012, 3);
    t.addEntry(Ledger, QDate(2012, 3, 12), true, 2, QStringLiteral("投資"), 1200);
    TRM_Main_Form *calendar = t->RM_Main_Form;
    calendar->showCentred();
    calendar->FormActivate();
    ASSERT_TRUE(t.prompts().errors.isEmpty());

    t.db().setStatementHook([](const QString &) { throw DbError(Damaged); });
    QWidget *screen = GetParam().meet(t);
    ASSERT_TRUE(screen->isVisible());
    for (int i = 0; i < 4; ++i) {
        activate(screen);
        if (auto *window = qobject_cast<GradientWindow *>(screen))
            window->FormActivate();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(t.prompts().errors.size(), 1) << t.prompts().errors.join('|').toStdString();
    EXPECT_EQ(t.prompts().errors.value(0), Damaged);

    GetParam().leave(t);
    if (screen != calendar) {
        EXPECT_FALSE(screen->isVisible());
        ASSERT_TRUE(calendar->isVisible());
        // The calendar is a new showing: it tries again, and says so once.
        for (int i = 0; i < 3; ++i)
            calendar->FormActivate();
        EXPECT_EQ(t.prompts().errors.size(), 2) << t.prompts().errors.join('|').toStdString();
        QTest::keyClick(calendar, Qt::Key_Escape); // 退出系統 by its key
    }
    EXPECT_TRUE(t->ended());
}

INSTANTIATE_TEST_SUITE_P(EveryRefreshingScreen, ScreenFailure,
    ::testing::Values(FailingScreen { "Calendar",
                          [](TestProgram &t) -> QWidget * {
                              click(t->RM_Main_Form->MSpeedButton2);
                              return t->RM_Main_Form;
                          },
                          [](TestProgram &t) { click(t->RM_Main_Form->BitBtn7); } },
        FailingScreen { "FixedItems",
            [](TestProgram &t) -> QWidget * {
                click(t->RM_Main_Form->BitBtn2);
                return t->FirmCash_Form;
            },
            [](TestProgram &t) { click(t->FirmCash_Form->BitBtn3); } },
        FailingScreen { "DayScreen",
            [](TestProgram &t) -> QWidget * {
                t->RM_Main_Form->RichEdit1MouseDown(dayCell(t->RM_Main_Form, 12));
                return t->CashRecord_Form;
            },
            [](TestProgram &t) { QTest::keyClick(t->CashRecord_Form, Qt::Key_Escape); } },
        FailingScreen { "MonthlyStatistics",
            [](TestProgram &t) -> QWidget * {
                click(t->RM_Main_Form->BitBtn3);
                return t->Month_Form;
            },
            [](TestProgram &t) { click(t->Month_Form->BitBtn3); } },
        FailingScreen { "YearlyStatistics",
            [](TestProgram &t) -> QWidget * {
                click(t->RM_Main_Form->BitBtn4);
                return t->Year_Form;
            },
            [](TestProgram &t) { QTest::keyClick(t->Year_Form->ListView1, Qt::Key_Escape); } }),
    [](const ::testing::TestParamInfo<FailingScreen> &info) {
        return std::string(info.param.name);
    });
