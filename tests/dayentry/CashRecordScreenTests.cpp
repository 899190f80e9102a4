#include "DayEntryTestSupport.h"
#include "calendar/RM_Main_Unit.h"
#include "dayentry/CashRecord_Unit.h"
#include "store/LedgerOps.h"
#include "ui/AmountEditFilter.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace dayentrytest;

namespace {

// The day screen opened from the calendar for a day of the logged-in ledger.
struct DayScreen : ::testing::Test
{
    DayScreen() { t.loginAs(Ledger, 2012, 3); }

    void open(int year, int month, int day)
    {
        t->RM_Main_Form->Year_Label->setValue(year);
        t->RM_Main_Form->M_Label->setText(QStringLiteral("%1月").arg(month));
        t->RM_Main_Form->hide();
        form()->openFromCalendar(QDate(year, month, day));
    }
    TCashRecord_Form *form() { return t->CashRecord_Form; }
    template<typename T> T *get(const char *name)
    {
        T *w = form()->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    QComboBox *combo(const char *name) { return get<QComboBox>(name); }
    QLineEdit *edit(const char *name) { return get<QLineEdit>(name); }
    QPushButton *button(const char *name) { return get<QPushButton>(name); }
    QTreeWidget *list(const char *name) { return get<QTreeWidget>(name); }
    QString text(const char *name) { return get<QLabel>(name)->text(); }

    // Picks a main category and a subcategory (by text) and records an amount and note.
    void recordIncome(int main, const QString &sub, const QString &amount, const QString &note = {})
    {
        get<QTabWidget>("PageControl1")->setCurrentIndex(0);
        combo("in_main_item")->setCurrentIndex(main);
        if (!sub.isEmpty())
            combo("ComboBox1")->setEditText(sub);
        QTest::keyClicks(edit("Edit1"), amount);
        edit("Edit2")->setText(note);
        ASSERT_TRUE(button("Button4")->isEnabled());
        button("Button4")->click();
    }
    void recordExpense(
        int main, const QString &sub, const QString &amount, const QString &note = {})
    {
        get<QTabWidget>("PageControl1")->setCurrentIndex(1);
        combo("out_main_item")->setCurrentIndex(main);
        if (!sub.isEmpty())
            combo("ComboBox2")->setEditText(sub);
        QTest::keyClicks(edit("Edit3"), amount);
        edit("Edit4")->setText(note);
        ASSERT_TRUE(button("Button5")->isEnabled());
        button("Button5")->click();
    }
    QStringList captions(const char *listName)
    {
        QStringList rows;
        QTreeWidget *l = list(listName);
        for (int i = 0; i < l->topLevelItemCount(); ++i)
            rows << l->topLevelItem(i)->text(0) + QLatin1Char('|') + l->topLevelItem(i)->text(1)
                    + QLatin1Char('|') + l->topLevelItem(i)->text(2);
        return rows;
    }
    void selectRow(const char *listName, int row)
    {
        QTreeWidget *l = list(listName);
        l->setCurrentItem(l->topLevelItem(row));
    }

    TestProgram t;
    const QDate Day { 2012, 3, 12 };
};

TEST_F(DayScreen, OpensOnTheClickedDayWithEmptyListsAndNoBalance)
{
    open(2012, 3, 12);
    EXPECT_TRUE(form()->isVisible());
    EXPECT_EQ(get<QLabel>("D_Label")->text(), QStringLiteral("12日(一)"));
    EXPECT_EQ(text("D_Text_Label"), QStringLiteral("3/12(一)"));
    EXPECT_EQ(form()->windowTitle(), QStringLiteral("3月單日帳"));
    EXPECT_EQ(combo("in_main_item")->currentText(), QStringLiteral("商品銷售"));
    EXPECT_EQ(combo("in_main_item")->count(), 4);
    EXPECT_EQ(combo("out_main_item")->count(), 6);
    EXPECT_EQ(combo("ComboBox1")->currentText(), QStringLiteral("請選擇"));
    EXPECT_EQ(text("CashIn"), QStringLiteral("合計："));
    EXPECT_EQ(text("CashOut"), QStringLiteral("合計："));
    EXPECT_EQ(text("CashSun"), QString());
    EXPECT_FALSE(form()->N1->isVisible());
    EXPECT_FALSE(form()->N2->isVisible());
    EXPECT_FALSE(button("Button4")->isEnabled());
    EXPECT_EQ(get<QTabWidget>("PageControl1")->currentIndex(), 0);
    EXPECT_FALSE(get<QCheckBox>("chk1")->isVisible());
}

TEST_F(DayScreen, SalesNeedASubcategoryOtherIncomeRecordsUnderItsOwnName)
{
    open(2012, 3, 12);
    QTest::keyClicks(edit("Edit1"), "500");
    EXPECT_FALSE(button("Button4")->isEnabled()) << "商品銷售 without a subcategory";
    combo("ComboBox1")->setCurrentIndex(1);
    EXPECT_TRUE(button("Button4")->isEnabled());
    button("Button4")->click();

    combo("in_main_item")->setCurrentIndex(1);
    EXPECT_EQ(combo("ComboBox1")->currentText(), QStringLiteral("投資"));
    EXPECT_FALSE(combo("ComboBox1")->isVisible()) << "fields move up over the picker";
    EXPECT_EQ(edit("Edit1")->geometry().top(), 8);
    EXPECT_EQ(list("ListView1")->geometry().top(), 34);
    EXPECT_EQ(list("ListView1")->geometry().height(), 255);
    QTest::keyClicks(edit("Edit1"), "1234567");
    edit("Edit2")->setText(QStringLiteral("股利"));
    button("Button4")->click();

    EXPECT_EQ(storedEntries(t.db(), Day),
        QStringList({ QStringLiteral("1|1|網路銷售|500|||2012031201"),
            QStringLiteral("1|2|投資|1234567|股利||2012031202") }));
    EXPECT_EQ(storedTotal(t.db(), Day), QStringLiteral("1235067/0"));
    EXPECT_EQ(captions("ListView1"),
        QStringList(
            { QStringLiteral("商品銷售－網路銷售|500|"), QStringLiteral("投資|1,234,567|股利") }));
    EXPECT_EQ(text("CashIn"), QStringLiteral("合計: 1,235,067"));
    EXPECT_EQ(text("CashOut"), QStringLiteral("合計: -0"));
    EXPECT_EQ(text("CashSun"), QStringLiteral("1,235,067"));
    EXPECT_EQ(get<QLabel>("CashSun")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(edit("Edit1")->text().isEmpty());
}

TEST_F(DayScreen, ExpensePickersLayoutAndLabels)
{
    open(2012, 3, 12);
    get<QTabWidget>("PageControl1")->setCurrentIndex(1);
    EXPECT_TRUE(get<QCheckBox>("chk1")->isVisible());
    combo("out_main_item")->setCurrentIndex(1);
    EXPECT_EQ(text("Label4"), QStringLiteral("品名"));
    EXPECT_EQ(combo("ComboBox2")->currentText(), QStringLiteral("請選擇"));
    EXPECT_EQ(edit("Edit3")->geometry().top(), 36);
    EXPECT_EQ(list("ListView2")->geometry().top(), 64);
    EXPECT_EQ(list("ListView2")->geometry().height(), 225);
    // While the subcategory reads 請選擇 no amount can be entered.
    QTest::keyClicks(edit("Edit3"), "80");
    EXPECT_TRUE(edit("Edit3")->text().isEmpty());
    combo("out_main_item")->setCurrentIndex(2);
    EXPECT_EQ(text("Label4"), QStringLiteral("帳目"));
    combo("out_main_item")->setCurrentIndex(3);
    EXPECT_EQ(edit("Edit3")->geometry().top(), 8);
    EXPECT_EQ(combo("ComboBox2")->currentText(), combo("out_main_item")->currentText());
}

TEST_F(DayScreen, NoSpendingRecordsAZeroExpenseAndAZeroDayTotal)
{
    open(2012, 3, 12);
    get<QTabWidget>("PageControl1")->setCurrentIndex(1);
    combo("out_main_item")->setCurrentIndex(5);
    EXPECT_EQ(edit("Edit3")->text(), QStringLiteral("0"));
    EXPECT_FALSE(edit("Edit3")->isEnabled());
    EXPECT_FALSE(edit("Edit4")->isEnabled());
    ASSERT_TRUE(button("Button5")->isEnabled());
    button("Button5")->click();
    EXPECT_EQ(
        storedEntries(t.db(), Day), QStringList({ QStringLiteral("0|6|無花費|0|||2012031201") }));
    EXPECT_EQ(storedTotal(t.db(), Day), QStringLiteral("0/0"));
    EXPECT_EQ(captions("ListView2"), QStringList({ QStringLiteral("無花費|0|") }));
    EXPECT_EQ(text("CashSun"), QStringLiteral("0"));
    EXPECT_EQ(get<QLabel>("CashSun")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

TEST_F(DayScreen, SerialsCountPerKindAndTheHighestIsGivenOutAgain)
{
    open(2012, 3, 12);
    recordIncome(3, {}, "10");
    for (const char *amount : { "1", "2", "3" })
        recordExpense(0, QStringLiteral("餐飲"), QString::fromLatin1(amount));
    EXPECT_EQ(storedEntries(t.db(), Day),
        QStringList({ QStringLiteral("1|4|個人收入|10|||2012031201"),
            QStringLiteral("0|1|餐飲|1|||2012031201"), QStringLiteral("0|1|餐飲|2|||2012031202"),
            QStringLiteral("0|1|餐飲|3|||2012031203") }));
    EXPECT_EQ(text("CashSun"), QStringLiteral("4"));

    selectRow("ListView2", 2);
    form()->N1Click();
    EXPECT_EQ(t.prompts().questions.last(), QStringLiteral("確定要刪除此項帳目資料？"));
    recordExpense(0, QStringLiteral("交通"), "7");
    EXPECT_TRUE(storedEntries(t.db(), Day).contains(QStringLiteral("0|1|交通|7|||2012031203")));
    EXPECT_EQ(storedTotal(t.db(), Day), QStringLiteral("10/10"));
    EXPECT_EQ(text("CashSun"), QStringLiteral("0"));
}

TEST_F(DayScreen, ModifyingKeepsTheSerialAndTheCaption)
{
    open(2012, 3, 12);
    recordExpense(1, QStringLiteral("原料"), "300", QStringLiteral("麵粉"));
    recordExpense(0, QStringLiteral("餐飲"), "90");
    const QStringList before = captions("ListView2");
    ASSERT_EQ(before.size(), 2);
    ASSERT_EQ(before[1], QStringLiteral("進貨　　－原料|300|麵粉"));

    QTreeWidget *l = list("ListView2");
    l->setCurrentItem(l->topLevelItem(1));
    emit l->itemDoubleClicked(l->topLevelItem(1), 0);
    EXPECT_EQ(button("Button5")->text(), QStringLiteral("修正"));
    EXPECT_EQ(combo("out_main_item")->currentIndex(), 1);
    EXPECT_FALSE(combo("out_main_item")->isEnabled());
    const QPalette &locked = combo("out_main_item")->palette();
    EXPECT_NE(locked.color(QPalette::Disabled, QPalette::ButtonText),
        locked.color(QPalette::Active, QPalette::ButtonText))
        << "a locked picker looks greyed";
    EXPECT_FALSE(combo("ComboBox2")->isEnabled());
    EXPECT_EQ(combo("ComboBox2")->currentText(), QStringLiteral("原料"));
    EXPECT_EQ(edit("Edit3")->text(), QStringLiteral("300"));
    form()->PopupMenu1Popup();
    EXPECT_FALSE(form()->N1->isEnabled()) << "no delete while a change is pending";

    edit("Edit3")->setText(QStringLiteral("1250"));
    edit("Edit4")->setText(QStringLiteral("麵粉兩袋"));
    button("Button5")->click();
    EXPECT_EQ(button("Button5")->text(), QStringLiteral("記帳"));
    EXPECT_TRUE(combo("out_main_item")->isEnabled());
    EXPECT_EQ(storedEntries(t.db(), Day),
        QStringList({ QStringLiteral("0|2|原料|1250|麵粉兩袋||2012031201"),
            QStringLiteral("0|1|餐飲|90|||2012031202") }));
    EXPECT_EQ(captions("ListView2")[1], QStringLiteral("進貨　　－原料|1,250|麵粉兩袋"));
    EXPECT_EQ(storedTotal(t.db(), Day), QStringLiteral("0/1340"));
    EXPECT_EQ(text("CashSun"), QStringLiteral("-1,340"));
    EXPECT_EQ(get<QLabel>("CashSun")->palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

TEST_F(DayScreen, DeletingTheLastEntryRemovesTheDayTotal)
{
    open(2012, 3, 12);
    recordIncome(2, {}, "40");
    ASSERT_EQ(storedTotal(t.db(), Day), QStringLiteral("40/0"));
    selectRow("ListView1", 0);
    t.prompts().confirmAnswers = { false };
    form()->N1Click();
    EXPECT_EQ(storedEntries(t.db(), Day).size(), 1) << "answered no";
    form()->N1Click();
    EXPECT_TRUE(storedEntries(t.db(), Day).isEmpty());
    EXPECT_EQ(storedTotal(t.db(), Day), QStringLiteral("none"));
    EXPECT_EQ(text("CashIn"), QStringLiteral("合計："));
    EXPECT_FALSE(form()->N1->isVisible());
}

TEST_F(DayScreen, DeleteTakesOnlyTheRowOfThePageInFront)
{
    open(2012, 3, 12);
    recordIncome(2, {}, "40");
    recordExpense(0, QStringLiteral("餐飲"), "5");
    get<QTabWidget>("PageControl1")->setCurrentIndex(0);
    selectRow("ListView1", 0);
    selectRow("ListView2", 0); // left selected on the page behind
    form()->N1Click();
    EXPECT_EQ(
        storedEntries(t.db(), Day), QStringList({ QStringLiteral("0|1|餐飲|5|||2012031201") }));
}

TEST_F(DayScreen, QuotesAndLongNotesAreStoredUnchanged)
{
    open(2012, 3, 12);
    const QString note
        = QStringLiteral("it's \"ok\"; DROP TABLE 記帳本; ") + QString(200, QChar(0x7B46));
    recordExpense(0, QStringLiteral("O'Neil's 餐"), "12", note);
    EXPECT_EQ(storedEntries(t.db(), Day),
        QStringList(
            { QStringLiteral("0|1|O'Neil's 餐|12|") + note + QStringLiteral("||2012031201") }));
    EXPECT_EQ(
        captions("ListView2"), QStringList({ QStringLiteral("個人花費－O'Neil's 餐|12|") + note }));
}

TEST_F(DayScreen, AnInvalidAmountIsRefusedWithAMessage)
{
    open(2012, 3, 12);
    combo("in_main_item")->setCurrentIndex(1);
    for (const char *bad : { "12a", "-5", "1,000", " 7" }) {
        edit("Edit1")->setText(QString::fromLatin1(bad)); // e.g. typed with Shift held
        button("Button4")->click();
    }
    EXPECT_EQ(t.prompts().alerts.size(), 4);
    EXPECT_EQ(t.prompts().alerts.value(0), QStringLiteral("注意: 金額欄內請輸入純數字！！"));
    EXPECT_TRUE(storedEntries(t.db(), Day).isEmpty());
}

TEST_F(DayScreen, AmountFieldTakesDigitsOnlyAndChecksPastes)
{
    open(2012, 3, 12);
    QLineEdit *amount = edit("Edit1");
    QTest::keyClicks(amount, "1a2.3-");
    QTest::keyClick(amount, '!'); // Shift+1
    QTest::keyClick(amount, Qt::Key_4, Qt::KeypadModifier);
    EXPECT_EQ(amount->text(), QStringLiteral("1234"));
    QTest::keyClick(amount, Qt::Key_Backspace);
    EXPECT_EQ(amount->text(), QStringLiteral("123"));
    QTest::keyClick(amount, Qt::Key_A, Qt::ControlModifier); // other Ctrl keys are swallowed
    QTest::keyClick(amount, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(amount->text(), QStringLiteral("123"));

    QClipboard *clipboard = QGuiApplication::clipboard();
    struct Case
    {
        const char *clip;
        const char *result;
    };
    for (const Case &c : { Case { "abc", "123" }, Case { "-5", "123" }, Case { "4,500", "123" },
             Case { "1234567", "123" }, Case { "456", "123456" } }) {
        amount->setText(QStringLiteral("123"));
        amount->setCursorPosition(3);
        clipboard->setText(QString::fromLatin1(c.clip));
        QTest::keyClick(amount, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(amount->text(), QString::fromLatin1(c.result)) << c.clip;
    }
    clipboard->setText(QStringLiteral("x1"));
    QTest::keyClick(amount, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QStringLiteral("x1")) << "what the user copied is kept";

    // The field's own context menu pastes through the same check.
    amount->clear();
    clipboard->setText(QStringLiteral("-99"));
    auto *filter = amount->findChild<AmountEditFilter *>();
    ASSERT_NE(filter, nullptr);
    std::unique_ptr<QMenu> menu(filter->createContextMenu());
    QAction *paste = menu->findChild<QAction *>(QStringLiteral("edit-paste"));
    ASSERT_NE(paste, nullptr);
    paste->setEnabled(true);
    paste->trigger();
    EXPECT_TRUE(amount->text().isEmpty());
    clipboard->setText(QStringLiteral("77"));
    paste->trigger();
    EXPECT_EQ(amount->text(), QStringLiteral("77"));
}

TEST_F(DayScreen, EnterMovesThroughThePage)
{
    open(2012, 3, 12);
    combo("in_main_item")->setCurrentIndex(1);
    edit("Edit1")->setFocus();
    QTest::keyClicks(edit("Edit1"), "5");
    QTest::keyClick(edit("Edit1"), Qt::Key_Return);
    EXPECT_EQ(form()->focusWidget(), edit("Edit2"));
    QTest::keyClick(edit("Edit2"), Qt::Key_Return);
    EXPECT_EQ(form()->focusWidget(), button("Button4"));
}

TEST_F(DayScreen, AnEntryCanBeKeptWithTheKeyboardAlone)
{
    open(2012, 3, 12);
    get<QTabWidget>("PageControl1")->setCurrentIndex(1);
    combo("out_main_item")->setCurrentIndex(2);
    QLineEdit *picker = combo("ComboBox2")->lineEdit();
    picker->selectAll();
    picker->insert(QStringLiteral("租金")); // typed through an input method
    QTest::keyClick(picker, Qt::Key_Return);
    EXPECT_EQ(form()->focusWidget(), edit("Edit3"));
    QTest::keyClicks(edit("Edit3"), "12000");
    QTest::keyClick(edit("Edit3"), Qt::Key_Return);
    EXPECT_EQ(form()->focusWidget(), edit("Edit4"));
    edit("Edit4")->insert(QStringLiteral("三月"));
    QTest::keyClick(edit("Edit4"), Qt::Key_Return);
    ASSERT_EQ(form()->focusWidget(), button("Button5"));
    QTest::keyClick(button("Button5"), Qt::Key_Return);
    EXPECT_EQ(storedEntries(t.db(), Day),
        QStringList({ QStringLiteral("0|3|租金|12000|三月||2012031201") }));
    EXPECT_EQ(form()->focusWidget(), edit("Edit3"));
}

struct NavigationCase
{
    QDate from;
    const char *hint;
    QDate to;
    const char *label;
};

TEST_F(DayScreen, DayNavigationCrossesMonthAndYearEnds)
{
    const NavigationCase cases[] = {
        { QDate(2012, 12, 31), "下一日", QDate(2013, 1, 1), "1/1(二)" },
        { QDate(2013, 1, 1), "上一日", QDate(2012, 12, 31), "12/31(一)" },
        { QDate(2012, 3, 1), "上一日", QDate(2012, 2, 29), "2/29(三)" },
        { QDate(2013, 3, 1), "上一日", QDate(2013, 2, 28), "2/28(四)" },
        { QDate(2012, 3, 31), "下一日", QDate(2012, 4, 1), "4/1(日)" },
    };
    for (const NavigationCase &c : cases) {
        open(c.from.year(), c.from.month(), c.from.day());
        QToolButton *b = QString::fromUtf8(c.hint) == QStringLiteral("上一日")
            ? get<QToolButton>("DSpeedButton1")
            : get<QToolButton>("DSpeedButton2");
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(c.hint));
        b->click();
        EXPECT_EQ(form()->shownDate(), c.to);
        EXPECT_EQ(t->RM_Main_Form->Year_Label->value(), c.to.year());
        EXPECT_EQ(t->RM_Main_Form->M_Label->text(), QStringLiteral("%1月").arg(c.to.month()));
        EXPECT_EQ(text("D_Text_Label"), QString::fromUtf8(c.label));
    }
}

TEST_F(DayScreen, NavigationShowsTheOtherDaysEntries)
{
    t.addEntry(Ledger, QDate(2012, 3, 13), true, 4, QStringLiteral("個人收入"), 900);
    open(2012, 3, 12);
    get<QToolButton>("DSpeedButton2")->click();
    EXPECT_EQ(captions("ListView1"), QStringList({ QStringLiteral("個人收入|900|") }));
    EXPECT_EQ(text("CashIn"), QStringLiteral("合計: 900"));
}

TEST_F(DayScreen, PendingModificationIsAskedAboutBeforeLeavingThePageOrTheDay)
{
    t.addEntry(Ledger, Day, true, 2, QStringLiteral("投資"), 100);
    t.addEntry(Ledger, Day, false, 1, QStringLiteral("餐飲"), 50);
    open(2012, 3, 12);
    auto pending = [&] {
        get<QTabWidget>("PageControl1")->setCurrentIndex(0);
        selectRow("ListView1", 0);
        form()->ListView1DblClick();
        ASSERT_EQ(button("Button4")->text(), QStringLiteral("修正"));
    };
    QTabWidget *pages = get<QTabWidget>("PageControl1");

    pending();
    t.prompts().confirmAnswers = { false };
    pages->setCurrentIndex(1);
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(button("Button4")->text(), QStringLiteral("修正"));
    EXPECT_EQ(
        t.prompts().questions.last(), QStringLiteral("目前尚有資料在修正中，是否要放棄修正呢？"));
    t.prompts().confirmAnswers = { true };
    pages->setCurrentIndex(1);
    EXPECT_EQ(pages->currentIndex(), 1);
    EXPECT_EQ(button("Button4")->text(), QStringLiteral("記帳"));

    const QString leaveQuestion = QStringLiteral("目前尚有資料在修正中，是否要放棄修正後離開呢？");
    pending();
    t.prompts().confirmAnswers = { false };
    get<QToolButton>("DSpeedButton2")->click();
    EXPECT_EQ(form()->shownDate(), Day);
    EXPECT_EQ(t.prompts().questions.last(), leaveQuestion);

    t.prompts().confirmAnswers = { false };
    button("BitBtn3")->click();
    EXPECT_TRUE(form()->isVisible());
    EXPECT_EQ(button("Button4")->text(), QStringLiteral("修正"));

    t.prompts().confirmAnswers = { true };
    QTest::keyClick(edit("Edit2"), Qt::Key_Escape);
    EXPECT_FALSE(form()->isVisible());
    EXPECT_TRUE(t->RM_Main_Form->isVisible());
    EXPECT_EQ(button("Button4")->text(), QStringLiteral("記帳"));
    EXPECT_EQ(storedEntries(t.db(), Day).size(), 2) << "nothing changed by abandoning";
}

TEST_F(DayScreen, TheDefaultPageIsStoredAndUsedAtOpening)
{
    open(2012, 3, 12);
    get<QTabWidget>("PageControl1")->setCurrentIndex(1);
    get<QCheckBox>("chk1")->click();
    EXPECT_EQ(t->DefaultDayPage, 1);
    auto stored = [&] {
        return t.db()
            .scalar(QStringLiteral("SELECT 設定值 FROM 參數設定 WHERE 代碼 = '預設單日記帳畫面' "
                                   "AND 使用者 = ?"),
                { Ledger })
            .toString();
    };
    EXPECT_EQ(stored(), QStringLiteral("1"));
    form()->BitBtn3Click();
    open(2012, 3, 14);
    EXPECT_EQ(get<QTabWidget>("PageControl1")->currentIndex(), 1);
    EXPECT_TRUE(get<QCheckBox>("chk1")->isChecked());
    get<QCheckBox>("chk1")->click();
    EXPECT_EQ(stored(), QStringLiteral("0"));
    EXPECT_EQ(t->DefaultDayPage, 0);
}

TEST_F(DayScreen, RecurringEntriesKeepTheirMarkerUnlessChangedHere)
{
    t.addEntry(Ledger, Day, false, 3, QStringLiteral("租金"), 8000, {}, QStringLiteral("1"));
    t.addEntry(Ledger, Day, true, 2, QStringLiteral("投資"), 300, {}, QStringLiteral("3"));
    open(2012, 3, 12);
    recordExpense(0, QStringLiteral("餐飲"), "70");
    EXPECT_EQ(storedEntries(t.db(), Day),
        QStringList({ QStringLiteral("1|2|投資|300||3|2012031201"),
            QStringLiteral("0|3|租金|8000||1|2012031201"),
            QStringLiteral("0|1|餐飲|70|||2012031202") }));

    // Changed on this screen: no longer the recurring item's posting.
    get<QTabWidget>("PageControl1")->setCurrentIndex(0);
    selectRow("ListView1", 0);
    form()->N2Click();
    edit("Edit1")->setText(QStringLiteral("350"));
    button("Button4")->click();
    EXPECT_TRUE(storedEntries(t.db(), Day).contains(QStringLiteral("1|2|投資|350|||2012031201")));
    EXPECT_TRUE(storedEntries(t.db(), Day).contains(QStringLiteral("0|3|租金|8000||1|2012031201")));
}

TEST_F(DayScreen, PageChangesStillAskAfterTheCategoriesCouldNotBeRead)
{
    t.addEntry(Ledger, Day, true, 2, QStringLiteral("投資"), 100);
    t.db().setStatementHook([](const QString &sql) {
        if (sql.startsWith(QStringLiteral("SELECT 帳目名稱 FROM 帳目分類")))
            throw DbError(QStringLiteral("database is locked"));
    });
    open(2012, 3, 12);
    t.db().setStatementHook({});
    ASSERT_EQ(t.prompts().errors, QStringList({ QStringLiteral("database is locked") }));
    selectRow("ListView1", 0);
    form()->ListView1DblClick();
    ASSERT_EQ(button("Button4")->text(), QStringLiteral("修正"));

    t.prompts().confirmAnswers = { false };
    QTabWidget *pages = get<QTabWidget>("PageControl1");
    pages->setCurrentIndex(1);
    EXPECT_EQ(pages->currentIndex(), 0);
    EXPECT_EQ(t.prompts().questions,
        QStringList({ QStringLiteral("目前尚有資料在修正中，是否要放棄修正呢？") }));
}

TEST_F(DayScreen, AFailedSaveLeavesTheStoredDayAndSaysWhy)
{
    t.addEntry(Ledger, Day, true, 2, QStringLiteral("投資"), 100);
    open(2012, 3, 12);
    const QStringList before = storedEntries(t.db(), Day);
    t.db().setStatementHook([](const QString &sql) {
        if (sql.startsWith(QStringLiteral("INSERT INTO 記帳本")))
            throw DbError(QStringLiteral("database is locked"));
    });
    combo("in_main_item")->setCurrentIndex(3);
    QTest::keyClicks(edit("Edit1"), "60");
    edit("Edit2")->setText(QStringLiteral("紅包"));
    button("Button4")->click();
    EXPECT_EQ(t.prompts().errors, QStringList({ QStringLiteral("database is locked") }));
    EXPECT_EQ(storedEntries(t.db(), Day), before);
    EXPECT_EQ(storedTotal(t.db(), Day), QStringLiteral("100/0"));
    EXPECT_EQ(captions("ListView1"), QStringList({ QStringLiteral("投資|100|") }));
    // What was typed stays for another try.
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("60"));
    EXPECT_EQ(edit("Edit2")->text(), QStringLiteral("紅包"));
    EXPECT_TRUE(button("Button4")->isEnabled());

    // A change that cannot be stored stays pending with what was typed.
    edit("Edit1")->clear();
    edit("Edit2")->clear();
    selectRow("ListView1", 0);
    form()->ListView1DblClick();
    edit("Edit1")->setText(QStringLiteral("150"));
    button("Button4")->click();
    EXPECT_EQ(t.prompts().errors.size(), 2);
    EXPECT_EQ(storedEntries(t.db(), Day), before);
    EXPECT_EQ(button("Button4")->text(), QStringLiteral("修正"));
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("150"));
    EXPECT_EQ(captions("ListView1"), QStringList({ QStringLiteral("投資|100|") }));

    t.db().setStatementHook({});
    button("Button4")->click();
    EXPECT_EQ(storedTotal(t.db(), Day), QStringLiteral("150/0"));
    EXPECT_EQ(button("Button4")->text(), QStringLiteral("記帳"));
    EXPECT_TRUE(edit("Edit1")->text().isEmpty());
}

TEST_F(DayScreen, TheSelectedRowIsDrawnHighlighted)
{
    t.addEntry(Ledger, Day, true, 2, QStringLiteral("投資"), 100, QStringLiteral("股息"));
    open(2012, 3, 12);
    QTreeWidget *l = list("ListView1");
    selectRow("ListView1", 0);
    const QRect row = l->visualItemRect(l->topLevelItem(0));
    const QImage picture = l->viewport()->grab().toImage();
    // A spot of the note cell right of its text.
    const QColor spot = picture.pixelColor(row.right() - 8, row.center().y());
    EXPECT_EQ(spot, l->palette().color(QPalette::Active, QPalette::Highlight));
}

TEST_F(DayScreen, ADayThatCouldNotBeReadIsNeverWrittenOver)
{
    t.addEntry(Ledger, Day, true, 2, QStringLiteral("投資"), 100);
    const QDate next = Day.addDays(1);
    t.addEntry(Ledger, next, false, 1, QStringLiteral("餐飲"), 50);
    const QStringList before = storedEntries(t.db(), Day);
    const QStringList nextBefore = storedEntries(t.db(), next);
    open(2012, 3, 12);
    t.db().setStatementHook([](const QString &sql) {
        if (sql.contains(QStringLiteral("FROM 單日記帳本 e")))
            throw DbError(QStringLiteral("database is locked"));
    });
    get<QToolButton>("DSpeedButton2")->click();
    t.db().setStatementHook({});
    EXPECT_EQ(t.prompts().errors, QStringList({ QStringLiteral("database is locked") }));
    EXPECT_TRUE(captions("ListView1").isEmpty()) << "the previous day's rows are not shown";
    combo("in_main_item")->setCurrentIndex(3);
    QTest::keyClicks(edit("Edit1"), "60");
    button("Button4")->click();
    form()->close();
    EXPECT_EQ(storedEntries(t.db(), Day), before);
    EXPECT_EQ(storedEntries(t.db(), next), nextBefore);
    EXPECT_EQ(storedTotal(t.db(), next), QStringLiteral("0/50"));
}

TEST_F(DayScreen, ATypedNewSubcategoryCanBecomeACategory)
{
    open(2012, 3, 12);
    get<QTabWidget>("PageControl1")->setCurrentIndex(1);
    combo("out_main_item")->setCurrentIndex(0);
    auto subcategories
        = [&] { return GetCategoryNameList(t.db(), Ledger, QStringLiteral("0"), 1); };
    const int before = subcategories().size();

    combo("ComboBox2")->setEditText(QStringLiteral("餐")); // part of 餐飲: counts as known
    form()->ComboBox2Exit();
    EXPECT_TRUE(t.prompts().questions.isEmpty());

    combo("ComboBox2")->setEditText(QStringLiteral("寵物"));
    t.prompts().confirmAnswers = { false };
    form()->ComboBox2Exit();
    EXPECT_EQ(t.prompts().questions.last(), QStringLiteral("此名稱為新分類，是否要設為預設分類？"));
    EXPECT_EQ(subcategories().size(), before);

    form()->ComboBox2Exit();
    EXPECT_EQ(subcategories().size(), before + 1);
    EXPECT_EQ(subcategories().last(), QStringLiteral("寵物"));
    EXPECT_EQ(combo("ComboBox2")->currentText(), QStringLiteral("寵物"));
    EXPECT_EQ(combo("ComboBox2")->count(), before + 1);
    EXPECT_EQ(t.db()
                  .scalar(QStringLiteral("SELECT 帳目順序 FROM 帳目分類 WHERE 帳目名稱 = '寵物' "
                                         "AND 帳目擁有者 = ?"),
                      { Ledger })
                  .toInt(),
        100 + before + 1);
    QTest::keyClicks(edit("Edit3"), "300");
    button("Button5")->click();
    EXPECT_EQ(
        storedEntries(t.db(), Day), QStringList({ QStringLiteral("0|1|寵物|300|||2012031201") }));
}

TEST_F(DayScreen, AFullMainCategoryTakesNoNewSubcategoryButTheEntryKeepsTheName)
{
    fillSubcategories(t.db(), Ledger, QStringLiteral("0"), 3, 99);
    open(2012, 3, 12);
    get<QTabWidget>("PageControl1")->setCurrentIndex(1);
    combo("out_main_item")->setCurrentIndex(2);
    combo("ComboBox2")->setEditText(QStringLiteral("保全"));
    form()->ComboBox2Exit();
    EXPECT_EQ(t.prompts().questions.last(), QStringLiteral("此名稱為新分類，是否要設為預設分類？"));
    ASSERT_FALSE(t.prompts().warnings.isEmpty());
    EXPECT_EQ(t.prompts().warnings.last(),
        QStringLiteral("「管銷」已有 99 個子分類，無法再新增；請先移除不用的子分類。"
                       "這個名稱仍可用在這筆帳目上。"));
    EXPECT_EQ(GetCategoryNameList(t.db(), Ledger, QStringLiteral("0"), 3).size(), 99);
    EXPECT_EQ(combo("ComboBox2")->currentText(), QStringLiteral("保全"));
    QTest::keyClicks(edit("Edit3"), "300");
    button("Button5")->click();
    EXPECT_EQ(
        storedEntries(t.db(), Day), QStringList({ QStringLiteral("0|3|保全|300|||2012031201") }));
}

TEST_F(DayScreen, ClosingTheWindowSavesAndReturnsToTheCalendar)
{
    t.addEntry(Ledger, Day, false, 3, QStringLiteral("租金"), 8000, {}, QStringLiteral("2"));
    open(2012, 3, 12);
    form()->close();
    EXPECT_FALSE(form()->isVisible());
    EXPECT_TRUE(t->RM_Main_Form->isVisible());
    EXPECT_EQ(
        storedEntries(t.db(), Day), QStringList({ QStringLiteral("0|3|租金|8000||2|2012031201") }));
    open(2012, 3, 12);
    EXPECT_EQ(captions("ListView2"), QStringList({ QStringLiteral("管銷　　－租金|8,000|") }));
}

} // namespace
