#include "statistics/StatisticsForm.h"

#include "app/Program.h"
#include "calendar/RM_Main_Unit.h"
#include "statistics/CategoryExportBook.h"
#include "statistics/StatisticsReport.h"
#include "statistics/StatisticsWidgets.h"
#include "ui/Colors.h"
#include "ui/EscapeLeaves.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QTreeWidget>

StatisticsForm::StatisticsForm(Program &program, const QString &name, int chartLabelStep)
    : m_program(program)
{
    setObjectName(name);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setColumnCount(4);
    ListView1->setHeaderLabels({ QStringLiteral("收入"), QStringLiteral("金額  "),
        QStringLiteral("支出"), QStringLiteral("金額  ") });
    ListView1->headerItem()->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    ListView1->headerItem()->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    ListView1->header()->setSectionsClickable(false);
    ListView1->header()->setSectionsMovable(false);
    ListView1->header()->setStretchLastSection(false);
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setFont(statisticsFont(QStringLiteral("新細明體"), 13));
    ListView1->setItemDelegate(new TotalRowDelegate(ListView1));
    ListView1->setAccessibleName(QStringLiteral("分類統計"));

    JvComboBox1 = new QComboBox(this);
    JvComboBox1->setObjectName(QStringLiteral("JvComboBox1"));
    JvComboBox1->addItems(CategorySummary::sideItems());
    JvComboBox1->setAccessibleName(QStringLiteral("收支"));
    JvComboBox2 = new QComboBox(this);
    JvComboBox2->setObjectName(QStringLiteral("JvComboBox2"));
    JvComboBox2->setAccessibleName(QStringLiteral("統計項目"));
    // Only the user's choices count as changes; setting an index in code does not.
    connect(JvComboBox1, &QComboBox::activated, this, [this] { JvComboBox1Change(); });
    connect(JvComboBox2, &QComboBox::activated, this, [this] { JvComboBox2Change(); });

    Chart1 = new StatisticsChart(chartLabelStep, this);
    Chart1->setObjectName(QStringLiteral("Chart1"));
    Chart1->setAccessibleName(QStringLiteral("統計圖"));
    pm1 = new QMenu(this);
    pm1->setObjectName(QStringLiteral("pm1"));
    N1 = pm1->addAction(QStringLiteral("收入圖表"));
    N1->setObjectName(QStringLiteral("N1"));
    N2 = pm1->addAction(QStringLiteral("支出圖表"));
    N2->setObjectName(QStringLiteral("N2"));
    connect(N1, &QAction::triggered, this, [this] { N1Click(); });
    connect(N2, &QAction::triggered, this, [this] { N2Click(); });
    Chart1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Chart1, &QWidget::customContextMenuRequested, this,
        [this](const QPoint &pos) { pm1->popup(Chart1->mapToGlobal(pos)); });

    StatusBar1 = new StatusPanels({ 50, 100, 50 }, this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFont(statisticsFont(QStringLiteral("新細明體"), 13, true));
    StatusBar1->setPanelText(0, QStringLiteral("結餘："));
    StatusBar1->setPanelAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    StatusBar1->setOwnerDrawn({ 1, 2 }, [this](QPainter &painter, int panel, const QRect &rect) {
        StatusBar1DrawPanel(painter, panel, rect);
    });
}

QPushButton *StatisticsForm::makeButton(
    const QString &name, const QString &text, const QRect &geometry)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(name);
    button->setGeometry(geometry);
    button->setFont(statisticsFont(QStringLiteral("新細明體"), 16, true));
    return button;
}

void StatisticsForm::placeCommon(const QRect &list, int selectorLeft, const QRect &chart)
{
    ListView1->setGeometry(list);
    JvComboBox1->setGeometry(selectorLeft, 16, 49, 21);
    JvComboBox2->setGeometry(selectorLeft + 56, 16, 105, 21);
    Chart1->setGeometry(chart);
    StatusBar1->setGeometry(0, height() - 19, width(), 19);
}

void StatisticsForm::watchKeys()
{
    leaveOnEscape(this, [this] { leave(); });
}

void StatisticsForm::closeEvent(QCloseEvent *event)
{
    // The close box keeps the chart picture; only the leave button removes it.
    event->accept();
    leaveToCalendar(false);
}

void StatisticsForm::leaveToCalendar(bool deletePicture)
{
    if (deletePicture)
        QFile::remove(chartPicturePath());
    hide();
    m_program.RM_Main_Form->showCentred();
}

void StatisticsForm::openFromCalendar()
{
    showCentred();
    JvComboBox1->setCurrentIndex(m_program.DefaultDayPage == 1 ? 1 : 0);
    fillGroupSelector();
    // Still the opening: its one refresh, reported once when it fails.
    FormActivate();
}

void StatisticsForm::fillGroupSelector()
{
    JvComboBox2->clear();
    JvComboBox2->addItems(CategorySummary::groupItems(JvComboBox1->currentText()));
    JvComboBox2->setCurrentIndex(0);
    ApplySelection();
}

