#include "analysis/CashDetail_Unit.h"

#include "app/Program.h"
#include "calendar/RM_Main_Unit.h"
#include "report/Report.h"
#include "spreadsheet/Workbook.h"
#include "spreadsheet/WorkbookExport.h"
#include "statistics/CategoryExportBook.h"
#include "statistics/Month_Unit.h"
#include "statistics/Year_Unit.h"
#include "store/Amount.h"
#include "store/LedgerOps.h"
#include "ui/Colors.h"
#include "ui/Named.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScopeGuard>
#include <QShowEvent>
#include <QTableWidget>

namespace {

const QString All = QStringLiteral("全部");
const QString YearDetail = QStringLiteral("年度明細");
const QString MonthDetail = QStringLiteral("月明細");

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *label = named(new QLabel(text, parent), name);
    label->setGeometry(geometry);
    return label;
}

QPushButton *makeButton(
    QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *button = named(new QPushButton(text, parent), name);
    button->setGeometry(geometry);
    return button;
}

void setTextColor(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

} // namespace

TCashDetail_Form::TCashDetail_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("CashDetail_Form"));
    setWindowTitle(QStringLiteral("明細清單"));
    setFixedSize(700, 560);

    JvLabel1 = makeLabel(this, QStringLiteral("JvLabel1"), MonthDetail, QRect(14, 12, 100, 30));
    QFont big = JvLabel1->font();
    big.setPointSize(15);
    big.setBold(true);
    JvLabel1->setFont(big);
    setTextColor(JvLabel1, QColor(128, 0, 0));

    cbb1 = named(new QComboBox(this), QStringLiteral("cbb1"));
    cbb1->setEditable(true);
    cbb1->setInsertPolicy(QComboBox::NoInsert);
    cbb1->setGeometry(118, 14, 76, 26);
    // Digits only: a period is a month or a year number.
    cbb1->lineEdit()->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,4}")), cbb1->lineEdit()));
    cbb1->lineEdit()->setMaxLength(4);
    cbb1->setAccessibleName(QStringLiteral("期間"));
    JvLabel1->setBuddy(cbb1);

    btn1 = makeButton(this, QStringLiteral("btn1"), YearDetail, QRect(204, 13, 92, 28));

    JvRadioGroup1 = named(new QGroupBox(this), QStringLiteral("JvRadioGroup1"));
    JvRadioGroup1->setGeometry(312, 6, 170, 40);
    rbIncome = named(
        new QRadioButton(QStringLiteral("收入"), JvRadioGroup1), QStringLiteral("rbIncome"));
    rbExpense = named(
        new QRadioButton(QStringLiteral("支出"), JvRadioGroup1), QStringLiteral("rbExpense"));
    auto *kinds = new QHBoxLayout(JvRadioGroup1);
    kinds->setContentsMargins(10, 4, 10, 4);
    kinds->addWidget(rbIncome);
    kinds->addWidget(rbExpense);
    m_kinds = new QButtonGroup(this);
    m_kinds->addButton(rbIncome, 0);
    m_kinds->addButton(rbExpense, 1);
    rbIncome->setChecked(true);

    lblCategory = makeLabel(
        this, QStringLiteral("lblCategory"), QStringLiteral("分類："), QRect(14, 58, 48, 24));
    cbb2 = named(new QComboBox(this), QStringLiteral("cbb2"));
    cbb2->setGeometry(64, 56, 160, 26);
    cbb2->addItem(All);
    lblCategory->setBuddy(cbb2);
    cbb3 = named(new QComboBox(this), QStringLiteral("cbb3"));
    cbb3->setGeometry(234, 56, 160, 26);
    cbb3->addItem(All);
    cbb3->setAccessibleName(QStringLiteral("子分類"));
    cbb3->hide();

    lv1 = named(new QTableWidget(0, 4, this), QStringLiteral("lv1"));
    lv1->setGeometry(14, 92, 560, 400);
    lv1->setHorizontalHeaderLabels({ QStringLiteral("時間"), QStringLiteral("分類"),
        QStringLiteral("金額"), QStringLiteral("說明") });
    lv1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lv1->setSelectionBehavior(QAbstractItemView::SelectRows);
    lv1->setSelectionMode(QAbstractItemView::SingleSelection);
    lv1->setShowGrid(true);
    lv1->verticalHeader()->hide();
    lv1->verticalHeader()->setDefaultSectionSize(22);
    lv1->horizontalHeader()->setHighlightSections(false);
    lv1->setColumnWidth(0, 64);
    lv1->setColumnWidth(1, 170);
    lv1->setColumnWidth(2, 96);
    lv1->horizontalHeader()->setStretchLastSection(true);
    lv1->setAccessibleName(QStringLiteral("明細"));

    jvlbl1 = makeLabel(this, QStringLiteral("jvlbl1"), QStringLiteral("共有xx筆，目前位置1/1頁"),
        QRect(14, 502, 230, 24));
    btn_up = makeButton(
        this, QStringLiteral("btn_up"), QStringLiteral("上100筆"), QRect(248, 500, 80, 28));
    btn_down = makeButton(
        this, QStringLiteral("btn_down"), QStringLiteral("下100筆"), QRect(332, 500, 80, 28));
    lblTotal = makeLabel(
        this, QStringLiteral("lblTotal"), QStringLiteral("合計："), QRect(424, 502, 44, 24));
    JvLabel4 = makeLabel(
        this, QStringLiteral("JvLabel4"), QStringLiteral("---"), QRect(468, 502, 86, 24));
    JvLabel4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont bold = JvLabel4->font();
    bold.setBold(true);
    JvLabel4->setFont(bold);
    lblYuan
        = makeLabel(this, QStringLiteral("lblYuan"), QStringLiteral("元"), QRect(558, 502, 20, 24));

    const int x = 590, w = 96;
    btn2 = makeButton(this, QStringLiteral("btn2"), QStringLiteral("上一頁"), QRect(x, 92, w, 32));
    btn3 = makeButton(this, QStringLiteral("btn3"), QStringLiteral("離開"), QRect(x, 132, w, 32));
    btn4 = makeButton(this, QStringLiteral("btn4"), QStringLiteral("略去"), QRect(x, 196, w, 32));
    btn4->setToolTip(QStringLiteral("左邊的明細會略去該項，但不會影響實際資料。"));
    btn5 = makeButton(this, QStringLiteral("btn5"), QStringLiteral("匯出"), QRect(x, 260, w, 32));
    btn6 = makeButton(this, QStringLiteral("btn6"), QStringLiteral("列印"), QRect(x, 300, w, 32));

    auto guarded = [this](void (TCashDetail_Form::*handler)()) {
        return [this, handler] { m_program.guarded([this, handler] { (this->*handler)(); }); };
    };
    connect(m_kinds, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked && !m_filling)
            m_program.guarded([this] { JvRadioGroup1Click(); });
    });
    connect(cbb1, &QComboBox::currentTextChanged, this, [this] {
        if (!m_filling)
            m_program.guarded([this] { cbb1Change(); });
    });
    connect(cbb2, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            m_program.guarded([this] { cbb2Change(); });
    });
    connect(cbb3, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            m_program.guarded([this] { cbb3Change(); });
    });
    connect(lv1, &QTableWidget::itemSelectionChanged, this, [this] { lv1Click(); });
    connect(btn1, &QPushButton::clicked, this, guarded(&TCashDetail_Form::btn1Click));
    connect(btn_up, &QPushButton::clicked, this, guarded(&TCashDetail_Form::btn_upClick));
    connect(btn_down, &QPushButton::clicked, this, guarded(&TCashDetail_Form::btn_downClick));
    connect(btn2, &QPushButton::clicked, this, guarded(&TCashDetail_Form::btn2Click));
    connect(btn3, &QPushButton::clicked, this, guarded(&TCashDetail_Form::btn3Click));
    connect(btn4, &QPushButton::clicked, this, guarded(&TCashDetail_Form::btn4Click));
    connect(btn5, &QPushButton::clicked, this, guarded(&TCashDetail_Form::btn5Click));
    connect(btn6, &QPushButton::clicked, this, guarded(&TCashDetail_Form::btn6Click));
}

