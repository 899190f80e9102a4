#include "statistics/StatisticsWidgets.h"

#include "statistics/CategorySummary.h"
#include "ui/ArrowIcon.h"
#include "ui/Colors.h"
#include "ui/Fonts.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QStackedBarSeries>
#include <QStyleOptionViewItem>
#include <QToolButton>
#include <QValueAxis>
#include <cmath>

QFont statisticsFont(const QString &family, int pixelSize, bool bold)
{
    return namedFont(family, pixelSize, bold);
}

QToolButton *arrowButton(QWidget *parent, const QString &name, const QString &hint,
    Qt::ArrowType arrow, const QRect &geometry)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(arrowIcon(arrow));
    button->setIconSize(QSize(16, 16));
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setGeometry(geometry);
    return button;
}

// ---------------------------------------------------------------------------------------

StatusPanels::StatusPanels(const QList<int> &widths, QWidget *parent)
    : QWidget(parent)
    , m_widths(widths)
{
    for (int i = 0; i < widths.size(); ++i) {
        m_texts << QString();
        m_alignments << (Qt::AlignLeft | Qt::AlignVCenter);
    }
}

void StatusPanels::setPanelText(int panel, const QString &text)
{
    if (panel < 0 || panel >= m_texts.size() || m_texts[panel] == text)
        return;
    m_texts[panel] = text;
    update();
}

void StatusPanels::setPanelAlignment(int panel, Qt::Alignment alignment)
{
    if (panel >= 0 && panel < m_alignments.size())
        m_alignments[panel] = alignment;
}

void StatusPanels::setOwnerDrawn(const QList<int> &panels, DrawPanel draw)
{
    m_ownerDrawn = panels;
    m_draw = std::move(draw);
    update();
}

QRect StatusPanels::panelRect(int panel) const
{
    int left = 0;
    for (int i = 0; i < panel && i < m_widths.size(); ++i)
        left += m_widths[i];
    int width = panel < m_widths.size() ? m_widths[panel] : 0;
    // The last panel runs to the right edge, as status bars do.
    if (panel == m_widths.size() - 1)
        width = std::max(width, this->width() - left);
    return QRect(left, 0, width, height());
}

void StatusPanels::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setFont(font());
    const QColor shadow = palette().mid().color();
    const QColor light = palette().light().color();
    for (int i = 0; i < m_widths.size(); ++i) {
        const QRect r = panelRect(i).adjusted(0, 1, -2, -1);
        painter.setPen(shadow);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(light);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
        if (m_ownerDrawn.contains(i) && m_draw) {
            painter.save();
            painter.setClipRect(r.adjusted(1, 0, 0, 0));
            m_draw(painter, i, r);
            painter.restore();
        } else if (!m_texts[i].isEmpty()) {
            painter.setPen(palette().windowText().color());
            painter.drawText(
                QRect(r.left() + 2, 0, r.width() - 4, height()), int(m_alignments[i]), m_texts[i]);
        }
    }
}

// ---------------------------------------------------------------------------------------

void TotalRowDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const bool total = index.siblingAtColumn(0).data().toString() == CategorySummary::TotalCaption;
    option->font.setBold(total);
    if (!total)
        return;
    QColor colour;
    if (index.column() == 1)
        colour = winColor(Palette::Income);
    else if (index.column() == 3)
        colour = winColor(Palette::Expense);
    if (colour.isValid()) {
        option->palette.setColor(QPalette::Text, colour);
        option->palette.setColor(QPalette::HighlightedText, colour);
    }
}

QSize TotalRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // What the size depends on in these lists: the text, the view's font, bold in the total
    // row, and the column's alignment.
    const bool total = index.siblingAtColumn(0).data().toString() == CategorySummary::TotalCaption;
    const QString key = QStringLiteral("%1\x1F%2\x1F%3\x1F%4\x1F%5")
                            .arg(option.font.family())
                            .arg(option.font.pixelSize())
                            .arg(int(total))
                            .arg(index.data(Qt::TextAlignmentRole).toInt())
                            .arg(index.data().toString());
    const auto found = m_sizes.constFind(key);
    if (found != m_sizes.constEnd())
        return *found;
    if (m_sizes.size() > 20000)
        m_sizes.clear();
    const QSize size = QStyledItemDelegate::sizeHint(option, index);
    m_sizes.insert(key, size);
    return size;
}

