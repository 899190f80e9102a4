#include "spreadsheet/Workbook.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryDir>
#include <xlsxwriter.h>

WorkbookError::WorkbookError(Stage stage, const QString &message)
    : std::runtime_error(message.toStdString())
    , m_stage(stage)
    , m_message(message)
{ }

// ---- Sheet -------------------------------------------------------------------------------

std::pair<int, int> Sheet::cellPosition(const QString &cell)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\$?([A-Za-z]{1,3})\\$?([0-9]{1,7})$"));
    const auto match = pattern.match(cell.trimmed());
    if (!match.hasMatch())
        throw WorkbookError(
            WorkbookError::Stage::Sheet, QStringLiteral("儲存格位置不正確：%1").arg(cell));
    int column = 0;
    for (QChar c : match.captured(1).toUpper())
        column = column * 26 + (c.unicode() - 'A' + 1);
    const int row = match.captured(2).toInt();
    if (row < 1)
        throw WorkbookError(
            WorkbookError::Stage::Sheet, QStringLiteral("儲存格位置不正確：%1").arg(cell));
    return { row, column };
}

Sheet::Rect Sheet::range(const QString &reference)
{
    const QStringList parts = reference.split(QLatin1Char(':'));
    const auto first = cellPosition(parts.value(0));
    const auto last = parts.size() > 1 ? cellPosition(parts.value(1)) : first;
    return { std::min(first.first, last.first), std::min(first.second, last.second),
        std::max(first.first, last.first), std::max(first.second, last.second) };
}

Sheet::Cell &Sheet::cell(int row, int column)
{
    if (row < 1 || column < 1)
        throw WorkbookError(WorkbookError::Stage::Sheet,
            QStringLiteral("儲存格位置不正確：%1,%2").arg(row).arg(column));
    return m_cells[{ row, column }];
}

template<typename F> void Sheet::style(const QString &reference, F change)
{
    const Rect r = range(reference);
    for (int row = r.row1; row <= r.row2; ++row)
        for (int column = r.col1; column <= r.col2; ++column)
            change(cell(row, column).style);
}

void Sheet::setText(int row, int column, const QString &text)
{
    Cell &c = cell(row, column);
    c.text = text;
    c.number.reset();
}

void Sheet::setText(const QString &reference, const QString &text)
{
    const auto [row, column] = cellPosition(reference);
    setText(row, column, text);
}

void Sheet::setNumber(int row, int column, double value, const QString &format)
{
    Cell &c = cell(row, column);
    c.number = value;
    c.text.reset();
    c.style.numberFormat = format;
}

void Sheet::setNumber(const QString &reference, double value, const QString &format)
{
    const auto [row, column] = cellPosition(reference);
    setNumber(row, column, value, format);
}

void Sheet::merge(const QString &reference)
{
    const Rect r = range(reference);
    cell(r.row1, r.col1); // the merged range shows its first cell
    m_merges.append(r);
}

void Sheet::setHorizontalAlignment(const QString &reference, CellStyle::Align align)
{
    style(reference, [align](CellStyle &s) { s.horizontal = align; });
}

void Sheet::setVerticalAlignment(const QString &reference, CellStyle::VAlign align)
{
    style(reference, [align](CellStyle &s) { s.vertical = align; });
}

void Sheet::setFontColor(const QString &reference, const QColor &color)
{
    style(reference, [color](CellStyle &s) { s.fontColor = color; });
}

void Sheet::setFontSize(const QString &reference, double points)
{
    style(reference, [points](CellStyle &s) { s.fontSize = points; });
}

void Sheet::setBold(const QString &reference, bool bold)
{
    style(reference, [bold](CellStyle &s) { s.bold = bold; });
}

void Sheet::setFill(const QString &reference, const QColor &color)
{
    style(reference, [color](CellStyle &s) { s.fill = color; });
}

void Sheet::setBottomBorder(const QString &reference, CellStyle::Border border)
{
    style(reference, [border](CellStyle &s) { s.bottomBorder = border; });
}

void Sheet::setColumnWidth(int column, double characters)
{
    m_columnWidths[column] = characters;
}

void Sheet::insertPicture(int row, int column, const QImage &picture, double scale)
{
    if (picture.isNull())
        throw WorkbookError(WorkbookError::Stage::Sheet, QStringLiteral("圖片無法讀取"));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    m_pictures.append({ row, column, png, scale });
}

