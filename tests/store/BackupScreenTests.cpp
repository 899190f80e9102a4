#include "BackupTestSupport.h"
#include "calendar/RM_Main_Unit.h"
#include "store/Backup.h"
#include "store/DataFileSaved_Unit.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace backuptest;

namespace {

// The calendar is showing with a logged-in ledger and the backup screen has been opened.
struct BackupScreen
{
    BackupScreen()
    {
        fillTwoLedgers(t);
        t->RM_Main_Form->show();
        form()->openFromCalendar();
    }
    TDataFileSaved_Form *form() { return t->DataFileSaved_Form; }
    QPushButton *button(const char *name)
    {
        return form()->findChild<QPushButton *>(QString::fromLatin1(name));
    }
    QString backupFile()
    {
        const QString path = t.dir() + QStringLiteral("/saved.BAK");
        Backup(t.db(), t.dir()).backupTo(path);
        return path;
    }

    TestProgram t;
};

} // namespace

TEST(BackupScreen, LooksLikeASmallWindowWithTwoCommands)
{
    BackupScreen s;
    EXPECT_EQ(s.form()->windowTitle(), QStringLiteral("備份"));
    EXPECT_EQ(s.form()->size(), QSize(244, 53));
    ASSERT_TRUE(s.button("jvbtbtn2"));
    ASSERT_TRUE(s.button("jvbtbtn3"));
    EXPECT_EQ(s.button("jvbtbtn2")->text(), QStringLiteral("備份"));
    EXPECT_EQ(s.button("jvbtbtn3")->text(), QStringLiteral("回存"));
    EXPECT_TRUE(s.t->RM_Main_Form->isVisible());
    s.form()->grab().save(QStringLiteral("/tmp/backup-screen.png"));
}

TEST(BackupScreen, BackupProposesTodaysNameAndClosesBackToTheCalendar)
{
    BackupScreen s;
    const QString chosen = s.t.dir() + QStringLiteral("/mine.BAK");
    s.t.prompts().savePaths.push_back(chosen);
    QTest::mouseClick(s.button("jvbtbtn2"), Qt::LeftButton);

    EXPECT_EQ(s.t.prompts().saveRequests,
        QStringList({ QStringLiteral("備份|%1|備份檔 (*.BAK)")
                          .arg(Backup::defaultFileName(s.t.dir(), QDate::currentDate())) }));
    EXPECT_EQ(dumpFile(chosen), dump(s.t.db()));
    EXPECT_FALSE(s.form()->isVisible());
    EXPECT_TRUE(s.t->RM_Main_Form->isVisible());
    EXPECT_TRUE(s.button("jvbtbtn2")->isEnabled());
    EXPECT_TRUE(s.t.prompts().warnings.isEmpty());
    EXPECT_TRUE(s.t.prompts().errors.isEmpty());
}

TEST(BackupScreen, CancellingEitherDialogKeepsTheScreenOpenAndChangesNothing)
{
    BackupScreen s;
    const QStringList before = dump(s.t.db());
    QTest::mouseClick(s.button("jvbtbtn2"), Qt::LeftButton);
    QTest::mouseClick(s.button("jvbtbtn3"), Qt::LeftButton);
    EXPECT_EQ(s.t.prompts().openRequests,
        QStringList({ QStringLiteral("回存|%1|備份檔 (*.BAK)").arg(s.t.dir()) }));
    EXPECT_TRUE(s.t.prompts().yesNoQuestions.isEmpty());
    EXPECT_TRUE(s.form()->isVisible());
    EXPECT_EQ(filesIn(s.t.dir()), QStringList({ "CDB.dat" }));
    EXPECT_EQ(dump(s.t.db()), before);
}

TEST(BackupScreen, AFailedBackupIsReportedAndTheScreenStaysOpen)
{
    BackupScreen s;
    s.t.prompts().savePaths.push_back(s.t.dir() + QStringLiteral("/no such folder/x.BAK"));
    QTest::mouseClick(s.button("jvbtbtn2"), Qt::LeftButton);
    ASSERT_EQ(s.t.prompts().errors.size(), 1);
    EXPECT_TRUE(s.t.prompts().errors[0].startsWith(QStringLiteral("無法寫入備份檔")));
    EXPECT_TRUE(s.form()->isVisible());
    EXPECT_TRUE(s.button("jvbtbtn2")->isEnabled());
}

TEST(BackupScreen, AnsweringNoToTheRestoreQuestionClosesWithoutAnyChange)
{
    BackupScreen s;
    const QString file = s.backupFile();
    s.t.addEntry(Ledger, QDate(2012, 3, 30), true, 2, QStringLiteral("投資"), 5);
    const QStringList before = dump(s.t.db());
    s.t.prompts().openPaths.push_back(file);
    s.t.prompts().confirmAnswers.push_back(false);
    QTest::mouseClick(s.button("jvbtbtn3"), Qt::LeftButton);

    // Asked in the standard question box with 是 and 否, after the backup was read, with what
    // it holds and what would be replaced.
    EXPECT_TRUE(s.t.prompts().questions.isEmpty());
    EXPECT_EQ(s.t.prompts().yesNoQuestions,
        QStringList({ QStringLiteral("備份中「%1」有 4 筆記帳資料，目前有 5 筆；"
                                     "回存後目前的資料將被取代，確定要回存嗎？")
                          .arg(Ledger) }));
    EXPECT_FALSE(s.form()->isVisible());
    EXPECT_TRUE(s.t->RM_Main_Form->isVisible());
    EXPECT_EQ(dump(s.t.db()), before);
    EXPECT_TRUE(safetyCopies(s.t.dir()).isEmpty());
}

