#pragma once

#include "statistics/CategoryExport.h"

class Database;
class Prompts;
class Workbook;

// Writes the category detail export of a statistics screen into a workbook.
namespace CategoryExportBook {

// One line of an entry sheet as it is written.
struct SheetLine
{
    QString time;
    QString category;
    std::optional<qint64> amount; // unset: the amount cell stays empty
    QString note;
};

// The entry sheet that the statistics export and the detail list both write: named after its
// side ("收入" / "支出"), the heading block with the ledger and the period, a line per entry,
// the given total.
void writeEntrySheet(Workbook &book, bool income, const QString &ledger, const QString &periodText,
    const QList<SheetLine> &lines, qint64 total);

// One side of the statistics export as an entry sheet.
void writeSheet(Workbook &book, const ExportSheetData &data, const ExportPeriod &period);

// The whole export: asks where to save (suggesting the period's file name in the user's
// documents folder), writes the sheets and tells the user how it went. A period without
// entries writes nothing and says so. tempFolder is where the workbook is built (the
// system's when empty). True when a workbook was saved.
bool run(
    Database &db, Prompts &prompts, const ExportPeriod &period, const QString &tempFolder = {});

} // namespace CategoryExportBook
