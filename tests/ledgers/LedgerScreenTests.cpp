#include "calendar/RM_Main_Unit.h"
#include "ledgers/KeyPW_Unit.h"
#include "ledgers/LedgerAdmin.h"
#include "ledgers/LedgerDirectory.h"
#include "ledgers/NewUser_Unit.h"
#include "ledgers/PasswordChange_Unit.h"
#include "ledgers/PublicFunction.h"
#include "ledgers/SelectUser_Unit.h"
#include "ledgers/SelectYear_Unit.h"
#include "support/TestProgram.h"

#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString PleaseChoose = QStringLiteral("請選擇");

class LedgerScreens : public ::testing::Test
{
protected:
    TestProgram t;

    Program &p() { return t.program(); }
    TSelectUser_Form &select() { return *p().SelectUser_Form; }
    TNewUser_Form &newUser() { return *p().NewUser_Form; }
    TKeyPW_Form &keyPw() { return *p().KeyPW_Form; }
    TRM_Main_Form &calendar() { return *p().RM_Main_Form; }
    LedgerDirectory &directory() { return p().directory(); }

    template<typename T> T *child(QWidget &screen, const char *name)
    {
        T *found = screen.findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(QWidget &screen, const char *button)
    {
        QTest::mouseClick(child<QPushButton>(screen, button), Qt::LeftButton);
    }
    void type(QWidget &screen, const char *edit, const QString &text)
    {
        QLineEdit *field = child<QLineEdit>(screen, edit);
        field->clear();
        // keyClicks only knows ASCII keys; insert() is what typing CJK text ends in.
        field->insert(text);
    }

    void start()
    {
        select().showCentred();
        select().FormActivate();
    }
    // The whole new-ledger path a user takes from the selection screen.
    void create(const QString &name, const QString &password, const QString &confirm)
    {
        click(select(), "Button3");
        type(newUser(), "Edit1", name);
        type(newUser(), "Edit2", password);
        type(newUser(), "Edit3", confirm);
        click(newUser(), "Button1");
        select().FormActivate();
    }
    void create(const QString &name, const QString &password = {})
    {
        create(name, password, password);
        ASSERT_FALSE(newUser().isVisible()) << qPrintable(name);
    }
    void pick(const QString &name)
    {
        select().FormActivate();
        QComboBox *box = select().ComboBox1;
        const int index = box->findText(name);
        ASSERT_GE(index, 0) << qPrintable(name);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    void typeIntoBox(const QString &text)
    {
        QLineEdit *edit = select().ComboBox1->lineEdit();
        edit->clear();
        edit->insert(text);
    }
    void pickAndOk(const QString &name)
    {
        pick(name);
        click(select(), "Button1");
    }
    // A password login that passes the year prompt when it comes.
    void loginWithPassword(const QString &name, const QString &password)
    {
        pickAndOk(name);
        ASSERT_TRUE(keyPw().isVisible());
        type(keyPw(), "Edit1", password);
        click(keyPw(), "Button1");
        if (p().SelectYear_Form->isVisible())
            click(*p().SelectYear_Form, "Button1");
    }
    int ownedRows(const QString &ledger)
    {
        int total = 0;
        const QStringList tables[] = { { QStringLiteral("單日記帳本"), QStringLiteral("使用者") },
            { QStringLiteral("記帳本"), QStringLiteral("使用者") },
            { QStringLiteral("帳目分類"), QStringLiteral("帳目擁有者") },
            { QStringLiteral("參數設定"), QStringLiteral("使用者") } };
        for (const QStringList &table : tables)
            total += t.db()
                         .scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = ?")
                                     .arg(table[0], table[1]),
                             { ledger })
                         .toInt();
        return total;
    }
    QByteArray userInfo()
    {
        QFile file(p().userInfoPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void setDayPage(const QString &ledger, int page)
    {
        t.db().exec(QStringLiteral("UPDATE 參數設定 SET 設定值 = ? WHERE 使用者 = ? AND 代碼 = "
                                   "'預設單日記帳畫面'"),
            { QString::number(page), ledger });
    }
    QString todaysMonth() const { return QStringLiteral("%1月").arg(QDate::currentDate().month()); }
};

TEST_F(LedgerScreens, FirstStartShowsAnEmptyChoiceAndOkDoesNothing)
{
    start();
    EXPECT_TRUE(select().isVisible());
    EXPECT_EQ(select().windowTitle(), QStringLiteral("請選擇帳本"));
    EXPECT_EQ(select().size(), QSize(460, 132));
    EXPECT_EQ(select().ComboBox1->count(), 0);
    EXPECT_EQ(select().ComboBox1->currentText(), PleaseChoose);
    EXPECT_FALSE(select().Button4->isEnabled());
    EXPECT_FALSE(select().btn_pw->isEnabled());
    EXPECT_TRUE(QFile::exists(p().userInfoPath()));
    EXPECT_EQ(calendar().User_Label->text(), QStringLiteral("訪客"));

    click(select(), "Button1");
    EXPECT_TRUE(select().isVisible());
    EXPECT_FALSE(newUser().isVisible());
    EXPECT_FALSE(keyPw().isVisible());
}

TEST_F(LedgerScreens, DamagedDirectoryIsReportedOnceEachShowingAndLeftAlone)
{
    const QByteArray damaged("not a ledger list\r\n");
    {
        QFile file(p().userInfoPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
    start();
    select().FormActivate(); // e.g. when the error box closes
    EXPECT_EQ(t.prompts().errors.size(), 1);
    EXPECT_EQ(select().ComboBox1->count(), 0);
    select().hide();
    start();
    EXPECT_EQ(t.prompts().errors.size(), 2);
    EXPECT_EQ(userInfo(), damaged);
}

TEST_F(LedgerScreens, AnUnreadableRecordIsNamedOnceAndTheOthersStayUsable)
{
    const QByteArray content = EncodeLedgerText(QStringLiteral("小店")) + "\r\n\r\n\r\n"
        + "NOT HEX!\r\n\r\n\r\n" + EncodeLedgerText(QStringLiteral("我家")) + "\r\n\r\n\r\n";
    {
        QFile file(p().userInfoPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    start();
    select().FormActivate();
    select().hide();
    start();
    EXPECT_TRUE(t.prompts().errors.isEmpty()) << t.prompts().errors.join(' ').toStdString();
    ASSERT_EQ(t.prompts().warnings.size(), 1);
    EXPECT_TRUE(t.prompts().warnings.first().contains(QStringLiteral("第 4 至 6 行")));
    ASSERT_EQ(select().ComboBox1->count(), 2);
    EXPECT_EQ(select().ComboBox1->itemText(1), QStringLiteral("我家"));
    t.copyTemplate(QStringLiteral("我家"));
    pickAndOk(QStringLiteral("我家"));
    EXPECT_EQ(calendar().User_Label->text(), QStringLiteral("我家"));
    EXPECT_EQ(userInfo(), content);
}

TEST_F(LedgerScreens, TabOrderFollowsTheButtonsRow)
{
    QWidget *expected[] = { select().ComboBox1, select().Button4, select().Button3, select().btn_pw,
        select().Button1, select().Button2 };
    for (int i = 0; i + 1 < 6; ++i) {
        QWidget *next = expected[i]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus || next->focusProxy())
            next = next->nextInFocusChain();
        EXPECT_EQ(next, expected[i + 1]) << i;
    }
}

TEST_F(LedgerScreens, PasswordFieldsShowAStarPerCharacter)
{
    QLineEdit *fields[] = { keyPw().Edit1, newUser().Edit2, newUser().Edit3,
        p().PasswordChange->Edit1, p().PasswordChange->Edit2, p().PasswordChange->Edit3 };
    for (QLineEdit *field : fields) {
        SCOPED_TRACE(
            field->window()->objectName().toStdString() + "." + field->objectName().toStdString());
        field->setText(QStringLiteral("pw1"));
        EXPECT_EQ(field->displayText(), QStringLiteral("***"));
    }
    newUser().Edit1->setText(QStringLiteral("pw1"));
    EXPECT_EQ(newUser().Edit1->displayText(), QStringLiteral("pw1"));
}

TEST_F(LedgerScreens, CreateRefusesBadInputAndWritesNothing)
{
    start();
    create(QStringLiteral("家用"));
    const QByteArray before = userInfo();

    const struct
    {
        const char *name, *password, *confirm, *message, *warning;
    } cases[] = {
        { "", "", "", "帳本名稱不得為空！！", nullptr },
        { "店面", "abc", "abd", "密碼二者不符，請重新輸入！！", nullptr },
        { "家用", "", "", nullptr, "帳號重覆!!" },
        { "DEFAULT", "", "", nullptr, "此名稱為系統保留，請改用其他名稱！" },
        { "家用_BAK", "", "", nullptr, "此名稱為系統保留，請改用其他名稱！" },
    };
    for (const auto &c : cases) {
        t.prompts().clearLog();
        create(
            QString::fromUtf8(c.name), QString::fromUtf8(c.password), QString::fromUtf8(c.confirm));
        EXPECT_TRUE(newUser().isVisible()) << c.name;
        EXPECT_EQ(t.prompts().messages,
            c.message ? QStringList { QString::fromUtf8(c.message) } : QStringList())
            << c.name;
        EXPECT_EQ(t.prompts().warnings,
            c.warning ? QStringList { QString::fromUtf8(c.warning) } : QStringList())
            << c.name;
        click(newUser(), "Button2");
    }
    // A name the ledger list cannot store is reported with the file layer's own words.
    t.prompts().clearLog();
    create(QStringLiteral("表情😀"), QString(), QString());
    EXPECT_EQ(t.prompts().errors.size(), 1);
    EXPECT_TRUE(newUser().isVisible());
    EXPECT_EQ(ownedRows(QStringLiteral("表情😀")), 0);
    click(newUser(), "Button2");

    EXPECT_EQ(userInfo(), before);
    EXPECT_EQ(ownedRows(QStringLiteral("店面")), 0);
    EXPECT_EQ(ownedRows(QStringLiteral("家用_BAK")), 0);
    EXPECT_TRUE(select().isVisible());
}

TEST_F(LedgerScreens, NewLedgersAreListedAndCaseMatters)
{
    start();
    create(QStringLiteral("Home"));
    create(QStringLiteral("home"), QStringLiteral("secret"));
    EXPECT_TRUE(t.prompts().warnings.isEmpty());
    EXPECT_TRUE(select().isVisible());
    EXPECT_EQ(directory().ListLedgerNames(),
        (QStringList { QStringLiteral("Home"), QStringLiteral("home") }));
    EXPECT_EQ(select().ComboBox1->count(), 2);
    EXPECT_TRUE(directory().FindLedger(QStringLiteral("Home")).passwordEmpty);
    EXPECT_FALSE(directory().FindLedger(QStringLiteral("home")).passwordEmpty);
    EXPECT_EQ(ownedRows(QStringLiteral("home")), ownedRows(QStringLiteral("DEFAULT")));
}

TEST_F(LedgerScreens, UnknownTypedNameOpensNewLedgerWithTheNameFilledIn)
{
    start();
    // Passwords typed on an earlier, cancelled visit are gone.
    click(select(), "Button3");
    type(newUser(), "Edit2", QStringLiteral("someone's"));
    type(newUser(), "Edit3", QStringLiteral("someone's"));
    click(newUser(), "Button2");
    typeIntoBox(QStringLiteral("新帳本"));
    EXPECT_FALSE(select().Button4->isEnabled());
    click(select(), "Button1");
    EXPECT_FALSE(select().isVisible());
    ASSERT_TRUE(newUser().isVisible());
    EXPECT_EQ(newUser().Edit1->text(), QStringLiteral("新帳本"));
    EXPECT_TRUE(newUser().Edit2->text().isEmpty());
    EXPECT_TRUE(newUser().Edit3->text().isEmpty());
    EXPECT_EQ(newUser().focusWidget(), newUser().Edit2);

    // Enter moves on through the fields.
    QTest::keyClick(newUser().Edit2, Qt::Key_Return);
    EXPECT_EQ(newUser().focusWidget(), newUser().Edit3);
    QTest::keyClick(newUser().Edit3, Qt::Key_Return);
    EXPECT_EQ(newUser().focusWidget(), newUser().Button1);
    EXPECT_TRUE(newUser().isVisible());
}

TEST_F(LedgerScreens, PickingEnablesDeleteAndPasswordTypingDisablesThem)
{
    start();
    create(QStringLiteral("家用"));
    pick(QStringLiteral("家用"));
    EXPECT_TRUE(select().Button4->isEnabled());
    EXPECT_TRUE(select().btn_pw->isEnabled());
    QTest::keyClick(select().ComboBox1->lineEdit(), Qt::Key_Backspace);
    EXPECT_FALSE(select().Button4->isEnabled());
    EXPECT_FALSE(select().btn_pw->isEnabled());
}

TEST_F(LedgerScreens, LedgerWithoutPasswordLogsInDirectly)
{
    start();
    create(QStringLiteral("家用"));
    setDayPage(QStringLiteral("家用"), 1);
    calendar().M_Label->setText(QStringLiteral("13月"));

    pickAndOk(QStringLiteral("家用"));

    EXPECT_FALSE(keyPw().isVisible());
    EXPECT_FALSE(p().SelectYear_Form->isVisible());
    EXPECT_FALSE(select().isVisible());
    EXPECT_TRUE(calendar().isVisible());
    EXPECT_EQ(calendar().User_Label->text(), QStringLiteral("家用"));
    EXPECT_EQ(select().ComboBox1->currentText(), QStringLiteral("家用"));
    EXPECT_EQ(calendar().M_Label->text(), todaysMonth());
    EXPECT_EQ(p().DefaultDayPage, 1);
}

TEST_F(LedgerScreens, PasswordLoginAsksTheYearOnceOnly)
{
    start();
    create(QStringLiteral("公司"), QStringLiteral("pw1"));
    setDayPage(QStringLiteral("公司"), 1);
    calendar().Year_Label->setValue(2011);
    calendar().M_Label->setText(QStringLiteral("7月"));

    pickAndOk(QStringLiteral("公司"));
    ASSERT_TRUE(keyPw().isVisible());
    EXPECT_FALSE(select().isVisible());

    // Empty field: ignored. Wrong password: message, the prompt keeps its text.
    click(keyPw(), "Button1");
    EXPECT_TRUE(t.prompts().messages.isEmpty());
    type(keyPw(), "Edit1", QStringLiteral("nope"));
    QTest::keyClick(keyPw().Edit1, Qt::Key_Return);
    EXPECT_EQ(keyPw().focusWidget(), keyPw().Button1);
    EXPECT_TRUE(keyPw().isVisible());
    click(keyPw(), "Button1");
    EXPECT_EQ(t.prompts().messages, QStringList { QStringLiteral("密碼錯誤，請重新確認") });
    EXPECT_TRUE(keyPw().isVisible());
    EXPECT_EQ(keyPw().Edit1->text(), QStringLiteral("nope"));

    type(keyPw(), "Edit1", QStringLiteral("pw1"));
    click(keyPw(), "Button1");
    EXPECT_FALSE(keyPw().isVisible());
    ASSERT_TRUE(p().SelectYear_Form->isVisible());
    EXPECT_FALSE(calendar().isVisible());
    p().SelectYear_Form->FormActivate();
    EXPECT_EQ(p().SelectYear_Form->SpinEdit1->value(), 2011);
    // The year path leaves the month and the day page alone.
    EXPECT_EQ(calendar().M_Label->text(), QStringLiteral("7月"));
    EXPECT_EQ(p().DefaultDayPage, 0);

    p().SelectYear_Form->SpinEdit1->setValue(2015);
    click(*p().SelectYear_Form, "Button1");
    EXPECT_FALSE(p().SelectYear_Form->isVisible());
    EXPECT_TRUE(calendar().isVisible());
    EXPECT_EQ(calendar().Year_Label->value(), 2015);
    EXPECT_EQ(calendar().User_Label->text(), QStringLiteral("公司"));
    EXPECT_FALSE(directory().FindLedger(QStringLiteral("公司")).yearEmpty);

    // Second login: the prompt's field starts empty and the year prompt does not come.
    calendar().hide();
    select().beginSwitch(QStringLiteral("公司"));
    EXPECT_EQ(select().ComboBox1->currentText(), PleaseChoose);
    pickAndOk(QStringLiteral("公司"));
    ASSERT_TRUE(keyPw().isVisible());
    EXPECT_TRUE(keyPw().Edit1->text().isEmpty());
    QTest::keyClicks(keyPw().Edit1, QStringLiteral("pw1"));
    // Enter moves on to 確定, a second Enter presses it.
    QTest::keyClick(keyPw().Edit1, Qt::Key_Return);
    QTest::keyClick(keyPw().Button1, Qt::Key_Return);
    EXPECT_FALSE(p().SelectYear_Form->isVisible());
    EXPECT_TRUE(calendar().isVisible());
    EXPECT_EQ(calendar().Year_Label->value(), 2015);
    EXPECT_EQ(calendar().M_Label->text(), todaysMonth());
    EXPECT_EQ(p().DefaultDayPage, 1);
}

TEST_F(LedgerScreens, PasswordPromptCancelReturnsToTheChoice)
{
    start();
    create(QStringLiteral("公司"), QStringLiteral("pw1"));
    pickAndOk(QStringLiteral("公司"));
    click(keyPw(), "Button2");
    EXPECT_FALSE(keyPw().isVisible());
    EXPECT_TRUE(select().isVisible());
    EXPECT_EQ(calendar().User_Label->text(), QStringLiteral("訪客"));
}

TEST_F(LedgerScreens, PasswordChangeChecksBeforeWriting)
{
    start();
    create(QStringLiteral("公司"), QStringLiteral("old"));
    pick(QStringLiteral("公司"));
    click(select(), "btn_pw");
    TPasswordChange &change = *p().PasswordChange;
    ASSERT_TRUE(change.isVisible());
    EXPECT_TRUE(select().isVisible());
    const QByteArray before = userInfo();

    // A mismatch is reported before the old password is even looked at.
    type(change, "Edit1", QStringLiteral("wrong"));
    type(change, "Edit2", QStringLiteral("new"));
    type(change, "Edit3", QStringLiteral("neu"));
    click(change, "btn1");
    EXPECT_EQ(t.prompts().warnings, QStringList { QStringLiteral("確認密碼有誤，煩請核對!") });

    // Every try empties the three fields: what was typed is never there for the next person.
    const auto fieldsEmpty = [&] {
        return change.Edit1->text().isEmpty() && change.Edit2->text().isEmpty()
            && change.Edit3->text().isEmpty();
    };
    EXPECT_TRUE(fieldsEmpty());
    type(change, "Edit1", QStringLiteral("wrong"));
    type(change, "Edit2", QStringLiteral("new"));
    type(change, "Edit3", QStringLiteral("new"));
    click(change, "btn1");
    EXPECT_EQ(t.prompts().warnings.last(), QStringLiteral("密碼錯誤，請重新確認!"));
    EXPECT_TRUE(change.isVisible());
    EXPECT_TRUE(fieldsEmpty());
    EXPECT_EQ(userInfo(), before);

    // The owner's right old password, typed and then left with 取消: opening again shows
    // nothing of it, so nobody else can set a new password with it.
    type(change, "Edit1", QStringLiteral("old"));
    click(change, "btn2");
    click(select(), "btn_pw");
    ASSERT_TRUE(change.isVisible());
    EXPECT_TRUE(fieldsEmpty());
    click(change, "btn1");
    EXPECT_EQ(t.prompts().warnings.last(), QStringLiteral("密碼錯誤，請重新確認!"));
    EXPECT_EQ(userInfo(), before);

    // Empty new password: the ledger has no password any more.
    type(change, "Edit1", QStringLiteral("old"));
    type(change, "Edit2", QString());
    type(change, "Edit3", QString());
    click(change, "btn1");
    EXPECT_FALSE(change.isVisible());
    EXPECT_TRUE(fieldsEmpty());
    EXPECT_TRUE(directory().FindLedger(QStringLiteral("公司")).passwordEmpty);

    pickAndOk(QStringLiteral("公司"));
    EXPECT_FALSE(keyPw().isVisible());
    EXPECT_TRUE(calendar().isVisible());
}

TEST_F(LedgerScreens, DeletionAsksAndChecksThePassword)
{
    start();
    create(QStringLiteral("公司"), QStringLiteral("pw"));
    const int rows = ownedRows(QStringLiteral("公司"));
    const QByteArray before = userInfo();

    // Password dialog cancelled, then confirmation declined: nothing happens, no message.
    pick(QStringLiteral("公司"));
    click(select(), "Button4");
    t.prompts().passwordAnswers = { QStringLiteral("pw") };
    t.prompts().confirmAnswers = { false };
    click(select(), "Button4");
    EXPECT_EQ(t.prompts().questions,
        QStringList { QStringLiteral("帳本一旦刪除，會連原舊有資料一併清除！") });
    EXPECT_TRUE(t.prompts().warnings.isEmpty());

    t.prompts().passwordAnswers = { QStringLiteral("PW") };
    click(select(), "Button4");
    EXPECT_EQ(t.prompts().warnings, QStringList { QStringLiteral("密碼錯誤，請重新確認！") });
    EXPECT_EQ(userInfo(), before);
    EXPECT_EQ(ownedRows(QStringLiteral("公司")), rows);
    EXPECT_EQ(select().ComboBox1->currentText(), QStringLiteral("公司"));
}

TEST_F(LedgerScreens, DeletionRemovesAllTheLedgersRowsAndNothingElse)
{
    start();
    create(QStringLiteral("甲"));
    create(QStringLiteral("乙"));
    for (const QString &ledger : { QStringLiteral("甲"), QStringLiteral("乙") }) {
        t.addEntry(ledger, QDate(2012, 3, 5), false, 1, QStringLiteral("早餐"), 80);
        t.addEntry(ledger, QDate(2012, 3, 6), true, 1, QStringLiteral("門市銷售"), 1200);
    }
    const int otherRows = ownedRows(QStringLiteral("乙"));

    pick(QStringLiteral("甲"));
    t.prompts().passwordAnswers = { QString() };
    click(select(), "Button4");

    EXPECT_EQ(t.prompts().warnings, QStringList { QStringLiteral("帳本及相關資料己刪除！") });
    EXPECT_EQ(ownedRows(QStringLiteral("甲")), 0);
    EXPECT_EQ(ownedRows(QStringLiteral("乙")), otherRows);
    EXPECT_EQ(directory().ListLedgerNames(), QStringList { QStringLiteral("乙") });
    EXPECT_EQ(select().ComboBox1->currentText(), PleaseChoose);
    EXPECT_EQ(select().ComboBox1->findText(QStringLiteral("甲")), -1);
    EXPECT_FALSE(select().Button4->isEnabled());
}

TEST_F(LedgerScreens, CancelAtTheFirstScreenEndsTheProgram)
{
    start();
    click(select(), "Button2");
    EXPECT_TRUE(p().ended());
    EXPECT_FALSE(select().isVisible());
}

TEST_F(LedgerScreens, CancelDuringASwitchReturnsToTheOpenLedger)
{
    start();
    create(QStringLiteral("甲"));
    create(QStringLiteral("乙"));
    pickAndOk(QStringLiteral("甲"));
    ASSERT_TRUE(calendar().isVisible());
    const bool deleteEnabled = select().Button4->isEnabled();

    calendar().hide();
    select().beginSwitch(QStringLiteral("甲"));
    EXPECT_EQ(select().Button4->isEnabled(), deleteEnabled);
    pick(QStringLiteral("乙"));
    click(select(), "Button2");

    EXPECT_FALSE(p().ended());
    EXPECT_FALSE(select().isVisible());
    EXPECT_TRUE(calendar().isVisible());
    EXPECT_EQ(calendar().User_Label->text(), QStringLiteral("甲"));
    EXPECT_EQ(select().ComboBox1->currentText(), QStringLiteral("甲"));
}

TEST_F(LedgerScreens, DeletingTheOpenLedgerDuringASwitchLogsItOut)
{
    start();
    create(QStringLiteral("甲"));
    pickAndOk(QStringLiteral("甲"));
    calendar().hide();
    select().beginSwitch(QStringLiteral("甲"));
    pick(QStringLiteral("甲"));
    t.prompts().passwordAnswers = { QString() };
    click(select(), "Button4");
    EXPECT_EQ(calendar().User_Label->text(), QStringLiteral("訪客"));
    click(select(), "Button2");
    EXPECT_TRUE(p().ended());
}

} // namespace
