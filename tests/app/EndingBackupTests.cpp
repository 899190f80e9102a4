#include "app/AutoBackupWindow.h"
#include "calendar/CalendarWidgets.h"
#include "calendar/RM_Main_Unit.h"
#include "categories/CashSet_Unit.h"
#include "dayentry/CashRecord_Unit.h"
#include "ledgers/LedgerAdmin.h"
#include "ledgers/LedgerDirectory.h"
#include "ledgers/SelectUser_Unit.h"
#include "statistics/Month_Unit.h"
#include "store/AutoBackup.h"
#include "store/DataFileSaved_Unit.h"
#include "support/TestProgram.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString Ledger = QStringLiteral("小店");

QStringList copiesIn(const QString &dataDir)
{
    return QDir(AutoBackup::folderIn(dataDir)).entryList(QDir::Files, QDir::Name);
}

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// A data folder holding a ledger with entries, written by an earlier run as the day screen
// writes them (an empty note is the empty text).
void earlierRun(const QString &dir)
{
    TestProgram t(dir);
    LedgerAdmin(t.db(), t->directory()).createLedger(Ledger, QString());
    t->directory().SetLedgerYear(Ledger, 2012);
    t.addEntry(
        Ledger, QDate(2012, 3, 12), false, 1, QStringLiteral("餐飲"), 120, QStringLiteral(""));
    t.addEntry(
        Ledger, QDate(2012, 3, 12), true, 1, QStringLiteral("門市銷售"), 900, QStringLiteral(""));
}

// Logs in through the selection screen, as a user does.
void logIn(TestProgram &t)
{
    TSelectUser_Form *select = t->SelectUser_Form;
    select->showCentred();
    select->FormActivate();
    select->ComboBox1->setCurrentIndex(select->ComboBox1->findText(Ledger));
    select->Button1Click();
    ASSERT_TRUE(t->RM_Main_Form->isVisible());
    t->RM_Main_Form->Year_Label->setValue(2012);
    t->RM_Main_Form->M_Label->setText(QStringLiteral("3月"));
    t->RM_Main_Form->FormActivate();
}

DayCell *cellOf(TestProgram &t, int day)
{
    for (DayCell *cell : t->RM_Main_Form->RichEdits) {
        if (!cell->lines().isEmpty() && cell->lines().first().text == QString::number(day))
            return cell;
    }
    return nullptr;
}

// Looks at the month statistics, a day and the category settings (twice: once confirmed
// after adding and removing a name, once left by the close box), and goes back.
void lookAround(TestProgram &t)
{
    t->RM_Main_Form->BitBtn3Click();
    t->Month_Form->close();
    t->RM_Main_Form->RichEdit1MouseDown(cellOf(t, 12));
    TCashRecord_Form *day = t->CashRecord_Form;
    ASSERT_TRUE(day->isVisible());

    TCashSet_Form *categories = t->CashSet_Form;
    day->CashSet_ButtonClick();
    categories->cbb1->setCurrentIndex(0);
    categories->cbb1Change();
    categories->Edit1->setText(QStringLiteral("團購"));
    categories->Button1Click();
    categories->ListBox1->setCurrentRow(categories->ListBox1->count() - 1);
    categories->ListBox1Click();
    categories->Button2Click();
    categories->Button5Click();
    day->CashSet_ButtonClick();
    categories->close();
    day->close();
}

void leaveByExit(TestProgram &t)
{
    t.prompts().confirmAnswers = { true };
    t->RM_Main_Form->BitBtn7Click();
}

} // namespace

TEST(EndingBackup, ALookingRunWritesNoCopyWhileChangesOfEveryKindDo)
{
    struct Case
    {
        const char *what;
        std::function<void(TestProgram &)> change;
        bool copy;
    } cases[] = {
        { "looking only", [](TestProgram &) {}, false },
        { "the default day page changed",
            [](TestProgram &t) {
                t->RM_Main_Form->RichEdit1MouseDown(cellOf(t, 12));
                t->CashRecord_Form->chk1->setChecked(true);
                t->CashRecord_Form->chk1Click();
                t->CashRecord_Form->close();
            },
            true },
        { "a category kept",
            [](TestProgram &t) {
                t->RM_Main_Form->RichEdit1MouseDown(cellOf(t, 12));
                t->CashRecord_Form->CashSet_ButtonClick();
                TCashSet_Form *categories = t->CashSet_Form;
                categories->cbb1->setCurrentIndex(0);
                categories->cbb1Change();
                categories->Edit1->setText(QStringLiteral("團購"));
                categories->Button1Click();
                categories->Button5Click();
                t->CashRecord_Form->close();
            },
            true },
        { "a password changed",
            [](TestProgram &t) {
                t->directory().ChangeLedgerPassword(Ledger, QString(), QStringLiteral("pw"));
            },
            true },
    };
    for (const Case &c : cases) {
        TempDataDir dir;
        earlierRun(dir.path());
        TestProgram t(dir.path());
        logIn(t);
        lookAround(t);
        c.change(t);
        leaveByExit(t);
        EXPECT_TRUE(t->ended()) << c.what;
        EXPECT_EQ(copiesIn(dir.path()).size(), c.copy ? 2 : 0) << c.what;
        EXPECT_TRUE(t.prompts().errors.isEmpty()) << c.what;
        if (!c.copy) {
            EXPECT_FALSE(QFileInfo::exists(AutoBackup::folderIn(dir.path()))) << c.what;
        }
    }
}

