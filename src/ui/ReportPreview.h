#pragma once

#include <memory>

class QPrintPreviewDialog;
class QPrinter;
class QWidget;
class Report;

// The modal print preview from which the user prints a report.
void showReportPreview(Report &report);

// The preview dialog itself, set up for an A4 page at 100 % and painting the report on the
// given printer; the caller shows it.
std::unique_ptr<QPrintPreviewDialog> makeReportPreview(
    Report &report, QPrinter &printer, QWidget *parent = nullptr);
