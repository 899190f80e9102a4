#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

class Database;

// The period a statistics screen exports: one month of a year, or the whole year.
struct ExportPeriod
{
    QString ledger;
    int year = 0;
    std::optional<int> month; // unset: the whole year

    // "2008年3月明細" / "2008年度明細"
    QString text() const;
    // "2008年3月份分類明細.xlsx" / "2008年度分類明細.xlsx"
    QString suggestedFileName() const;
};

// One entry as a line of the export.
struct ExportLine
{
    QDate date;
    QString mainName; // empty when the entry's main category no longer exists
    QString entryName;
    std::optional<qint64> amount; // unset for an entry stored without an amount
    QString note;

    QString timeText() const; // "3/5"
    // The main category padded to four characters, "－" and the entry's own name; an entry
    // whose main category is gone shows its own name alone.
    QString categoryText() const;
};

// The lines of one sheet: one side of the period, every entry its own line.
struct ExportSheetData
{
    bool income = true;
    QList<ExportLine> lines;

    QString name() const; // "收入" / "支出"
    // Sum of the amounts; an entry without an amount adds 0.
    qint64 total() const;
};

// Reads the entries of a period for the category detail export.
class CategoryExport
{
public:
    explicit CategoryExport(Database &db)
        : m_db(db)
    { }

    // One side of the period, in the order the sheet lists it: by date and category code for
    // a month, by entry serial for a year. The expense side leaves out the "無花費" markers;
    // the income side keeps every entry.
    ExportSheetData sheet(const ExportPeriod &period, bool income);
    // The sheets worth writing: income then expense, a side without entries left out.
    QList<ExportSheetData> sheets(const ExportPeriod &period);

    static QString fileFilter() { return QStringLiteral("Excel檔 (*.xlsx)"); }
    static QString productName() { return QStringLiteral("青禾理財簿"); }
    static QString successText() { return QStringLiteral("匯出成功!!"); }
    static QString nothingToExportText() { return QStringLiteral("本期間沒有資料可匯出"); }

private:
    Database &m_db;
};
