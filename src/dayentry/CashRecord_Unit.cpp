#include "dayentry/CashRecord_Unit.h"
#include "store/Schema.h"

#include "app/Program.h"
#include "calendar/RM_Main_Unit.h"
#include "categories/CashSet_Unit.h"
#include "categories/CategorySettings.h"
#include "dialogs/FormHelpers.h"
#include "store/Amount.h"
#include "store/Database.h"
#include "store/LedgerOps.h"
#include "ui/AmountEditFilter.h"
#include "ui/ArrowIcon.h"
#include "ui/Colors.h"
#include "ui/Fonts.h"
#include "ui/GuardedPages.h"
#include "ui/MainCategoryPicker.h"
#include "ui/Named.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

namespace {
const QString Choose = QStringLiteral("請選擇");
const QString Record = QStringLiteral("記帳");
const QString Modify = QStringLiteral("修正");
const QString Separator = QStringLiteral("－");
const QString AbandonAndLeave = QStringLiteral("目前尚有資料在修正中，是否要放棄修正後離開呢？");
const QString &NoSpending = Schema::NoSpendingName;

enum ItemRole {
    MainNumberRole = Qt::UserRole,
    NameRole,
    PeriodRole,
    MainNameRole,
    AmountRole,
};
enum Column { CaptionColumn, AmountColumn, NoteColumn, SerialColumn };

QString rowCaption(const DayEntry &entry)
{
    QString name = entry.name;
    while (name.startsWith(QLatin1Char(' ')))
        name.remove(0, 1);
    if (!DayBook::mainHasSubcategories(entry.income, entry.mainNumber))
        return name;
    QString mainName = entry.mainName;
    while (mainName.startsWith(QLatin1Char(' ')))
        mainName.remove(0, 1);
    return fourstr(mainName) + Separator + name;
}
} // namespace

