#include "analysis/Year_Month_Unit.h"

#include "app/Program.h"
#include "calendar/RM_Main_Unit.h"
#include "report/Report.h"
#include "spreadsheet/Workbook.h"
#include "spreadsheet/WorkbookExport.h"
#include "statistics/StatisticsWidgets.h"
#include "statistics/Year_Unit.h"
#include "store/Amount.h"
#include "ui/Colors.h"
#include "ui/EscapeLeaves.h"
#include "ui/Named.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGraphicsLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegend>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QToolButton>
#include <QValueAxis>

namespace {

const QString PreviousYear = QStringLiteral("上一年度");
// The arrow moves a whole year, so its hint (also its accessible name) says so; calling it
// the next month would mislead.
const QString NextYear = QStringLiteral("下一年度");
const QStringList RowNames
    = { QStringLiteral("收入"), QStringLiteral("支出"), QStringLiteral("結餘") };
constexpr int IncomeRow = 1, ExpenseRow = 2, BalanceRow = 3;
const QColor Navy(0, 0, 128);
const QColor Maroon(128, 0, 0);
const QColor Olive(128, 128, 0);

QFont pixelFont(const QString &family, int pixels, bool bold = false)
{
    QFont font(family);
    font.setFamilies(
        { family, QStringLiteral("Noto Serif CJK TC"), QStringLiteral("Noto Sans CJK TC") });
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QString monthName(int month)
{
    return QString::number(month) + QStringLiteral("月");
}

// A round top for the amount axis: 1, 2, 2.5 or 5 times a power of ten, at least the largest
// value, so that its five equal steps read as whole round numbers.
qint64 axisTop(qint64 largest)
{
    if (largest <= 5)
        return 5;
    if (largest <= 10)
        return 10;
    qint64 magnitude = 10;
    while (magnitude <= largest / 10)
        magnitude *= 10;
    for (const qint64 tenths : { 10, 20, 25, 50 }) {
        const qint64 top = magnitude * tenths / 10;
        if (top >= largest)
            return top;
    }
    return magnitude * 10;
}

// Draws every cell of the table through the screen's own drawing rules.
class GridDelegate : public QStyledItemDelegate
{
public:
    GridDelegate(const TYear_Month_Form *form, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_form(form)
    { }
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        painter->save();
        m_form->StringGrid1DrawCell(*painter, index.column(), index.row(), option.rect);
        painter->restore();
    }

private:
    const TYear_Month_Form *m_form;
};

} // namespace

TYear_Month_Form::TYear_Month_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("Year_Month_Form"));
    setWindowTitle(QStringLiteral("年度分析"));
    setFixedSize(890, 540);

    YSpeedButton1 = arrowButton(
        this, QStringLiteral("YSpeedButton1"), PreviousYear, Qt::LeftArrow, QRect(16, 10, 25, 25));
    Y_Label = named(new QLabel(this), QStringLiteral("Y_Label"));
    Y_Label->setFont(pixelFont(QStringLiteral("標楷體"), 20));
    Y_Label->setAlignment(Qt::AlignCenter);
    Y_Label->setGeometry(43, 10, 54, 26);
    Y_Label->setText(QString::number(m_program.currentYear()));
    YSpeedButton2 = arrowButton(
        this, QStringLiteral("YSpeedButton2"), NextYear, Qt::RightArrow, QRect(98, 10, 25, 25));

    cbb1 = named(new QComboBox(this), QStringLiteral("cbb1"));
    cbb1->addItems(YearAnalysis::modeNames());
    cbb1->setGeometry(138, 11, 130, 24);
    cbb1->setAccessibleName(QStringLiteral("比較方式"));
    cbb2 = named(new QComboBox(this), QStringLiteral("cbb2"));
    cbb2->setGeometry(276, 11, 120, 24);
    cbb2->setAccessibleName(QStringLiteral("主分類"));
    cbb2->hide();

    auto button = [this](const QString &name, const QString &text, int x) {
        auto *b = named(new QPushButton(text, this), name);
        b->setGeometry(x, 10, 75, 25);
        return b;
    };
    BitBtn1 = button(QStringLiteral("BitBtn1"), QStringLiteral("年統計"), 550);
    BitBtn2 = button(QStringLiteral("BitBtn2"), QStringLiteral("列印"), 633);
    BitBtn3 = button(QStringLiteral("BitBtn3"), QStringLiteral("匯出"), 716);
    BitBtn4 = button(QStringLiteral("BitBtn4"), QStringLiteral("離開"), 799);
    QPalette maroon = BitBtn4->palette();
    maroon.setColor(QPalette::ButtonText, Maroon);
    BitBtn4->setPalette(maroon);

    StringGrid1 = named(new QTableWidget(4, 13, this), QStringLiteral("StringGrid1"));
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    // December takes up what the frame leaves, so no empty strip shows at the right.
    StringGrid1->horizontalHeader()->setStretchLastSection(true);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    StringGrid1->setFont(pixelFont(QStringLiteral("新細明體"), 13));
    StringGrid1->setItemDelegate(new GridDelegate(this, StringGrid1));
    StringGrid1->setAccessibleName(QStringLiteral("各月收支"));
    StringGrid1->setColumnWidth(0, 48);
    for (int c = 1; c <= 12; ++c)
        StringGrid1->setColumnWidth(c, 67);
    for (int r = 0; r < 4; ++r)
        StringGrid1->setRowHeight(r, 24);
    const int frame = 2 * StringGrid1->frameWidth();
    StringGrid1->setGeometry(16, 48, 48 + 12 * 67 + frame, 4 * 24 + frame);
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 13; ++c) {
            auto *item = new QTableWidgetItem;
            if (r == 0 || c == 0)
                item->setFlags(Qt::ItemIsEnabled); // the fixed row and column are not selectable
            StringGrid1->setItem(r, c, item);
        }
    }

    auto *chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->legend()->setVisible(true);
    chart->legend()->setAlignment(Qt::AlignTop);
    chart->legend()->setFont(pixelFont(QStringLiteral("新細明體"), 13));
    Series1 = new QLineSeries(chart);
    Series1->setObjectName(QStringLiteral("Series1"));
    Series1->setName(QStringLiteral("收入"));
    Series1->setPen(QPen(winColor(Palette::Income), 2));
    Series2 = new QLineSeries(chart);
    Series2->setObjectName(QStringLiteral("Series2"));
    Series2->setName(QStringLiteral("支出"));
    Series2->setPen(QPen(winColor(Palette::Expense), 2));
    chart->addSeries(Series1);
    chart->addSeries(Series2);
    m_axisX = new QValueAxis(chart);
    m_axisX->setRange(0, 12);
    m_axisX->setTickCount(13);
    m_axisX->setLabelFormat(QStringLiteral("%d"));
    m_axisX->setLabelsFont(pixelFont(QStringLiteral("新細明體"), 12));
    // Amounts read with thousands separators, as everywhere else: the axis labels its ticks
    // itself.
    m_axisY = new QCategoryAxis(chart);
    m_axisY->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    m_axisY->setLabelsFont(pixelFont(QStringLiteral("新細明體"), 11));
    chart->addAxis(m_axisX, Qt::AlignBottom);
    chart->addAxis(m_axisY, Qt::AlignLeft);
    for (QLineSeries *series : { Series1, Series2 }) {
        series->attachAxis(m_axisX);
        series->attachAxis(m_axisY);
    }
    Chart1 = named(new QChartView(chart, this), QStringLiteral("Chart1"));
    Chart1->setRenderHint(QPainter::Antialiasing);
    Chart1->setBackgroundBrush(Qt::white);
    Chart1->setGeometry(16, 156, 858, 368);
    Chart1->setAccessibleName(QStringLiteral("各月收支圖"));

    auto guarded = [this](auto handler) {
        return [this, handler] { m_program.guarded([this, handler] { (this->*handler)(); }); };
    };
    // The user's steps and choices rebuild through the window's refresh, so a failure they
    // meet is reported by them and not once more by the activation after the message box.
    auto rebuilding = [this](const std::function<void()> &handler) {
        return [this, handler] {
            if (!m_filling)
                refreshByUser(m_program.prompts(), handler);
        };
    };
    connect(YSpeedButton1, &QToolButton::clicked, this,
        rebuilding([this] { YSpeedButton1Click(YSpeedButton1); }));
    connect(YSpeedButton2, &QToolButton::clicked, this,
        rebuilding([this] { YSpeedButton1Click(YSpeedButton2); }));
    connect(cbb1, &QComboBox::currentIndexChanged, this, rebuilding([this] { cbb1Change(); }));
    connect(cbb2, &QComboBox::currentIndexChanged, this, rebuilding([this] { cbb2Change(); }));
    connect(BitBtn1, &QPushButton::clicked, this, guarded(&TYear_Month_Form::BitBtn1Click));
    connect(BitBtn2, &QPushButton::clicked, this, guarded(&TYear_Month_Form::BitBtn2Click));
    connect(BitBtn3, &QPushButton::clicked, this, guarded(&TYear_Month_Form::BitBtn3Click));
    connect(BitBtn4, &QPushButton::clicked, this, guarded(&TYear_Month_Form::BitBtn4Click));

    leaveOnEscape(this, [this] { m_program.guarded([this] { BitBtn4Click(); }); });
}

