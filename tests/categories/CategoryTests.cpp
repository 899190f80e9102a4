#include "calendar/RM_Main_Unit.h"
#include "categories/CashSet_Unit.h"
#include "categories/CategorySettings.h"
#include "dayentry/CashRecord_Unit.h"
#include "store/LedgerOps.h"
#include "support/TestProgram.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QString Ledger = QStringLiteral("林's 商店");
const QString Income = QStringLiteral("1");
const QString Expense = QStringLiteral("0");
constexpr auto Added = CategorySettings::AddResult::Added;
constexpr auto Duplicate = CategorySettings::AddResult::Duplicate;
constexpr auto Full = CategorySettings::AddResult::Full;

// Every category row of an owner, in a fixed order, one line each.
QStringList categoryRows(Database &db, const QString &owner)
{
    QSqlQuery q
        = db.exec(QStringLiteral("SELECT 帳目類別, 帳目屬性, 帳目名稱, 帳目順序 FROM 帳目分類 "
                                 "WHERE 帳目擁有者 = ? ORDER BY 帳目類別, 帳目順序, "
                                 "帳目名稱"),
            { owner });
    QStringList rows;
    while (q.next())
        rows << QStringList { q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
            q.value(3).toString() }
                    .join(QLatin1Char('|'));
    return rows;
}

struct CategoryLogic : ::testing::Test
{
    CategoryLogic() { t.loginAs(Ledger); }
    CategorySettings settings() { return CategorySettings(t.db(), Ledger); }
    int code(const QString &name)
    {
        return t.db()
            .scalar(QStringLiteral("SELECT 帳目順序 FROM 帳目分類 WHERE 帳目名稱 = ? AND "
                                   "帳目擁有者 = ?"),
                { name, Ledger })
            .toInt();
    }
    TestProgram t;
};

TEST_F(CategoryLogic, AddsAtTheEndAndRefusesADuplicateUnderTheSameMainCategory)
{
    CategorySettings s = settings();
    EXPECT_EQ(s.add(Income, 1, QStringLiteral("O'Reilly 書")), Added);
    EXPECT_EQ(s.subcategories(Income, 1).last(), QStringLiteral("O'Reilly 書"));
    EXPECT_EQ(code(QStringLiteral("O'Reilly 書")), 104);
    const QStringList before = categoryRows(t.db(), Ledger);
    EXPECT_EQ(s.add(Income, 1, QStringLiteral("O'Reilly 書")), Duplicate);
    EXPECT_EQ(categoryRows(t.db(), Ledger), before);
    // The same name under another main category, or in another kind, is a different category.
    EXPECT_EQ(s.add(Expense, 2, QStringLiteral("O'Reilly 書")), Added);
    EXPECT_EQ(s.add(Expense, 1, QStringLiteral("O'Reilly 書")), Added);
    // Another ledger's categories are not touched.
    t.copyTemplate(QStringLiteral("別人"));
    EXPECT_FALSE(GetCategoryNameList(t.db(), QStringLiteral("別人"), Income, 1)
                     .contains(QStringLiteral("O'Reilly 書")));
}

TEST_F(CategoryLogic, RemovingKeepsTheOtherCodesSoANewOneMayShareACode)
{
    CategorySettings s = settings();
    // Template: 門市銷售 101, 網路銷售 102, 批發銷售 103.
    s.remove(Income, 1, QStringLiteral("網路銷售"));
    EXPECT_EQ(s.subcategories(Income, 1),
        QStringList({ QStringLiteral("門市銷售"), QStringLiteral("批發銷售") }));
    EXPECT_EQ(s.add(Income, 1, QStringLiteral("展場")), Added);
    EXPECT_EQ(code(QStringLiteral("展場")), 103);
    EXPECT_EQ(code(QStringLiteral("批發銷售")), 103);
    // The main category itself cannot be removed, even by its name.
    s.remove(Income, 1, QStringLiteral("商品銷售"));
    EXPECT_EQ(GetCategoryNameList(t.db(), Ledger, Income).first(), QStringLiteral("商品銷售"));
}

