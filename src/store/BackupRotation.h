#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// One automatic copy, known by its name: 青禾yyyymmdd-hhmmss.BAK, or with _2, _3 … when
// several runs ended within the same second.
struct AutomaticCopy
{
    QString fileName;
    QDateTime made;
    int counter = 1;
};

// Which automatic copies to keep: the newest few, and for each of the calendar months just
// before the month of the oldest of those, the newest copy of that month. Works on names
// and dates only, so any span of time can be tried without waiting for it.
class BackupRotation
{
public:
    static constexpr int KeepNewest = 10;
    static constexpr int KeepMonths = 12;

    static QString fileName(const QDateTime &made, int counter = 1);
    // Nothing for a name that is not an automatic copy (a copy made by hand, any other file).
    static std::optional<AutomaticCopy> parse(const QString &fileName);

    // The file names of the copies the rule no longer keeps, newest first.
    static QStringList toRemove(QVector<AutomaticCopy> copies);
};
