#include "ledgers/LedgerDirectory.h"

#include "ledgers/Big5.h"
#include "ledgers/PublicFunction.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <optional>

namespace {

constexpr int LinesPerLedger = 3;

QByteArrayList splitLines(const QByteArray &content)
{
    QByteArrayList lines;
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < content.size()) {
        const char c = content[i];
        if (c != '\r' && c != '\n') {
            ++i;
            continue;
        }
        lines.append(content.mid(start, i - start));
        i += (c == '\r' && i + 1 < content.size() && content[i + 1] == '\n') ? 2 : 1;
        start = i;
    }
    if (start < content.size())
        lines.append(content.mid(start));
    return lines;
}

// The plain name of a name line, or nothing when the line cannot be deciphered.
std::optional<QString> readableName(const QByteArray &nameLine)
{
    try {
        return DecodeLedgerText(nameLine);
    } catch (const LedgerError &) {
        return std::nullopt;
    }
}

qsizetype passwordLine(int record)
{
    return qsizetype(record) * LinesPerLedger + 1;
}

qsizetype yearLine(int record)
{
    return qsizetype(record) * LinesPerLedger + 2;
}

} // namespace

LedgerDirectory::LedgerDirectory(QString filePath)
    : m_path(std::move(filePath))
{ }

QByteArrayList LedgerDirectory::load() const
{
    const QString shownPath = QDir::toNativeSeparators(m_path);
    QFile file(m_path);
    if (!file.exists()) {
        save({});
        return {};
    }
    if (!file.open(QIODevice::ReadOnly))
        throw LedgerError(
            QStringLiteral("無法讀取帳本清單檔 %1：%2").arg(shownPath, file.errorString()));
    const QByteArrayList lines = splitLines(file.readAll());

    if (lines.size() % LinesPerLedger != 0)
        throw LedgerError(QStringLiteral("帳本清單檔 %1 已損壞：共有 %2 行，不是每個帳本三行。"
                                         "檔案未做任何變更。")
                              .arg(shownPath)
                              .arg(lines.size()));
    return lines;
}

void LedgerDirectory::save(const QByteArrayList &lines) const
{
    if (m_saveHook)
        m_saveHook();
    // QSaveFile writes a temporary file beside the target, syncs it and renames it over the
    // target only when everything was written.
    QSaveFile file(m_path);
    const auto fail = [&] {
        throw LedgerError(QStringLiteral("無法寫入帳本清單檔 %1：%2")
                              .arg(QDir::toNativeSeparators(m_path), file.errorString()));
    };
    if (!file.open(QIODevice::WriteOnly))
        fail();
    QByteArray content;
    for (const QByteArray &line : lines) {
        content += line;
        content += "\r\n";
    }
    if (file.write(content) != content.size())
        fail();
    // commit() can report success after its own final flush failed on a full disk, which
    // would rename a cut-short list over the good one; flush first and check.
    if (!file.flush())
        fail();
    if (!file.commit())
        fail();
}

int LedgerDirectory::firstRecordOf(const QByteArrayList &lines, const QString &name) const
{
    for (qsizetype i = 0; i < lines.size(); i += LinesPerLedger) {
        if (MatchLedgerText(name, lines[i]))
            return int(i / LinesPerLedger);
    }
    return -1;
}

QByteArray LedgerDirectory::encodeForStorage(const QString &text, const QString &what) const
{
    if (!toBig5(text))
        throw LedgerError(QStringLiteral("%1含有無法儲存的字元，請改用其他文字。").arg(what));
    return EncodeLedgerText(text);
}

QStringList LedgerDirectory::ListLedgerNames() const
{
    const QByteArrayList lines = load();
    QStringList names;
    for (qsizetype i = 0; i < lines.size(); i += LinesPerLedger) {
        if (const std::optional<QString> name = readableName(lines[i]))
            names.append(*name);
    }
    return names;
}

