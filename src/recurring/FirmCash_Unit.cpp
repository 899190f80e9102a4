#include "recurring/FirmCash_Unit.h"
#include "store/Schema.h"

#include "app/Program.h"
#include "calendar/RM_Main_Unit.h"
#include "dialogs/FormHelpers.h"
#include "store/Amount.h"
#include "store/LedgerOps.h"
#include "ui/AmountEditFilter.h"
#include "ui/Colors.h"
#include "ui/GuardedPages.h"
#include "ui/MainCategoryPicker.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
const QString PleaseChoose = QStringLiteral("請選擇");
const QString PostCaption = QStringLiteral("輸入");
const QString ChangeCaption = QStringLiteral("修正");
const QString DeleteCaption = QStringLiteral("刪除");
const QString DateFormat = QStringLiteral("yyyy/MM/dd");
const QString &NoSpending = Schema::NoSpendingName;

enum Column {
    DayColumn,
    CategoryColumn,
    AmountColumn,
    NoteColumn,
    PeriodColumn,
    RangeColumn,
    SerialColumn,
    ColumnCount
};

QLabel *labelFor(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}
} // namespace

RadioGroup::RadioGroup(const QStringList &items, int columns, QWidget *parent)
    : QGroupBox(parent)
    , m_buttons(new QButtonGroup(this))
{
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items[i], this);
        m_buttons->addButton(button, i);
        layout->addWidget(button, i / columns, i % columns);
    }
    setItemIndex(0);
}

int RadioGroup::itemIndex() const
{
    return m_buttons->checkedId();
}

void RadioGroup::setItemIndex(int index)
{
    if (QAbstractButton *button = m_buttons->button(index))
        button->setChecked(true);
}

TFirmCash_Form::TFirmCash_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("FirmCash_Form"));
    setWindowTitle(QStringLiteral("固定收支"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    N2 = PopupMenu1->addAction(QStringLiteral("修正"));
    N2->setObjectName(QStringLiteral("N2"));
    N1 = PopupMenu1->addAction(QStringLiteral("刪除"));
    N1->setObjectName(QStringLiteral("N1"));
    connect(N2, &QAction::triggered, this, [this] { N2Click(); });
    connect(N1, &QAction::triggered, this, [this] { N1Click(); });

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    m_income.income = true;
    m_expense.income = false;
    TabSheet1 = buildPage(m_income, QStringLiteral("1"));
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = buildPage(m_expense, QStringLiteral("2"));
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet1, QStringLiteral("收入"));
    PageControl1->addTab(TabSheet2, QStringLiteral("支出"));
    PageControl1->tabBar()->setTabTextColor(0, winColor(Palette::Income));
    PageControl1->tabBar()->setTabTextColor(1, winColor(Palette::Expense));
    m_pages = new GuardedPages(
        PageControl1, [this] { return PageControl1Changing(); }, [this] { PageControl1Change(); });

    in_main_item = m_income.mainItem;
    out_main_item = m_expense.mainItem;
    ComboBox1 = m_income.entryName;
    ComboBox2 = m_expense.entryName;
    Edit1 = m_income.amount;
    Edit2 = m_income.note;
    Edit3 = m_expense.amount;
    Edit4 = m_expense.note;
    StartDatePciker1 = m_income.start;
    StartDatePciker2 = m_expense.start;
    JvDatePickerEdit1 = m_income.end;
    JvDatePickerEdit2 = m_expense.end;
    jvrdgrp1 = m_income.period;
    jvrdgrp2 = m_expense.period;
    Button4 = m_income.action;
    Button5 = m_expense.action;
    ListView1 = m_income.list;
    ListView2 = m_expense.list;
    const QString yearHint = QStringLiteral("在彈出月曆視窗中按年份數字區域即可選擇其他年度。");
    StartDatePciker1->setToolTip(yearHint);
    JvDatePickerEdit1->setToolTip(yearHint);

    connect(in_main_item, &QComboBox::activated, this, [this] { in_main_itemChange(); });
    connect(out_main_item, &QComboBox::activated, this, [this] { out_main_itemChange(); });
    connect(ComboBox1, &QComboBox::currentTextChanged, this, [this] { ComboBox1Change(); });
    connect(ComboBox2, &QComboBox::currentTextChanged, this, [this] { ComboBox2Change(); });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    connect(Edit3, &QLineEdit::textChanged, this, [this] { Edit3Change(); });
    connect(ListView1, &QTableWidget::cellDoubleClicked, this, [this] { ListView1DblClick(); });
    connect(ListView2, &QTableWidget::cellDoubleClicked, this, [this] { ListView2DblClick(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });

    BitBtn3 = new QPushButton(QStringLiteral("離開"), this);
    BitBtn3->setObjectName(QStringLiteral("BitBtn3"));
    BitBtn3->setMinimumWidth(90);
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });

    JvStatusBar1 = new QStatusBar(this);
    JvStatusBar1->setObjectName(QStringLiteral("JvStatusBar1"));
    JvStatusBar1->setSizeGripEnabled(false);
    QLabel **panels[] = { &StatusPanel1, &StatusPanel2, &StatusPanel3 };
    for (int i = 0; i < 3; ++i) {
        *panels[i] = new QLabel(JvStatusBar1);
        (*panels[i])->setObjectName(QStringLiteral("StatusPanel%1").arg(i + 1));
        (*panels[i])->setFixedWidth(200);
        JvStatusBar1->addWidget(*panels[i]);
    }

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(BitBtn3);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 0);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(bottom);
    layout->addWidget(JvStatusBar1);

    setFixedSize(800, 580);
}

