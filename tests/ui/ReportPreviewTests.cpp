#include "report/Report.h"
#include "report/SaveFolder.h"
#include "support/ScriptedPrompts.h"
#include "tools/PdfText.h"
#include "ui/ReportPreview.h"

#include <QAction>
#include <QDir>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

// A title and one line of text, both in the CJK faces the reports use.
Report smallReport()
{
    Report report;
    auto &title = report.addBand(ReportBand::Kind::ReportTitle, 20);
    title.addText(QRectF(0, 2, report.bandWidthMm(), 12), QStringLiteral("[ReportTitle]"),
        Report::font(ReportFonts::Kai, 32, true), Qt::AlignHCenter);
    auto &data = report.addBand(ReportBand::Kind::MasterData, 10);
    data.addText(QRectF(0, 0, 100, 8), QStringLiteral("收入合計：12,345元"),
        Report::font(ReportFonts::Ming, 19));
    report.setVariable(QStringLiteral("ReportTitle"), QStringLiteral("2009年度分析報表"));
    return report;
}

struct PdfFont
{
    QString name;
    bool embedded = false;
};

// The fonts pdffonts lists for a file.
QList<PdfFont> pdfFonts(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdffonts"), { pdf });
    p.waitForFinished(60000);
    QList<PdfFont> fonts;
    const QStringList lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'));
    for (const QString &line : lines.mid(2)) {
        const QStringList fields = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() >= 6) // name ... emb sub uni object generation
            fonts << PdfFont { fields.first(), fields[fields.size() - 5] == QLatin1String("yes") };
    }
    return fonts;
}

} // namespace

TEST(ReportPreview, SavePdfWritesTheReportWithItsChineseFontsEmbedded)
{
    QTemporaryDir dir;
    Report report = smallReport();
    ScriptedPrompts prompts;
    QPrinter printer(QPrinter::HighResolution);
    const auto dialog = makeReportPreview(report, printer, prompts);
    auto *save = dialog->findChild<QAction *>(QStringLiteral("savePdfAction"));
    ASSERT_TRUE(save);
    EXPECT_EQ(save->text(), QStringLiteral("存成PDF"));
    ASSERT_TRUE(dialog->findChild<QToolBar *>());
    EXPECT_TRUE(dialog->findChild<QToolBar *>()->actions().contains(save));

    // Cancelled: nothing is written. The suggested name is the report's title.
    save->trigger();
    EXPECT_EQ(prompts.saveRequests,
        QStringList({ QStringLiteral("存成PDF|%1|PDF檔 (*.pdf)")
                          .arg(QDir(defaultSaveFolder())
                                   .filePath(QStringLiteral("2009年度分析報表.pdf"))) }));
    EXPECT_EQ(prompts.saveSuffixes, QStringList({ QStringLiteral("pdf") }));
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    // Typed without a suffix: the dialog adds it.
    prompts.savePaths.push_back(dir.filePath(QStringLiteral("分析")));
    save->trigger();
    const QString pdf = dir.filePath(QStringLiteral("分析.pdf"));
    ASSERT_TRUE(QFile::exists(pdf));
    EXPECT_TRUE(prompts.errors.isEmpty());
    EXPECT_EQ(prompts.messages,
        QStringList({ QStringLiteral("已存成PDF檔：\n%1").arg(QDir::toNativeSeparators(pdf)) }));
    const QString text = PdfText::text(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("2009年度分析報表"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("收入合計：12,345元"))) << text.toStdString();
    const QList<PdfFont> fonts = pdfFonts(pdf);
    ASSERT_FALSE(fonts.isEmpty());
    for (const PdfFont &font : fonts) {
        SCOPED_TRACE(font.name.toStdString());
        EXPECT_TRUE(font.embedded);
        EXPECT_TRUE(font.name.contains(QStringLiteral("CJK")));
    }
}

TEST(ReportPreview, APdfThatCannotBeWrittenSaysWhyAndLeavesAnOlderFileWhole)
{
    QTemporaryDir dir;
    Report report = smallReport();
    ScriptedPrompts prompts;

    prompts.savePaths.push_back(dir.filePath(QStringLiteral("no such folder/x.pdf")));
    EXPECT_FALSE(saveReportAsPdf(report, prompts));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].startsWith(QStringLiteral("無法存成PDF檔")));
    EXPECT_TRUE(prompts.messages.isEmpty());

    // Replacing an existing file (the dialog asked): the new report takes its place whole.
    const QString pdf = dir.filePath(QStringLiteral("old.pdf"));
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older file");
    old.close();
    prompts.savePaths.push_back(pdf);
    EXPECT_TRUE(saveReportAsPdf(report, prompts));
    EXPECT_EQ(PdfText::pageCount(pdf), 1);
}
