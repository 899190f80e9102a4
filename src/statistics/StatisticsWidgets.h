#pragma once

#include <QChartView>
#include <QFont>
#include <QHash>
#include <QList>
#include <QStyledItemDelegate>
#include <QWidget>
#include <functional>

struct ChartPoint;
class QBarCategoryAxis;
class QStackedBarSeries;
class QToolButton;
class QValueAxis;

// The named family first, then the CJK fallback that is installed everywhere.
QFont statisticsFont(const QString &family, int pixelSize, bool bold = false);

// A flat arrow button that steps the period shown; its hint is also its accessible name.
QToolButton *arrowButton(QWidget *parent, const QString &name, const QString &hint,
    Qt::ArrowType arrow, const QRect &geometry);

// A status bar of fixed-width panels; panels may be drawn by their owner.
class StatusPanels : public QWidget
{
    Q_OBJECT
public:
    using DrawPanel = std::function<void(QPainter &painter, int panel, const QRect &rect)>;

    StatusPanels(const QList<int> &widths, QWidget *parent);
    void setPanelText(int panel, const QString &text);
    QString panelText(int panel) const { return m_texts.value(panel); }
    void setPanelAlignment(int panel, Qt::Alignment alignment);
    // Panels given here are drawn by the callback instead of showing their text.
    void setOwnerDrawn(const QList<int> &panels, DrawPanel draw);
    QRect panelRect(int panel) const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QList<int> m_widths;
    QStringList m_texts;
    QList<Qt::Alignment> m_alignments;
    QList<int> m_ownerDrawn;
    DrawPanel m_draw;
};

// Draws the total row of the statistics list in its own style: bold, the income total in
// blue and the expense total in red.
class TotalRowDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Columns sized to their contents ask for every row's size on each refresh; the same
    // texts give the same sizes, so they are measured once.
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    mutable QHash<QString, QSize> m_sizes;
};

// The bar chart of the statistics screens: one bar per point, each in its own colour, no
// legend, labels that wrap and alternate in height, the value axis starting at 0.
class StatisticsChart : public QChartView
{
    Q_OBJECT
public:
    // labelStep: the smallest step between value labels (0 for automatic).
    StatisticsChart(int labelStep, QWidget *parent);
    void setPoints(const QList<ChartPoint> &points);
    void clearPoints();
    int pointCount() const { return m_points.size(); }
    QList<ChartPoint> points() const { return m_points; }
    QStackedBarSeries *Series1 = nullptr;
    // Renders the chart as laid out now, on white, to a bitmap file. False when it cannot
    // be written.
    bool savePicture(const QString &path);
    // The palette the bars cycle through, one colour per bar.
    static constexpr int PaletteSize = 16;
    static QColor barColor(int index);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // Changes the few values that differ in place; false when the bars must be built anew.
    bool replaceValues(const QList<ChartPoint> &points);
    void rebuildBars(const QList<ChartPoint> &points);
    void relabel();
    void setCategories(const QStringList &labels);

    int m_labelStep;
    QList<ChartPoint> m_points;
    QBarCategoryAxis *m_axisX = nullptr;
    QValueAxis *m_axisY = nullptr;
};