void StatisticsForm::JvComboBox1Change()
{
    fillGroupSelector();
    refresh();
}

void StatisticsForm::JvComboBox2Change()
{
    ApplySelection();
    refresh();
}

void StatisticsForm::ApplySelection()
{
    ViewMode = CategorySummary::viewModeFor(
        JvComboBox1->currentText(), std::max(0, JvComboBox2->currentIndex()));
    AttrFilter = CategorySummary::attrFilterFor(ViewMode);
}

void StatisticsForm::N1Click()
{
    ViewMode = 0;
    refresh();
}

void StatisticsForm::N2Click()
{
    ViewMode = 2;
    refresh();
}

void StatisticsForm::FormActivate()
{
    refreshOnActivation(m_program.prompts(), [this] { runSummary(); });
}

bool StatisticsForm::refresh()
{
    return refreshByUser(m_program.prompts(), [this] { runSummary(); });
}

void StatisticsForm::runSummary()
{
    summaryStarting();
    SummaryInput input = periodInput();
    input.ledger = m_program.currentLedger();
    input.viewMode = ViewMode;
    input.attrFilter = AttrFilter;
    input.groupText = JvComboBox2->currentText();

    // Nothing of an earlier run stays on screen, even when this one fails. The chart is
    // cleared only then: a run that gives the same bars leaves them as they are drawn.
    m_summary = {};
    IncomeTotal = 0;
    ExpenseTotal = 0;
    ListView1->clear();
    StatusBar1->update();

    try {
        m_summary = CategorySummary(m_program.db()).run(input);
    } catch (...) {
        Chart1->clearPoints();
        throw;
    }
    IncomeTotal = m_summary.incomeTotal;
    ExpenseTotal = m_summary.expenseTotal;
    if (!m_summary.hasEntries) {
        Chart1->clearPoints();
        QFile::remove(chartPicturePath());
        BitBtn1->setEnabled(false);
        BitBtn2->setEnabled(false);
    } else {
        Chart1->setPoints(m_summary.chartPoints);
        BitBtn1->setEnabled(true);
        BitBtn2->setEnabled(true);
        writePicture();
        fillList(m_summary.rows);
    }
    summaryFound(m_summary.hasEntries);
    const SummaryStatus status = currentStatus();
    StatusBar1->setPanelText(0, status.caption);
    StatusBar1->setPanelText(2, QString());
    StatusBar1->update();
    // The balance and the note are painted; screen readers get them as the bar's name.
    QStringList spoken { status.caption + (status.showsBalance ? status.balanceText : QString()),
        status.note };
    spoken.removeAll(QString());
    StatusBar1->setAccessibleName(spoken.join(QLatin1Char(' ')));
}

void StatisticsForm::writePicture()
{
    const QString path = chartPicturePath();
    if (Chart1->savePicture(path)) {
        m_pictureFailure.clear();
        return;
    }
    // Said once: the message box re-activates this window, which runs the summary again.
    if (m_pictureFailure == path)
        return;
    m_pictureFailure = path;
    m_program.prompts().error(QStringLiteral("無法寫入統計圖檔案：%1").arg(path));
}

void StatisticsForm::fillList(const QList<SummaryRow> &rows)
{
    QList<QTreeWidgetItem *> items;
    for (const SummaryRow &row : rows) {
        auto *item = new QTreeWidgetItem(
            { row.incomeName, row.incomeAmount, row.expenseName, row.expenseAmount });
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
        items << item;
    }
    ListView1->addTopLevelItems(items);
    listFilled();
}

SummaryStatus StatisticsForm::currentStatus() const
{
    return CategorySummary::status(JvComboBox2->currentText(), IncomeTotal, ExpenseTotal);
}

void StatisticsForm::StatusBar1DrawPanel(QPainter &painter, int panel, const QRect &rect)
{
    const SummaryStatus status = currentStatus();
    // One pixel in from the panel's left edge, centred in the bar's height.
    const QRect textRect(rect.left() + 1, 0, rect.width() - 2, StatusBar1->height());
    painter.setBackgroundMode(Qt::TransparentMode);
    if (panel == 1 && status.showsBalance) {
        painter.setPen(winColor(status.negative ? Palette::Expense : Palette::Income));
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, status.balanceText);
    } else if (panel == 2 && !status.note.isEmpty()) {
        painter.setPen(QColor(128, 128, 128));
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, status.note);
    }
}

void StatisticsForm::BitBtn1Click()
{
    m_program.guarded([this] { StatisticsReport::print(*this, m_program); });
}

std::optional<QString> StatisticsForm::frxReport1GetValue(const QString &name) const
{
    return StatisticsReport::value(*this, m_program.currentLedger(), name);
}

void StatisticsForm::BitBtn2Click()
{
    m_program.guarded([this] {
        const SummaryInput period = periodInput();
        CategoryExportBook::run(m_program.db(), m_program.prompts(),
            { m_program.currentLedger(), period.year, period.month });
    });
}