TCashDetail_Form::~TCashDetail_Form() = default;

// ---- opening and leaving -------------------------------------------------------------------

void TCashDetail_Form::openFrom(const QString &caller)
{
    DetailCaller = caller;
    btn1->setText(caller == QStringLiteral("Year_Form") ? MonthDetail : YearDetail);
    SetupDetailPeriod();
    DetailStartRow = 1;
    DetailAllRows = false;
    {
        // Showing the screen runs the kind change once; no need to run it here as well.
        m_filling = true;
        const auto done = qScopeGuard([this] { m_filling = false; });
        (m_program.DefaultDayPage == 1 ? rbExpense : rbIncome)->setChecked(true);
    }
    if (caller == QStringLiteral("Year_Form") && m_program.Year_Form)
        m_program.Year_Form->hide();
    else if (m_program.Month_Form)
        m_program.Month_Form->hide();
    showCentred();
    FormActivate();
}

void TCashDetail_Form::showEvent(QShowEvent *event)
{
    // A window restored from the taskbar gets a spontaneous show event: that is no opening.
    if (!event->spontaneous())
        m_refreshOnActivate = true;
    GradientWindow::showEvent(event);
}

void TCashDetail_Form::FormActivate()
{
    // Only an opening starts the list afresh: coming back from the print preview, a dialog
    // or another program keeps the user's filters and page.
    if (!m_refreshOnActivate)
        return;
    m_refreshOnActivate = false;
    // Activation comes straight from the window system (and from openers that do not guard
    // their own handlers): a failed read is shown here, never thrown on.
    m_program.guarded([this] { JvRadioGroup1Click(); });
}

