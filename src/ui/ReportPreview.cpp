#include "ui/ReportPreview.h"

#include "report/Report.h"
#include "report/SaveFolder.h"
#include "ui/Prompts.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace {

void addSavePdfAction(QPrintPreviewDialog &dialog, Report &report, Prompts &prompts)
{
    auto *toolBar = dialog.findChild<QToolBar *>();
    if (!toolBar)
        return;
    toolBar->addSeparator();
    QAction *action = toolBar->addAction(
        dialog.style()->standardIcon(QStyle::SP_DialogSaveButton), QStringLiteral("存成PDF"));
    action->setObjectName(QStringLiteral("savePdfAction"));
    action->setToolTip(QStringLiteral("將報表存成PDF檔"));
    // The other tools are known by their pictures; this one is new to most users, so it
    // shows its name too.
    if (auto *button = qobject_cast<QToolButton *>(toolBar->widgetForAction(action)))
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QObject::connect(action, &QAction::triggered, &dialog,
        [&report, &prompts] { saveReportAsPdf(report, prompts); });
}

} // namespace

bool saveReportAsPdf(Report &report, Prompts &prompts)
{
    QString name = fileNameFrom(report.expand(QStringLiteral("[ReportTitle]"), -1));
    if (name.isEmpty())
        name = QStringLiteral("報表");
    const QString path = prompts.saveFileName(QStringLiteral("存成PDF"),
        QDir(defaultSaveFolder()).filePath(name + QStringLiteral(".pdf")),
        QStringLiteral("PDF檔 (*.pdf)"), QStringLiteral("pdf"));
    if (path.isEmpty())
        return false;
    const QString shown = QDir::toNativeSeparators(path);
    try {
        report.writePdf(path);
    } catch (const std::exception &e) {
        prompts.error(
            QStringLiteral("無法存成PDF檔 %1：%2").arg(shown, QString::fromUtf8(e.what())));
        return false;
    }
    prompts.message(QStringLiteral("已存成PDF檔：\n%1").arg(shown));
    return true;
}

std::unique_ptr<QPrintPreviewDialog> makeReportPreview(
    Report &report, QPrinter &printer, Prompts &prompts, QWidget *parent)
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
    addSavePdfAction(*dialog, report, prompts);
    return dialog;
}

void showReportPreview(Report &report, Prompts &prompts)
{
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    makeReportPreview(report, printer, prompts, QApplication::activeWindow())->exec();
}