void Sheet::insertPicture(const QString &reference, const QImage &picture, double scale)
{
    const auto [row, column] = cellPosition(reference);
    insertPicture(row, column, picture, scale);
}

// ---- Workbook ----------------------------------------------------------------------------

struct Workbook::Impl
{
    QTemporaryDir dir;
    QByteArray dirPath;
    QString file;
    lxw_workbook *book = nullptr;
    std::vector<lxw_worksheet *> worksheets;
    std::vector<std::pair<CellStyle, lxw_format *>> formats;
    bool closed = false;

    explicit Impl(const QString &tempFolder)
        : dir((tempFolder.isEmpty() ? QDir::tempPath() : tempFolder)
            + QStringLiteral("/qinghe-book-XXXXXX"))
    { }

    lxw_format *format(const CellStyle &style)
    {
        if (style == CellStyle {})
            return nullptr;
        for (const auto &[s, f] : formats)
            if (s == style)
                return f;
        lxw_format *f = workbook_add_format(book);
        switch (style.horizontal) {
        case CellStyle::Align::Left:
            format_set_align(f, LXW_ALIGN_LEFT);
            break;
        case CellStyle::Align::Centre:
            format_set_align(f, LXW_ALIGN_CENTER);
            break;
        case CellStyle::Align::Right:
            format_set_align(f, LXW_ALIGN_RIGHT);
            break;
        case CellStyle::Align::Default:
            break;
        }
        switch (style.vertical) {
        case CellStyle::VAlign::Top:
            format_set_align(f, LXW_ALIGN_VERTICAL_TOP);
            break;
        case CellStyle::VAlign::Centre:
            format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
            break;
        case CellStyle::VAlign::Bottom:
            format_set_align(f, LXW_ALIGN_VERTICAL_BOTTOM);
            break;
        case CellStyle::VAlign::Default:
            break;
        }
        auto rgb = [](const QColor &c) {
            return lxw_color_t((c.red() << 16) | (c.green() << 8) | c.blue());
        };
        if (style.fontColor)
            format_set_font_color(f, rgb(*style.fontColor));
        if (style.fontSize)
            format_set_font_size(f, *style.fontSize);
        if (style.bold)
            format_set_bold(f);
        if (style.fill) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, rgb(*style.fill));
        }
        switch (style.bottomBorder) {
        case CellStyle::Border::Thin:
            format_set_bottom(f, LXW_BORDER_THIN);
            break;
        case CellStyle::Border::Medium:
            format_set_bottom(f, LXW_BORDER_MEDIUM);
            break;
        case CellStyle::Border::Thick:
            format_set_bottom(f, LXW_BORDER_THICK);
            break;
        case CellStyle::Border::None:
            break;
        }
        if (!style.numberFormat.isEmpty())
            format_set_num_format(f, style.numberFormat.toUtf8().constData());
        formats.emplace_back(style, f);
        return f;
    }
};

namespace {

QString saveFailed(const QString &path, const QString &reason)
{
    return QStringLiteral("無法儲存檔案「%1」：%2").arg(QDir::toNativeSeparators(path), reason);
}

void check(lxw_error error, const QString &what)
{
    if (error != LXW_NO_ERROR)
        throw WorkbookError(WorkbookError::Stage::Sheet,
            QStringLiteral("%1：%2").arg(what, QString::fromUtf8(lxw_strerror(error))));
}

} // namespace

Workbook::Workbook(const QString &tempFolder)
    : d(std::make_unique<Impl>(tempFolder))
{
    if (!d->dir.isValid())
        throw WorkbookError(WorkbookError::Stage::Create, createFailedText());
    d->dirPath = QFile::encodeName(d->dir.path());
    d->file = d->dir.filePath(QStringLiteral("book.xlsx"));
    lxw_workbook_options options {};
    options.tmpdir = d->dirPath.data();
    d->book = workbook_new_opt(QFile::encodeName(d->file).constData(), &options);
    if (!d->book)
        throw WorkbookError(WorkbookError::Stage::Create, createFailedText());
}

Workbook::~Workbook()
{
    // An unsaved workbook is written into its own temporary folder, which then goes away.
    if (d && d->book && !d->closed)
        workbook_close(d->book);
}

