#include "ui/ReportPreview.h"

#include "report/Report.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>

std::unique_ptr<QPrintPreviewDialog> makeReportPreview(
    Report &report, QPrinter &printer, QWidget *parent)
{
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    auto dialog = std::make_unique<QPrintPreviewDialog>(&printer, parent);
    dialog->setWindowTitle(QStringLiteral("預覽列印"));
    dialog->resize(900, 1000);
    QObject::connect(dialog.get(), &QPrintPreviewDialog::paintRequested, dialog.get(),
        [&report](QPrinter *target) { report.print(*target); });
    // Opens at 100 %, the page at its real size.
    if (auto *view = dialog->findChild<QPrintPreviewWidget *>()) {
        view->setZoomMode(QPrintPreviewWidget::CustomZoom);
        view->setZoomFactor(1.0);
    }
    return dialog;
}

void showReportPreview(Report &report)
{
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    makeReportPreview(report, printer, QApplication::activeWindow())->exec();
}
