#pragma once

#include <QString>
#include <memory>
#include <optional>

class Program;
class QTreeWidget;
class Report;
class StatisticsForm;

// The printed report of the monthly and the yearly statistics screens: title, ledger, the
// four columns of the screen's list with its total and balance rows, and the bar chart.
class StatisticsReport
{
public:
    // The designed page. The yearly screen's picture band sits a little lower.
    static std::unique_ptr<Report> design(bool yearly);

    // A report variable, answered from the screen (names compared without regard to case);
    // nothing for a name the report does not know.
    static std::optional<QString> value(
        const StatisticsForm &form, const QString &ledger, const QString &name);

    // One column of the list as the report prints it: a line per row, blank rows included,
    // each line ended by CR LF, so the four columns stay aligned row by row.
    static QString columnText(const QTreeWidget &list, int column);

    // Names longer than their column would be cut off: the four columns then print in a
    // smaller size together (down to half), so that every row still lines up.
    static void fitColumns(Report &report, const QTreeWidget &list);

    // The print button: appends the balance row to the list, shows the report in the print
    // preview and takes the row away again, however the preview ends.
    static void print(StatisticsForm &form, Program &program);

    static const QString BalanceCaption; // "結餘"
};
