#include "report/Report.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextLayout>
#include <algorithm>
#include <stdexcept>

namespace {

constexpr double TextPadX = 0.5; // mm between a frame and its text
constexpr double TextPadY = 0.3;

struct PlacedLine
{
    QString text;
    QFont font;
    QColor color;
    QRectF rect; // mm
    Qt::Alignment alignment;
};

struct PlacedPicture
{
    QImage image;
    QRectF rect; // where the image is drawn, mm
};

struct PlacedBox
{
    QRectF rect;
    int frame = 0;
    double width = 0.3;
    QColor color;
};

// One printed instance of a band, positioned relative to its own top.
struct LaidBand
{
    double height = 0;
    QList<PlacedLine> lines;
    QList<PlacedPicture> pictures;
    QList<PlacedBox> boxes;

    void shift(double dy)
    {
        for (auto &l : lines)
            l.rect.translate(0, dy);
        for (auto &p : pictures)
            p.rect.translate(0, dy);
        for (auto &b : boxes)
            b.rect.translate(0, dy);
    }
};

struct Page
{
    QList<LaidBand> bands; // already shifted to page coordinates (mm from the paper's corner)
};

QString normalisedText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // A list's text ends with a line break after its last line; it adds no empty line.
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

// Lays out reports for one device: millimetres in, device pixels only for measuring.
class Layouter
{
public:
    Layouter(const Report &report, QPaintDevice &device, double bandWidth, double contentHeight)
        : m_report(report)
        , m_device(device)
        , m_scale(device.logicalDpiX() / 25.4)
        , m_bandWidth(bandWidth)
        , m_contentHeight(contentHeight)
    { }

    double scale() const { return m_scale; }

    LaidBand lay(const ReportBand &band, int record, int page, int pageCount) const
    {
        LaidBand out;
        double height = band.height;
        QList<std::pair<qsizetype, double>> stretched; // box index, gap below
        for (const ReportItem &item : band.items) {
            const double below = std::max(0.0, band.height - item.rect.bottom());
            const qsizetype boxes = out.boxes.size();
            const double bottom = item.kind == ReportItem::Kind::Text
                ? layText(item, record, page, pageCount, out)
                : layPicture(item, out);
            height = std::max(height, bottom + below);
            if (item.stretchToBand && out.boxes.size() > boxes)
                stretched.append({ boxes, below });
        }
        for (const auto &[index, below] : stretched)
            out.boxes[index].rect.setBottom(
                std::max(out.boxes[index].rect.bottom(), height - below));
        out.height = height;
        return out;
    }

private:
    double layText(const ReportItem &item, int record, int page, int pageCount, LaidBand &out) const
    {
        const QString text = normalisedText(m_report.expand(item.text, record, page, pageCount));
        const QFontMetricsF metrics(item.font, &m_device);
        const double lineHeight = metrics.lineSpacing() / m_scale;
        const QStringList paragraphs = text.split(QLatin1Char('\n'));

        double width = item.rect.width();
        if (item.growWidth) {
            double widest = 0;
            for (const QString &p : paragraphs)
                widest = std::max(widest, metrics.horizontalAdvance(p) / m_scale);
            width = std::min(
                std::max(width, widest + 2 * TextPadX + 0.5), m_bandWidth - item.rect.left());
        }
        const double textWidth = std::max(1.0, width - 2 * TextPadX);

        QStringList lines;
        for (const QString &paragraph : paragraphs) {
            if (paragraph.isEmpty() || !item.wordWrap) {
                lines << paragraph;
                continue;
            }
            QTextLayout layout(paragraph, item.font, &m_device);
            layout.beginLayout();
            for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
                line.setLineWidth(textWidth * m_scale);
                lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
            }
            layout.endLayout();
        }

        const double textHeight = lines.size() * lineHeight;
        double height = item.rect.height();
        double top = TextPadY;
        if (item.growHeight && textHeight + 2 * TextPadY > height) {
            height = textHeight + 2 * TextPadY;
        } else if (item.alignment & Qt::AlignVCenter) {
            top = (height - textHeight) / 2;
        } else if (item.alignment & Qt::AlignBottom) {
            top = height - textHeight - TextPadY;
        }