QString LedgerDirectory::unreadableRecordsNotice() const
{
    const QByteArrayList lines = load();
    QStringList where;
    for (qsizetype i = 0; i < lines.size(); i += LinesPerLedger) {
        if (!readableName(lines[i]))
            where << QStringLiteral("第 %1 至 %2 行").arg(i + 1).arg(i + LinesPerLedger);
    }
    if (where.isEmpty())
        return {};
    return QStringLiteral("帳本清單檔 %1 中%2的帳本名稱無法解讀，這筆帳本未列出；其餘帳本照常可用。"
                          "這些行在檔案中原樣保留：可從備份取回 UserInfo 修復，"
                          "或刪除這些行後重新建立該帳本。")
        .arg(QDir::toNativeSeparators(m_path), where.join(QStringLiteral("、")));
}

LedgerLookup LedgerDirectory::FindLedger(const QString &name) const
{
    const QByteArrayList lines = load();
    const int record = firstRecordOf(lines, name);
    if (record < 0)
        return {};
    return { true, lines[passwordLine(record)].isEmpty(), lines[yearLine(record)].isEmpty() };
}

PasswordCheck LedgerDirectory::CheckLedgerPassword(
    const QString &name, const QString &password) const
{
    const QByteArrayList lines = load();
    const int record = firstRecordOf(lines, name);
    if (record < 0)
        return {};
    return { true, MatchLedgerText(password, lines[passwordLine(record)]),
        lines[yearLine(record)].isEmpty() };
}

AddLedgerResult LedgerDirectory::AddLedger(const QString &name, const QString &password)
{
    QByteArrayList lines = load();
    const QByteArray nameLine = encodeForStorage(name, QStringLiteral("帳本名稱"));
    const QByteArray passwordLine = encodeForStorage(password, QStringLiteral("密碼"));
    // Every record counts here, not only the first: a second record of the same name could
    // never be reached.
    for (qsizetype i = 0; i < lines.size(); i += LinesPerLedger) {
        if (MatchLedgerText(name, lines[i]))
            return AddLedgerResult::Duplicate;
    }
    lines << nameLine << passwordLine << QByteArray();
    save(lines);
    return AddLedgerResult::Added;
}

bool LedgerDirectory::SetLedgerYear(const QString &name, int year)
{
    QByteArrayList lines = load();
    const int record = firstRecordOf(lines, name);
    if (record < 0)
        return false;
    lines[yearLine(record)] = QByteArray::number(year);
    save(lines);
    return true;
}

ChangePasswordResult LedgerDirectory::ChangeLedgerPassword(
    const QString &name, const QString &oldPassword, const QString &newPassword)
{
    QByteArrayList lines = load();
    const int record = firstRecordOf(lines, name);
    if (record < 0)
        return ChangePasswordResult::NoSuchLedger;
    if (!MatchLedgerText(oldPassword, lines[passwordLine(record)]))
        return ChangePasswordResult::WrongOldPassword;
    lines[passwordLine(record)] = encodeForStorage(newPassword, QStringLiteral("新密碼"));
    save(lines);
    return ChangePasswordResult::Changed;
}

RemoveLedgerResult LedgerDirectory::RemoveLedger(const QString &name, const QString &password,
    const std::function<bool(const QString &)> &confirmAndDelete)
{
    QByteArrayList lines = load();
    bool declined = false;
    for (qsizetype i = 0; i < lines.size(); i += LinesPerLedger) {
        if (readableName(lines[i]) != name)
            continue;
        QString storedPassword;
        try {
            storedPassword = DecodeLedgerText(lines[i + 1]);
        } catch (const LedgerError &) {
            continue; // an unreadable password line cannot equal any password
        }
        if (storedPassword != password)
            continue;
        if (!confirmAndDelete(name)) {
            declined = true;
            continue;
        }
        lines.remove(i, LinesPerLedger);
        save(lines);
        return RemoveLedgerResult::Removed;
    }
    return declined ? RemoveLedgerResult::Declined : RemoveLedgerResult::NoMatch;
}
