#pragma once

#include "statistics/CategoryExport.h"

class Database;
class Prompts;
class Workbook;

// Writes the category detail export of a statistics screen into a workbook.
namespace CategoryExportBook {

// One sheet named after its side: the heading block, a line per entry, the total.
void writeSheet(Workbook &book, const ExportSheetData &data, const ExportPeriod &period);

// The whole export: asks where to save (suggesting the period's file name in the user's
// documents folder), writes the sheets and tells the user how it went. A period without
// entries writes nothing and says so. tempFolder is where the workbook is built (the
// system's when empty). True when a workbook was saved.
bool run(
    Database &db, Prompts &prompts, const ExportPeriod &period, const QString &tempFolder = {});

} // namespace CategoryExportBook
