#include "ledgers/SelectUser_Unit.h"

#include "app/Program.h"
#include "calendar/RM_Main_Unit.h"
#include "dialogs/FormHelpers.h"
#include "ledgers/KeyPW_Unit.h"
#include "ledgers/LedgerAdmin.h"
#include "ledgers/LedgerDirectory.h"
#include "ledgers/NewUser_Unit.h"
#include "ledgers/PasswordChange_Unit.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
const QString PleaseChoose = QStringLiteral("請選擇");
const QString Guest = QStringLiteral("訪客");

QPushButton *makeButton(QWidget *parent, const char *name, const QString &caption,
    const QColor &colour, bool bold, const QRect &geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    QFont font = formFont(14, bold ? QFont::Bold : -1);
    button->setFont(font);
    if (colour.isValid()) {
        // Only the enabled states are coloured, so a disabled button still looks disabled.
        QPalette palette = button->palette();
        palette.setColor(QPalette::Active, QPalette::ButtonText, colour);
        palette.setColor(QPalette::Inactive, QPalette::ButtonText, colour);
        button->setPalette(palette);
    }
    return button;
}
} // namespace

TSelectUser_Form::TSelectUser_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("SelectUser_Form"));
    setWindowTitle(QStringLiteral("請選擇帳本"));
    setWindowFlags(
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint);
    setFixedSize(460, 132);

    Label1 = new QLabel(QStringLiteral("帳本:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(formFont(21, QFont::Bold));
    Label1->setGeometry(20, 20, 70, 32);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setCompleter(nullptr);
    ComboBox1->setFont(formFont(16));
    ComboBox1->setGeometry(92, 20, 348, 32);
    ComboBox1->setEditText(PleaseChoose);
    Label1->setBuddy(ComboBox1);

    const int y = 78, h = 34;
    Button4 = makeButton(
        this, "Button4", QStringLiteral("刪除帳本"), QColor(Qt::red), false, { 20, y, 80, h });
    Button3 = makeButton(this, "Button3", QStringLiteral("新增帳本"), QColor(Qt::darkGreen), false,
        { 105, y, 80, h });
    btn_pw = makeButton(
        this, "btn_pw", QStringLiteral("變更密碼"), QColor(0, 0, 128), false, { 190, y, 80, h });
    Button1 = makeButton(this, "Button1", QStringLiteral("確定"), {}, true, { 280, y, 76, h });
    Button2 = makeButton(this, "Button2", QStringLiteral("取消"), {}, true, { 364, y, 76, h });
    Button4->setEnabled(false);
    btn_pw->setEnabled(false);

    setTabOrder(ComboBox1, Button4);
    setTabOrder(Button4, Button3);
    setTabOrder(Button3, btn_pw);
    setTabOrder(btn_pw, Button1);
    setTabOrder(Button1, Button2);
    EnterMovesFocus::install(ComboBox1);
    enterPressesButtons(this);

    // Only the user's edits and picks count as a change; texts the program puts into the
    // box leave the buttons as they are.
    connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, [this] { ComboBox1Change(); });
    connect(ComboBox1, &QComboBox::activated, this, [this] {
        ComboBox1Change();
        if (boxHoldsListedItem())
            focusNextChild();
    });
    connect(Button1, &QPushButton::clicked, this, &TSelectUser_Form::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TSelectUser_Form::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TSelectUser_Form::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TSelectUser_Form::Button4Click);
    connect(btn_pw, &QPushButton::clicked, this, &TSelectUser_Form::btn_pwClick);
}

void TSelectUser_Form::FormActivate()
{
    // The list is read afresh; the typed text stays.
    const QString text = ComboBox1->currentText();
    // A list that cannot be read stays empty.
    QStringList names;
    QString unreadable;
    refreshOnActivation(m_program.prompts(), [&] {
        names = m_program.directory().ListLedgerNames();
        unreadable = m_program.directory().unreadableRecordsNotice();
    });
    // Records whose names cannot be read are left out of the list; the user hears of them
    // once, not at every showing.
    if (!unreadable.isEmpty() && unreadable != m_unreadableNotice)
        m_program.prompts().warning(unreadable);
    m_unreadableNotice = unreadable;
    {
        const QSignalBlocker block(ComboBox1);
        ComboBox1->clear();
        ComboBox1->addItems(names);
        ComboBox1->setCurrentIndex(-1);
        ComboBox1->setEditText(text);
    }
    if (ComboBox1->currentIndex() < 0)
        btn_pw->setEnabled(false);
}