TYear_Month_Form::~TYear_Month_Form() = default;

// ---- opening and leaving -------------------------------------------------------------------

void TYear_Month_Form::openFromCalendar(int year)
{
    Y_Label->setText(QString::number(year));
    if (mode() != YearAnalysis::Mode::Comparison)
        m_program.guarded([this] { fillCategories(); });
    showCentred();
    FormActivate();
}

void TYear_Month_Form::leaveToCalendar(bool deletePictures)
{
    if (deletePictures) {
        m_pictures.insert(picturePath());
        for (const QString &path : std::as_const(m_pictures))
            QFile::remove(path);
        m_pictures.clear();
    }
    hide();
    m_program.RM_Main_Form->showCentred();
}

void TYear_Month_Form::BitBtn4Click()
{
    leaveToCalendar(true);
}

void TYear_Month_Form::closeEvent(QCloseEvent *event)
{
    // The close box keeps the chart picture; only 離開 and Esc remove it.
    event->accept();
    leaveToCalendar(false);
}

void TYear_Month_Form::BitBtn1Click()
{
    hide();
    m_program.Year_Form->showCentred();
}

// ---- year, mode and main category ------------------------------------------------------------

int TYear_Month_Form::yearShown() const
{
    QString text = Y_Label->text();
    text.remove(QStringLiteral(" 年"));
    return text.trimmed().toInt();
}