void TCashDetail_Form::closeEvent(QCloseEvent *event)
{
    event->accept();
    hide();
    m_program.RM_Main_Form->showCentred();
}

void TCashDetail_Form::btn2Click()
{
    if (DetailCaller == QStringLiteral("Year_Form"))
        m_program.Year_Form->showCentred();
    else
        m_program.Month_Form->showCentred();
    hide();
}

void TCashDetail_Form::btn3Click()
{
    hide();
    m_program.RM_Main_Form->showCentred();
}

// ---- period, kind and category -------------------------------------------------------------

// The mode label says how the period box is read.
bool TCashDetail_Form::yearMode() const
{
    return JvLabel1->text() == YearDetail;
}

void TCashDetail_Form::SetupDetailPeriod()
{
    m_filling = true;
    const auto done = qScopeGuard([this] { m_filling = false; });
    cbb1->clear();
    QString current;
    if (btn1->text() != YearDetail) {
        JvLabel1->setText(YearDetail);
        const int year = m_program.currentYear();
        for (int y = year - 5; y <= year + 5; ++y)
            cbb1->addItem(QString::number(y));
        current = QString::number(year);
    } else {
        JvLabel1->setText(MonthDetail);
        for (int m = 1; m <= 12; ++m)
            cbb1->addItem(QString::number(m));
        current = QString::number(m_program.currentMonth());
    }
    const int index = cbb1->findText(current);
    if (index >= 0)
        cbb1->setCurrentIndex(index);
    cbb1->setEditText(current);
}

int TCashDetail_Form::kindIndex() const
{
    return rbExpense->isChecked() ? 1 : 0;
}

void TCashDetail_Form::setKindIndex(int index)
{
    // Checking the other button runs the kind change through the group's signal.
    (index == 1 ? rbExpense : rbIncome)->setChecked(true);
}

QString TCashDetail_Form::kindText() const
{
    return kindIndex() == 0 ? QStringLiteral("收入") : QStringLiteral("支出");
}

