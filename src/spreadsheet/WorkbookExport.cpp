#include "spreadsheet/WorkbookExport.h"

#include "report/SaveFolder.h"
#include "ui/Prompts.h"

#include <QDir>
#include <QFileInfo>

namespace WorkbookExport {

QString askPath(Prompts &prompts, const QString &suggestedName)
{
    QString path = prompts.saveFileName(QStringLiteral("匯出"),
        QDir(defaultSaveFolder()).filePath(suggestedName), QStringLiteral("Excel檔 (*.xlsx)"),
        QStringLiteral("xlsx"));
    if (path.isEmpty() || path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        return path;
    // A name typed with another suffix ("3.5月") still gets the workbook's; the dialog's own
    // question was about the name as typed, so a file of the real name is asked about here.
    path += QStringLiteral(".xlsx");
    if (QFileInfo::exists(path)
        && !prompts.askYesNo(
            QStringLiteral("%1 已存在，要取代它嗎？").arg(QFileInfo(path).fileName())))
        return {};
    return path;
}

std::unique_ptr<Workbook> start(Prompts &prompts, const QString &tempFolder)
{
    try {
        return std::make_unique<Workbook>(tempFolder);
    } catch (const WorkbookError &) {
        prompts.alert(Workbook::createFailedCaption(), Workbook::createFailedText());
        return nullptr;
    }
}

} // namespace WorkbookExport
