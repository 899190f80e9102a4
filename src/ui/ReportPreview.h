#pragma once

class Report;

// The modal print preview from which the user prints a report.
void showReportPreview(Report &report);