QWidget *TFirmCash_Form::buildPage(Page &page, const QString &suffix)
{
    auto *sheet = new QWidget;
    const bool income = page.income;
    auto name = [&](QWidget *w, const QString &incomeName, const QString &expenseName) {
        w->setObjectName(income ? incomeName : expenseName);
    };

    page.mainItem = new QComboBox(sheet);
    name(page.mainItem, QStringLiteral("in_main_item"), QStringLiteral("out_main_item"));
    page.mainItem->setPlaceholderText(PleaseChoose);
    drawMainCategories(page.mainItem, page.income);
    page.mainItem->setMinimumWidth(110);

    page.entryName = new QComboBox(sheet);
    name(page.entryName, QStringLiteral("ComboBox1"), QStringLiteral("ComboBox2"));
    page.entryName->setEditable(true);
    page.entryName->setInsertPolicy(QComboBox::NoInsert);
    page.entryName->setMinimumWidth(150);
    page.entryName->setEditText(PleaseChoose);

    page.amount = new QLineEdit(sheet);
    name(page.amount, QStringLiteral("Edit1"), QStringLiteral("Edit3"));
    AmountEditFilter::install(page.amount);
    page.amount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    page.amount->setFixedWidth(110);

    page.note = new QLineEdit(sheet);
    name(page.note, QStringLiteral("Edit2"), QStringLiteral("Edit4"));
    // Enter in the note moves on, as in the amount field.
    EnterMovesFocus::install(page.note);

    auto makeDate = [&](const QString &incomeName, const QString &expenseName) {
        auto *edit = new QDateEdit(sheet);
        name(edit, incomeName, expenseName);
        edit->setDisplayFormat(DateFormat);
        edit->setCalendarPopup(true);
        edit->setMinimumWidth(125);
        edit->setMinimumDate(QDate(1900, 1, 1));
        edit->setMaximumDate(QDate(9999, 12, 31));
        return edit;
    };
    page.start = makeDate(QStringLiteral("StartDatePciker1"), QStringLiteral("StartDatePciker2"));
    page.end = makeDate(QStringLiteral("JvDatePickerEdit1"), QStringLiteral("JvDatePickerEdit2"));

    page.period = new RadioGroup(
        { QStringLiteral("每月"), QStringLiteral("2個月"), QStringLiteral("每季") }, 3, sheet);
    page.period->setObjectName(QStringLiteral("jvrdgrp") + suffix);
    page.period->setAccessibleName(QStringLiteral("定期"));
    const QList<QRadioButton *> radios = page.period->findChildren<QRadioButton *>();
    for (int i = 0; i < radios.size(); ++i)
        radios[i]->setObjectName(page.period->objectName() + QStringLiteral("_%1").arg(i));

    page.action = new QPushButton(PostCaption, sheet);
    name(page.action, QStringLiteral("Button4"), QStringLiteral("Button5"));
    page.action->setEnabled(false);
    page.action->setMinimumWidth(90);

    page.list = new QTableWidget(0, ColumnCount, sheet);
    name(page.list, QStringLiteral("ListView1"), QStringLiteral("ListView2"));
    page.list->setHorizontalHeaderLabels({ QStringLiteral("日期"), QStringLiteral("分類"),
        QStringLiteral("金額"), QStringLiteral("說明"), QStringLiteral("定期"),
        QStringLiteral("起訖"), QStringLiteral("序列號") });
    page.list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    page.list->setSelectionBehavior(QAbstractItemView::SelectRows);
    page.list->setSelectionMode(QAbstractItemView::SingleSelection);
    page.list->setShowGrid(true);
    page.list->setWordWrap(false);
    page.list->verticalHeader()->hide();
    page.list->verticalHeader()->setDefaultSectionSize(22);
    QHeaderView *header = page.list->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionResizeMode(NoteColumn, QHeaderView::Stretch);
    page.list->setColumnWidth(DayColumn, 50);
    page.list->setColumnWidth(CategoryColumn, 140);
    page.list->setColumnWidth(AmountColumn, 70);
    page.list->setColumnWidth(PeriodColumn, 70);
    page.list->setColumnWidth(RangeColumn, 170);
    page.list->setColumnHidden(SerialColumn, true);
    page.list->horizontalHeaderItem(AmountColumn)
        ->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    page.list->setToolTip(QStringLiteral("在欲修改的帳目記錄下，連點二下，即可修正該筆帳目資料"));
    page.list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(page.list, &QWidget::customContextMenuRequested, this,
        [this, list = page.list](const QPoint &pos) {
            PopupMenu1Popup();
            PopupMenu1->popup(list->viewport()->mapToGlobal(pos));
        });

    auto *row1 = new QHBoxLayout;
    row1->addWidget(labelFor(QStringLiteral("分類"), page.mainItem, sheet));
    row1->addWidget(page.mainItem);
    row1->addSpacing(12);
    row1->addWidget(labelFor(QStringLiteral("帳目"), page.entryName, sheet));
    row1->addWidget(page.entryName, 1);
    row1->addSpacing(12);
    row1->addWidget(labelFor(QStringLiteral("金額"), page.amount, sheet));
    row1->addWidget(page.amount);
    row1->addSpacing(12);
    row1->addWidget(labelFor(QStringLiteral("說明"), page.note, sheet));
    row1->addWidget(page.note, 2);

    auto *row2 = new QHBoxLayout;
    row2->addWidget(labelFor(QStringLiteral("起："), page.start, sheet));
    row2->addWidget(page.start);
    row2->addSpacing(8);
    row2->addWidget(labelFor(QStringLiteral("迄："), page.end, sheet));
    row2->addWidget(page.end);
    row2->addSpacing(12);
    row2->addWidget(page.period);
    row2->addStretch();
    row2->addWidget(page.action);

    auto *layout = new QVBoxLayout(sheet);
    layout->addLayout(row1);
    layout->addLayout(row2);
    layout->addWidget(page.list, 1);

    // Enter and Tab run through the editor in reading order.
    QWidget::setTabOrder(page.mainItem, page.entryName);
    QWidget::setTabOrder(page.entryName, page.amount);
    QWidget::setTabOrder(page.amount, page.note);
    QWidget::setTabOrder(page.note, page.start);
    QWidget::setTabOrder(page.start, page.end);
    QWidget::setTabOrder(page.end, radios.value(0));
    QWidget::setTabOrder(radios.value(0), page.action);
    return sheet;
}

