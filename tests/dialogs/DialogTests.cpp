#include "app/Program.h"
#include "dialogs/DialogPrompts.h"
#include "dialogs/Help_Unit.h"
#include "dialogs/InputPW_Unit.h"
#include "dialogs/MsgShow_Unit.h"
#include "dialogs/mrYesNo_Unit.h"
#include "support/TestProgram.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class Dialogs : public ::testing::Test
{
protected:
    TestProgram t;
    Program &p() { return t.program(); }
};

TEST_F(Dialogs, WarningStaysOnTopWithoutBlockingAndOkHidesIt)
{
    TMsgShow_Form &msg = *p().MsgShow_Form;
    EXPECT_EQ(msg.windowTitle(), QStringLiteral("警告訊息"));
    EXPECT_EQ(msg.size(), QSize(252, 99));
    EXPECT_TRUE(msg.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(msg.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(msg.MsgLabel->size(), QSize(223, 26));

    msg.showMessage(QStringLiteral("帳號重覆!!"));
    // The caller carries on at once: we are here while the dialog is shown.
    EXPECT_TRUE(msg.isVisible());
    EXPECT_FALSE(msg.isModal());
    EXPECT_EQ(msg.MsgLabel->text(), QStringLiteral("帳號重覆!!"));
    EXPECT_EQ(msg.btn3->text(), QStringLiteral("確定"));
    QTest::mouseClick(msg.btn3, Qt::LeftButton);
    EXPECT_FALSE(msg.isVisible());
}

TEST_F(Dialogs, YesNoReportsWhichButtonClosedIt)
{
    TmrYesNo_Form &yesNo = *p().mrYesNo_Form;
    EXPECT_EQ(yesNo.windowTitle(), QStringLiteral("提示視窗"));
    EXPECT_EQ(yesNo.size(), QSize(346, 68));
    EXPECT_EQ(yesNo.btn3->text(), QStringLiteral("確定"));
    EXPECT_EQ(yesNo.JvXPButton1->text(), QStringLiteral("取消"));

    const struct
    {
        QPushButton *button;
        int result;
    } cases[] = { { yesNo.btn3, QDialog::Accepted }, { yesNo.JvXPButton1, QDialog::Rejected } };
    for (const auto &c : cases) {
        yesNo.open();
        EXPECT_TRUE(yesNo.isModal());
        QTest::mouseClick(c.button, Qt::LeftButton);
        EXPECT_FALSE(yesNo.isVisible());
        EXPECT_EQ(yesNo.result(), c.result);
    }
}

TEST_F(Dialogs, PasswordDialogNeverKeepsATypedPasswordAndEnterMovesOn)
{
    TInputPW_Form &input = *p().InputPW_Form;
    EXPECT_EQ(input.windowTitle(), QStringLiteral("密碼確認視窗"));
    EXPECT_EQ(input.size(), QSize(196, 84));
    EXPECT_TRUE(input.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(input.jvlbl1->text(), QStringLiteral("請輸入此帳本登入密碼"));
    EXPECT_EQ(input.JvEdit1->echoMode(), QLineEdit::Password);

    input.open();
    QTest::keyClicks(input.JvEdit1, QStringLiteral("abc"));
    EXPECT_EQ(input.JvEdit1->displayText(), QStringLiteral("***"));
    input.JvEdit1->setFocus();
    QTest::keyClick(input.JvEdit1, Qt::Key_Return);
    EXPECT_TRUE(input.isVisible()); // Enter did not confirm
    EXPECT_EQ(input.focusWidget(), input.btn1);
    QTest::mouseClick(input.btn1, Qt::LeftButton);
    EXPECT_EQ(input.result(), QDialog::Accepted);
    // Used once: the closed dialog no longer holds it, and it opens empty for the next person.
    EXPECT_TRUE(input.JvEdit1->text().isEmpty());
    input.open();
    EXPECT_TRUE(input.JvEdit1->text().isEmpty());

    // Typed, then cancelled, then opened again: nothing to reuse either.
    QTest::keyClicks(input.JvEdit1, QStringLiteral("abc"));
    QTest::mouseClick(input.btn2, Qt::LeftButton);
    EXPECT_EQ(input.result(), QDialog::Rejected);
    EXPECT_TRUE(input.JvEdit1->text().isEmpty());
    input.JvEdit1->setText(QStringLiteral("left behind")); // however it got there
    input.open();
    EXPECT_TRUE(input.JvEdit1->text().isEmpty());
    input.reject();
}

TEST_F(Dialogs, AboutBoxHidesOnDoubleClick)
{
    THelp_Form &help = *p().Help_Form;
    EXPECT_EQ(help.windowTitle(), QStringLiteral("說明"));
    EXPECT_EQ(help.size(), QSize(226, 168));
    EXPECT_TRUE(help.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(help.ProductLabel->text(), QStringLiteral("青禾理財簿"));
    EXPECT_EQ(help.BuildLabel->text(), QStringLiteral("Build 2012.12.09"));
    EXPECT_TRUE(help.MailLabel->text().contains(QStringLiteral("mailto:")));

    help.showCentred();
    QTest::mouseDClick(help.RightsLabel, Qt::LeftButton);
    EXPECT_FALSE(help.isVisible());
    help.showCentred();
    QTest::mouseDClick(&help, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(help.isVisible());
}

TEST(DialogPromptsTest, TheSaveDialogAddsTheSuffixBeforeItAsksAboutReplacing)
{
    QTemporaryDir dir;
    const auto dialog = makeSaveFileDialog(nullptr, QStringLiteral("匯出"),
        dir.filePath(QStringLiteral("2012年度分析.xlsx")), QStringLiteral("Excel檔 (*.xlsx)"),
        QStringLiteral("xlsx"));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("匯出"));
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("xlsx"));
    EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog->nameFilters(), QStringList({ QStringLiteral("Excel檔 (*.xlsx)") }));
    EXPECT_EQ(dialog->selectedFiles(), QStringList({ dir.filePath("2012年度分析.xlsx") }));

    // Typing 報表 means 報表.xlsx: that is the name the dialog checks for an existing file.
    auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    ASSERT_TRUE(name);
    name->setText(QStringLiteral("報表"));
    EXPECT_EQ(dialog->selectedFiles(), QStringList({ dir.filePath("報表.xlsx") }));
}

TEST(DialogPromptsTest, WarningsGoToTheProgramsOwnDialog)
{
    TempDataDir dir;
    Program program(dir.path()); // the real dialogs
    program.prompts().warning(QStringLiteral("帳本及相關資料己刪除！"));
    EXPECT_TRUE(program.MsgShow_Form->isVisible());
    EXPECT_EQ(program.MsgShow_Form->MsgLabel->text(), QStringLiteral("帳本及相關資料己刪除！"));
}

} // namespace
