#include "statistics/Month_Unit.h"

#include "analysis/CashDetail_Unit.h"
#include "app/Program.h"
#include "calendar/RM_Main_Unit.h"
#include "statistics/StatisticsWidgets.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QTreeWidget>

namespace {
int columnWidthNeeded(const QTreeWidget *list, int column)
{
    QFont bold = list->font();
    bold.setBold(true);
    const QFontMetrics normal(list->font());
    const QFontMetrics total(bold);
    int widest = 0;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *item = list->topLevelItem(i);
        const QFontMetrics &metrics
            = item->text(0) == CategorySummary::TotalCaption ? total : normal;
        widest = std::max(widest, metrics.horizontalAdvance(item->text(column)));
    }
    // Room for the cell's margins on both sides.
    return widest + 12;
}
} // namespace

TMonth_Form::TMonth_Form(Program &program)
    : StatisticsForm(program, QStringLiteral("Month_Form"), 100)
{
    setWindowTitle(QStringLiteral("月統計"));
    setFixedSize(881, 346);

    M_Label = new QLabel(this);
    M_Label->setObjectName(QStringLiteral("M_Label"));
    M_Label->setFont(statisticsFont(QStringLiteral("標楷體"), 20));
    M_Label->setGeometry(47, 11, 40, 24);
    M_Label->setText(m_program.RM_Main_Form->M_Label->text());
    MSpeedButton1 = arrowButton(this, QStringLiteral("MSpeedButton1"), QStringLiteral("上一月份"),
        Qt::LeftArrow, QRect(16, 10, 25, 25));
    MSpeedButton2 = arrowButton(this, QStringLiteral("MSpeedButton2"), QStringLiteral("下一月份"),
        Qt::RightArrow, QRect(88, 10, 25, 25));
    connect(
        MSpeedButton1, &QToolButton::clicked, this, [this] { MSpeedButton1Click(MSpeedButton1); });
    connect(
        MSpeedButton2, &QToolButton::clicked, this, [this] { MSpeedButton1Click(MSpeedButton2); });

    placeCommon(QRect(16, 48, 321, 249), 344, QRect(344, 40, 529, 273));
    listFilled();

    BitBtn4
        = makeButton(QStringLiteral("BitBtn4"), QStringLiteral("明細清單"), QRect(536, 8, 75, 25));
    BitBtn1 = makeButton(QStringLiteral("BitBtn1"), QStringLiteral("列印"), QRect(624, 8, 75, 25));
    BitBtn2 = makeButton(QStringLiteral("BitBtn2"), QStringLiteral("匯出"), QRect(712, 8, 75, 25));
    BitBtn3 = makeButton(QStringLiteral("BitBtn3"), QStringLiteral("離開"), QRect(800, 8, 75, 25));
    QPalette maroon = BitBtn3->palette();
    maroon.setColor(QPalette::ButtonText, QColor(128, 0, 0));
    BitBtn3->setPalette(maroon);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(); });
    watchKeys();
}

void TMonth_Form::showEvent(QShowEvent *event)
{
    M_Label->setText(m_program.RM_Main_Form->M_Label->text());
    StatisticsForm::showEvent(event);
}

int TMonth_Form::monthShown() const
{
    QString text = M_Label->text();
    return text.remove(QStringLiteral("月")).trimmed().toInt();
}

SummaryInput TMonth_Form::periodInput() const
{
    SummaryInput input;
    input.year = m_program.currentYear();
    input.month = monthShown();
    return input;
}

void TMonth_Form::listFilled()
{
    // The columns keep their widths, except that an amount wider than its column (a large
    // total) widens it and takes the room from the name beside it.
    const int widths[] = { 98, 56, 98, 56 };
    QHeaderView *header = ListView1->header();
    for (int i = 0; i < 4; ++i)
        header->resizeSection(i, widths[i]);
    for (const int column : { 1, 3 }) {
        const int needed = columnWidthNeeded(ListView1, column);
        if (needed <= widths[column])
            continue;
        header->resizeSection(column, needed);
        header->resizeSection(
            column - 1, std::max(60, widths[column - 1] - (needed - widths[column])));
    }
}

void TMonth_Form::summaryStarting()
{
    setWindowTitle(QStringLiteral("%1年度-月統計").arg(m_program.currentYear()));
}

QString TMonth_Form::chartPicturePath() const
{
    return m_program.filePath(
        CategorySummary::pictureFileName(QStringLiteral("month"), m_program.currentLedger()));
}

QString TMonth_Form::reportTitle() const
{
    return QStringLiteral("%1月統計報表").arg(monthShown());
}

void TMonth_Form::MSpeedButton1Click(QToolButton *sender)
{
    QSpinBox *year = m_program.RM_Main_Form->Year_Label;
    int m = monthShown() + (sender->toolTip() == QStringLiteral("上一月份") ? -1 : 1);
    int y = year->value();
    if (m < 1) {
        m = 12;
        --y;
    } else if (m > 12) {
        m = 1;
        ++y;
    }
    // The calendar cannot show a year outside its range; stay on the month shown then.
    if (y < year->minimum() || y > year->maximum())
        return;
    const QString shownCaption = M_Label->text();
    const int shownYear = year->value();
    auto showPeriod = [&](const QString &caption, int yearValue) {
        M_Label->setText(caption);
        m_program.RM_Main_Form->M_Label->setText(caption);
        if (yearValue != year->value())
            year->setValue(yearValue);
    };
    showPeriod(QStringLiteral("%1月").arg(m), y);
    if (refresh())
        return;
    // The month that could not be read is not shown as if it were.
    showPeriod(shownCaption, shownYear);
    summaryStarting();
}

void TMonth_Form::BitBtn3Click()
{
    leaveToCalendar(true);
}

void TMonth_Form::BitBtn4Click()
{
    // The detail list shows the calendar's month (which follows this screen), hides this
    // screen and comes back to it.
    m_program.guarded(
        [this] { m_program.CashDetail_Form->openFrom(QStringLiteral("Month_Form")); });
}