TEST_F(CategoryLogic, MovingSwapsTheTwoRowsAndStopsAtTheEnds)
{
    CategorySettings s = settings();
    EXPECT_EQ(s.move(Income, 1, 0, false), 1);
    EXPECT_EQ(s.subcategories(Income, 1),
        QStringList({ QStringLiteral("網路銷售"), QStringLiteral("門市銷售"),
            QStringLiteral("批發銷售") }));
    EXPECT_EQ(code(QStringLiteral("網路銷售")), 101);
    EXPECT_EQ(code(QStringLiteral("門市銷售")), 102);
    EXPECT_EQ(s.move(Income, 1, 2, true), 1);
    EXPECT_EQ(s.subcategories(Income, 1),
        QStringList({ QStringLiteral("網路銷售"), QStringLiteral("批發銷售"),
            QStringLiteral("門市銷售") }));
    EXPECT_EQ(s.move(Income, 1, 0, true), 0);
    EXPECT_EQ(s.move(Income, 1, 2, false), 2);
    EXPECT_EQ(s.subcategories(Income, 1).size(), 3);
}

TEST_F(CategoryLogic, NinetyNineSubcategoriesAreTheMostAndOlderFilesWithMoreKeepWorking)
{
    CategorySettings s = settings();
    fillSubcategories(t.db(), Ledger, Expense, 3, 98);
    EXPECT_EQ(s.add(Expense, 3, QStringLiteral("第九九")), Added);
    EXPECT_EQ(code(QStringLiteral("第九九")), 399);
    const QStringList full = categoryRows(t.db(), Ledger);
    EXPECT_EQ(s.add(Expense, 3, QStringLiteral("第一百")), Full);
    EXPECT_EQ(categoryRows(t.db(), Ledger), full);
    EXPECT_EQ(s.add(Expense, 2, QStringLiteral("第一百")), Added) << "other lists are not full";

    // A file that already holds more: 補100 has the code 400 and 補101 the code 401.
    t.db().exec(QStringLiteral("DELETE FROM 帳目分類 WHERE 帳目名稱 = '第九九'"));
    fillSubcategories(t.db(), Ledger, Expense, 3, 101);
    const QStringList mains = GetCategoryNameList(t.db(), Ledger, Expense);
    EXPECT_EQ(mains.size(), 6) << "a subcategory with a code ending in 00 is no main category";
    EXPECT_EQ(mains.at(3), QStringLiteral("稅捐規費"));
    const QStringList subs = s.subcategories(Expense, 3);
    ASSERT_EQ(subs.size(), 101);
    EXPECT_EQ(subs.mid(98), QStringList({ "補99", "補100", "補101" }));
    EXPECT_EQ(s.add(Expense, 3, QStringLiteral("再一個")), Full);
    s.remove(Expense, 3, QStringLiteral("補100"));
    EXPECT_EQ(code(QStringLiteral("補101")), 401) << "never renumbered";
    EXPECT_EQ(s.subcategories(Expense, 3).size(), 100);
}

TEST_F(CategoryLogic, RollBackRestoresExactlyAndAStaleCopyIsDroppedFirst)
{
    const QString bak = CategorySettings::backupOwner(Ledger);
    const QStringList original = categoryRows(t.db(), Ledger);
    // A copy left behind by a run that ended while the screen was open.
    t.db().exec(QStringLiteral("INSERT INTO 帳目分類 VALUES ('1', '1', '殘留', 199, ?)"), { bak });

    CategorySettings s = settings();
    s.takeBackup();
    EXPECT_EQ(categoryRows(t.db(), bak), original);
    s.add(Expense, 3, QStringLiteral("保全"));
    s.remove(Expense, 1, QStringLiteral("餐飲"));
    s.move(Expense, 2, 0, false);
    s.finish(true);
    EXPECT_EQ(categoryRows(t.db(), Ledger), original);
    EXPECT_TRUE(categoryRows(t.db(), bak).isEmpty());

    s.takeBackup();
    s.add(Expense, 3, QStringLiteral("保全"));
    const QStringList changed = categoryRows(t.db(), Ledger);
    s.finish(false);
    EXPECT_EQ(categoryRows(t.db(), Ledger), changed);
    EXPECT_TRUE(categoryRows(t.db(), bak).isEmpty());
}

