#include "statistics/StatisticsReport.h"

#include "app/Program.h"
#include "report/Report.h"
#include "statistics/StatisticsForm.h"
#include "statistics/Year_Unit.h"
#include "store/Amount.h"

#include <QFontMetricsF>
#include <QImage>
#include <QTreeWidget>

const QString StatisticsReport::BalanceCaption = QStringLiteral("結餘");

namespace {
// Marks the row the print procedure appended, so that only that row is taken away again
// (a category may well be called "結餘" too).
constexpr int AppendedRole = Qt::UserRole + 81;

void removeAppendedRows(QTreeWidget *list)
{
    for (int i = list->topLevelItemCount() - 1; i >= 0; --i) {
        if (list->topLevelItem(i)->data(0, AppendedRole).toBool())
            delete list->takeTopLevelItem(i);
    }
}

const char *const ColumnItems[] = { "Memo3", "Memo10", "Memo2", "Memo11" };

struct RemoveAppendedRows
{
    QTreeWidget *list;
    ~RemoveAppendedRows() { removeAppendedRows(list); }
};
} // namespace

std::unique_ptr<Report> StatisticsReport::design(bool yearly)
{
    auto report = std::make_unique<Report>();
    report->setPageSizeMm(QSizeF(210, 297));
    report->setMarginsMm(10, 10, 10, 10);

    ReportBand &title
        = report->addBand(ReportBand::Kind::ReportTitle, 20, QStringLiteral("ReportTitle1"));
    ReportItem &user = title.addText(QRectF(2, 2, yearly ? 41 : 42, 5), QStringLiteral("[UserStr]"),
        Report::font(ReportFonts::Ming, 16));
    user.name = QStringLiteral("Memo7");
    user.color = QColor(151, 189, 253);
    user.growWidth = true;
    user.wordWrap = false;
    ReportItem &caption = title.addText(QRectF(0, 8, 189, 12), QStringLiteral("[ReportTitle]"),
        Report::font(ReportFonts::Kai, 32, true), Qt::AlignHCenter | Qt::AlignVCenter);
    caption.name = QStringLiteral("Memo4");
    caption.color = QColor(128, 0, 0);

    struct Column
    {
        const char *head;
        const char *headVariable;
        double headLeft;
        const char *cell;
        const char *cellVariable;
        double cellLeft;
        QColor color;
    };
    const Column columns[] = {
        { "Memo5", "[CashInStr]", 14, "Memo3", "[CashIn]", 11, QColor(0, 0, 255) },
        { "Memo8", "[CashInCashStr]", 57, "Memo10", "[CashInCash]", 53, QColor(0, 0, 255) },
        { "Memo6", "[CashOutStr]", 100, "Memo2", "[CashOut]", 100, QColor(255, 0, 0) },
        { "Memo9", "[CashOutCashStr]", 143, "Memo11", "[CashOutCash]", 143, QColor(255, 0, 0) },
    };

    ReportBand &header
        = report->addBand(ReportBand::Kind::PageHeader, 13, QStringLiteral("PageHeader1"));
    for (const Column &c : columns) {
        ReportItem &head
            = header.addText(QRectF(c.headLeft, 5, 41, 7), QString::fromLatin1(c.headVariable),
                Report::font(ReportFonts::Kai, 24), Qt::AlignHCenter | Qt::AlignVCenter);
        head.name = QString::fromLatin1(c.head);
        head.color = c.color;
        head.frame = ReportItem::BottomLine;
    }

    ReportBand &rows
        = report->addBand(ReportBand::Kind::MasterData, 11, QStringLiteral("MasterData1"));
    for (int i = 0; i < 4; ++i) {
        const Column &c = columns[i];
        ReportItem &cell
            = rows.addText(QRectF(c.cellLeft, 3, 41, 7), QString::fromLatin1(c.cellVariable),
                Report::font(ReportFonts::Ming, 19), Qt::AlignHCenter | Qt::AlignTop);
        cell.name = QString::fromLatin1(c.cell);
        cell.growHeight = true;
        // One printed line per list row in every column; a long name must not wrap and
        // push its column out of step with the others.
        cell.wordWrap = false;
        if (i < 3) {
            cell.frame = ReportItem::RightLine;
            cell.stretchToBand = true;
        }
    }

    ReportBand &chart = report->addBand(
        ReportBand::Kind::MasterData, yearly ? 18 : 15, QStringLiteral("MasterData2"));
    ReportItem &picture = chart.addPicture(QRectF(0, yearly ? 8 : 5, 0, 0), QImage());
    picture.name = QStringLiteral("Picture1");
    picture.autoSize = true;
    picture.centreHorizontally = true;
    picture.stretch = true;

    ReportBand &footer
        = report->addBand(ReportBand::Kind::PageFooter, 6, QStringLiteral("PageFooter1"));
    ReportItem &page = footer.addText(QRectF(170, 0, 20, 5), QStringLiteral("[Page#]"),
        Report::font(ReportFonts::Ming, 13), Qt::AlignRight | Qt::AlignTop);
    page.name = QStringLiteral("Memo1");
    return report;
}

