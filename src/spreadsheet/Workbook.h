#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QMap>
#include <QString>
#include <memory>
#include <optional>
#include <stdexcept>

// A workbook could not be created (Stage::Create) or saved (Stage::Save).
// message() is the text to show the user.
class WorkbookError : public std::runtime_error
{
public:
    enum class Stage { Create, Save, Sheet };
    WorkbookError(Stage stage, const QString &message);
    Stage stage() const { return m_stage; }
    QString message() const { return m_message; }

private:
    Stage m_stage;
    QString m_message;
};

// How a cell looks. Unset values keep the spreadsheet's defaults.
struct CellStyle
{
    enum class Align { Default, Left, Centre, Right };
    enum class VAlign { Default, Top, Centre, Bottom };
    enum class Border { None, Thin, Medium, Thick };

    Align horizontal = Align::Default;
    VAlign vertical = VAlign::Default;
    std::optional<QColor> fontColor;
    std::optional<double> fontSize; // points
    bool bold = false;
    std::optional<QColor> fill;
    Border bottomBorder = Border::None;
    QString numberFormat; // e.g. "#,##0"

    bool operator==(const CellStyle &) const = default;
};

// One sheet of a Workbook. Rows and columns count from 1, as spreadsheet users count;
// ranges may also be given as references like "A1" or "A1:F1". Values and formats can be
// set in any order: the sheet is written out when the workbook is saved.
class Sheet
{
public:
    QString name() const { return m_name; }

    void setText(int row, int column, const QString &text);
    void setText(const QString &cell, const QString &text);
    // A number shown with a number format ("#,##0" gives 1,234).
    void setNumber(
        int row, int column, double value, const QString &format = QStringLiteral("#,##0"));
    void setNumber(
        const QString &cell, double value, const QString &format = QStringLiteral("#,##0"));

    // Merges the range; its text (if any) is the text of its first cell.
    void merge(const QString &range);
    void setHorizontalAlignment(const QString &range, CellStyle::Align align);
    void setVerticalAlignment(const QString &range, CellStyle::VAlign align);
    void setFontColor(const QString &range, const QColor &color);
    void setFontSize(const QString &range, double points);
    void setBold(const QString &range, bool bold = true);
    void setFill(const QString &range, const QColor &color);
    // A continuous line along the bottom edge of every cell of the range.
    void setBottomBorder(
        const QString &range, CellStyle::Border border = CellStyle::Border::Medium);
    void setColumnWidth(int column, double characters);
    // Places a picture with its top left corner at the cell (scale 1 = its own pixel size).
    void insertPicture(int row, int column, const QImage &picture, double scale = 1.0);
    void insertPicture(const QString &cell, const QImage &picture, double scale = 1.0);

    // "A1" -> (1, 1); throws WorkbookError for a malformed reference.
    static std::pair<int, int> cellPosition(const QString &cell);

private:
    friend class Workbook;
    struct Cell
    {
        std::optional<QString> text;
        std::optional<double> number;
        CellStyle style;
    };
    struct Rect
    {
        int row1, col1, row2, col2;
    };
    struct Picture
    {
        int row, column;
        QByteArray png;
        double scale;
    };

    explicit Sheet(const QString &name)
        : m_name(name)
    { }
    static Rect range(const QString &reference);
    Cell &cell(int row, int column);
    template<typename F> void style(const QString &reference, F change);

    QString m_name;
    QMap<std::pair<int, int>, Cell> m_cells;
    QList<Rect> m_merges;
    QList<Picture> m_pictures;
    QMap<int, double> m_columnWidths;
};

// A new .xlsx workbook. Creating one checks that a workbook can be built at all (throws
// WorkbookError with Stage::Create otherwise); save() writes it in one piece: the file at
// the path is either the complete new workbook or untouched.
class Workbook
{
public:
    // tempFolder: where the workbook is built before saving (the system's by default).
    explicit Workbook(const QString &tempFolder = {});
    ~Workbook();
    Workbook(const Workbook &) = delete;
    Workbook &operator=(const Workbook &) = delete;

    // Adds a sheet at the end; names must be unique and valid sheet names.
    Sheet &addSheet(const QString &name);
    Sheet *sheet(const QString &name);
    int sheetCount() const { return int(m_sheets.size()); }

    // Writes the workbook to path, replacing an existing file. Throws WorkbookError with
    // Stage::Save and a message naming the path when it cannot be written. Once only.
    void save(const QString &path);

    // The texts of the start-up warning the exports show when no workbook can be made.
    static QString createFailedCaption() { return QStringLiteral("啟動警告"); }
    static QString createFailedText() { return QStringLiteral("無法建立試算表檔案"); }

private:
    struct Impl;
    std::unique_ptr<Impl> d;
    std::vector<std::unique_ptr<Sheet>> m_sheets;
};