        const Qt::Alignment horizontal = item.alignment & Qt::AlignHorizontal_Mask;
        for (int i = 0; i < lines.size(); ++i) {
            out.lines.append({ lines[i], item.font, item.color,
                QRectF(item.rect.left() + TextPadX, item.rect.top() + top + i * lineHeight,
                    textWidth, lineHeight),
                horizontal ? horizontal : Qt::AlignLeft });
        }
        if (item.frame != ReportItem::NoFrame)
            out.boxes.append({ QRectF(item.rect.left(), item.rect.top(), width, height), item.frame,
                item.frameWidth, item.frameColor });
        return item.rect.top() + height;
    }

    double layPicture(const ReportItem &item, LaidBand &out) const
    {
        QRectF rect = item.rect;
        if (item.autoSize && !item.picture.isNull()) {
            QSizeF size(item.picture.width() * 25.4 / 96.0, item.picture.height() * 25.4 / 96.0);
            const double limit = m_bandWidth - (item.centreHorizontally ? 0 : rect.left());
            if (size.width() > limit)
                size *= limit / size.width();
            if (size.height() > m_contentHeight - rect.top())
                size *= (m_contentHeight - rect.top()) / size.height();
            rect.setSize(size);
        }
        if (item.centreHorizontally)
            rect.moveLeft((m_bandWidth - rect.width()) / 2);

        if (!item.picture.isNull()) {
            QRectF target = rect;
            if (item.stretch) {
                QSizeF fitted
                    = QSizeF(item.picture.size()).scaled(rect.size(), Qt::KeepAspectRatio);
                target = QRectF(QPointF(rect.center().x() - fitted.width() / 2,
                                    rect.center().y() - fitted.height() / 2),
                    fitted);
            } else {
                target.setSize(QSizeF(
                    item.picture.width() * 25.4 / 96.0, item.picture.height() * 25.4 / 96.0));
            }
            out.pictures.append({ item.picture, target });
        }
        if (item.frame != ReportItem::NoFrame)
            out.boxes.append({ rect, item.frame, item.frameWidth, item.frameColor });
        return rect.bottom();
    }

    const Report &m_report;
    QPaintDevice &m_device;
    double m_scale;
    double m_bandWidth;
    double m_contentHeight;
};

// Splits a band that does not fit at splitAt (mm from its top): what lies above stays,
// the rest moves to the next page. Text lines and pictures are never cut; frames are.
std::pair<LaidBand, LaidBand> splitBand(const LaidBand &band, double splitAt)
{
    for (const auto &l : band.lines)
        if (l.rect.top() < splitAt && l.rect.bottom() > splitAt + 1e-6)
            splitAt = std::min(splitAt, l.rect.top());
    for (const auto &p : band.pictures)
        if (p.rect.top() < splitAt && p.rect.bottom() > splitAt + 1e-6)
            splitAt = std::min(splitAt, p.rect.top());

    LaidBand first, rest;
    first.height = splitAt;
    rest.height = band.height - splitAt;
    for (const auto &l : band.lines)
        (l.rect.top() < splitAt ? first : rest).lines.append(l);
    for (const auto &p : band.pictures)
        (p.rect.top() < splitAt ? first : rest).pictures.append(p);
    for (const auto &b : band.boxes) {
        if (b.rect.bottom() <= splitAt) {
            first.boxes.append(b);
        } else if (b.rect.top() >= splitAt) {
            rest.boxes.append(b);
        } else {
            PlacedBox upper = b, lower = b;
            upper.rect.setBottom(splitAt);
            upper.frame &= ~ReportItem::BottomLine;
            lower.rect.setTop(splitAt);
            lower.frame &= ~ReportItem::TopLine;
            first.boxes.append(upper);
            rest.boxes.append(lower);
        }
    }
    rest.shift(-splitAt);
    return { first, rest };
}

class Paginator
{
public:
    Paginator(const Report &report, QPaintDevice &device, QList<ReportBand> bands, double left,
        double top, double bottomLimit, double bandWidth)
        : m_bands(std::move(bands))
        , m_left(left)
        , m_top(top)
        , m_bottomLimit(bottomLimit)
        , m_layouter(report, device, bandWidth, bottomLimit - top)
    { }