void TCashDetail_Form::fillCategories()
{
    m_filling = true;
    const auto done = qScopeGuard([this] { m_filling = false; });
    cbb2->clear();
    cbb2->addItem(All);
    const QString kind = kindIndex() == 0 ? QStringLiteral("1") : QStringLiteral("0");
    if (m_program.loggedIn())
        cbb2->addItems(GetCategoryNameList(m_program.db(), m_program.currentLedger(), kind));
    cbb2->setCurrentIndex(0);
    cbb3->clear();
    cbb3->addItem(All);
    cbb3->hide();
}

void TCashDetail_Form::JvRadioGroup1Click()
{
    fillCategories();
    DetailStartRow = 1;
    BuildDetailList();
}

void TCashDetail_Form::cbb2Change()
{
    {
        m_filling = true;
        const auto done = qScopeGuard([this] { m_filling = false; });
        cbb3->clear();
        cbb3->addItem(All);
        cbb3->hide();
        const int position = cbb2->currentIndex() - 1; // after "全部"
        if (position >= 0 && mainHasSubcategories(kindIndex() == 0, position + 1)) {
            const QString kind = kindIndex() == 0 ? QStringLiteral("1") : QStringLiteral("0");
            cbb3->addItems(
                GetCategoryNameList(m_program.db(), m_program.currentLedger(), kind, position + 1));
            cbb3->setCurrentIndex(0);
            cbb3->show();
        }
    }
    DetailStartRow = 1;
    BuildDetailList();
}

void TCashDetail_Form::cbb3Change()
{
    DetailStartRow = 1;
    BuildDetailList();
}

void TCashDetail_Form::cbb1Change()
{
    DetailStartRow = 1;
    BuildDetailList();
}

void TCashDetail_Form::btn1Click()
{
    btn1->setText(btn1->text() == YearDetail ? MonthDetail : YearDetail);
    SetupDetailPeriod();
    DetailStartRow = 1;
    BuildDetailList();
}

void TCashDetail_Form::btn_upClick()
{
    DetailStartRow = std::max(1, DetailStartRow - DetailQuery::PageSize);
    BuildDetailList();
}

void TCashDetail_Form::btn_downClick()
{
    DetailStartRow += DetailQuery::PageSize;
    BuildDetailList();
}

// ---- the list ---------------------------------------------------------------------------------

DetailFilter TCashDetail_Form::currentFilter() const
{
    DetailFilter filter;
    filter.ledger = m_program.currentLedger();
    bool ok = false;
    const int period = cbb1->currentText().trimmed().toInt(&ok);
    if (!ok) {
        filter.year = 0; // an empty box lists nothing
    } else if (yearMode()) {
        filter.year = period;
    } else {
        filter.year = m_program.currentYear();
        filter.month = period;
    }
    filter.income = kindIndex() == 0;
    if (cbb2->currentIndex() > 0) {
        filter.mainNumber = cbb2->currentIndex();
        if (cbb3->isVisibleTo(this) && cbb3->currentIndex() > 0)
            filter.entryName = cbb3->currentText();
    }
    return filter;
}