// ---------------------------------------------------------------------------------------

namespace {
// Labels must be unique on a category axis; invisible spaces keep equal names apart.
QString uniqueLabel(const QString &label, QSet<QString> &taken)
{
    QString candidate = label;
    while (taken.contains(candidate))
        candidate += QChar(0x200B);
    taken.insert(candidate);
    return candidate;
}

QString wrapLabel(const QString &text, const QFontMetrics &metrics, int width)
{
    QString wrapped;
    QString line;
    for (const QChar c : text) {
        if (!line.isEmpty() && metrics.horizontalAdvance(line + c) > width) {
            wrapped += line.toHtmlEscaped() + QStringLiteral("<br>");
            line.clear();
        }
        line += c;
    }
    return wrapped + line.toHtmlEscaped();
}

qint64 niceStep(qint64 maximum, int minimumStep)
{
    const double rough = std::max<double>(double(maximum) / 5.0, 1.0);
    const double magnitude = std::pow(10.0, std::floor(std::log10(rough)));
    double step = magnitude;
    for (const double factor : { 1.0, 2.0, 5.0, 10.0 }) {
        step = factor * magnitude;
        if (step >= rough)
            break;
    }
    return std::max<qint64>(qint64(step), std::max(minimumStep, 1));
}
} // namespace

StatisticsChart::StatisticsChart(int labelStep, QWidget *parent)
    : QChartView(parent)
    , m_labelStep(labelStep)
{
    QChart *c = chart();
    c->legend()->hide();
    c->setTitle(QString());
    c->setBackgroundBrush(Qt::white);
    c->setBackgroundRoundness(0);
    c->setAnimationOptions(QChart::NoAnimation);
    c->layout()->setContentsMargins(0, 0, 0, 0);
    c->setMargins(QMargins(6, 6, 10, 4));
    setRenderHint(QPainter::Antialiasing);
    setBackgroundBrush(Qt::white);

    Series1 = new QStackedBarSeries(c);
    Series1->setObjectName(QStringLiteral("Series1"));
    Series1->setBarWidth(0.7);
    c->addSeries(Series1);
    m_axisX = new QBarCategoryAxis(c);
    m_axisX->setTruncateLabels(false);
    m_axisX->setLabelsFont(statisticsFont(QStringLiteral("新細明體"), 12));
    m_axisX->setGridLineVisible(false);
    m_axisY = new QValueAxis(c);
    // Amounts read with thousands separators here too.
    m_axisY->setLabelFormat(QStringLiteral("%'.0f"));
    m_axisY->setLabelsFont(statisticsFont(QStringLiteral("新細明體"), 11));
    m_axisY->setRange(0, 100);
    c->addAxis(m_axisX, Qt::AlignBottom);
    c->addAxis(m_axisY, Qt::AlignLeft);
    Series1->attachAxis(m_axisX);
    Series1->attachAxis(m_axisY);
}

QColor StatisticsChart::barColor(int index)
{
    static const QList<QColor> colours { QColor(220, 50, 47), QColor(38, 139, 210),
        QColor(133, 153, 0), QColor(255, 193, 7), QColor(108, 113, 196), QColor(42, 161, 152),
        QColor(203, 75, 22), QColor(211, 54, 130), QColor(88, 110, 117), QColor(0, 128, 0),
        QColor(128, 0, 128), QColor(0, 0, 160), QColor(181, 137, 0), QColor(0, 160, 200),
        QColor(160, 82, 45), QColor(112, 128, 144) };
    static_assert(PaletteSize == 16);
    return colours.at(index % colours.size());
}