TEST_F(CategoryLogic, AFailedRollBackLeavesTheCategoriesAndTheCopy)
{
    const QString bak = CategorySettings::backupOwner(Ledger);
    CategorySettings s = settings();
    s.takeBackup();
    s.add(Income, 1, QStringLiteral("新品"));
    const QStringList changed = categoryRows(t.db(), Ledger);
    t.db().setStatementHook([](const QString &sql) {
        if (sql.startsWith(QStringLiteral("INSERT")))
            throw DbError(QStringLiteral("disk I/O error"));
    });
    EXPECT_THROW(s.finish(true), DbError);
    t.db().setStatementHook({});
    EXPECT_EQ(categoryRows(t.db(), Ledger), changed) << "nothing half-restored";
    EXPECT_FALSE(categoryRows(t.db(), bak).isEmpty()) << "the copy is kept for another try";
}

// The settings screen opened from the day screen.
struct CategoryScreen : ::testing::Test
{
    CategoryScreen()
    {
        t.loginAs(Ledger, 2012, 3);
        t->RM_Main_Form->hide();
        day()->openFromCalendar(QDate(2012, 3, 12));
        day()->CashSet_Button->click();
    }
    TCashRecord_Form *day() { return t->CashRecord_Form; }
    TCashSet_Form *form() { return t->CashSet_Form; }
    QStringList listed()
    {
        QStringList names;
        for (int i = 0; i < form()->ListBox1->count(); ++i)
            names << form()->ListBox1->item(i)->text();
        return names;
    }
    void chooseKind(int index)
    {
        form()->cbb1->setCurrentIndex(index);
        form()->cbb1Change();
    }
    void chooseMain(int index)
    {
        form()->cbb2->setCurrentIndex(index);
        form()->cbb2Change();
    }
    void add(const QString &name)
    {
        form()->Edit1->setText(name);
        form()->Button1->click();
    }
    TestProgram t;
};

TEST_F(CategoryScreen, OpensFromTheDayScreenWhichWaitsDisabled)
{
    EXPECT_TRUE(form()->isVisible());
    EXPECT_EQ(form()->windowTitle(), QStringLiteral("分類設定"));
    const Qt::WindowFlags flags = form()->windowFlags();
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint) << "the window manager keeps to the buttons asked";
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(day()->isEnabled());
    EXPECT_EQ(form()->cbb1->currentText(), QStringLiteral("請選擇"));
    EXPECT_EQ(form()->cbb2->count(), 0);
    EXPECT_FALSE(form()->Button2->isEnabled());
    EXPECT_EQ(form()->Button1->toolTip(), QStringLiteral("新增"));
    EXPECT_EQ(
        categoryRows(t.db(), CategorySettings::backupOwner(Ledger)), categoryRows(t.db(), Ledger));

    form()->cbb2Change();
    EXPECT_EQ(t.prompts().warnings, QStringList({ QStringLiteral("尚未選擇類型!!") }));
    form()->Edit1->setText(QStringLiteral("x"));
    form()->Button1Click();
    EXPECT_EQ(t.prompts().warnings.size(), 2);
}

TEST_F(CategoryScreen, MinimisingAndRestoringItTakeTheWaitingDayScreenAlong)
{
    ASSERT_TRUE(day()->isVisible());
    form()->setWindowState(Qt::WindowMinimized);
    EXPECT_TRUE(day()->windowState() & Qt::WindowMinimized);
    form()->setWindowState(Qt::WindowNoState);
    EXPECT_FALSE(day()->windowState() & Qt::WindowMinimized);
}

TEST_F(CategoryScreen, KindAndMainCategoryChooseTheListAndTheNameLabel)
{
    chooseKind(0);
    EXPECT_EQ(form()->cbb2->count(), 1);
    EXPECT_EQ(form()->cbb2->currentText(), QStringLiteral("商品銷售"));
    EXPECT_EQ(listed(), GetCategoryNameList(t.db(), Ledger, Income, 1));
    EXPECT_EQ(form()->Label1->text(), QStringLiteral("品名"));
    chooseKind(1);
    EXPECT_EQ(form()->cbb2->count(), 3);
    EXPECT_EQ(form()->Label1->text(), QStringLiteral("帳目"));
    chooseMain(2);
    EXPECT_EQ(form()->Label1->text(), QStringLiteral("品名"));
    EXPECT_EQ(listed(), GetCategoryNameList(t.db(), Ledger, Expense, 3));
    chooseMain(1);
    EXPECT_EQ(form()->Label1->text(), QStringLiteral("帳目"));
}