    QList<Page> run(int pageCount)
    {
        m_pageCount = pageCount;
        m_pages.clear();
        double footerHeight = 0;
        for (const auto &b : m_bands)
            if (b.kind == ReportBand::Kind::PageFooter)
                footerHeight += m_layouter.lay(b, -1, 1, pageCount).height;
        m_contentBottom = m_bottomLimit - footerHeight;

        newPage();
        for (const auto &b : m_bands) {
            if (b.kind != ReportBand::Kind::MasterData)
                continue;
            const int records = b.recordCount.value_or(1);
            for (int r = 0; r < records; ++r) {
                if (r == 0 && b.startNewPage && m_y > m_contentTop + 1e-6)
                    newPage();
                place(m_layouter.lay(b, b.recordCount ? r : -1, pageNumber(), pageCount));
            }
        }
        for (const auto &b : m_bands)
            if (b.kind == ReportBand::Kind::Summary)
                place(m_layouter.lay(b, -1, pageNumber(), pageCount));
        finishPage();
        return m_pages;
    }

    double scale() const { return m_layouter.scale(); }

private:
    int pageNumber() const { return int(m_pages.size()); }

    void put(LaidBand band)
    {
        band.shift(m_y);
        for (auto &l : band.lines)
            l.rect.translate(m_left, 0);
        for (auto &p : band.pictures)
            p.rect.translate(m_left, 0);
        for (auto &b : band.boxes)
            b.rect.translate(m_left, 0);
        m_pages.last().bands.append(band);
        m_y += band.height;
    }

    void newPage()
    {
        if (!m_pages.isEmpty())
            finishPage();
        m_pages.append(Page {});
        m_y = m_top;
        if (m_pages.size() == 1)
            for (const auto &b : m_bands)
                if (b.kind == ReportBand::Kind::ReportTitle)
                    put(m_layouter.lay(b, -1, pageNumber(), m_pageCount));
        for (const auto &b : m_bands)
            if (b.kind == ReportBand::Kind::PageHeader)
                put(m_layouter.lay(b, -1, pageNumber(), m_pageCount));
        m_contentTop = m_y;
    }

    void finishPage()
    {
        double y = m_contentBottom;
        for (const auto &b : m_bands) {
            if (b.kind != ReportBand::Kind::PageFooter)
                continue;
            m_y = y;
            LaidBand laid = m_layouter.lay(b, -1, pageNumber(), m_pageCount);
            put(laid);
            y += laid.height;
        }
    }

    void place(LaidBand band)
    {
        while (true) {
            const double available = m_contentBottom - m_y;
            if (band.height <= available + 1e-6) {
                put(band);
                return;
            }
            if (m_y > m_contentTop + 1e-6) {
                newPage();
                continue;
            }
            auto [first, rest] = splitBand(band, available);
            if (first.height <= 1e-6) { // nothing fits even on an empty page: print it anyway
                put(band);
                newPage();
                return;
            }
            put(first);
            newPage();
            band = rest;
        }
    }

    QList<ReportBand> m_bands;
    double m_left, m_top, m_bottomLimit;
    double m_contentTop = 0, m_contentBottom = 0, m_y = 0;
    int m_pageCount = 0;
    Layouter m_layouter;
    QList<Page> m_pages;
};

void drawPage(QPainter &painter, const Page &page, double scale)
{
    auto px = [scale](const QRectF &mm) {
        return QRectF(mm.left() * scale, mm.top() * scale, mm.width() * scale, mm.height() * scale);
    };
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const LaidBand &band : page.bands) {
        for (const auto &p : band.pictures)
            painter.drawImage(px(p.rect), p.image);
        for (const auto &l : band.lines) {
            painter.setFont(l.font);
            painter.setPen(l.color);
            painter.drawText(
                px(l.rect), int(l.alignment | Qt::AlignVCenter | Qt::TextSingleLine), l.text);
        }
        for (const auto &b : band.boxes) {
            QPen pen(b.color);
            pen.setWidthF(b.width * scale);
            painter.setPen(pen);
            const QRectF r = px(b.rect);
            if (b.frame & ReportItem::LeftLine)
                painter.drawLine(r.topLeft(), r.bottomLeft());
            if (b.frame & ReportItem::TopLine)
                painter.drawLine(r.topLeft(), r.topRight());
            if (b.frame & ReportItem::RightLine)
                painter.drawLine(r.topRight(), r.bottomRight());
            if (b.frame & ReportItem::BottomLine)
                painter.drawLine(r.bottomLeft(), r.bottomRight());
        }
    }
}

} // namespace

