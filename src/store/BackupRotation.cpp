#include "store/BackupRotation.h"

#include <QRegularExpression>
#include <QSet>
#include <algorithm>

QString BackupRotation::fileName(const QDateTime &made, int counter)
{
    const QString stem
        = QStringLiteral("青禾%1").arg(made.toString(QStringLiteral("yyyyMMdd-HHmmss")));
    if (counter <= 1)
        return stem + QStringLiteral(".BAK");
    return QStringLiteral("%1_%2.BAK").arg(stem).arg(counter);
}

std::optional<AutomaticCopy> BackupRotation::parse(const QString &fileName)
{
    static const QRegularExpression pattern(
        QStringLiteral("^青禾(\\d{8}-\\d{6})(?:_(\\d{1,6}))?\\.BAK$"));
    const QRegularExpressionMatch match = pattern.match(fileName);
    if (!match.hasMatch())
        return std::nullopt;
    const QDateTime made
        = QDateTime::fromString(match.captured(1), QStringLiteral("yyyyMMdd-HHmmss"));
    if (!made.isValid())
        return std::nullopt;
    const int counter = match.captured(2).isEmpty() ? 1 : match.captured(2).toInt();
    if (counter < 2 && !match.captured(2).isEmpty())
        return std::nullopt;
    return AutomaticCopy { fileName, made, counter };
}

QStringList BackupRotation::toRemove(QVector<AutomaticCopy> copies)
{
    std::sort(copies.begin(), copies.end(), [](const AutomaticCopy &a, const AutomaticCopy &b) {
        if (a.made != b.made)
            return a.made > b.made;
        return a.counter > b.counter;
    });
    QStringList removed;
    if (copies.size() <= KeepNewest)
        return removed;

    auto monthIndex = [](const QDate &date) { return date.year() * 12 + date.month() - 1; };
    const int oldestKeptMonth = monthIndex(copies.at(KeepNewest - 1).made.date());
    QSet<int> monthsKept;
    // Newest first, so the first copy met in a month is that month's newest.
    for (int i = KeepNewest; i < copies.size(); ++i) {
        const int month = monthIndex(copies.at(i).made.date());
        const bool inWindow = month < oldestKeptMonth && month >= oldestKeptMonth - KeepMonths;
        if (inWindow && !monthsKept.contains(month))
            monthsKept.insert(month);
        else
            removed << copies.at(i).fileName;
    }
    return removed;
}
