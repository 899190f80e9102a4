#pragma once

#include "spreadsheet/Workbook.h"

#include <QString>
#include <memory>

class Prompts;

// The steps every export of a workbook shares.
namespace WorkbookExport {

// Asks where to save: caption "匯出", the suggested file name in the user's documents folder
// (the home folder when there is none), the filter "Excel檔 (*.xlsx)". The dialog adds
// ".xlsx" to a name without a suffix; a name with another suffix gets ".xlsx" too, after a
// question when a file of that name exists. Empty when the user cancelled.
QString askPath(Prompts &prompts, const QString &suggestedName);

// A new workbook; nothing, after the start-up warning, when one cannot be made.
std::unique_ptr<Workbook> start(Prompts &prompts, const QString &tempFolder = {});

} // namespace WorkbookExport