TFirmCash_Form::Page &TFirmCash_Form::activePage()
{
    return PageControl1->currentIndex() == 1 ? m_expense : m_income;
}

bool TFirmCash_Form::editing() const
{
    return Button4->text() == ChangeCaption || Button5->text() == ChangeCaption;
}

QDate TFirmCash_Form::firstOfCurrentMonth() const
{
    return QDate(m_program.currentYear(), m_program.currentMonth(), 1);
}

void TFirmCash_Form::openFromCalendar(int year, int month)
{
    const QDate first(year, month, 1);
    StartDatePciker1->setDate(first);
    StartDatePciker2->setDate(first);
    // Part of this showing's refresh: a failure here is the one message of the showing.
    const bool read = refreshOnActivation(m_program.prompts(), [&] {
        Database &db = m_program.db();
        const QString ledger = m_program.currentLedger();
        for (Page *page : { &m_income, &m_expense }) {
            const QString kind = page->income ? QStringLiteral("1") : QStringLiteral("0");
            page->mainItem->clear();
            page->mainItem->addItems(GetCategoryNameList(db, ledger, kind));
            page->mainItem->setCurrentIndex(page->mainItem->count() > 0 ? 0 : -1);
            showChosenMainCategory(page->mainItem, page->income);
            // Refilling the list keeps what the box shows.
            const QString shown = page->entryName->currentText();
            page->entryName->clear();
            page->entryName->addItems(GetCategoryNameList(db, ledger, kind, 1));
            page->entryName->setEditText(shown);
        }
    });
    if (read)
        in_main_itemChange();
    JvDatePickerEdit1->setDate(QDate(year, 12, 31));
    JvDatePickerEdit2->setDate(QDate(year, 12, 31));
    m_pages->setPage(m_program.DefaultDayPage == 1 ? 1 : 0);
    showCentred();
    FormActivate();
}