TCashRecord_Form::TCashRecord_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("CashRecord_Form"));
    setWindowTitle(QStringLiteral("單日帳"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(578, 480);
    buildControls();
}

void TCashRecord_Form::buildControls()
{
    D_Text_Label = named(new QLabel(this), "D_Text_Label");
    D_Text_Label->setGeometry(16, 8, 150, 30);
    D_Text_Label->setFont(namedFont(QStringLiteral("標楷體"), 19, false));
    D_Label = named(new QLabel(this), "D_Label");
    D_Label->hide();

    auto dayButton = [this](const char *name, const QString &hint, Qt::ArrowType arrow, int x) {
        auto *button = named(new QToolButton(this), name);
        button->setIcon(arrowIcon(arrow));
        button->setIconSize(QSize(14, 14));
        button->setToolTip(hint);
        button->setAccessibleName(hint);
        button->setGeometry(x, 10, 30, 28);
        connect(
            button, &QToolButton::clicked, this, [this, button] { DSpeedButton1Click(button); });
        return button;
    };
    DSpeedButton1 = dayButton("DSpeedButton1", QStringLiteral("上一日"), Qt::LeftArrow, 164);
    DSpeedButton2 = dayButton("DSpeedButton2", QStringLiteral("下一日"), Qt::RightArrow, 198);

    Label7 = named(new QLabel(QStringLiteral("本日結餘："), this), "Label7");
    Label7->setFont(namedFont(QStringLiteral("新細明體"), 19, true));
    Label7->setGeometry(330, 10, 100, 28);
    CashSun = named(new QLabel(this), "CashSun");
    CashSun->setFont(namedFont(QStringLiteral("新細明體"), 19, true));
    CashSun->setGeometry(430, 10, 132, 28);
    CashSun->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    PageControl1 = named(new QTabWidget(this), "PageControl1");
    PageControl1->setGeometry(8, 44, 562, 350);

    m_income.income = true;
    m_expense.income = false;
    lbl2 = named(new QLabel(QStringLiteral("來源")), "lbl2");
    CashIn = named(new QLabel(QStringLiteral("合計：")), "CashIn");
    TabSheet1 = buildPage(m_income, lbl2, CashIn, QStringLiteral("收入"));
    lbl1 = named(new QLabel(QStringLiteral("分類")), "lbl1");
    CashOut = named(new QLabel(QStringLiteral("合計：")), "CashOut");
    TabSheet2 = buildPage(m_expense, lbl1, CashOut, QStringLiteral("支出"));
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->tabBar()->setTabTextColor(0, winColor(Palette::Income));
    PageControl1->tabBar()->setTabTextColor(1, winColor(Palette::Expense));

    in_main_item = named(m_income.mainPicker, "in_main_item");
    Label1 = named(m_income.subLabel, "Label1");
    ComboBox1 = named(m_income.subPicker, "ComboBox1");
    Label2 = named(m_income.amountLabel, "Label2");
    Edit1 = named(m_income.amount, "Edit1");
    Label3 = named(m_income.noteLabel, "Label3");
    Edit2 = named(m_income.note, "Edit2");
    Button4 = named(m_income.record, "Button4");
    ListView1 = named(m_income.list, "ListView1");
    out_main_item = named(m_expense.mainPicker, "out_main_item");
    Label4 = named(m_expense.subLabel, "Label4");
    ComboBox2 = named(m_expense.subPicker, "ComboBox2");
    Label5 = named(m_expense.amountLabel, "Label5");
    Edit3 = named(m_expense.amount, "Edit3");
    Label6 = named(m_expense.noteLabel, "Label6");
    Edit4 = named(m_expense.note, "Edit4");
    Button5 = named(m_expense.record, "Button5");
    ListView2 = named(m_expense.list, "ListView2");
    Label1->setText(QStringLiteral("品名"));
    Label4->setText(QStringLiteral("帳目"));

    CashSet_Button = named(new QPushButton(QStringLiteral("帳目設定"), this), "CashSet_Button");
    CashSet_Button->setGeometry(8, 402, 96, 32);
    chk1 = named(new QCheckBox(QStringLiteral("以支出為預設畫面"), this), "chk1");
    chk1->setGeometry(120, 406, 200, 24);
    chk1->hide();
    BitBtn3 = named(new QPushButton(QStringLiteral("離開"), this), "BitBtn3");
    BitBtn3->setGeometry(474, 402, 96, 32);
    // Enter on a focused button presses it, as on the other buttons of the screen.
    BitBtn3->setAutoDefault(true);
    CashSet_Button->setAutoDefault(true);
    Button3 = named(new QPushButton(QStringLiteral("記入當日帳本"), this), "Button3");
    Button3->hide();
    StatusBar1 = named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusBar1->setGeometry(0, 456, 578, 24);

    PopupMenu1 = named(new QMenu(this), "PopupMenu1");
    N2 = PopupMenu1->addAction(QStringLiteral("修正"));
    N2->setObjectName(QStringLiteral("N2"));
    N1 = PopupMenu1->addAction(QStringLiteral("刪除"));
    N1->setObjectName(QStringLiteral("N1"));
    connect(N2, &QAction::triggered, this, [this] { N2Click(); });
    connect(N1, &QAction::triggered, this, [this] { N1Click(); });

    connect(in_main_item, &QComboBox::currentIndexChanged, this, [this] { in_main_itemChange(); });
    connect(
        out_main_item, &QComboBox::currentIndexChanged, this, [this] { out_main_itemChange(); });
    connect(ComboBox1, &QComboBox::editTextChanged, this, [this] { ComboBox1Change(); });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { ComboBox1Change(); });
    connect(ComboBox2, &QComboBox::editTextChanged, this, [this] { ComboBox2Change(); });
    connect(Edit3, &QLineEdit::textChanged, this, [this] { ComboBox2Change(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(ListView1, &QTreeWidget::itemDoubleClicked, this, [this] { ListView1DblClick(); });
    connect(ListView2, &QTreeWidget::itemDoubleClicked, this, [this] { ListView2DblClick(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(CashSet_Button, &QPushButton::clicked, this, [this] { CashSet_ButtonClick(); });
    connect(chk1, &QCheckBox::clicked, this, [this] { chk1Click(); });
    m_pages = new GuardedPages(
        PageControl1, [this] { return PageControl1Changing(); }, [this] { PageControl1Change(); });
}

QWidget *TCashRecord_Form::buildPage(
    Page &p, QLabel *mainLabel, QLabel *total, const QString &kindName)
{
    auto *sheet = new QWidget;
    mainLabel->setParent(sheet);
    mainLabel->setGeometry(8, 8, 34, 22);
    p.mainPicker = new QComboBox(sheet);
    p.mainPicker->setGeometry(44, 8, 120, 22);
    p.mainPicker->setPlaceholderText(Choose);
    drawMainCategories(p.mainPicker, p.income);
    mainLabel->setBuddy(p.mainPicker);
    p.subLabel = new QLabel(sheet);
    p.subLabel->setGeometry(176, 8, 34, 22);
    p.subPicker = new QComboBox(sheet);
    p.subPicker->setEditable(true);
    p.subPicker->setInsertPolicy(QComboBox::NoInsert);
    p.subPicker->setCompleter(nullptr);
    p.subPicker->setGeometry(212, 8, 180, 22);
    p.subPicker->setEditText(Choose);
    p.subLabel->setBuddy(p.subPicker);
    p.amountLabel = new QLabel(QStringLiteral("金額"), sheet);
    p.amount = new QLineEdit(sheet);
    AmountEditFilter::install(p.amount);
    p.amount->setAlignment(Qt::AlignRight);
    p.amountLabel->setBuddy(p.amount);
    p.noteLabel = new QLabel(QStringLiteral("說明"), sheet);
    p.note = new QLineEdit(sheet);
    p.noteLabel->setBuddy(p.note);
    p.record = new QPushButton(Record, sheet);
    p.record->setEnabled(false);
    p.record->setAutoDefault(true); // Enter on the focused button records
    p.list = new QTreeWidget(sheet);
    p.list->setColumnCount(4);
    p.list->setHeaderLabels(
        { QStringLiteral("帳目"), QStringLiteral("金額     "), QStringLiteral("說明"), {} });
    p.list->setColumnHidden(SerialColumn, true);
    p.list->setColumnWidth(CaptionColumn, 140);
    p.list->setColumnWidth(AmountColumn, 80);
    p.list->headerItem()->setTextAlignment(AmountColumn, Qt::AlignRight | Qt::AlignVCenter);
    p.list->header()->setStretchLastSection(true);
    p.list->setRootIsDecorated(false);
    p.list->setSelectionBehavior(QAbstractItemView::SelectRows);
    p.list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    p.list->setAlternatingRowColors(false);
    // Styling the items drops the style's own selection colours, so they are named again.
    p.list->setStyleSheet(QStringLiteral(
        "QTreeView::item { border-right: 1px solid #d0d0d0; border-bottom: 1px solid #d0d0d0; }"
        "QTreeView::item:selected { background: palette(highlight); "
        "color: palette(highlighted-text); }"));
    p.list->setToolTip(QStringLiteral("在欲修改的帳目記錄下，連點二下，即可修正該筆帳目資料"));
    p.list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(p.list, &QWidget::customContextMenuRequested, this,
        [this, list = p.list](const QPoint &pos) {
            PopupMenu1Popup();
            bool any = false;
            for (QAction *action : PopupMenu1->actions())
                any = any || action->isVisible();
            if (any)
                PopupMenu1->popup(list->viewport()->mapToGlobal(pos));
        });
    total->setParent(sheet);
    total->setGeometry(300, 294, 240, 22);
    total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont totalFont = total->font();
    totalFont.setBold(true);
    total->setFont(totalFont);
    QPalette totalPalette = total->palette();
    totalPalette.setColor(
        QPalette::WindowText, winColor(p.income ? Palette::Income : Palette::Expense));
    total->setPalette(totalPalette);
    sheet->setAutoFillBackground(false);
    applyLayout(p, true);

    for (QObject *watched : { static_cast<QObject *>(p.subPicker),
             static_cast<QObject *>(p.subPicker->lineEdit()), static_cast<QObject *>(p.note) })
        watched->installEventFilter(this);
    EnterMovesFocus::install(p.note);

    setTabOrder(p.mainPicker, p.subPicker);
    setTabOrder(p.subPicker, p.amount);
    setTabOrder(p.amount, p.note);
    setTabOrder(p.note, p.record);
    setTabOrder(p.record, p.list);
    PageControl1->addTab(sheet, kindName);
    return sheet;
}

void TCashRecord_Form::applyLayout(Page &p, bool withSubcategories)
{
    // With subcategories the fields make a second row; without, they move up beside the main
    // picker, over the unused subcategory picker.
    if (withSubcategories) {
        p.amountLabel->setGeometry(8, 36, 34, 22);
        p.amount->setGeometry(44, 36, 110, 22);
        p.noteLabel->setGeometry(166, 36, 34, 22);
        p.note->setGeometry(202, 36, 250, 22);
        p.record->setGeometry(460, 35, 80, 24);
        p.list->setGeometry(8, 64, 532, 225);
    } else {
        p.amountLabel->setGeometry(176, 8, 34, 22);
        p.amount->setGeometry(212, 8, 90, 22);
        p.noteLabel->setGeometry(310, 8, 34, 22);
        p.note->setGeometry(346, 8, 106, 22);
        p.record->setGeometry(460, 7, 80, 24);
        p.list->setGeometry(8, 34, 532, 255);
    }
    p.subLabel->setVisible(withSubcategories);
    p.subPicker->setVisible(withSubcategories);
}

bool TCashRecord_Form::event(QEvent *event)
{
    // The day is loaded when the screen is shown and when the category settings hand back,
    // not on every activation: a question dialog closing must not wipe what is being typed.
    if (event->type() == QEvent::WindowActivate)
        return QWidget::event(event);
    return GradientWindow::event(event);
}

void TCashRecord_Form::showEvent(QShowEvent *event)
{
    GradientWindow::showEvent(event);
    if (!event->spontaneous())
        FormActivate();
}

TCashRecord_Form::Page &TCashRecord_Form::activePage()
{
    return page(PageControl1->currentIndex() == 0);
}

DayBook TCashRecord_Form::dayBook()
{
    return DayBook(m_program.db(), m_program.currentLedger());
}

QString TCashRecord_Form::kindCode(const Page &p) const
{
    return p.income ? QStringLiteral("1") : QStringLiteral("0");
}

bool TCashRecord_Form::hasSubcategories(const Page &p) const
{
    return DayBook::mainHasSubcategories(p.income, p.mainPicker->currentIndex() + 1);
}

QDate TCashRecord_Form::shownDate() const
{
    const QString text = D_Label->text();
    const int day = text.left(text.indexOf(QStringLiteral("日"))).toInt();
    return QDate(m_program.currentYear(), m_program.currentMonth(), day);
}

void TCashRecord_Form::showDate(const QDate &date)
{
    const QString weekday = weekDayNameOf(date);
    D_Label->setText(QStringLiteral("%1日(%2)").arg(date.day()).arg(weekday));
    D_Text_Label->setText(
        QStringLiteral("%1/%2(%3)").arg(date.month()).arg(date.day()).arg(weekday));
}

void TCashRecord_Form::openFromCalendar(const QDate &date)
{
    // The opening's reads and the load are one showing's refresh: a failure is said once.
    refreshOnActivation(m_program.prompts(), [&] {
        Database &db = m_program.db();
        const QString ledger = m_program.currentLedger();
        showDate(date);
        m_pages->setPage(0);
        {
            const QSignalBlocker inBlock(in_main_item);
            const QSignalBlocker outBlock(out_main_item);
            in_main_item->clear();
            in_main_item->addItems(GetCategoryNameList(db, ledger, QStringLiteral("1")));
            in_main_item->setCurrentIndex(in_main_item->count() > 0 ? 0 : -1);
            out_main_item->clear();
            out_main_item->addItems(GetCategoryNameList(db, ledger, QStringLiteral("0")));
            out_main_item->setCurrentIndex(out_main_item->count() > 0 ? 0 : -1);
        }
        m_changing = true;
        ComboBox1->clear();
        ComboBox1->addItems(GetCategoryNameList(db, ledger, QStringLiteral("1"), 1));
        ComboBox2->clear();
        ComboBox2->addItems(GetCategoryNameList(db, ledger, QStringLiteral("0"), 1));
        m_changing = false;
        resetPages();
        in_main_itemChange();
        out_main_itemChange();
        const int page = m_program.DefaultDayPage == 1 ? 1 : 0;
        m_pages->setPage(page);
        chk1->setChecked(page == 1);
    });
    if (isVisible())
        FormActivate();
    else
        showCentred();
}

void TCashRecord_Form::FormActivate()
{
    load(false);
}

void TCashRecord_Form::reload()
{
    load(true);
}

void TCashRecord_Form::load(bool byUser)
{
    if (!m_program.loggedIn() || D_Label->text().isEmpty())
        return;
    m_loadedDate = QDate();
    const auto read = [&] {
        const QDate date = shownDate();
        if (!date.isValid())
            return;
        setWindowTitle(m_program.RM_Main_Form->M_Label->text() + QStringLiteral("單日帳"));
        DayBook book = dayBook();
        fillEntries(book.load(date));
        m_loadedDate = date;
        const auto totals = book.totals(date);
        if (!totals) {
            CashIn->setText(QStringLiteral("合計："));
            CashOut->setText(QStringLiteral("合計："));
            CashSun->clear();
        } else {
            const qint64 balance = totals->income - totals->expense;
            CashIn->setText(QStringLiteral("合計: ") + formatAmount(totals->income));
            CashOut->setText(QStringLiteral("合計: -") + formatAmount(totals->expense));
            CashSun->setText(formatAmount(balance));
            QPalette palette = CashSun->palette();
            palette.setColor(
                QPalette::WindowText, winColor(balance < 1 ? Palette::Expense : Palette::Income));
            CashSun->setPalette(palette);
        }
        const bool empty = activePage().list->topLevelItemCount() == 0;
        N1->setVisible(!empty);
        N2->setVisible(!empty);
        StatusBar1->clearMessage();
        chk1->setVisible(PageControl1->currentIndex() == 1);
    };
    const bool loaded = byUser ? refreshByUser(m_program.prompts(), read)
                               : refreshOnActivation(m_program.prompts(), read);
    // Rows of another day must not stand under this date: a save would write them here.
    if (!m_loadedDate.isValid()) {
        ListView1->clear();
        ListView2->clear();
    }
    if (loaded)
        mainCategoryChange(activePage());
}

void TCashRecord_Form::fillEntries(const QList<DayEntry> &entries)
{
    ListView1->clear();
    ListView2->clear();
    for (const DayEntry &entry : entries)
        addRow(entry.income ? ListView1 : ListView2, entry);
}

void TCashRecord_Form::addRow(QTreeWidget *list, const DayEntry &entry)
{
    auto *item = new QTreeWidgetItem(list);
    item->setText(CaptionColumn, rowCaption(entry));
    item->setText(AmountColumn, formatAmount(entry.amount));
    item->setTextAlignment(AmountColumn, Qt::AlignRight | Qt::AlignVCenter);
    item->setText(NoteColumn, entry.note);
    item->setText(SerialColumn, QString::number(entry.serial));
    item->setData(CaptionColumn, MainNumberRole, entry.mainNumber);
    item->setData(CaptionColumn, NameRole, entry.name);
    item->setData(CaptionColumn, PeriodRole, entry.period);
    item->setData(CaptionColumn, MainNameRole, entry.mainName);
    item->setData(CaptionColumn, AmountRole, entry.amount);
}

QList<DayEntry> TCashRecord_Form::rowsOnScreen() const
{
    QList<DayEntry> rows;
    for (QTreeWidget *list : { ListView1, ListView2 }) {
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = list->topLevelItem(i);
            DayEntry row;
            row.income = list == ListView1;
            row.mainNumber = item->data(CaptionColumn, MainNumberRole).toInt();
            row.mainName = item->data(CaptionColumn, MainNameRole).toString();
            row.name = item->data(CaptionColumn, NameRole).toString();
            row.amount = item->data(CaptionColumn, AmountRole).toLongLong();
            row.note = item->text(NoteColumn);
            row.period = item->data(CaptionColumn, PeriodRole);
            row.serial = item->text(SerialColumn).trimmed().toLongLong();
            rows << row;
        }
    }
    return rows;
}

void TCashRecord_Form::in_main_itemChange()
{
    mainCategoryChange(m_income);
}

void TCashRecord_Form::out_main_itemChange()
{
    mainCategoryChange(m_expense);
}

void TCashRecord_Form::mainCategoryChange(Page &p)
{
    const int position = p.mainPicker->currentIndex();
    showChosenMainCategory(p.mainPicker, p.income);
    if (position < 0)
        return; // the picker shows "請選擇"
    const bool withSubcategories = hasSubcategories(p);
    QStringList names;
    if (!m_program.guarded([&] {
            names = GetCategoryNameList(
                m_program.db(), m_program.currentLedger(), kindCode(p), position + 1);
        }))
        return;
    m_changing = true;
    p.subPicker->clear();
    p.subPicker->addItems(names);
    p.subPicker->setCurrentIndex(-1);
    p.subPicker->setEditText(withSubcategories ? Choose : p.mainPicker->currentText());
    m_changing = false;
    applyLayout(p, withSubcategories);
    if (!p.income) {
        Edit3->setEnabled(true);
        Edit4->setEnabled(true);
        Label4->setText(out_main_item->currentText() == QStringLiteral("進貨")
                ? QStringLiteral("品名")
                : QStringLiteral("帳目"));
    }
    recordEnabling(p);
    if (!p.income && out_main_item->currentText() == NoSpending) {
        Edit3->setText(QStringLiteral("0"));
        Button5->setEnabled(true);
        Edit3->setEnabled(false);
        Edit4->setEnabled(false);
        Button5->setFocus();
    }
}

void TCashRecord_Form::ComboBox1Change()
{
    recordEnabling(m_income);
}

void TCashRecord_Form::ComboBox2Change()
{
    recordEnabling(m_expense);
}

void TCashRecord_Form::recordEnabling(Page &p)
{
    if (m_changing)
        return;
    const QString sub = p.subPicker->currentText();
    if (sub.isEmpty()) {
        m_changing = true;
        p.subPicker->setEditText(Choose);
        m_changing = false;
        return;
    }
    const bool mainChosen = p.mainPicker->currentIndex() >= 0;
    if (p.income) {
        const bool needsSub = p.mainPicker->currentIndex() == 0 && sub == Choose;
        p.record->setEnabled(mainChosen && !p.amount->text().isEmpty() && !needsSub);
    } else {
        if (sub == Choose && !p.amount->text().isEmpty()) {
            m_changing = true;
            p.amount->clear();
            m_changing = false;
        }
        p.record->setEnabled(mainChosen && sub != Choose && !p.amount->text().isEmpty());
    }
}

void TCashRecord_Form::Button4Click()
{
    record(m_income);
}

void TCashRecord_Form::Button5Click()
{
    record(m_expense);
}

void TCashRecord_Form::record(Page &p)
{
    if (!dayLoaded())
        return; // the day could not be read (the user was told); what is typed stays
    const QString amountText = p.amount->text();
    const auto amount = isWholeNumberText(amountText) ? parseAmount(amountText) : std::nullopt;
    if (!amount) {
        m_program.prompts().alert(
            QStringLiteral("注意"), QStringLiteral("金額欄內請輸入純數字！！"));
        return;
    }
    // The day is stored with the new or changed row first; only then does the screen take
    // it, so a failed save leaves what was typed for another try.
    QList<DayEntry> rows = rowsOnScreen();
    if (p.record->text() == Record) {
        DayEntry entry;
        entry.income = p.income;
        entry.mainNumber = p.mainPicker->currentIndex() + 1;
        entry.mainName = p.mainPicker->currentText();
        entry.name = p.subPicker->currentText();
        entry.amount = *amount;
        entry.note = p.note->text();
        entry.period = QStringLiteral("");
        if (!m_program.guarded([&] { entry.serial = dayBook().nextSerial(shownDate(), p.income); }))
            return;
        rows.insert(p.income ? ListView1->topLevelItemCount() : rows.size(), entry);
        if (!saveDay(rows))
            return;
        addRow(p.list, entry);
        // A name typed under a main category without subcategories is listed on its own.
        if (p.subPicker->count() == 0)
            p.list->topLevelItem(p.list->topLevelItemCount() - 1)
                ->setText(CaptionColumn, entry.name);
        else
            p.list->topLevelItem(p.list->topLevelItemCount() - 1)
                ->setText(CaptionColumn, fourstr(entry.mainName) + Separator + entry.name);
        p.amount->clear();
        p.note->clear();
    } else {
        QTreeWidgetItem *item = p.list->topLevelItem(m_modifiedRow);
        if (item) {
            DayEntry &row = rows[(p.income ? 0 : ListView1->topLevelItemCount()) + m_modifiedRow];
            row.amount = *amount;
            row.note = p.note->text();
            row.serial = p.note->toolTip().trimmed().toLongLong();
            // Changed here, so no longer what a recurring item posted.
            row.period = QStringLiteral("");
        }
        if (!saveDay(rows))
            return; // the change stays pending
        if (item) {
            item->setText(AmountColumn, formatAmount(*amount));
            item->setData(CaptionColumn, AmountRole, *amount);
            item->setText(NoteColumn, p.note->text());
            item->setText(SerialColumn, p.note->toolTip());
            item->setData(CaptionColumn, PeriodRole, QStringLiteral(""));
        }
        cancelModification();
    }
    p.amount->setFocus();
    p.record->setEnabled(false);
    reload();
}

void TCashRecord_Form::Button3Click()
{
    saveDay(rowsOnScreen());
}

bool TCashRecord_Form::saveDay(const QList<DayEntry> &rows)
{
    if (!m_program.loggedIn() || D_Label->text().isEmpty() || !dayLoaded())
        return false;
    const bool saved = m_program.guarded([&] { dayBook().save(shownDate(), rows); });
    if (saved)
        StatusBar1->showMessage(QStringLiteral("當日記帳完成"));
    return saved;
}

void TCashRecord_Form::ListView1DblClick()
{
    takeForModification(m_income);
}

void TCashRecord_Form::ListView2DblClick()
{
    takeForModification(m_expense);
}

void TCashRecord_Form::N2Click()
{
    takeForModification(activePage());
}

void TCashRecord_Form::takeForModification(Page &p)
{
    QTreeWidgetItem *item = p.list->currentItem();
    if (!item || !item->isSelected())
        return;
    const int number = item->data(CaptionColumn, MainNumberRole).toInt();
    {
        const QSignalBlocker block(p.mainPicker);
        p.mainPicker->setCurrentIndex(number - 1);
    }
    mainCategoryChange(p);
    m_changing = true;
    p.subPicker->setEditText(item->data(CaptionColumn, NameRole).toString());
    m_changing = false;
    p.mainPicker->setEnabled(false);
    p.subPicker->setEnabled(false);
    p.amount->setText(QString::number(item->data(CaptionColumn, AmountRole).toLongLong()));
    p.note->setText(item->text(NoteColumn));
    p.note->setToolTip(item->text(SerialColumn));
    p.record->setText(Modify);
    p.record->setEnabled(true);
    N1->setEnabled(false);
    m_modifiedRow = p.list->indexOfTopLevelItem(item);
}

bool TCashRecord_Form::dayLoaded() const
{
    return m_loadedDate.isValid() && m_loadedDate == shownDate();
}

bool TCashRecord_Form::modificationPending() const
{
    return Button4->text() == Modify || Button5->text() == Modify;
}

void TCashRecord_Form::cancelModification()
{
    for (Page *p : { &m_income, &m_expense }) {
        m_changing = true;
        p->subPicker->setEditText(Choose);
        m_changing = false;
        p->subPicker->setEnabled(true);
        p->mainPicker->setEnabled(true);
        p->record->setText(Record);
        p->amount->clear();
        p->note->clear();
        p->note->setToolTip({});
    }
    N1->setEnabled(true);
    m_modifiedRow = -1;
}

void TCashRecord_Form::resetPages()
{
    cancelModification();
}

void TCashRecord_Form::N1Click()
{
    if (!m_program.prompts().confirm(QStringLiteral("確定要刪除此項帳目資料？")))
        return;
    // Only the page in front: a row left selected on the other page is not the user's choice.
    QTreeWidget *list = activePage().list;
    const QList<QTreeWidgetItem *> selected = list->selectedItems();
    if (selected.isEmpty())
        return;
    delete selected.first();
    Button3Click();
    reload();
}

void TCashRecord_Form::PopupMenu1Popup()
{
    Page &p = activePage();
    QTreeWidgetItem *item = p.list->currentItem();
    if (!item || !item->isSelected()) {
        N1->setEnabled(false);
        N2->setEnabled(false);
        return;
    }
    N2->setEnabled(true);
    N1->setEnabled(p.record->text() == Record);
}

void TCashRecord_Form::ComboBox1Exit()
{
    subPickerExit(m_income);
}

void TCashRecord_Form::ComboBox2Exit()
{
    subPickerExit(m_expense);
}

void TCashRecord_Form::subPickerExit(Page &p)
{
    const QString text = p.subPicker->currentText();
    QStringList items;
    for (int i = 0; i < p.subPicker->count(); ++i)
        items << p.subPicker->itemText(i);
    const bool asks = !text.isEmpty() && text != Choose && hasSubcategories(p)
        && !items.join(QLatin1Char('\n')).contains(text);
    if (asks
        && m_program.prompts().confirm(QStringLiteral("此名稱為新分類，是否要設為預設分類？"))) {
        const int number = p.mainPicker->currentIndex() + 1;
        m_program.guarded([&] {
            CategorySettings settings(m_program.db(), m_program.currentLedger());
            if (settings.add(kindCode(p), number, text) == CategorySettings::AddResult::Full) {
                m_program.prompts().warning(
                    CategorySettings::fullMessage(p.mainPicker->currentText())
                    + QStringLiteral("這個名稱仍可用在這筆帳目上。"));
                return;
            }
            const QStringList names = settings.subcategories(kindCode(p), number);
            m_changing = true;
            p.subPicker->clear();
            p.subPicker->addItems(names);
            p.subPicker->setCurrentIndex(-1);
            p.subPicker->setEditText(text);
            m_changing = false;
        });
    }
    if (p.amount->isEnabled() && p.amount->isVisible())
        p.amount->setFocus();
}

bool TCashRecord_Form::eventFilter(QObject *watched, QEvent *event)
{
    for (Page *p : { &m_income, &m_expense }) {
        const bool inPicker = watched == p->subPicker || watched == p->subPicker->lineEdit();
        if (inPicker && event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
                return false;
            // After the focus has settled, and once per departure from the picker.
            QTimer::singleShot(0, this, [this, p] {
                QWidget *focus = QApplication::focusWidget();
                if (!isVisible() || !isEnabled() || !p->subPicker->isEnabled()
                    || (focus && (focus == p->subPicker || p->subPicker->isAncestorOf(focus))))
                    return;
                subPickerExit(*p);
            });
            return false;
        }
        if (inPicker && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key != Qt::Key_Return && key != Qt::Key_Enter)
                return false;
            if (!p->income && p->subPicker->currentText() == NoSpending) {
                Edit3->setText(QStringLiteral("0"));
                Button5->setEnabled(true);
                Button5->setFocus();
            } else {
                focusNextControl(p->subPicker);
            }
            return true;
        }
        if (watched == p->note) {
            if (event->type() == QEvent::FocusOut)
                p->note->setCursorPosition(0);
            return false;
        }
    }
    return GradientWindow::eventFilter(watched, event);
}

void TCashRecord_Form::DSpeedButton1Click(QToolButton *sender)
{
    if (modificationPending()) {
        if (!m_program.prompts().confirm(AbandonAndLeave))
            return;
        cancelModification();
    }
    for (Page *p : { &m_income, &m_expense }) {
        m_changing = true;
        p->subPicker->clear();
        p->subPicker->setEditText(Choose);
        p->amount->clear();
        p->note->clear();
        m_changing = false;
        p->subPicker->setEnabled(true);
        p->record->setText(Record);
    }
    const QDate shown = shownDate();
    if (!shown.isValid())
        return;
    const bool back = sender && sender->toolTip() == QStringLiteral("上一日");
    const QDate date = shown.addDays(back ? -1 : 1);
    if (date.year() != shown.year())
        m_program.RM_Main_Form->Year_Label->setValue(date.year());
    m_program.RM_Main_Form->M_Label->setText(QStringLiteral("%1月").arg(date.month()));
    showDate(date);
    reload();
}

bool TCashRecord_Form::PageControl1Changing()
{
    if (!modificationPending())
        return true;
    return m_program.prompts().confirm(QStringLiteral("目前尚有資料在修正中，是否要放棄修正呢？"));
}

void TCashRecord_Form::PageControl1Change()
{
    resetPages();
    reload();
}

void TCashRecord_Form::BitBtn3Click()
{
    if (modificationPending()) {
        if (!m_program.prompts().confirm(AbandonAndLeave))
            return;
        cancelModification();
    }
    m_program.RM_Main_Form->showCentred();
    hide();
}

void TCashRecord_Form::keyPressEvent(QKeyEvent *event)
{
    // Esc anywhere on the screen leaves it, like "離開".
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        BitBtn3Click();
        return;
    }
    GradientWindow::keyPressEvent(event);
}

void TCashRecord_Form::closeEvent(QCloseEvent *event)
{
    // Closing stores the lists as shown; a pending change is dropped.
    Button3Click();
    cancelModification();
    hide();
    m_program.RM_Main_Form->showCentred();
    event->accept();
}

void TCashRecord_Form::chk1Click()
{
    const int page = chk1->isChecked() ? 1 : 0;
    m_program.DefaultDayPage = page;
    m_program.guarded([&] { dayBook().storeDefaultPage(page); });
}

void TCashRecord_Form::CashSet_ButtonClick()
{
    m_program.CashSet_Form->openFromDayScreen();
}

void TCashRecord_Form::refillSubcategoryPickers()
{
    m_program.guarded([&] {
        for (Page *p : { &m_income, &m_expense }) {
            const QString text = p->subPicker->currentText();
            const QStringList names = GetCategoryNameList(m_program.db(), m_program.currentLedger(),
                kindCode(*p), p->mainPicker->currentIndex() + 1);
            m_changing = true;
            p->subPicker->clear();
            p->subPicker->addItems(names);
            p->subPicker->setCurrentIndex(-1);
            p->subPicker->setEditText(text);
            m_changing = false;
        }
    });
}