void StatisticsChart::clearPoints()
{
    setPoints({});
}

void StatisticsChart::setPoints(const QList<ChartPoint> &points)
{
    // Every activation recomputes the chart, mostly to the same bars: what is already drawn
    // stays, since laying out hundreds of category labels again costs far more than the rest.
    if (points == m_points && !Series1->barSets().isEmpty())
        return;
    if (!replaceValues(points))
        rebuildBars(points);
    m_points = points;
    qint64 maximum = 0;
    for (const ChartPoint &point : points)
        maximum = std::max(maximum, point.value);
    const qint64 step = niceStep(maximum, m_labelStep);
    const qint64 top = std::max<qint64>(step, (maximum + step - 1) / step * step);
    m_axisY->setTickType(QValueAxis::TicksDynamic);
    m_axisY->setTickAnchor(0);
    m_axisY->setTickInterval(double(step));
    m_axisY->setRange(0, double(top));
    relabel();
}

bool StatisticsChart::replaceValues(const QList<ChartPoint> &points)
{
    const QList<QBarSet *> sets = Series1->barSets();
    if (points.size() != m_points.size() || sets.isEmpty())
        return false;
    QList<int> changed;
    for (int i = 0; i < points.size(); ++i) {
        if (points[i].value != m_points[i].value)
            changed << i;
    }
    // Each replaced value lays the bars out again; beyond a few, building anew is cheaper.
    if (changed.size() > PaletteSize)
        return false;
    for (const int i : changed)
        sets[i % PaletteSize]->replace(i, double(points[i].value));
    return true;
}

void StatisticsChart::rebuildBars(const QList<ChartPoint> &points)
{
    Series1->clear();
    const int n = int(points.size());
    // A bar set has one colour, and every set holds a bar item for every column. One set per
    // palette colour, holding values only in that colour's columns, keeps each bar in its own
    // colour at full width with at most PaletteSize × n items (a set per bar would give n × n).
    const int sets = std::min(n, PaletteSize);
    QList<QList<qreal>> values(sets, QList<qreal>(n, 0.0));
    for (int i = 0; i < n; ++i)
        values[i % PaletteSize][i] = double(points[i].value);
    QList<QBarSet *> barSets;
    for (int c = 0; c < sets; ++c) {
        auto *set = new QBarSet(QString());
        set->append(values[c]);
        set->setColor(barColor(c));
        set->setPen(Qt::NoPen);
        barSets << set;
    }
    Series1->append(barSets);
}

void StatisticsChart::relabel()
{
    const int n = int(m_points.size());
    if (n == 0) {
        // An axis without categories keeps drawing its old labels; one blank one clears them.
        setCategories({ QStringLiteral(" ") });
        return;
    }
    const QFontMetrics metrics(m_axisX->labelsFont());
    const int plotWidth = std::max(40, width() - 70);
    const int slot = std::max(metrics.horizontalAdvance(QChar(0x4E00)), plotWidth / n - 4);
    QStringList labels;
    QSet<QString> taken;
    for (int i = 0; i < n; ++i) {
        // Each label keeps within its bar's width (the axis drops labels that overlap) and
        // neighbours alternate in height so that they read apart.
        QString label = wrapLabel(m_points[i].label, metrics, slot - 4);
        if (i % 2 == 1)
            label = QStringLiteral("<br>") + label;
        labels << uniqueLabel(label, taken);
    }
    setCategories(labels);
}

void StatisticsChart::setCategories(const QStringList &labels)
{
    // The axis measures every label anew on each change, even to the same labels.
    if (m_axisX->categories() != labels)
        m_axisX->setCategories(labels);
}

void StatisticsChart::resizeEvent(QResizeEvent *event)
{
    QChartView::resizeEvent(event);
    relabel();
}

bool StatisticsChart::savePicture(const QString &path)
{
    // The chart lays itself out lazily; bring it up to date before rendering it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        render(&painter);
    }
    return image.save(path, "BMP");
}