void TFirmCash_Form::FormActivate()
{
    refreshOnActivation(m_program.prompts(), [this] { refillLists(); });
}

void TFirmCash_Form::refresh()
{
    refreshByUser(m_program.prompts(), [this] { refillLists(); });
}

void TFirmCash_Form::refillLists()
{
    const QList<RecurringItem> items
        = RecurringPlan(m_program.db(), m_program.currentLedger()).items();
    m_income.items.clear();
    m_expense.items.clear();
    for (const RecurringItem &item : std::as_const(items))
        (item.income ? m_income : m_expense).items << item;
    fillList(m_income);
    fillList(m_expense);

    const MonthlySums sums = RecurringPlan::monthlySums(items);
    StatusPanel1->setText(QStringLiteral("每月固定收入：%1元").arg(formatAmount(sums.income)));
    StatusPanel2->setText(QStringLiteral("每月固定支出：%1元").arg(formatAmount(sums.expense)));
    StatusPanel3->setText(
        QStringLiteral("每月固定差額：%1元").arg(formatAmount(sums.difference())));

    if (PageControl1->currentIndex() == 1 && ComboBox2->currentText() == PleaseChoose)
        out_main_itemChange();
    if (PageControl1->currentIndex() == 0 && ComboBox1->currentText() == PleaseChoose)
        in_main_itemChange();
}

void TFirmCash_Form::fillList(Page &page)
{
    page.list->clearContents();
    page.list->setRowCount(page.items.size());
    page.mainNumbers.clear();
    for (int row = 0; row < page.items.size(); ++row) {
        const RecurringItem &item = page.items[row];
        const QStringList texts { QString::number(item.first.day()) + QStringLiteral("日"),
            entryDisplayName(
                item.mainName, item.entryName, mainHasSubcategories(item.income, item.mainNumber)),
            formatAmount(item.amount), item.note, RecurringPlan::periodText(item.period),
            item.first.toString(DateFormat) + QStringLiteral("~") + item.last.toString(DateFormat),
            QString() };
        for (int column = 0; column < ColumnCount; ++column) {
            auto *cell = new QTableWidgetItem(texts[column]);
            if (column == AmountColumn)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            page.list->setItem(row, column, cell);
        }
        page.mainNumbers << QString::number(item.mainNumber);
    }
}

