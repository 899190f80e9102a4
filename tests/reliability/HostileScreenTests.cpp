#include "HostileText.h"
#include "categories/CashSet_Unit.h"
#include "dayentry/CashRecord_Unit.h"
#include "ledgers/Big5.h"
#include "ledgers/LedgerDirectory.h"
#include "ledgers/NewUser_Unit.h"
#include "ledgers/SelectUser_Unit.h"
#include "store/LedgerOps.h"
#include "support/Invariants.h"
#include "support/TestProgram.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const QString Ledger = QStringLiteral("王小明");
const QDate Day(2012, 3, 12);

// What typing ends in for text QTest cannot type key by key (CJK, emoji).
void typeInto(QLineEdit *field, const QString &text)
{
    field->clear();
    field->insert(text);
}
} // namespace

// Typed on the day screen: a new subcategory name (taken into the categories when the user
// agrees) and a note, each hostile; both come back as typed, in the list and in the data.
TEST(HostileTextOnScreens, DayScreenNamesAndNotes)
{
    TestProgram t;
    t.loginAs(Ledger, 2012, 3);
    TCashRecord_Form *day = t->CashRecord_Form;
    t->RM_Main_Form->hide();
    day->openFromCalendar(Day);
    QStringList texts = hostileTexts();
    texts.removeAll(QStringLiteral("一\n二")); // a line edit cannot hold a line break
    int recorded = 0;
    for (const QString &text : texts) {
        SCOPED_TRACE(text.toStdString());
        day->PageControl1->setCurrentIndex(1);
        day->out_main_item->setCurrentIndex(0);
        day->ComboBox2->setEditText(text);
        day->ComboBox2Exit(); // leaving the picker offers the new name as a category
        QTest::keyClicks(day->Edit3, "12");
        typeInto(day->Edit4, text);
        ASSERT_TRUE(day->Button5->isEnabled());
        day->Button5->click();
        ++recorded;
        EXPECT_EQ(column(t.db(), "SELECT 說明 FROM 單日記帳本 WHERE 使用者 = ? AND 帳目名稱 = ?",
                      { Ledger, text }),
            QStringList { text });
        EXPECT_TRUE(GetCategoryNameList(t.db(), Ledger, "0", 1).contains(text));
    }
    // The long note on the income page.
    day->PageControl1->setCurrentIndex(0);
    day->in_main_item->setCurrentIndex(1);
    QTest::keyClicks(day->Edit1, "5");
    typeInto(day->Edit2, longNote());
    day->Button4->click();
    EXPECT_EQ(column(t.db(), "SELECT 說明 FROM 單日記帳本 WHERE 帳目類型 = 1"),
        QStringList { longNote() });

    day->FormActivate();
    EXPECT_EQ(day->ListView2->topLevelItemCount(), recorded);
    EXPECT_EQ(column(t.db(), "SELECT 支出小計 FROM 記帳本 WHERE 使用者 = ?", { Ledger }),
        QStringList { QString::number(12 * recorded) });
    expectDataSound(t.db());
}

// Added on the category screen and kept with its confirm button.
TEST(HostileTextOnScreens, CategoryScreenNames)
{
    TestProgram t;
    t.loginAs(Ledger, 2012, 3);
    t->RM_Main_Form->hide();
    t->CashRecord_Form->openFromCalendar(Day);
    t->CashRecord_Form->CashSet_Button->click();
    TCashSet_Form *form = t->CashSet_Form;
    ASSERT_TRUE(form->isVisible());
    form->cbb1->setCurrentIndex(1); // expense
    form->cbb1Change();
    form->cbb2->setCurrentIndex(0); // 個人花費
    form->cbb2Change();
    QStringList added;
    for (const QString &text : hostileTexts()) {
        SCOPED_TRACE(text.toStdString());
        const QString name = text.left(20); // the screen takes up to 20 characters
        typeInto(form->Edit1, name);
        form->Button1->click();
        added << name;
    }
    const QStringList violationsWhileOpen
        = checkInvariants(t.db(), { .allowBackupCategories = true });
    EXPECT_TRUE(violationsWhileOpen.isEmpty()) << describeViolations(violationsWhileOpen);
    form->Button5->click();
    const QStringList stored = GetCategoryNameList(t.db(), Ledger, "0", 1);
    for (const QString &name : added)
        EXPECT_TRUE(stored.contains(name)) << name.toStdString();
    expectDataSound(t.db());
}

// Typed into the new-ledger screen: stored and listed when Big5 can hold the name, refused
// with a message (and nothing written) when it cannot.
TEST(HostileTextOnScreens, NewLedgerScreenNames)
{
    TestProgram t;
    TSelectUser_Form *select = t->SelectUser_Form;
    TNewUser_Form *newUser = t->NewUser_Form;
    select->showCentred();
    select->FormActivate();
    LedgerDirectory directory(t->userInfoPath());
    QStringList created;
    for (const QString &text : hostileTexts()) {
        SCOPED_TRACE(text.toStdString());
        const QString name = QStringLiteral("帳") + text;
        t.prompts().clearLog();
        select->Button3->click();
        ASSERT_TRUE(newUser->isVisible());
        typeInto(newUser->Edit1, name);
        typeInto(newUser->Edit2, text);
        typeInto(newUser->Edit3, text);
        newUser->Button1->click();
        if (toBig5(name) && toBig5(text)) {
            EXPECT_FALSE(newUser->isVisible());
            created << name;
            EXPECT_TRUE(directory.CheckLedgerPassword(name, text).matches);
            EXPECT_FALSE(GetCategoryNameList(t.db(), name, "1").isEmpty());
        } else {
            const QStringList shown = t.prompts().warnings + t.prompts().alerts + t.prompts().errors
                + t.prompts().messages;
            EXPECT_FALSE(shown.isEmpty()) << "refused without a word";
            EXPECT_TRUE(GetCategoryNameList(t.db(), name, "1").isEmpty());
            newUser->Button2->click();
        }
        EXPECT_EQ(directory.ListLedgerNames(), created);
        select->FormActivate();
    }
    expectDataSound(t.db());
}
