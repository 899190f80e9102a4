#include "report/Report.h"
#include "tools/PdfText.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A list report of the usual shape: title, column heads, one line per record, total, page number.
Report listReport(const QStringList &rows)
{
    Report report;
    const double width = report.bandWidthMm();
    auto &title = report.addBand(ReportBand::Kind::ReportTitle, 15, QStringLiteral("Title"));
    title.addText(QRectF(0, 2, width, 10), QStringLiteral("[reporttitle]"),
        Report::font(ReportFonts::Kai, 24, true), Qt::AlignHCenter | Qt::AlignVCenter);
    auto &header = report.addBand(ReportBand::Kind::PageHeader, 8);
    header
        .addText(QRectF(0, 1, 40, 6), QStringLiteral("[Head]"), Report::font(ReportFonts::Ming, 16))
        .frame
        = ReportItem::BottomLine;
    auto &data = report.addBand(ReportBand::Kind::MasterData, 6);
    data.recordCount = int(rows.size());
    data.addText(
        QRectF(0, 0, 60, 6), QStringLiteral("[Element1]"), Report::font(ReportFonts::Ming, 16));
    auto &summary = report.addBand(ReportBand::Kind::Summary, 8);
    summary
        .addText(QRectF(0, 1, width, 6), QStringLiteral("[TotalTitle]"),
            Report::font(ReportFonts::Ming, 16), Qt::AlignRight)
        .frame
        = ReportItem::TopLine;
    auto &footer = report.addBand(ReportBand::Kind::PageFooter, 6);
    footer.addText(QRectF(160, 0, 30, 5), QStringLiteral("第[Page#]頁"),
        Report::font(ReportFonts::Ming, 14), Qt::AlignRight);

    report.setVariable(QStringLiteral("ReportTitle"), QStringLiteral("3月統計報表"));
    report.setVariable(QStringLiteral("HEAD"), QStringLiteral("收入欄"));
    report.setValueProvider([rows](const QString &name, int record) -> std::optional<QString> {
        if (name.compare(QStringLiteral("element1"), Qt::CaseInsensitive) == 0)
            return rows.value(record);
        if (name.compare(QStringLiteral("totaltitle"), Qt::CaseInsensitive) == 0)
            return QStringLiteral("合計：%1筆").arg(rows.size());
        return std::nullopt;
    });
    return report;
}

QStringList numberedRows(int n)
{
    QStringList rows;
    for (int i = 1; i <= n; ++i)
        rows << QStringLiteral("第%1列").arg(i, 3, 10, QLatin1Char('0'));
    return rows;
}

} // namespace

TEST(Report, PrintsVariablesRecordsSummaryAndPageNumberOnOnePage)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    Report report
        = listReport({ QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙") });
    ASSERT_EQ(report.writePdf(pdf), 1);

    const QString text = PdfText::text(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("3月統計報表"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("收入欄")));
    const qsizetype a = text.indexOf(QStringLiteral("甲")), b = text.indexOf(QStringLiteral("乙")),
                    c = text.indexOf(QStringLiteral("丙"));
    EXPECT_TRUE(a >= 0 && a < b && b < c);
    EXPECT_GT(text.indexOf(QStringLiteral("合計：3筆")), c);
    EXPECT_TRUE(text.contains(QStringLiteral("第1頁")));
    EXPECT_EQ(PdfText::pageCount(pdf), 1);
}

TEST(Report, LongListRunsOntoMorePagesWithHeadersOnEveryPageAndTitleOnce)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
    const QStringList rows = numberedRows(120);
    Report report = listReport(rows);
    const int pages = report.writePdf(pdf);
    ASSERT_GE(pages, 2);
    EXPECT_EQ(PdfText::pageCount(pdf), pages);
    PdfText::keep(pdf, QStringLiteral("long-list.pdf"));

    QString all;
    for (int p = 1; p <= pages; ++p) {
        const QString page = PdfText::text(pdf, p);
        EXPECT_TRUE(page.contains(QStringLiteral("收入欄"))) << "page " << p;
        EXPECT_TRUE(page.contains(QStringLiteral("第%1頁").arg(p))) << "page " << p;
        EXPECT_EQ(page.contains(QStringLiteral("3月統計報表")), p == 1) << "page " << p;
        EXPECT_EQ(page.contains(QStringLiteral("合計：120筆")), p == pages) << "page " << p;
        all += page;
    }
    qsizetype last = -1;
    for (const QString &row : rows) { // every record once, in order
        const qsizetype at = all.indexOf(row);
        ASSERT_GT(at, last) << row.toStdString();
        EXPECT_EQ(all.count(row), 1);
        last = at;
    }
}

