#include "categories/CashSet_Unit.h"

#include "app/Program.h"
#include "categories/CategorySettings.h"
#include "dayentry/CashRecord_Unit.h"
#include "store/LedgerOps.h"
#include "ui/AmountEditFilter.h"
#include "ui/Colors.h"
#include "ui/Named.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <utility>

namespace {
const QString Income = QStringLiteral("收入");
const QString Expense = QStringLiteral("支出");
const QString NoKind = QStringLiteral("尚未選擇類型!!");

} // namespace

TCashSet_Form::TCashSet_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("CashSet_Form"));
    setWindowTitle(QStringLiteral("分類設定"));
    // Close button only; where the window manager still offers to minimise it, the whole program
    // goes down with it rather than leaving the disabled day screen up alone.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint);
    setFixedSize(367, 387);

    lbl1 = named(new QLabel(QStringLiteral("類型"), this), "lbl1");
    lbl1->setGeometry(20, 20, 60, 24);
    cbb1 = named(new QComboBox(this), "cbb1");
    cbb1->setEditable(true);
    cbb1->setInsertPolicy(QComboBox::NoInsert);
    cbb1->setCompleter(nullptr);
    cbb1->addItems({ Income, Expense });
    cbb1->setGeometry(84, 20, 150, 24);
    lbl1->setBuddy(cbb1);
    lbl2 = named(new QLabel(QStringLiteral("帳目分類"), this), "lbl2");
    lbl2->setGeometry(20, 54, 60, 24);
    cbb2 = named(new QComboBox(this), "cbb2");
    cbb2->setGeometry(84, 54, 150, 24);
    lbl2->setBuddy(cbb2);
    Label1 = named(new QLabel(QStringLiteral("品名"), this), "Label1");
    Label1->setGeometry(20, 88, 60, 24);
    Edit1 = named(new QLineEdit(this), "Edit1");
    Edit1->setMaxLength(20);
    Edit1->setGeometry(84, 88, 150, 24);
    Label1->setBuddy(Edit1);

    auto button = [this](const char *name, const QString &text, const QString &hint, int x, int y) {
        auto *b = named(new QPushButton(text, this), name);
        b->setToolTip(hint);
        b->setAccessibleName(hint);
        b->setGeometry(x, y, 40, 28);
        b->setAutoDefault(true); // Enter on the focused button presses it
        return b;
    };
    Button1 = button("Button1", QStringLiteral("+"), QStringLiteral("新增"), 244, 86);
    Button2 = button("Button2", QStringLiteral("-"), QStringLiteral("移除"), 290, 86);
    Button2->setEnabled(false);
    ListBox1 = named(new QListWidget(this), "ListBox1");
    ListBox1->setGeometry(84, 124, 196, 200);
    QPalette cream = ListBox1->palette();
    cream.setColor(QPalette::Base, winColor(15793151));
    ListBox1->setPalette(cream);
    Button3 = button("Button3", QStringLiteral("↑"), QStringLiteral("上移"), 290, 170);
    Button4 = button("Button4", QStringLiteral("↓"), QStringLiteral("下移"), 290, 210);
    Button5 = named(new QPushButton(QStringLiteral("確定"), this), "Button5");
    Button5->setGeometry(140, 338, 90, 30);
    Button5->setAutoDefault(true);

    connect(cbb1, &QComboBox::activated, this, [this] { cbb1Change(); });
    connect(cbb2, &QComboBox::activated, this, [this] { cbb2Change(); });
    // A row chosen with the arrow keys counts as clicked.
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, [this] { ListBox1Click(); });
    connect(Edit1, &QLineEdit::textEdited, this, [this] { Edit1Change(); });
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    Edit1->installEventFilter(this);
    ListBox1->installEventFilter(this);
}

CategorySettings TCashSet_Form::settings()
{
    return CategorySettings(m_program.db(), m_program.currentLedger());
}

bool TCashSet_Form::kindChosen() const
{
    return cbb1->currentText() == Income || cbb1->currentText() == Expense;
}

QString TCashSet_Form::kind() const
{
    return cbb1->currentText() == Income ? QStringLiteral("1") : QStringLiteral("0");
}

int TCashSet_Form::mainNumber() const
{
    return cbb2->currentIndex() + 1;
}

void TCashSet_Form::openFromDayScreen()
{
    if (!m_program.guarded([&] { m_changesBeforeCopy = settings().takeBackup(); }))
        return;
    cbb1->setCurrentIndex(-1);
    cbb1->setEditText(QStringLiteral("請選擇"));
    cbb2->clear();
    Edit1->clear();
    ListBox1->clear();
    Button2->setEnabled(false);
    m_rollback = true;
    m_program.CashRecord_Form->setEnabled(false);
    showCentred();
}

void TCashSet_Form::refillList()
{
    QStringList names;
    m_program.guarded([&] { names = settings().subcategories(kind(), mainNumber()); });
    ListBox1->clear();
    ListBox1->addItems(names);
}