void TFirmCash_Form::mainItemChange(Page &page)
{
    const int position = page.mainItem->currentIndex();
    showChosenMainCategory(page.mainItem, page.income);
    if (position < 0)
        return; // the box shows its placeholder "請選擇"
    QStringList names;
    if (!m_program.guarded([&] {
            names = GetCategoryNameList(m_program.db(), m_program.currentLedger(),
                page.income ? QStringLiteral("1") : QStringLiteral("0"), position + 1);
        }))
        return;
    page.entryName->blockSignals(true);
    page.entryName->clear();
    page.entryName->addItems(names);
    page.entryName->blockSignals(false);
    page.entryName->setEditText(mainHasSubcategories(page.income, position + 1)
            ? PleaseChoose
            : page.mainItem->currentText());
    page.entryName->setEnabled(page.entryName->currentText() == PleaseChoose);
    if (!page.income) {
        page.amount->setEnabled(true);
        page.note->setEnabled(true);
    }
    updateActionButton(page);
    if (!page.income && page.mainItem->currentText() == NoSpending) {
        page.amount->setText(QStringLiteral("0"));
        page.action->setEnabled(true);
        page.amount->setEnabled(false);
        page.note->setEnabled(false);
        page.start->setFocus();
    }
}

void TFirmCash_Form::in_main_itemChange()
{
    mainItemChange(m_income);
}

void TFirmCash_Form::out_main_itemChange()
{
    mainItemChange(m_expense);
}

void TFirmCash_Form::updateActionButton(Page &page)
{
    const QString name = page.entryName->currentText();
    page.action->setEnabled(
        !name.isEmpty() && name != PleaseChoose && !page.amount->text().isEmpty());
}

void TFirmCash_Form::ComboBox1Change()
{
    updateActionButton(m_income);
}

void TFirmCash_Form::ComboBox2Change()
{
    updateActionButton(m_expense);
}

void TFirmCash_Form::Edit1Change()
{
    updateActionButton(m_income);
}

void TFirmCash_Form::Edit3Change()
{
    updateActionButton(m_expense);
}

void TFirmCash_Form::loadRow(Page &page)
{
    const int row = page.list->currentRow();
    if (row < 0 || row >= page.items.size() || !page.list->item(row, 0)
        || !page.list->item(row, 0)->isSelected())
        return;
    const RecurringItem item = page.items[row];
    page.mainItem->setCurrentIndex(page.mainNumbers[row].toInt() - 1);
    showChosenMainCategory(page.mainItem, page.income);
    if (page.income)
        mainItemChange(page);
    page.entryName->setEditText(item.entryName);
    page.entryName->setEnabled(false);
    // Amount and note are what a change edits, even when 無花費 was chosen before; a 無花費
    // item itself stays at 0.
    const bool noSpending = item.entryName == NoSpending && !item.income;
    page.amount->setEnabled(!noSpending);
    page.note->setEnabled(!noSpending);
    page.amount->setText(page.list->item(row, AmountColumn)->text().remove(QLatin1Char(',')));
    page.note->setText(item.note);
    page.action->setText(ChangeCaption);
    page.action->setEnabled(true);
    N1->setEnabled(false);
    page.period->setItemIndex(item.period - 1);
    page.period->setEnabled(false);
    page.start->setDate(item.first);
    page.end->setDate(item.last);
    page.start->setEnabled(false);
    page.end->setEnabled(false);
    // Change and deletion work on the item as listed, whatever the editor shows meanwhile.
    page.loaded = item;
}

void TFirmCash_Form::ListView1DblClick()
{
    loadRow(m_income);
}

void TFirmCash_Form::ListView2DblClick()
{
    loadRow(m_expense);
}

void TFirmCash_Form::N2Click()
{
    loadRow(activePage());
}