ReportItem &ReportBand::addText(
    const QRectF &rectMm, const QString &text, const QFont &font, Qt::Alignment alignment)
{
    ReportItem item;
    item.kind = ReportItem::Kind::Text;
    item.rect = rectMm;
    item.text = text;
    item.font = font;
    item.alignment = alignment;
    items.append(item);
    return items.last();
}

ReportItem &ReportBand::addPicture(const QRectF &rectMm, const QImage &picture)
{
    ReportItem item;
    item.kind = ReportItem::Kind::Picture;
    item.rect = rectMm;
    item.picture = picture;
    items.append(item);
    return items.last();
}

ReportItem *ReportBand::item(const QString &itemName)
{
    for (auto &i : items)
        if (i.name == itemName)
            return &i;
    return nullptr;
}

Report::Report() = default;

void Report::setMarginsMm(double left, double top, double right, double bottom)
{
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
}

double Report::bandWidthMm() const
{
    return m_pageSize.width() - m_left - m_right;
}

ReportBand &Report::addBand(ReportBand::Kind kind, double heightMm, const QString &name)
{
    ReportBand band;
    band.kind = kind;
    band.height = heightMm;
    band.name = name;
    m_bands.append(band);
    return m_bands.last();
}

ReportBand *Report::band(const QString &name)
{
    for (auto &b : m_bands)
        if (b.name == name)
            return &b;
    return nullptr;
}

ReportItem *Report::item(const QString &name)
{
    for (auto &b : m_bands)
        if (ReportItem *i = b.item(name))
            return i;
    return nullptr;
}

void Report::setVariable(const QString &name, const QString &value)
{
    m_fixed.insert(name.toLower(), value);
}

QString Report::expand(const QString &text, int record, int page, int pageCount) const
{
    static const QRegularExpression variable(QStringLiteral("\\[([^\\[\\]]+)\\]"));
    QString out;
    qsizetype last = 0;
    auto it = variable.globalMatch(text);
    while (it.hasNext()) {
        const auto match = it.next();
        out += text.mid(last, match.capturedStart() - last);
        const QString name = match.captured(1);
        if (name.compare(QLatin1String("Page#"), Qt::CaseInsensitive) == 0) {
            out += QString::number(page);
        } else if (name.compare(QLatin1String("TotalPages#"), Qt::CaseInsensitive) == 0) {
            out += QString::number(pageCount);
        } else if (auto fixed = m_fixed.constFind(name.toLower()); fixed != m_fixed.cend()) {
            out += *fixed;
        } else if (m_values) {
            out += m_values(name, record).value_or(QString());
        }
        last = match.capturedEnd();
    }
    out += text.mid(last);
    return out;
}

int Report::render(QPagedPaintDevice &device) const
{
    device.setPageLayout(QPageLayout(QPageSize(m_pageSize, QPageSize::Millimeter),
        QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));

    Paginator paginator(
        *this, device, m_bands, m_left, m_top, m_pageSize.height() - m_bottom, bandWidthMm());
    const int count = int(paginator.run(0).size());
    const QList<Page> pages = paginator.run(count);

    QPainter painter;
    if (!painter.begin(&device))
        throw std::runtime_error("cannot paint the report");
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        drawPage(painter, pages[i], paginator.scale());
    }
    painter.end();
    return int(pages.size());
}

int Report::print(QPrinter &printer) const
{
    printer.setFullPage(true);
    return render(printer);
}

int Report::writePdf(const QString &path) const
{
    // Written aside and put in place only when complete, so a file that was there before is
    // never left half overwritten.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error(file.errorString().toStdString());
    int pages = 0;
    {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setCreator(QStringLiteral("青禾理財簿"));
        writer.setTitle(expand(QStringLiteral("[ReportTitle]"), -1));
        pages = render(writer);
    }
    if (!file.commit())
        throw std::runtime_error(file.errorString().toStdString());
    return pages;
}

int Report::pageCount() const
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(300);
    return render(writer);
}

QFont Report::font(const QString &family, double pixels, bool bold)
{
    QFont f;
    // The designs name Windows fonts; Noto CJK TC stands in where they are missing.
    f.setFamilies({ family, QStringLiteral("Noto Serif CJK TC"), QStringLiteral("Noto Sans CJK TC"),
        QStringLiteral("Noto Sans CJK HK") });
    f.setPointSizeF(pixels * 72.0 / 96.0);
    f.setBold(bold);
    return f;
}
