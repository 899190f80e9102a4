#include "statistics/CategoryExportBook.h"

#include "spreadsheet/Workbook.h"
#include "spreadsheet/WorkbookExport.h"
#include "ui/Prompts.h"

#include <memory>

namespace CategoryExportBook {

void writeEntrySheet(Workbook &book, bool income, const QString &ledger, const QString &periodText,
    const QList<SheetLine> &lines, qint64 total)
{
    const QString kind = income ? QStringLiteral("收入") : QStringLiteral("支出");
    Sheet &sheet = book.addSheet(kind);
    sheet.setText(QStringLiteral("G1"), CategoryExport::productName());
    sheet.merge(QStringLiteral("G1:I1"));
    sheet.setHorizontalAlignment(QStringLiteral("G1:I1"), CellStyle::Align::Centre);
    sheet.setVerticalAlignment(QStringLiteral("G1:I1"), CellStyle::VAlign::Centre);
    sheet.setFontColor(QStringLiteral("G1:I1"), QColor(128, 128, 128));
    sheet.setFontSize(QStringLiteral("G1:I1"), 12);

    sheet.setText(QStringLiteral("A1"), QStringLiteral("使用者："));
    sheet.setText(QStringLiteral("B1"), ledger);
    sheet.setText(QStringLiteral("A2"), QStringLiteral("資料期間："));
    sheet.setText(QStringLiteral("B2"), periodText);
    sheet.setText(QStringLiteral("A3"), QStringLiteral("帳目類型："));
    sheet.setText(QStringLiteral("B3"), kind);
    sheet.setFontColor(QStringLiteral("B3"), income ? QColor(0, 0, 255) : QColor(255, 0, 0));

    const QStringList heads = { QStringLiteral("時間"), QStringLiteral("分類"),
        QStringLiteral("金額"), QStringLiteral("說明") };
    for (int c = 0; c < heads.size(); ++c)
        sheet.setText(6, c + 1, heads[c]);
    sheet.setHorizontalAlignment(QStringLiteral("A6:D6"), CellStyle::Align::Centre);
    sheet.setBottomBorder(QStringLiteral("A6:D6"));

    const int n = int(lines.size());
    for (int k = 0; k < n; ++k) {
        const SheetLine &line = lines[k];
        const int row = 7 + k;
        sheet.setText(row, 1, line.time);
        sheet.setText(row, 2, line.category);
        // Amounts are numbers, so that the user can add them up in the spreadsheet.
        if (line.amount)
            sheet.setNumber(row, 3, double(*line.amount));
        sheet.setText(row, 4, line.note);
    }
    if (n > 0)
        sheet.setBottomBorder(QStringLiteral("A%1:D%1").arg(6 + n));
    sheet.setText(7 + n, 1, QStringLiteral("合計："));
    sheet.setNumber(7 + n, 3, double(total));
    sheet.setHorizontalAlignment(QStringLiteral("C%1").arg(7 + n), CellStyle::Align::Right);

    // Wide enough for the headings, a padded category with its entry name, and long notes.
    sheet.setColumnWidth(1, 11);
    sheet.setColumnWidth(2, 26);
    sheet.setColumnWidth(3, 14);
    sheet.setColumnWidth(4, 36);
}

void writeSheet(Workbook &book, const ExportSheetData &data, const ExportPeriod &period)
{
    QList<SheetLine> lines;
    lines.reserve(data.lines.size());
    for (const ExportLine &line : data.lines)
        lines.append({ line.timeText(), line.categoryText(), line.amount, line.note });
    writeEntrySheet(book, data.income, period.ledger, period.text(), lines, data.total());
}

bool run(Database &db, Prompts &prompts, const ExportPeriod &period, const QString &tempFolder)
{
    // Nothing to export is said before the user is asked where to save it.
    const QList<ExportSheetData> sheets = CategoryExport(db).sheets(period);
    if (sheets.isEmpty()) {
        prompts.warning(CategoryExport::nothingToExportText());
        return false;
    }

    const QString path = WorkbookExport::askPath(prompts, period.suggestedFileName());
    if (path.isEmpty())
        return false;
    const std::unique_ptr<Workbook> book = WorkbookExport::start(prompts, tempFolder);
    if (!book)
        return false;
    try {
        for (const ExportSheetData &data : sheets)
            writeSheet(*book, data, period);
        book->save(path);
    } catch (const WorkbookError &e) {
        prompts.error(e.message());
        return false;
    }
    prompts.warning(CategoryExport::successText());
    return true;
}

} // namespace CategoryExportBook