void TCashDetail_Form::BuildDetailList()
{
    const DetailFilter filter = currentFilter();
    DetailQuery query(m_program.db());
    const int count = query.count(filter);
    // Never a start row past the last page.
    const int lastStart
        = count > 0 ? ((count - 1) / DetailQuery::PageSize) * DetailQuery::PageSize + 1 : 1;
    DetailStartRow = std::clamp(DetailStartRow, 1, lastStart);
    const DetailPage page = DetailPage::of(count, DetailStartRow);
    jvlbl1->setText(page.label());
    btn_up->setEnabled(page.previousEnabled);
    btn_down->setEnabled(page.nextEnabled);

    DetailTotal = query.total(filter);
    m_rows = DetailAllRows ? query.all(filter) : query.page(filter, DetailStartRow);

    lv1->clearSelection();
    lv1->setRowCount(0);
    lv1->setRowCount(int(m_rows.size()));
    for (int r = 0; r < m_rows.size(); ++r) {
        const DetailRow &row = m_rows[r];
        const QString texts[4] = { row.timeText(), row.categoryText(), row.amountText(), row.note };
        for (int c = 0; c < 4; ++c) {
            auto *item = new QTableWidgetItem(texts[c]);
            if (c == 0 || c == 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            lv1->setItem(r, c, item);
        }
    }
    // A row index from before the rebuild would name a different entry now.
    ClickedRow = -1;
    showTotal();
}

void TCashDetail_Form::showTotal()
{
    if (kindIndex() == 0) {
        setTextColor(JvLabel4, winColor(Palette::Income));
        JvLabel4->setText(formatAmount(DetailTotal));
    } else {
        setTextColor(JvLabel4, winColor(Palette::Expense));
        JvLabel4->setText(DetailTotal == 0 ? QStringLiteral("0")
                                           : QStringLiteral("-") + formatAmount(DetailTotal));
    }
}

void TCashDetail_Form::lv1Click()
{
    const auto selected = lv1->selectionModel()->selectedRows();
    if (!selected.isEmpty())
        ClickedRow = selected.first().row();
}

void TCashDetail_Form::btn4Click()
{
    if (ClickedRow < 0 || ClickedRow >= lv1->rowCount())
        return;
    const int row = ClickedRow;
    DetailTotal -= parseAmount(lv1->item(row, 2)->text()).value_or(0);
    lv1->removeRow(row);
    m_rows.removeAt(row);
    lv1->clearSelection();
    ClickedRow = -1;
    showTotal();
}

// ---- print ------------------------------------------------------------------------------------

QString TCashDetail_Form::periodText() const
{
    if (yearMode())
        return cbb1->currentText() + YearDetail;
    return QString::number(m_program.currentYear()) + QStringLiteral("年") + cbb1->currentText()
        + MonthDetail;
}

std::unique_ptr<Report> TCashDetail_Form::buildReport()
{
    auto report = std::make_unique<Report>();
    const double width = report->bandWidthMm();
    // Column places: time, category, amount, note.
    const QRectF columns[4] = { QRectF(0, 0, 24, 5.5), QRectF(25, 0, 68, 5.5),
        QRectF(94, 0, 34, 5.5), QRectF(131, 0, width - 131, 5.5) };
    const Qt::Alignment alignments[4]
        = { Qt::AlignHCenter, Qt::AlignHCenter, Qt::AlignRight, Qt::AlignLeft };

    auto &title
        = report->addBand(ReportBand::Kind::ReportTitle, 26, QStringLiteral("ReportTitle1"));
    title.addText(QRectF(0, 2, width, 12), QStringLiteral("[ReportTitle]"),
        Report::font(ReportFonts::Kai, 26, true), Qt::AlignHCenter | Qt::AlignVCenter);
    for (int c = 0; c < 4; ++c) {
        auto &head
            = title.addText(columns[c].translated(0, 18), QStringLiteral("[Title%1]").arg(c + 1),
                Report::font(ReportFonts::Ming, 16, true), alignments[c] | Qt::AlignVCenter);
        head.color = QColor(75, 75, 75);
        head.frame = ReportItem::BottomLine;
    }

    auto &data = report->addBand(ReportBand::Kind::MasterData, 5.5, QStringLiteral("MasterData1"));
    data.recordCount = int(m_rows.size());
    for (int c = 0; c < 4; ++c) {
        auto &cell = data.addText(columns[c], QStringLiteral("[Element%1]").arg(c + 1),
            Report::font(ReportFonts::Ming, 15), alignments[c] | Qt::AlignTop);
        cell.growHeight = true; // long names and notes wrap; the row grows with them
    }

    auto &summary
        = report->addBand(ReportBand::Kind::Summary, 12, QStringLiteral("ReportSummary1"));
    summary
        .addText(QRectF(0, 2, width, 8), QStringLiteral("[TotalTitle]"),
            Report::font(ReportFonts::Ming, 16, true), Qt::AlignRight | Qt::AlignVCenter)
        .frame
        = ReportItem::TopLine;

    auto &footer = report->addBand(ReportBand::Kind::PageFooter, 6, QStringLiteral("PageFooter1"));
    footer.addText(QRectF(width - 30, 0, 30, 5), QStringLiteral("[Page#]"),
        Report::font(ReportFonts::Ming, 13), Qt::AlignRight);

    const QStringList titles = { QStringLiteral("時間"), QStringLiteral("分類"),
        QStringLiteral("金額"), QStringLiteral("說明") };
    for (int c = 0; c < 4; ++c)
        report->setVariable(QStringLiteral("Title%1").arg(c + 1), titles[c]);
    report->setVariable(QStringLiteral("ReportTitle"),
        periodText() + QStringLiteral("(") + kindText() + QStringLiteral(")"));
    report->setVariable(QStringLiteral("TotalTitle"),
        kindText() + QStringLiteral("合計：") + JvLabel4->text() + QStringLiteral("元"));

    const QList<DetailRow> rows = m_rows;
    report->setValueProvider([rows](const QString &name, int record) -> std::optional<QString> {
        if (record < 0 || record >= rows.size()
            || !name.startsWith(QStringLiteral("Element"), Qt::CaseInsensitive))
            return std::nullopt;
        const DetailRow &row = rows[record];
        switch (name.mid(7).toInt()) {
        case 1:
            return row.timeText();
        case 2:
            return row.categoryText();
        case 3:
            return row.amountText();
        case 4:
            return row.note;
        default:
            return std::nullopt;
        }
    });
    return report;
}

void TCashDetail_Form::btn6Click()
{
    const auto back = qScopeGuard([this] {
        DetailAllRows = false;
        m_program.guarded([this] { BuildDetailList(); });
    });
    DetailAllRows = true;
    BuildDetailList();
    std::unique_ptr<Report> report = buildReport();
    m_program.prompts().preview(*report);
}

// ---- export -----------------------------------------------------------------------------------

void TCashDetail_Form::writeSheet(Workbook &book, const QString &kind)
{
    QList<CategoryExportBook::SheetLine> lines;
    lines.reserve(m_rows.size());
    for (const DetailRow &row : std::as_const(m_rows))
        lines.append({ row.timeText(), row.categoryText(), row.amount, row.note });
    const bool income = kind == QStringLiteral("收入");
    // The total as the total label shows it (expense with its minus sign).
    CategoryExportBook::writeEntrySheet(book, income, m_program.currentLedger(), periodText(),
        lines, income ? DetailTotal : -DetailTotal);
}

void TCashDetail_Form::btn5Click()
{
    const QString name = yearMode() ? cbb1->currentText() + QStringLiteral("年度分類明細.xlsx")
                                    : QString::number(m_program.currentYear())
            + QStringLiteral("年") + cbb1->currentText() + QStringLiteral("月份分類明細.xlsx");
    const QString path = WorkbookExport::askPath(m_program.prompts(), name);
    if (path.isEmpty()) {
        DetailAllRows = false;
        BuildDetailList();
        return;
    }
    const std::unique_ptr<Workbook> book = WorkbookExport::start(m_program.prompts());
    if (!book)
        return;

    const int remembered = kindIndex();
    bool saved = false;
    {
        // However the export ends, the list goes back to the kind it showed, one page at a time.
        const auto restore = qScopeGuard([this, remembered] {
            m_program.guarded([this, remembered] {
                setKindIndex(remembered);
                DetailAllRows = false;
                BuildDetailList();
            });
        });
        setKindIndex(0);
        DetailAllRows = true;
        BuildDetailList();
        writeSheet(*book, QStringLiteral("收入"));
        setKindIndex(1);
        DetailAllRows = true;
        BuildDetailList();
        writeSheet(*book, QStringLiteral("支出"));
        try {
            book->save(path);
            saved = true;
        } catch (const WorkbookError &e) {
            m_program.prompts().error(e.message());
        }
    }
    if (saved)
        m_program.prompts().warning(QStringLiteral("匯出成功!!"));
}