void TSelectUser_Form::beginSwitch(const QString &previousLedger)
{
    PreviousLedgerName = previousLedger;
    ComboBox1->setEditText(PleaseChoose);
    showCentred();
}

bool TSelectUser_Form::boxHoldsListedItem() const
{
    const int index = ComboBox1->currentIndex();
    return index >= 0 && ComboBox1->itemText(index) == ComboBox1->currentText();
}

void TSelectUser_Form::ComboBox1Change()
{
    const bool listed = !ComboBox1->currentText().isEmpty() && boxHoldsListedItem();
    Button4->setEnabled(listed);
    btn_pw->setEnabled(listed);
}

void TSelectUser_Form::Button1Click()
{
    const QString name = ComboBox1->currentText();
    if (name == PleaseChoose)
        return;
    m_program.guarded([&] {
        const LedgerLookup found = m_program.directory().FindLedger(name);
        if (!found.found) {
            openNewLedger(name);
        } else if (!found.passwordEmpty) {
            m_program.KeyPW_Form->showCentred();
            hide();
        } else {
            directLogin(name);
        }
    });
}

void TSelectUser_Form::directLogin(const QString &name)
{
    const LedgerLookup found = m_program.directory().FindLedger(name);
    m_program.RM_Main_Form->User_Label->setText(name);
    if (found.yearEmpty)
        m_program.RM_Main_Form->M_Label->setText(
            QStringLiteral("%1月").arg(QDate::currentDate().month()));
    hide();
    m_program.RM_Main_Form->showCentred();
    loadDefaultDayPage(name);
}

void TSelectUser_Form::loadDefaultDayPage(const QString &name)
{
    m_program.guarded([&] {
        LedgerAdmin admin(m_program.db(), m_program.directory());
        if (const auto page = admin.defaultDayPage(name))
            m_program.DefaultDayPage = *page;
    });
}

void TSelectUser_Form::Button2Click()
{
    if (m_program.loggedIn()) {
        // A switch was cancelled: the ledger that was open stays logged in.
        hide();
        ComboBox1->setEditText(PreviousLedgerName);
        m_program.RM_Main_Form->User_Label->setText(PreviousLedgerName);
        m_program.RM_Main_Form->showCentred();
        return;
    }
    m_program.endProgram();
}

void TSelectUser_Form::Button3Click()
{
    openNewLedger(QString());
}

void TSelectUser_Form::openNewLedger(const QString &name)
{
    // Passwords typed there before (and then cancelled) are never shown to the next person.
    m_program.NewUser_Form->Edit1->setText(name);
    m_program.NewUser_Form->Edit2->clear();
    m_program.NewUser_Form->Edit3->clear();
    m_program.NewUser_Form->showCentred();
    hide();
}

void TSelectUser_Form::btn_pwClick()
{
    m_program.PasswordChange->showCentred();
}

void TSelectUser_Form::Button4Click()
{
    const auto password = m_program.prompts().askLedgerPassword();
    if (!password)
        return;
    const QString name = ComboBox1->currentText();
    m_program.guarded([&] {
        LedgerAdmin admin(m_program.db(), m_program.directory());
        const RemoveLedgerResult result = admin.removeLedger(name, *password, [this] {
            return m_program.prompts().confirm(
                QStringLiteral("帳本一旦刪除，會連原舊有資料一併清除！"));
        });
        if (result == RemoveLedgerResult::NoMatch) {
            m_program.prompts().warning(QStringLiteral("密碼錯誤，請重新確認！"));
            return;
        }
        if (result != RemoveLedgerResult::Removed)
            return;
        // The ledger left open behind a switch is gone too: nobody is logged in any more.
        if (m_program.loggedIn() && name == m_program.currentLedger()) {
            m_program.RM_Main_Form->User_Label->setText(Guest);
            PreviousLedgerName.clear();
        }
        const int index = ComboBox1->findText(name, Qt::MatchExactly);
        if (index >= 0)
            ComboBox1->removeItem(index);
        ComboBox1->setCurrentIndex(-1);
        ComboBox1->setEditText(PleaseChoose);
        Button4->setEnabled(false);
        btn_pw->setEnabled(false);
        m_program.prompts().warning(QStringLiteral("帳本及相關資料己刪除！"));
    });
}

void TSelectUser_Form::closeEvent(QCloseEvent *event)
{
    // Closing the main window is the same as 取消; the program itself ends through
    // endProgram(), which only hides the windows.
    event->ignore();
    if (!m_program.ended())
        Button2Click();
}