YearAnalysis::Mode TYear_Month_Form::mode() const
{
    switch (cbb1->currentIndex()) {
    case 1:
        return YearAnalysis::Mode::Income;
    case 2:
        return YearAnalysis::Mode::Expense;
    default:
        return YearAnalysis::Mode::Comparison;
    }
}

int TYear_Month_Form::chosenCategory() const
{
    return cbb2->currentIndex() >= 0 ? cbb2->currentData().toInt() : 0;
}

QString TYear_Month_Form::picturePath() const
{
    return m_program.filePath(YearAnalysis::pictureFileName(yearShown()));
}

void TYear_Month_Form::YSpeedButton1Click(QToolButton *sender)
{
    QSpinBox *calendarYear = m_program.RM_Main_Form->Year_Label;
    const int y = yearShown() + (sender->toolTip() == PreviousYear ? -1 : 1);
    // The calendar cannot show a year outside its range; stay on the year shown then.
    if (y < calendarYear->minimum() || y > calendarYear->maximum())
        return;
    Y_Label->setText(QString::number(y));
    calendarYear->setValue(y);
    rebuild();
}

void TYear_Month_Form::fillCategories()
{
    const int previous = chosenCategory();
    m_filling = true;
    const auto done = qScopeGuard([this] { m_filling = false; });
    cbb2->clear();
    if (mode() == YearAnalysis::Mode::Comparison) {
        cbb2->hide();
        return;
    }
    const auto categories
        = YearAnalysis(m_program.db())
              .mainCategories(m_program.currentLedger(), mode() == YearAnalysis::Mode::Income);
    for (const AnalysisCategory &category : categories)
        cbb2->addItem(category.name, category.number);
    const int kept = cbb2->findData(previous);
    cbb2->setCurrentIndex(kept >= 0 ? kept : 0);
    cbb2->show();
}

