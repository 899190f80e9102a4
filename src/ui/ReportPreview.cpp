#include "ui/ReportPreview.h"

#include "report/Report.h"

void showReportPreview(Report &)
{
}
