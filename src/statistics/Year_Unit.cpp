#include "statistics/Year_Unit.h"

#include "analysis/CashDetail_Unit.h"
#include "analysis/Year_Month_Unit.h"
#include "app/Program.h"
#include "calendar/RM_Main_Unit.h"
#include "statistics/StatisticsWidgets.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QTreeWidget>

TYear_Form::TYear_Form(Program &program)
    : StatisticsForm(program, QStringLiteral("Year_Form"), 0)
{
    setWindowTitle(QStringLiteral("年統計"));
    setFixedSize(927, 345);

    Y_Label = new QLabel(this);
    Y_Label->setObjectName(QStringLiteral("Y_Label"));
    Y_Label->setFont(statisticsFont(QStringLiteral("標楷體"), 20));
    Y_Label->setGeometry(47, 11, 46, 24);
    Y_Label->setText(QString::number(m_program.currentYear()));
    YSpeedButton1 = arrowButton(this, QStringLiteral("YSpeedButton1"), QStringLiteral("上一年度"),
        Qt::LeftArrow, QRect(16, 10, 25, 25));
    YSpeedButton2 = arrowButton(this, QStringLiteral("YSpeedButton2"), QStringLiteral("下一年度"),
        Qt::RightArrow, QRect(94, 10, 25, 25));
    connect(
        YSpeedButton1, &QToolButton::clicked, this, [this] { YSpeedButton1Click(YSpeedButton1); });
    connect(
        YSpeedButton2, &QToolButton::clicked, this, [this] { YSpeedButton1Click(YSpeedButton2); });

    placeCommon(QRect(16, 48, 300, 249), 328, QRect(331, 39, 587, 273));
    ListView1->header()->setSectionResizeMode(QHeaderView::ResizeToContents);

    BitBtn5
        = makeButton(QStringLiteral("BitBtn5"), QStringLiteral("明細清單"), QRect(491, 8, 75, 25));
    BitBtn3
        = makeButton(QStringLiteral("BitBtn3"), QStringLiteral("年度分析"), QRect(579, 8, 75, 25));
    BitBtn3->setEnabled(false);
    BitBtn1 = makeButton(QStringLiteral("BitBtn1"), QStringLiteral("列印"), QRect(667, 8, 75, 25));
    BitBtn2 = makeButton(QStringLiteral("BitBtn2"), QStringLiteral("匯出"), QRect(755, 8, 75, 25));
    BitBtn4 = makeButton(QStringLiteral("BitBtn4"), QStringLiteral("離開"), QRect(843, 8, 75, 25));
    QPalette maroon = BitBtn4->palette();
    maroon.setColor(QPalette::ButtonText, QColor(128, 0, 0));
    BitBtn4->setPalette(maroon);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn3Click(); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { BitBtn4Click(); });
    connect(BitBtn5, &QPushButton::clicked, this, [this] { BitBtn5Click(); });
    watchKeys();
}

void TYear_Form::showEvent(QShowEvent *event)
{
    Y_Label->setText(QString::number(m_program.currentYear()));
    StatisticsForm::showEvent(event);
}

int TYear_Form::yearShown() const
{
    return Y_Label->text().trimmed().toInt();
}

SummaryInput TYear_Form::periodInput() const
{
    SummaryInput input;
    input.year = m_program.currentYear();
    return input;
}

void TYear_Form::summaryFound(bool hasEntries)
{
    BitBtn3->setEnabled(hasEntries);
}

QString TYear_Form::chartPicturePath() const
{
    return m_program.filePath(
        CategorySummary::pictureFileName(QStringLiteral("year"), Y_Label->text()));
}

QString TYear_Form::reportTitle() const
{
    return Y_Label->text() + QStringLiteral("年統計報表");
}

void TYear_Form::YSpeedButton1Click(QToolButton *sender)
{
    QSpinBox *year = m_program.RM_Main_Form->Year_Label;
    const int y = yearShown() + (sender->toolTip() == QStringLiteral("上一年度") ? -1 : 1);
    // The calendar cannot show a year outside its range; stay on the year shown then.
    if (y < year->minimum() || y > year->maximum())
        return;
    const int shown = yearShown();
    Y_Label->setText(QString::number(y));
    year->setValue(y);
    if (refresh())
        return;
    // The year that could not be read is not shown as if it were.
    Y_Label->setText(QString::number(shown));
    year->setValue(shown);
}

void TYear_Form::BitBtn3Click()
{
    m_program.guarded([this] {
        const int year = yearShown();
        hide();
        m_program.Year_Month_Form->openFromCalendar(year);
    });
}

void TYear_Form::BitBtn4Click()
{
    leaveToCalendar(true);
}

void TYear_Form::BitBtn5Click()
{
    // The detail list shows the calendar's year (which follows this screen), hides this
    // screen and comes back to it.
    m_program.guarded([this] { m_program.CashDetail_Form->openFrom(QStringLiteral("Year_Form")); });
}