TEST_F(CategoryScreen, AddRemoveMoveThenCloseWithoutConfirmRestoresEverything)
{
    const QStringList original = categoryRows(t.db(), Ledger);
    chooseKind(0);
    add(QStringLiteral("門市銷售"));
    EXPECT_EQ(t.prompts().warnings.last(), QStringLiteral("品名名稱重覆!!"));
    add(QStringLiteral("團購"));
    EXPECT_EQ(listed().last(), QStringLiteral("團購"));
    EXPECT_TRUE(form()->Edit1->text().isEmpty());

    chooseKind(1);
    chooseMain(1);
    add(QStringLiteral("團購")); // same name, another main category
    EXPECT_EQ(listed().last(), QStringLiteral("團購"));
    add(QStringLiteral("原料"));
    EXPECT_EQ(t.prompts().warnings.last(), QStringLiteral("帳目名稱重覆!!"));

    form()->ListBox1->setCurrentRow(0);
    form()->ListBox1Click();
    EXPECT_EQ(form()->Edit1->text(), QStringLiteral("商品進貨"));
    EXPECT_TRUE(form()->Button2->isEnabled());
    form()->Button4->click();
    EXPECT_EQ(
        listed().mid(0, 2), QStringList({ QStringLiteral("原料"), QStringLiteral("商品進貨") }));
    EXPECT_EQ(form()->ListBox1->currentRow(), 1);
    form()->Button3->click();
    EXPECT_EQ(listed().first(), QStringLiteral("商品進貨"));

    form()->ListBox1->setCurrentRow(1);
    form()->ListBox1Click();
    t.prompts().confirmAnswers = { false };
    form()->Button2->click();
    EXPECT_EQ(t.prompts().questions.last(), QStringLiteral("是否確定刪除此帳目?"));
    EXPECT_TRUE(listed().contains(QStringLiteral("原料")));
    form()->Button2->click();
    EXPECT_FALSE(listed().contains(QStringLiteral("原料")));
    EXPECT_FALSE(form()->Button2->isEnabled());

    form()->close();
    EXPECT_FALSE(form()->isVisible());
    EXPECT_EQ(categoryRows(t.db(), Ledger), original);
    EXPECT_TRUE(categoryRows(t.db(), CategorySettings::backupOwner(Ledger)).isEmpty());
    EXPECT_TRUE(day()->isEnabled());
    EXPECT_TRUE(day()->isVisible());
}

TEST_F(CategoryScreen, AFullListRefusesAnotherSubcategoryWithAMessage)
{
    fillSubcategories(t.db(), Ledger, Expense, 3, 99);
    chooseKind(1);
    chooseMain(2);
    const QStringList before = categoryRows(t.db(), Ledger);
    add(QStringLiteral("保全"));
    ASSERT_FALSE(t.prompts().warnings.isEmpty());
    EXPECT_EQ(t.prompts().warnings.last(),
        QStringLiteral("「管銷」已有 99 個子分類，無法再新增；請先移除不用的子分類。"));
    EXPECT_EQ(categoryRows(t.db(), Ledger), before);
    EXPECT_EQ(listed().size(), 99);
}

TEST_F(CategoryScreen, ConfirmKeepsTheChangesAndTheDayScreenSeesThem)
{
    chooseKind(0);
    add(QStringLiteral("團購"));
    form()->Button5->click();
    EXPECT_FALSE(form()->isVisible());
    EXPECT_TRUE(GetCategoryNameList(t.db(), Ledger, Income, 1).contains(QStringLiteral("團購")));
    EXPECT_TRUE(categoryRows(t.db(), CategorySettings::backupOwner(Ledger)).isEmpty());
    EXPECT_TRUE(day()->isEnabled());
    QStringList pickerItems;
    for (int i = 0; i < day()->ComboBox1->count(); ++i)
        pickerItems << day()->ComboBox1->itemText(i);
    EXPECT_TRUE(pickerItems.contains(QStringLiteral("團購")));
}

TEST_F(CategoryScreen, TypingANameSelectsTheMatchingRow)
{
    chooseKind(0);
    form()->Edit1->setText(QStringLiteral("網路銷售"));
    form()->Edit1Change();
    EXPECT_EQ(form()->ListBox1->currentRow(), 1);
    EXPECT_TRUE(form()->Button2->isEnabled());
    form()->Edit1->setText(QStringLiteral("全新"));
    form()->Edit1Change();
    EXPECT_FALSE(form()->Button2->isEnabled());
    EXPECT_TRUE(form()->ListBox1->selectedItems().isEmpty());
}

} // namespace