TEST(Report, GrowingTextPushesLaterBandsDownAndSplitsAcrossPages)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("grow.pdf"));
    Report report;
    QStringList left, right;
    for (int i = 1; i <= 90; ++i) {
        left << QStringLiteral("左%1").arg(i, 2, 10, QLatin1Char('0'));
        right << (i % 10 == 0 ? QString() : QStringLiteral("右%1").arg(i, 2, 10, QLatin1Char('0')));
    }
    auto &columns = report.addBand(ReportBand::Kind::MasterData, 11);
    for (auto [x, var] : { std::pair { 0.0, "[Left]" }, std::pair { 60.0, "[Right]" } }) {
        auto &item = columns.addText(QRectF(x, 3, 41, 7), QString::fromLatin1(var),
            Report::font(ReportFonts::Ming, 19), Qt::AlignHCenter);
        item.growHeight = true;
        item.frame = ReportItem::RightLine;
    }
    // A short third column still draws its line down the whole row.
    auto &shortColumn = columns.addText(QRectF(120, 3, 41, 7), QStringLiteral("短"),
        Report::font(ReportFonts::Ming, 19), Qt::AlignHCenter);
    shortColumn.frame = ReportItem::RightLine;
    shortColumn.stretchToBand = true;
    auto &after = report.addBand(ReportBand::Kind::MasterData, 10);
    after.addText(
        QRectF(0, 0, 100, 8), QStringLiteral("之後的段落"), Report::font(ReportFonts::Ming, 16));
    // Lists end with a line break after their last line, as the screens build them.
    report.setVariable(
        QStringLiteral("Left"), left.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    report.setVariable(
        QStringLiteral("Right"), right.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));

    const int pages = report.writePdf(pdf);
    ASSERT_GE(pages, 2);
    PdfText::keep(pdf, QStringLiteral("growing-columns.pdf"));
    const QString first = PdfText::text(pdf, 1), lastPage = PdfText::text(pdf, pages);
    EXPECT_TRUE(first.contains(QStringLiteral("左01")));
    EXPECT_TRUE(lastPage.contains(QStringLiteral("左90")));
    EXPECT_GT(
        lastPage.indexOf(QStringLiteral("之後的段落")), lastPage.indexOf(QStringLiteral("左90")));
    // Same font and line height: the two columns stay on the same lines, blanks included.
    const QString all = PdfText::text(pdf);
    for (const QString &line : all.split(QLatin1Char('\n'))) {
        if (line.contains(QStringLiteral("右"))) {
            const QString n = line.section(QStringLiteral("右"), 1).trimmed().left(2);
            EXPECT_TRUE(line.contains(QStringLiteral("左") + n)) << line.toStdString();
        }
    }
    EXPECT_EQ(all.count(QStringLiteral("左")), 90);
}

TEST(Report, PictureIsCentredAndStretchedIntoItsBand)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("pic.pdf"));
    QImage picture(400, 200, QImage::Format_RGB32);
    picture.fill(Qt::red);
    Report report;
    auto &band = report.addBand(ReportBand::Kind::MasterData, 15);
    auto &item = band.addPicture(QRectF(0, 5, 10, 10), picture);
    item.autoSize = true;
    item.centreHorizontally = true;
    ASSERT_EQ(report.writePdf(pdf), 1);

    const QImage page(PdfText::renderPng(pdf, 1, dir.filePath(QStringLiteral("pic")), 50));
    ASSERT_FALSE(page.isNull());
    const double px = page.width() / 210.0; // pixels per mm
    // 400×200 px at 96 dpi is about 106×53 mm, centred on the 190 mm band from 10 mm.
    auto isRed = [&](double xMm, double yMm) {
        const QColor c = page.pixelColor(int(xMm * px), int(yMm * px));
        return c.red() > 200 && c.green() < 80 && c.blue() < 80;
    };
    EXPECT_TRUE(isRed(105, 40));
    EXPECT_TRUE(isRed(55, 20));
    EXPECT_TRUE(isRed(155, 60));
    EXPECT_FALSE(isRed(45, 40));
    EXPECT_FALSE(isRed(165, 40));
    EXPECT_FALSE(isRed(105, 75));
}

TEST(Report, UnknownVariablesPrintEmptyAndAnUnwritablePdfIsAnError)
{
    Report report;
    report.setVariable(QStringLiteral("Known"), QStringLiteral("有"));
    EXPECT_EQ(report.expand(QStringLiteral("[KNOWN]/[Unknown]/[Page#]"), -1, 3, 5),
        QStringLiteral("有//3"));
    report.addBand(ReportBand::Kind::MasterData, 10);
    EXPECT_THROW(report.writePdf(QStringLiteral("/nonexistent-dir/x.pdf")), std::runtime_error);
}