void TYear_Month_Form::cbb1Change()
{
    {
        // A new mode starts on its first main category.
        m_filling = true;
        const auto done = qScopeGuard([this] { m_filling = false; });
        cbb2->clear();
    }
    fillCategories();
    if (cbb2->count() > 0)
        cbb2->setCurrentIndex(0);
    rebuild();
}

void TYear_Month_Form::cbb2Change()
{
    rebuild();
}

// ---- table, chart and picture ----------------------------------------------------------------

void TYear_Month_Form::FormActivate()
{
    refreshOnActivation(m_program.prompts(), [this] { rebuild(); });
}

void TYear_Month_Form::rebuild()
{
    m_sums = YearSums {};
    {
        // Whatever happens, the table and chart never show another year's figures: a
        // failed read leaves them at 0.
        const auto show = qScopeGuard([this] {
            showSums();
            showChart();
        });
        const YearAnalysis::Mode shown = mode();
        if (m_program.loggedIn()
            && (shown == YearAnalysis::Mode::Comparison || chosenCategory() > 0)) {
            m_sums = YearAnalysis(m_program.db())
                         .sums(m_program.currentLedger(), yearShown(), shown, chosenCategory());
        }
    }
    writePicture();
}

void TYear_Month_Form::showSums()
{
    for (int m = 1; m <= 12; ++m)
        StringGrid1->item(0, m)->setText(monthName(m));
    for (int r = 1; r <= 3; ++r)
        StringGrid1->item(r, 0)->setText(RowNames[r - 1]);
    for (int m = 1; m <= 12; ++m) {
        StringGrid1->item(IncomeRow, m)->setText(QString::number(m_sums.income[m]));
        StringGrid1->item(ExpenseRow, m)->setText(QString::number(m_sums.expense[m]));
        StringGrid1->item(BalanceRow, m)->setText(QString::number(m_sums.balance[m]));
    }
    StringGrid1->viewport()->update();
}

void TYear_Month_Form::showChart()
{
    QList<QPointF> income, expense;
    qint64 largest = 0;
    for (int m = 0; m <= 12; ++m) {
        income << QPointF(m, double(m_sums.income[m]));
        expense << QPointF(m, double(m_sums.expense[m]));
        largest = std::max({ largest, m_sums.income[m], m_sums.expense[m] });
    }
    Series1->replace(income);
    Series2->replace(expense);
    setAmountAxis(axisTop(largest));
}

void TYear_Month_Form::setAmountAxis(qint64 top)
{
    const QStringList old = m_axisY->categoriesLabels();
    for (const QString &label : old)
        m_axisY->remove(label);
    // The "0" at the bottom belongs to a sliver below the axis, so that it is labelled too.
    m_axisY->setStartValue(-double(top) / 1000);
    m_axisY->append(QStringLiteral("0"), 0);
    for (int step = 1; step <= 5; ++step)
        m_axisY->append(formatAmount(top * step / 5), double(top * step / 5));
    m_axisY->setRange(0, double(top));
}

