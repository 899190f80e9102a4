#include "statistics/CategorySummary.h"
#include "statistics/StatisticsWidgets.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCoreApplication>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QImage>
#include <QStackedBarSeries>
#include <QValueAxis>
#include <gtest/gtest.h>

namespace {
// n bars with different amounts; two of them share a name, as an income line and an extra
// line can.
QList<ChartPoint> points(int n)
{
    QList<ChartPoint> result;
    for (int i = 0; i < n; ++i)
        result << ChartPoint { 1000 + (i * 7919) % 50000, QStringLiteral("客戶%1").arg(i + 1) };
    if (n >= 3)
        result[2].label = result[1].label;
    return result;
}

// Bar rectangles the chart has laid out in its scene.
int sceneBars(StatisticsChart &chart)
{
    int bars = 0;
    for (const QGraphicsItem *item : chart.scene()->items())
        bars += item->type() == QGraphicsRectItem::Type;
    return bars;
}

qsizetype barValues(const StatisticsChart &chart)
{
    qsizetype values = 0;
    for (QBarSet *set : chart.Series1->barSets())
        values += set->count();
    return values;
}
} // namespace

// Each bar stands alone in its column with its value, in its own colour, under its label, on a
// value axis from 0.
void expectBars(StatisticsChart &chart, const QList<ChartPoint> &given)
{
    const int n = int(given.size());
    const auto *axis
        = qobject_cast<QBarCategoryAxis *>(chart.chart()->axes(Qt::Horizontal).value(0));
    ASSERT_NE(axis, nullptr);
    ASSERT_EQ(axis->count(), n); // equal names stay two bars
    for (int j = 0; j < n; ++j) {
        int standing = 0;
        for (QBarSet *set : chart.Series1->barSets()) {
            ASSERT_EQ(set->count(), n);
            if (set->at(j) == 0.0)
                continue;
            ++standing;
            EXPECT_EQ(set->at(j), double(given[j].value)) << j;
            EXPECT_EQ(set->color(), StatisticsChart::barColor(j)) << j;
        }
        EXPECT_EQ(standing, 1) << j;
        // The label may wrap and carry invisible marks that keep equal names apart.
        EXPECT_EQ(QString(axis->at(j)).remove(QStringLiteral("<br>")).remove(QChar(0x200B)),
            given[j].label)
            << j;
    }
    const auto *values = qobject_cast<QValueAxis *>(chart.chart()->axes(Qt::Vertical).value(0));
    ASSERT_NE(values, nullptr);
    EXPECT_EQ(values->min(), 0.0);
    qint64 maximum = 0;
    for (const ChartPoint &p : given)
        maximum = std::max(maximum, p.value);
    EXPECT_GE(values->max(), double(maximum));
}

TEST(StatisticsChart, EachBarKeepsItsValueColourAndLabel)
{
    StatisticsChart chart(0, nullptr);
    chart.resize(587, 273);
    for (const int n : { 1, 3, 16, 17, 40 }) {
        SCOPED_TRACE(n);
        chart.setPoints(points(n));
        expectBars(chart, points(n));
    }
    // A refresh after a few entries changed, after most of them changed, with other names,
    // and with nothing.
    QList<ChartPoint> changed = points(40);
    changed[0].value = 90000;
    changed[39].value = 5;
    QList<ChartPoint> most = changed;
    for (ChartPoint &p : most)
        p.value += 1;
    QList<ChartPoint> renamed = most;
    renamed[5].label = QStringLiteral("新客戶");
    for (const QList<ChartPoint> &next : { changed, most, renamed, points(2) }) {
        SCOPED_TRACE(next.size());
        chart.setPoints(next);
        expectBars(chart, next);
    }
    chart.clearPoints();
    EXPECT_EQ(chart.pointCount(), 0);
    EXPECT_TRUE(chart.Series1->barSets().isEmpty());
}

TEST(StatisticsChart, BarItemsGrowLinearlyWithTheBars)
{
    // A shop that types its customers' names can have hundreds of bars in a year.
    StatisticsChart chart(0, nullptr);
    chart.resize(587, 273);
    chart.show();
    int bars100 = 0;
    for (const int n : { 100, 400 }) {
        chart.setPoints(points(n));
        QCoreApplication::processEvents();
        EXPECT_LE(barValues(chart), qsizetype(StatisticsChart::PaletteSize) * n) << n;
        // What the scene holds grows by the same factor as the bars (a set per bar made it 16).
        const int bars = sceneBars(chart);
        if (n == 100)
            bars100 = bars;
        else
            EXPECT_LE(bars, 4 * bars100 + 100);
    }
}