void TCashSet_Form::cbb1Change()
{
    if (!kindChosen())
        return;
    const bool income = kind() == QStringLiteral("1");
    if (!income)
        Label1->setText(QStringLiteral("帳目"));
    QStringList mains;
    m_program.guarded(
        [&] { mains = GetCategoryNameList(m_program.db(), m_program.currentLedger(), kind()); });
    // Only the main categories that have subcategories can be edited.
    while (mains.size() > (income ? 1 : 3))
        mains.removeLast();
    cbb2->clear();
    cbb2->addItems(mains);
    cbb2->setCurrentIndex(mains.isEmpty() ? -1 : 0);
    refillList();
    Button2->setEnabled(false);
    ListBox1Click();
}

void TCashSet_Form::cbb2Change()
{
    if (!kindChosen()) {
        m_program.prompts().warning(NoKind);
        return;
    }
    refillList();
    const bool goods = kind() == QStringLiteral("1") ? mainNumber() == 1 : mainNumber() == 3;
    Label1->setText(goods ? QStringLiteral("品名") : QStringLiteral("帳目"));
    Button2->setEnabled(false);
    ListBox1Click();
}

void TCashSet_Form::ListBox1Click()
{
    QListWidgetItem *item = ListBox1->currentItem();
    if (!item || !item->isSelected()) {
        Button2->setEnabled(false);
        Button3->setEnabled(false);
        Button4->setEnabled(false);
        return;
    }
    Edit1->setText(item->text());
    Button2->setEnabled(true);
    const bool movable = ListBox1->count() >= 2;
    Button3->setEnabled(movable);
    Button4->setEnabled(movable);
}

void TCashSet_Form::Edit1Change()
{
    const QString text = Edit1->text();
    QStringList names;
    for (int i = 0; i < ListBox1->count(); ++i)
        names << ListBox1->item(i)->text();
    ListBox1->clearSelection();
    ListBox1->setCurrentItem(nullptr);
    if (!names.join(QLatin1Char('\n')).contains(text)) {
        Button2->setEnabled(false);
        ListBox1Click();
        return;
    }
    const int row = names.indexOf(text);
    if (row >= 0) {
        ListBox1->setCurrentRow(row);
        ListBox1->item(row)->setSelected(true);
    }
    ListBox1Click();
}

void TCashSet_Form::Button1Click()
{
    if (!kindChosen()) {
        m_program.prompts().warning(NoKind);
        return;
    }
    const QString name = Edit1->text();
    if (name.isEmpty() || cbb2->currentIndex() < 0)
        return;
    auto result = CategorySettings::AddResult::Added;
    if (!m_program.guarded([&] { result = settings().add(kind(), mainNumber(), name); }))
        return;
    if (result == CategorySettings::AddResult::Duplicate) {
        m_program.prompts().warning(Label1->text() + QStringLiteral("名稱重覆!!"));
        return;
    }
    if (result == CategorySettings::AddResult::Full) {
        m_program.prompts().warning(CategorySettings::fullMessage(cbb2->currentText()));
        return;
    }
    refillList();
    Edit1->clear();
}

void TCashSet_Form::Button2Click()
{
    if (!m_program.prompts().confirm(
            QStringLiteral("是否確定刪除此") + Label1->text() + QStringLiteral("?")))
        return;
    if (!kindChosen()) {
        m_program.prompts().warning(NoKind);
        return;
    }
    QListWidgetItem *item = ListBox1->currentItem();
    if (!item)
        return;
    const QString name = item->text();
    m_program.guarded([&] { settings().remove(kind(), mainNumber(), name); });
    refillList();
    Button2->setEnabled(false);
}

void TCashSet_Form::Button3Click()
{
    moveSelected(true);
}

void TCashSet_Form::Button4Click()
{
    moveSelected(false);
}

void TCashSet_Form::moveSelected(bool up)
{
    if (!kindChosen()) {
        m_program.prompts().warning(NoKind);
        return;
    }
    const int row = ListBox1->currentRow();
    if (row < 0)
        return;
    int followed = row;
    m_program.guarded([&] { followed = settings().move(kind(), mainNumber(), row, up); });
    refillList();
    if (followed >= 0 && followed < ListBox1->count()) {
        ListBox1->setCurrentRow(followed);
        ListBox1->item(followed)->setSelected(true);
    }
}

void TCashSet_Form::Button5Click()
{
    m_rollback = false;
    close();
}

void TCashSet_Form::CaseSetRollBack()
{
    const bool rollBack = m_rollback;
    m_rollback = false;
    const qint64 before = std::exchange(m_changesBeforeCopy, -1);
    m_program.guarded([&] { settings().finish(rollBack, before); });
}

void TCashSet_Form::closeEvent(QCloseEvent *event)
{
    hide();
    CaseSetRollBack();
    TCashRecord_Form *day = m_program.CashRecord_Form;
    day->refillSubcategoryPickers();
    day->setEnabled(true);
    if (day->isVisible())
        day->reload();
    else
        day->showCentred();
    event->accept();
}

bool TCashSet_Form::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == Edit1) {
                Button1Click();
                return true;
            }
            if (watched == ListBox1) {
                focusNextControl(ListBox1);
                return true;
            }
        }
    }
    return GradientWindow::eventFilter(watched, event);
}