Sheet &Workbook::addSheet(const QString &name)
{
    if (d->closed)
        throw WorkbookError(WorkbookError::Stage::Sheet, QStringLiteral("試算表已儲存"));
    const QByteArray utf8 = name.toUtf8();
    if (workbook_validate_sheet_name(d->book, utf8.constData()) != LXW_NO_ERROR)
        throw WorkbookError(
            WorkbookError::Stage::Sheet, QStringLiteral("工作表名稱不正確：%1").arg(name));
    lxw_worksheet *ws = workbook_add_worksheet(d->book, utf8.constData());
    if (!ws)
        throw WorkbookError(
            WorkbookError::Stage::Sheet, QStringLiteral("工作表名稱不正確：%1").arg(name));
    d->worksheets.push_back(ws);
    m_sheets.push_back(std::unique_ptr<Sheet>(new Sheet(name)));
    return *m_sheets.back();
}

Sheet *Workbook::sheet(const QString &name)
{
    for (auto &s : m_sheets)
        if (s->name() == name)
            return s.get();
    return nullptr;
}

void Workbook::save(const QString &path)
{
    if (d->closed)
        throw WorkbookError(
            WorkbookError::Stage::Save, saveFailed(path, QStringLiteral("試算表已儲存過")));

    for (size_t i = 0; i < m_sheets.size(); ++i) {
        const Sheet &sheet = *m_sheets[i];
        lxw_worksheet *ws = d->worksheets[i];
        for (auto it = sheet.m_columnWidths.cbegin(); it != sheet.m_columnWidths.cend(); ++it)
            worksheet_set_column(
                ws, lxw_col_t(it.key() - 1), lxw_col_t(it.key() - 1), it.value(), nullptr);

        auto inMerge = [&sheet](int row, int column) {
            for (const auto &m : sheet.m_merges)
                if (row >= m.row1 && row <= m.row2 && column >= m.col1 && column <= m.col2)
                    return true;
            return false;
        };
        for (auto it = sheet.m_cells.cbegin(); it != sheet.m_cells.cend(); ++it) {
            const auto [row, column] = it.key();
            if (inMerge(row, column))
                continue;
            const Sheet::Cell &c = it.value();
            lxw_format *f = d->format(c.style);
            const auto r = lxw_row_t(row - 1);
            const auto col = lxw_col_t(column - 1);
            if (c.number)
                check(worksheet_write_number(ws, r, col, *c.number, f), sheet.name());
            else if (c.text && !c.text->isEmpty())
                check(worksheet_write_string(ws, r, col, c.text->toUtf8().constData(), f),
                    sheet.name());
            else if (f)
                check(worksheet_write_blank(ws, r, col, f), sheet.name());
        }
        for (const auto &m : sheet.m_merges) {
            const Sheet::Cell first = sheet.m_cells.value({ m.row1, m.col1 });
            const QByteArray text
                = first.text.value_or(first.number ? QString::number(*first.number) : QString())
                      .toUtf8();
            check(worksheet_merge_range(ws, lxw_row_t(m.row1 - 1), lxw_col_t(m.col1 - 1),
                      lxw_row_t(m.row2 - 1), lxw_col_t(m.col2 - 1), text.constData(),
                      d->format(first.style)),
                sheet.name());
        }
        for (const auto &p : sheet.m_pictures) {
            lxw_image_options options {};
            options.x_scale = p.scale;
            options.y_scale = p.scale;
            check(
                worksheet_insert_image_buffer_opt(ws, lxw_row_t(p.row - 1), lxw_col_t(p.column - 1),
                    reinterpret_cast<const unsigned char *>(p.png.constData()),
                    size_t(p.png.size()), &options),
                sheet.name());
        }
    }

    d->closed = true;
    const lxw_error error = workbook_close(d->book);
    d->book = nullptr;
    if (error != LXW_NO_ERROR)
        throw WorkbookError(
            WorkbookError::Stage::Save, saveFailed(path, QString::fromUtf8(lxw_strerror(error))));

    QFile built(d->file);
    if (!built.open(QIODevice::ReadOnly))
        throw WorkbookError(WorkbookError::Stage::Save, saveFailed(path, built.errorString()));
    const QByteArray bytes = built.readAll();

    // Written beside the target and renamed over it, so a failure never leaves half a file.
    QSaveFile target(path);
    if (!target.open(QIODevice::WriteOnly))
        throw WorkbookError(WorkbookError::Stage::Save, saveFailed(path, target.errorString()));
    if (target.write(bytes) != bytes.size() || !target.commit())
        throw WorkbookError(WorkbookError::Stage::Save, saveFailed(path, target.errorString()));
}