TEST(EndingBackup, EveryWayOfEndingMakesTheCopyWithTheLedgerListOfThatMoment)
{
    struct Way
    {
        const char *what;
        bool loggedIn;
        std::function<void(TestProgram &)> end;
    } ways[] = {
        { "退出系統", true, leaveByExit },
        { "Esc in the calendar", true,
            [](TestProgram &t) {
                t.prompts().confirmAnswers = { true };
                QTest::keyClick(t->RM_Main_Form->Year_Label, Qt::Key_Escape);
            } },
        { "the calendar's close box", true, [](TestProgram &t) { t->RM_Main_Form->close(); } },
        { "取消 on the selection screen", false,
            [](TestProgram &t) { t->SelectUser_Form->Button2Click(); } },
        { "closing the selection screen", false,
            [](TestProgram &t) { t->SelectUser_Form->close(); } },
    };
    for (const Way &way : ways) {
        TempDataDir dir;
        earlierRun(dir.path());
        TestProgram t(dir.path());
        t->clock = [] { return QDateTime(QDate(2026, 3, 5), QTime(18, 30, 1)); };
        if (way.loggedIn) {
            logIn(t);
        } else {
            t->SelectUser_Form->showCentred();
            t->SelectUser_Form->FormActivate();
        }
        t.addEntry(Ledger, QDate(2012, 3, 13), false, 1, QStringLiteral("餐飲"), 60);
        way.end(t);

        ASSERT_TRUE(t->ended()) << way.what;
        EXPECT_EQ(copiesIn(dir.path()),
            QStringList({ QStringLiteral("青禾20260305-183001.BAK"),
                QStringLiteral("青禾20260305-183001.BAK.UserInfo") }))
            << way.what;
        const QString copy = QDir(AutoBackup::folderIn(dir.path()))
                                 .filePath(QStringLiteral("青禾20260305-183001.BAK"));
        EXPECT_EQ(bytesOf(copy + QStringLiteral(".UserInfo")), bytesOf(t->userInfoPath()))
            << way.what;
        {
            Database books(copy);
            EXPECT_EQ(books.scalar(QStringLiteral("SELECT COUNT(*) FROM 單日記帳本")).toInt(), 3)
                << way.what;
        }
        AutoBackupWindow *window = t->autoBackupWindow();
        ASSERT_NE(window, nullptr) << way.what;
        EXPECT_EQ(window->Label1->text(), QStringLiteral("正在自動備份…"));
        EXPECT_EQ(window->ProgressBar1->value(), 100);
        EXPECT_FALSE(window->isVisible()) << way.what;
        EXPECT_TRUE(t.prompts().errors.isEmpty() && t.prompts().messages.isEmpty()) << way.what;
    }
}

TEST(EndingBackup, ASkippedOrFailedCopySaysSoOnceAndTheProgramStillEnds)
{
    constexpr qint64 GB = qint64(1) << 30;
    for (const bool lowSpace : { true, false }) {
        TempDataDir dir;
        earlierRun(dir.path());
        TestProgram t(dir.path());
        logIn(t);
        t.addEntry(Ledger, QDate(2012, 3, 13), false, 1, QStringLiteral("餐飲"), 60);
        if (lowSpace)
            t->diskSpace = [](const QString &) { return DiskSpace { 2 * GB, 100 * GB }; };
        else
            QFile(AutoBackup::folderIn(dir.path())).open(QIODevice::WriteOnly); // in the way
        t->RM_Main_Form->close();
        const QByteArray books = bytesOf(QDir(dir.path()).filePath(QStringLiteral("CDB.dat")));

        EXPECT_TRUE(t->ended());
        if (lowSpace) {
            EXPECT_EQ(t.prompts().messages, QStringList { AutoBackup::lowSpaceMessage() });
            EXPECT_TRUE(t.prompts().errors.isEmpty());
            EXPECT_FALSE(QFileInfo::exists(AutoBackup::folderIn(dir.path())));
        } else {
            EXPECT_EQ(t.prompts().errors.size(), 1);
            EXPECT_TRUE(t.prompts().messages.isEmpty());
            EXPECT_TRUE(QFileInfo(AutoBackup::folderIn(dir.path())).isFile());
        }
        TestProgram after(dir.path());
        EXPECT_EQ(after.db().scalar(QStringLiteral("SELECT COUNT(*) FROM 單日記帳本")).toInt(), 3);
        EXPECT_EQ(bytesOf(QDir(dir.path()).filePath(QStringLiteral("CDB.dat"))), books);
    }
}

TEST(EndingBackup, RestoreOffersTheAutomaticCopiesFirst)
{
    TempDataDir dir;
    earlierRun(dir.path());
    {
        TestProgram t(dir.path());
        logIn(t);
        t->DataFileSaved_Form->jvbtbtn3Click();
        EXPECT_EQ(t.prompts().openRequests.last().section(QLatin1Char('|'), 1, 1), dir.path());
        t.addEntry(Ledger, QDate(2012, 3, 13), false, 1, QStringLiteral("餐飲"), 60);
        t->RM_Main_Form->close();
    }
    TestProgram t(dir.path());
    logIn(t);
    t->DataFileSaved_Form->jvbtbtn3Click();
    EXPECT_EQ(t.prompts().openRequests.last().section(QLatin1Char('|'), 1, 1),
        AutoBackup::folderIn(dir.path()));
}