void TFirmCash_Form::PopupMenu1Popup()
{
    Page &page = activePage();
    const bool selected = !page.list->selectedItems().isEmpty();
    N2->setEnabled(selected);
    N1->setEnabled(selected && page.action->text() == PostCaption);
}

void TFirmCash_Form::N1Click()
{
    if (!m_program.prompts().confirm(QStringLiteral("確定要刪除此項帳目資料？")))
        return;
    // Only the row chosen on the page in front; a row left selected on the other page stays.
    Page &page = activePage();
    if (!page.list->selectedItems().isEmpty()) {
        loadRow(page);
        page.action->setText(DeleteCaption);
        runAction(page);
    }
    resetBothPages(true);
    refresh();
}

void TFirmCash_Form::Button4Click()
{
    runAction(m_income);
}

void TFirmCash_Form::Button5Click()
{
    runAction(m_expense);
}

void TFirmCash_Form::runAction(Page &page)
{
    const QString caption = page.action->text();
    bool done = false;
    QString report; // how many entries a change or deletion reached
    m_program.guarded([&] {
        RecurringPlan plan(m_program.db(), m_program.currentLedger());
        try {
            if (caption == PostCaption) {
                RecurringPosting posting;
                posting.income = page.income;
                posting.mainNumber = page.mainItem->currentIndex() + 1;
                posting.entryName = page.entryName->currentText();
                posting.amountText = page.amount->text();
                posting.note = page.note->text();
                posting.period = page.period->itemIndex() + 1;
                posting.start = page.start->date();
                posting.end = page.end->date();
                plan.post(posting);
            } else if (page.loaded && caption == ChangeCaption) {
                const int changed
                    = plan.change(*page.loaded, page.amount->text(), page.note->text());
                report = QStringLiteral("已修正 %1 筆").arg(formatAmount(changed));
            } else if (page.loaded && caption == DeleteCaption) {
                report
                    = QStringLiteral("已刪除 %1 筆").arg(formatAmount(plan.remove(*page.loaded)));
            } else {
                return;
            }
            done = true;
        } catch (const RecurringInputError &e) {
            m_program.prompts().warning(e.message());
        }
    });
    if (!done)
        return; // the editor keeps what the user entered
    toPostingState(page);
    refresh();
    if (!report.isEmpty())
        m_program.prompts().warning(report);
}

void TFirmCash_Form::toPostingState(Page &page)
{
    page.loaded.reset();
    page.entryName->setEditText(PleaseChoose);
    page.entryName->setEnabled(true);
    page.amount->clear();
    page.note->clear();
    page.period->setItemIndex(0);
    page.period->setEnabled(true);
    page.action->setText(PostCaption);
    page.action->setEnabled(false);
    N1->setEnabled(true);
    N2->setEnabled(true);
    page.start->setEnabled(true);
    page.end->setEnabled(true);
}

void TFirmCash_Form::resetBothPages(bool startOfMonth)
{
    for (Page *page : { &m_income, &m_expense }) {
        toPostingState(*page);
        if (startOfMonth)
            page->start->setDate(firstOfCurrentMonth());
    }
}

bool TFirmCash_Form::PageControl1Changing()
{
    if (!editing())
        return true;
    return m_program.prompts().confirm(QStringLiteral("目前尚有資料在修正中，是否要放棄修正呢？"));
}

void TFirmCash_Form::PageControl1Change()
{
    resetBothPages(true);
    refresh();
}

void TFirmCash_Form::BitBtn3Click()
{
    if (editing()) {
        if (!m_program.prompts().confirm(
                QStringLiteral("目前尚有資料在修正中，是否要放棄修正後離開呢？")))
            return;
        resetBothPages(false);
    }
    leaveToCalendar();
}

void TFirmCash_Form::leaveToCalendar()
{
    hide();
    m_program.RM_Main_Form->showCentred();
}

void TFirmCash_Form::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (!m_program.ended())
        m_program.RM_Main_Form->showCentred();
}
