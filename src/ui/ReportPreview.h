#pragma once

#include <memory>

class Prompts;
class QPrintPreviewDialog;
class QPrinter;
class QWidget;
class Report;

// The modal print preview from which the user prints a report or saves it as PDF.
void showReportPreview(Report &report, Prompts &prompts);

// The preview dialog itself, set up for an A4 page at 100 % and painting the report on the
// given printer, with the action "存成PDF" (objectName "savePdfAction") that asks through
// prompts; the caller shows it.
std::unique_ptr<QPrintPreviewDialog> makeReportPreview(
    Report &report, QPrinter &printer, Prompts &prompts, QWidget *parent = nullptr);

// Asks where to save (the report's title as the suggested name) and writes the report as
// PDF. False when cancelled or when it could not be written (after saying why).
bool saveReportAsPdf(Report &report, Prompts &prompts);
