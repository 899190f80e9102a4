#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QString>
#include <functional>
#include <optional>

class QPagedPaintDevice;
class QPrinter;

// One thing printed inside a band: a text (with [Variable] placeholders) or a picture.
// Positions and sizes are millimetres from the band's top left corner.
struct ReportItem
{
    enum class Kind { Text, Picture };
    enum Frame { NoFrame = 0, LeftLine = 1, TopLine = 2, RightLine = 4, BottomLine = 8 };

    Kind kind = Kind::Text;
    QString name;
    QRectF rect;

    // Text items.
    QString text;
    QFont font;
    QColor color = Qt::black;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop;
    bool wordWrap = true;
    bool growHeight = false; // grows downwards to hold its text, pushing later bands down
    bool growWidth = false; // widens to its longest line (never past the band)
    // The frame reaches down to the band's bottom (less the designed gap below the item), so
    // the column lines of a row stay as long as its tallest item.
    bool stretchToBand = false;

    // Frame lines on the item's sides (any item kind).
    int frame = NoFrame;
    double frameWidth = 0.3; // mm
    QColor frameColor = Qt::black;

    // Picture items.
    QImage picture;
    bool stretch = true; // scale the picture into the frame, keeping its proportions
    bool autoSize = false; // take the picture's own size (96 dpi), limited to the band width
    bool centreHorizontally = false; // place the item in the middle of the band
};

// A horizontal strip of the page; printed once, once per page, or once per record.
struct ReportBand
{
    enum class Kind { ReportTitle, PageHeader, MasterData, Summary, PageFooter };

    Kind kind = Kind::MasterData;
    QString name;
    double height = 10; // mm, the designed height; grows with items that grow
    // Master data only: printed once per record of its row source, or once when unset.
    std::optional<int> recordCount;
    bool startNewPage = false; // begin this band (first instance) on a fresh page
    QList<ReportItem> items;

    ReportItem &addText(const QRectF &rectMm, const QString &text, const QFont &font,
        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);
    ReportItem &addPicture(const QRectF &rectMm, const QImage &picture);
    ReportItem *item(const QString &name);
};

// A banded report on A4 pages, drawn with QPainter onto a printer or a PDF file.
// Text items name variables in square brackets; their values come from the value callback,
// which is asked with the name as written and the record number of the band being printed
// (-1 outside per-record bands); callbacks compare names without regard to case, as fixed
// values do. The report itself answers [Page#] and [TotalPages#]; unknown names print empty.
class Report
{
public:
    using ValueProvider = std::function<std::optional<QString>(const QString &name, int record)>;

    Report();
    virtual ~Report() = default;

    void setPageSizeMm(const QSizeF &size) { m_pageSize = size; }
    void setMarginsMm(double left, double top, double right, double bottom);
    QSizeF pageSizeMm() const { return m_pageSize; }
    // Width available to bands (page width less the side margins).
    double bandWidthMm() const;

    ReportBand &addBand(ReportBand::Kind kind, double heightMm, const QString &name = {});
    ReportBand *band(const QString &name);
    // Finds an item by name in any band.
    ReportItem *item(const QString &name);
    QList<ReportBand> &bands() { return m_bands; }

    void setValueProvider(ValueProvider provider) { m_values = std::move(provider); }
    // Fixed values, looked up without regard to case before the callback is asked.
    void setVariable(const QString &name, const QString &value);
    // The text with every [Name] replaced; unknown names give an empty text.
    QString expand(const QString &text, int record, int page = 0, int pageCount = 0) const;

    // Lays the report out and draws every page; returns the number of pages.
    int render(QPagedPaintDevice &device) const;
    // For a printer (the preview's): full-page A4, then render.
    int print(QPrinter &printer) const;
    // Writes the report as a PDF file; throws std::runtime_error when the file cannot be written.
    int writePdf(const QString &path) const;
    // Number of pages the report takes (laid out at the PDF's resolution).
    int pageCount() const;

    // Converts a size in pixels at 96 dpi (how the designs give font sizes) to a font.
    static QFont font(const QString &family, double pixels, bool bold = false);

private:
    QSizeF m_pageSize { 210, 297 };
    double m_left = 10, m_top = 10, m_right = 10, m_bottom = 10;
    QList<ReportBand> m_bands;
    ValueProvider m_values;
    QHash<QString, QString> m_fixed; // keyed by the lower-case name
};

// Font families asked for by the designs, with the CJK fallback that is installed.
namespace ReportFonts {
inline const QString Kai = QStringLiteral("標楷體");
inline const QString Ming = QStringLiteral("新細明體");
} // namespace ReportFonts
