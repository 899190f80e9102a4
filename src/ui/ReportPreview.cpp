#include "ui/ReportPreview.h"

#include "report/Report.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>

void showReportPreview(Report &report)
{
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    QPrintPreviewDialog dialog(&printer, QApplication::activeWindow());
    dialog.setWindowTitle(QStringLiteral("預覽列印"));
    dialog.resize(900, 1000);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
        [&report](QPrinter *target) { report.print(*target); });
    // Opens at 100 %, the page at its real size.
    if (auto *view = dialog.findChild<QPrintPreviewWidget *>()) {
        view->setZoomMode(QPrintPreviewWidget::CustomZoom);
        view->setZoomFactor(1.0);
    }
    dialog.exec();
}