QString StatisticsReport::columnText(const QTreeWidget &list, int column)
{
    QString text;
    for (int i = 0; i < list.topLevelItemCount(); ++i)
        text += list.topLevelItem(i)->text(column) + QStringLiteral("\r\n");
    return text;
}

std::optional<QString> StatisticsReport::value(
    const StatisticsForm &form, const QString &ledger, const QString &name)
{
    auto is = [&name](const char *variable) {
        return name.compare(QLatin1String(variable), Qt::CaseInsensitive) == 0;
    };
    const QTreeWidget &list = *form.ListView1;
    if (is("CashIn"))
        return columnText(list, 0);
    if (is("CashInCash"))
        return columnText(list, 1);
    if (is("CashOut"))
        return columnText(list, 2);
    if (is("CashOutCash"))
        return columnText(list, 3);
    if (is("ReportTitle"))
        return form.reportTitle();
    if (is("CashInStr"))
        return QStringLiteral("收入");
    if (is("CashInCashStr") || is("CashOutCashStr"))
        return QStringLiteral("金額");
    if (is("CashOutStr"))
        return QStringLiteral("支出");
    if (is("UserStr"))
        return QStringLiteral("製表人：") + ledger;
    return std::nullopt;
}

void StatisticsReport::fitColumns(Report &report, const QTreeWidget &list)
{
    // Measured on a device of a known resolution (10 dots per millimetre), so the result
    // does not depend on the screen.
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(10000);
    probe.setDotsPerMeterY(10000);
    double scale = 1.0;
    for (int column = 0; column < 4; ++column) {
        const ReportItem *item = report.item(QString::fromLatin1(ColumnItems[column]));
        const QFontMetricsF metrics(item->font, &probe);
        const double room = item->rect.width() - 1.0; // less the padding on both sides
        for (int i = 0; i < list.topLevelItemCount(); ++i) {
            const double width = metrics.horizontalAdvance(list.topLevelItem(i)->text(column)) / 10;
            if (width > room)
                scale = std::min(scale, room / width);
        }
    }
    // Every column keeps the same size, so the rows stay in line; small print has a limit.
    scale = std::max(scale, 0.5);
    if (scale >= 1.0)
        return;
    for (const char *name : ColumnItems) {
        ReportItem *item = report.item(QString::fromLatin1(name));
        item->font.setPointSizeF(item->font.pointSizeF() * scale);
    }
}

void StatisticsReport::print(StatisticsForm &form, Program &program)
{
    QTreeWidget *list = form.ListView1;
    auto *balance = new QTreeWidgetItem(
        { BalanceCaption, formatAmount(form.IncomeTotal - form.ExpenseTotal), {}, {} });
    balance->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    balance->setData(0, AppendedRole, true);
    list->addTopLevelItem(balance);
    const RemoveAppendedRows removeAfterwards { list };

    const bool yearly = qobject_cast<const TYear_Form *>(&form) != nullptr;
    std::unique_ptr<Report> report = design(yearly);
    fitColumns(*report, *list);
    // Without a chart picture (it could not be written) the figures still print.
    report->item(QStringLiteral("Picture1"))->picture = QImage(form.chartPicturePath());
    // The report asks the screen for its variables while it is prepared.
    report->setValueProvider(
        [&form](const QString &name, int) { return form.frxReport1GetValue(name); });
    program.prompts().preview(*report);
}