TEST(BackupScreen, RestoreBringsBackTheCurrentLedgerAndCloses)
{
    BackupScreen s;
    const QString file = s.backupFile();
    const QStringList backedUp = dump(s.t.db(), Ledger);
    s.t.addEntry(Ledger, QDate(2012, 3, 30), true, 2, QStringLiteral("投資"), 5);
    s.t.addEntry(Other, QDate(2012, 3, 30), true, 2, QStringLiteral("投資"), 6);
    const QStringList others = dump(s.t.db(), Other);
    s.t.prompts().openPaths.push_back(file);
    QTest::mouseClick(s.button("jvbtbtn3"), Qt::LeftButton);

    EXPECT_TRUE(s.t.prompts().errors.isEmpty());
    EXPECT_TRUE(s.t.prompts().warnings.isEmpty());
    EXPECT_EQ(dump(s.t.db(), Ledger), backedUp);
    EXPECT_EQ(dump(s.t.db(), Other), others);
    // The message afterwards says where the data as it was before is kept.
    const QStringList copies = safetyCopies(s.t.dir());
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(s.t.prompts().messages,
        QStringList(
            { QStringLiteral("回存完成。回存前的資料已另存為：\n%1")
                    .arg(QDir::toNativeSeparators(s.t.dir() + QLatin1Char('/') + copies[0])) }));
    EXPECT_FALSE(s.form()->isVisible());
    EXPECT_TRUE(s.t->RM_Main_Form->isVisible());
    EXPECT_TRUE(s.button("jvbtbtn3")->isEnabled());
}

TEST(BackupScreen, ABackupWithoutEntriesOfTheLedgerSaysSoBeforeReplacingThem)
{
    BackupScreen s;
    // The ledger had its categories but no entries yet when this backup was made.
    const QString file = s.t.dir() + QStringLiteral("/early.BAK");
    s.t.db().exec(QStringLiteral("DELETE FROM 單日記帳本 WHERE 使用者 = ?"), { Ledger });
    Backup(s.t.db(), s.t.dir()).backupTo(file);
    s.t.addEntry(Ledger, QDate(2012, 3, 2), true, 2, QStringLiteral("投資"), 5);
    s.t.addEntry(Ledger, QDate(2012, 3, 3), false, 1, QStringLiteral("餐飲"), 60);
    const QStringList before = dump(s.t.db());
    s.t.prompts().openPaths.push_back(file);
    s.t.prompts().confirmAnswers.push_back(false);
    QTest::mouseClick(s.button("jvbtbtn3"), Qt::LeftButton);

    EXPECT_EQ(s.t.prompts().yesNoQuestions,
        QStringList({ QStringLiteral("備份中「%1」有 0 筆記帳資料，目前有 2 筆；"
                                     "回存後目前的資料將被取代，確定要回存嗎？")
                          .arg(Ledger) }));
    EXPECT_EQ(dump(s.t.db()), before);
}

TEST(BackupScreen, ARefusedRestoreSaysWhyAndStaysOpen)
{
    BackupScreen s;
    const QString junk = s.t.dir() + QStringLiteral("/junk.BAK");
    writeBytes(junk, "not a database");
    const QStringList before = dump(s.t.db());
    s.t.prompts().openPaths.push_back(junk);
    QTest::mouseClick(s.button("jvbtbtn3"), Qt::LeftButton);

    // Refused before any question: there is nothing to confirm.
    EXPECT_TRUE(s.t.prompts().yesNoQuestions.isEmpty());
    EXPECT_EQ(
        s.t.prompts().warnings, QStringList({ QStringLiteral("此備份檔不是本程式的資料檔") }));
    EXPECT_EQ(dump(s.t.db()), before);
    EXPECT_TRUE(s.form()->isVisible());
    EXPECT_TRUE(s.button("jvbtbtn3")->isEnabled());
}

TEST(BackupScreen, TheCloseBoxShowsTheCalendarAgainAndAnotherScreenTakesItAway)
{
    BackupScreen s;
    s.form()->close();
    EXPECT_FALSE(s.form()->isVisible());
    EXPECT_TRUE(s.t->RM_Main_Form->isVisible());

    // A calendar command opens another screen while this one is up: both make way for it.
    s.form()->openFromCalendar();
    s.t->RM_Main_Form->hide();
    EXPECT_FALSE(s.form()->isVisible());
    EXPECT_FALSE(s.t->RM_Main_Form->isVisible());
}