void TYear_Month_Form::writePicture()
{
    const QString path = picturePath();
    // A chart that was never shown has not been laid out at the view's size yet.
    QChart *chart = Chart1->chart();
    if (chart->size() != QSizeF(Chart1->size())) {
        QResizeEvent resize(Chart1->size(), Chart1->size());
        QCoreApplication::sendEvent(Chart1, &resize);
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QImage image(Chart1->size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        Chart1->scene()->render(&painter, QRectF(image.rect()), chart->geometry());
    }
    if (image.save(path, "BMP")) {
        m_pictures.insert(path);
        m_pictureFailure.clear();
        return;
    }
    // Said once: the message box activates this window again, which rebuilds once more.
    if (m_pictureFailure == path)
        return;
    m_pictureFailure = path;
    m_program.prompts().error(QStringLiteral("無法寫入分析圖檔案：%1").arg(path));
}

// ---- drawing the table -------------------------------------------------------------------------

bool TYear_Month_Form::isSelected(int column, int row) const
{
    const QTableWidgetItem *item = StringGrid1->item(row, column);
    return item && item->isSelected();
}

TYear_Month_Form::CellLook TYear_Month_Form::cellLook(int column, int row) const
{
    CellLook look;
    const QTableWidgetItem *item = StringGrid1->item(row, column);
    look.text = item ? item->text() : QString();
    const bool amount = row >= 1 && row <= 3 && column >= 1 && column <= 12;
    const qint64 value = amount ? look.text.toLongLong() : 0;
    if (amount)
        look.text = formatAmount(value);

    const QPalette palette = StringGrid1->palette();
    if (row == 0 || column == 0) {
        look.fill = palette.color(QPalette::Button);
        look.textColor = palette.color(QPalette::ButtonText);
        look.raised = true;
    } else if (isSelected(column, row)) {
        look.fill = palette.color(QPalette::Highlight);
        look.textColor
            = row == BalanceRow ? QColor(255, 0, 0) : palette.color(QPalette::HighlightedText);
    } else {
        look.fill = Qt::white;
        look.textColor = palette.color(QPalette::Text);
        if (row == BalanceRow)
            look.textColor = value < 0 ? QColor(255, 0, 0) : QColor(0, 0, 255);
        else if (row == IncomeRow && mode() == YearAnalysis::Mode::Income)
            look.textColor = QColor(0, 0, 255);
        else if (row == ExpenseRow && mode() == YearAnalysis::Mode::Expense)
            look.textColor = QColor(255, 0, 0);
    }

    if (row == 0)
        look.alignment = Qt::AlignHCenter | Qt::AlignVCenter;
    else if (column == 0)
        look.alignment = Qt::AlignLeft | Qt::AlignVCenter;
    else
        look.alignment = Qt::AlignRight | Qt::AlignVCenter;
    return look;
}

void TYear_Month_Form::StringGrid1DrawCell(
    QPainter &painter, int column, int row, const QRect &rect) const
{
    const CellLook look = cellLook(column, row);
    painter.fillRect(rect, look.fill);
    if (look.raised) {
        const QPalette palette = StringGrid1->palette();
        const QRect r = rect.adjusted(0, 0, -1, -1);
        painter.setPen(palette.color(QPalette::Light));
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(palette.color(QPalette::Dark));
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }
    const QRect textRect = rect.adjusted(2, 0, -2, 0);
    // A very large sum keeps all its digits: the font gets smaller rather than cut them off.
    QFont font = StringGrid1->font();
    while (
        QFontMetrics(font).horizontalAdvance(look.text) > textRect.width() && font.pixelSize() > 8)
        font.setPixelSize(font.pixelSize() - 1);
    painter.setFont(font);
    painter.setPen(look.textColor);
    painter.drawText(textRect, int(look.alignment), look.text);
}

// ---- print --------------------------------------------------------------------------------------

std::unique_ptr<Report> TYear_Month_Form::buildReport()
{
    auto report = std::make_unique<Report>();
    report->setPageSizeMm(QSizeF(210, 297));
    report->setMarginsMm(10, 10, 10, 10);
    const double width = report->bandWidthMm();
    // Month, income, expense, balance: the table in the middle of the page.
    const double monthWidth = 30, amountWidth = 46;
    const double left = (width - monthWidth - 3 * amountWidth) / 2;
    const QRectF columns[4]
        = { QRectF(left, 0, monthWidth, 8), QRectF(left + monthWidth, 0, amountWidth, 8),
              QRectF(left + monthWidth + amountWidth, 0, amountWidth, 8),
              QRectF(left + monthWidth + 2 * amountWidth, 0, amountWidth, 8) };

    auto &title
        = report->addBand(ReportBand::Kind::ReportTitle, 18, QStringLiteral("ReportTitle1"));
    auto &heading = title.addText(QRectF(0, 2, width, 12), QStringLiteral("[ReportTitle]"),
        Report::font(ReportFonts::Kai, 28, true), Qt::AlignHCenter | Qt::AlignVCenter);
    heading.color = Maroon;

    auto &header = report->addBand(ReportBand::Kind::PageHeader, 9, QStringLiteral("PageHeader1"));
    const QStringList titles = { QStringLiteral("[MonthTitle]"), QStringLiteral("[CashInTitle]"),
        QStringLiteral("[CashOutTitle]"), QStringLiteral("[CashSunTitle]") };
    for (int c = 0; c < 4; ++c) {
        auto &item = header.addText(columns[c], titles[c],
            Report::font(ReportFonts::Ming, 16, true), Qt::AlignHCenter | Qt::AlignVCenter);
        item.frame = ReportItem::TopLine | ReportItem::BottomLine;
    }

    auto &table = report->addBand(ReportBand::Kind::MasterData, 8, QStringLiteral("MasterData1"));
    const QStringList lists = { QStringLiteral("[MonthStr]"), QStringLiteral("[CashInStr]"),
        QStringLiteral("[CashOutStr]"), QStringLiteral("[CashSunStr]") };
    for (int c = 0; c < 4; ++c) {
        auto &item = table.addText(columns[c], lists[c],
            Report::font(ReportFonts::Ming, 16, c == 0), Qt::AlignHCenter | Qt::AlignTop);
        item.growHeight = true;
        item.wordWrap = false;
        item.stretchToBand = true;
        // The bottom line closes the table above the chart.
        item.frame = (c == 0 ? ReportItem::LeftLine | ReportItem::RightLine : ReportItem::RightLine)
            | ReportItem::BottomLine;
        if (c == 0)
            item.color = Olive;
    }

    QImage picture(picturePath());
    if (picture.isNull()) {
        writePicture();
        picture.load(picturePath());
    }
    auto &chart = report->addBand(ReportBand::Kind::MasterData, 10, QStringLiteral("MasterData2"));
    const double chartHeight
        = picture.isNull() ? 80 : width * picture.height() / std::max(1, picture.width());
    auto &picture1 = chart.addPicture(QRectF(0, 6, width, chartHeight), picture);
    picture1.name = QStringLiteral("Picture1");
    picture1.stretch = true;
    picture1.centreHorizontally = true;

    auto &footer = report->addBand(ReportBand::Kind::PageFooter, 6, QStringLiteral("PageFooter1"));
    footer.addText(QRectF(width - 30, 0, 30, 5), QStringLiteral("[Page#]"),
        Report::font(ReportFonts::Ming, 13), Qt::AlignRight);

    QStringList months, income, expense, balance;
    for (int m = 1; m <= 12; ++m) {
        months << monthName(m);
        income << formatAmount(m_sums.income[m]);
        expense << formatAmount(m_sums.expense[m]);
        balance << formatAmount(m_sums.balance[m]);
    }
    const QString newline = QStringLiteral("\n");
    report->setVariable(QStringLiteral("MonthStr"), months.join(newline));
    report->setVariable(QStringLiteral("CashInStr"), income.join(newline));
    report->setVariable(QStringLiteral("CashOutStr"), expense.join(newline));
    report->setVariable(QStringLiteral("CashSunStr"), balance.join(newline));
    report->setVariable(QStringLiteral("ReportTitle"),
        QString::number(yearShown()) + QStringLiteral("年度分析報表"));
    report->setVariable(QStringLiteral("MonthTitle"), QStringLiteral("月份"));
    report->setVariable(QStringLiteral("CashInTitle"), RowNames[0]);
    report->setVariable(QStringLiteral("CashOutTitle"), RowNames[1]);
    report->setVariable(QStringLiteral("CashSunTitle"), RowNames[2]);
    report->setVariable(
        QStringLiteral("UserStr"), QStringLiteral("製表人：") + m_program.currentLedger());
    return report;
}

void TYear_Month_Form::BitBtn2Click()
{
    std::unique_ptr<Report> report = buildReport();
    m_program.prompts().preview(*report);
}

// ---- export -------------------------------------------------------------------------------------

void TYear_Month_Form::BitBtn3Click()
{
    const QString path = WorkbookExport::askPath(
        m_program.prompts(), QString::number(yearShown()) + QStringLiteral("年度分析.xlsx"));
    if (path.isEmpty())
        return;
    exportTo(path);
}

void TYear_Month_Form::exportTo(const QString &path)
{
    const std::unique_ptr<Workbook> book = WorkbookExport::start(m_program.prompts());
    if (!book)
        return;
    Sheet &sheet = book->addSheet(QStringLiteral("記帳本-年度分析表"));

    sheet.setText(QStringLiteral("A1"), m_program.currentLedger() + QStringLiteral(" 的分析表"));
    sheet.merge(QStringLiteral("A1:F1"));
    sheet.setFontColor(QStringLiteral("A1:F1"), Navy);
    sheet.setFontSize(QStringLiteral("A1:F1"), 16);
    sheet.setHorizontalAlignment(QStringLiteral("A1:F1"), CellStyle::Align::Centre);
    sheet.setText(
        QStringLiteral("A3"), QString::number(yearShown()) + QStringLiteral("年度分析表"));
    sheet.merge(QStringLiteral("A3:F3"));
    sheet.setFontColor(QStringLiteral("A3:F3"), Navy);
    sheet.setHorizontalAlignment(QStringLiteral("A3:F3"), CellStyle::Align::Centre);

    const QStringList heads = { QStringLiteral("月份"), RowNames[0], RowNames[1], RowNames[2] };
    for (int c = 0; c < 4; ++c)
        sheet.setText(5, c + 1, heads[c]);
    sheet.setFill(QStringLiteral("A5:D5"), QColor(184, 204, 228));
    sheet.setHorizontalAlignment(QStringLiteral("A5:D5"), CellStyle::Align::Centre);

    for (int m = 1; m <= 12; ++m) {
        sheet.setText(m + 6, 1, monthName(m));
        sheet.setNumber(m + 6, 2, double(m_sums.income[m]));
        sheet.setNumber(m + 6, 3, double(m_sums.expense[m]));
        sheet.setNumber(m + 6, 4, double(m_sums.balance[m]));
    }
    sheet.setColumnWidth(1, 8);
    for (int c = 2; c <= 4; ++c)
        sheet.setColumnWidth(c, 14);

    QImage picture(picturePath());
    if (picture.isNull()) {
        writePicture();
        picture.load(picturePath());
    }
    if (!picture.isNull()) {
        // About as wide as the columns F to N, where the chart sits beside the table.
        const double scale = std::min(1.0, 600.0 / std::max(1, picture.width()));
        sheet.insertPicture(QStringLiteral("F5"), picture, scale);
    }

    try {
        book->save(path);
    } catch (const WorkbookError &e) {
        m_program.prompts().error(e.message());
    }
}
