#include "spreadsheet/WorkbookExport.h"

#include "ui/Prompts.h"

#include <QDir>
#include <QStandardPaths>

namespace WorkbookExport {

QString askPath(Prompts &prompts, const QString &suggestedName)
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    QString path = prompts.saveFileName(QStringLiteral("匯出"),
        QDir(folder).filePath(suggestedName), QStringLiteral("Excel檔 (*.xlsx)"));
    if (!path.isEmpty() && !path.endsWith(QStringLiteral(".xlsx"), Qt::CaseInsensitive))
        path += QStringLiteral(".xlsx");
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
