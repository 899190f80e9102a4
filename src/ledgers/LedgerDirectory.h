#pragma once

#include "ledgers/LedgerError.h"

#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <functional>

// What FindLedger learnt about the first record of a name.
struct LedgerLookup
{
    bool found = false;
    bool passwordEmpty = false; // the ledger has no password
    bool yearEmpty = false; // nobody has chosen a year at login yet
};

struct PasswordCheck
{
    bool found = false; // a record of that name exists
    bool matches = false; // and its password is the one given
    bool yearEmpty = false;
};

enum class AddLedgerResult { Added, Duplicate };
enum class ChangePasswordResult { Changed, WrongOldPassword, NoSuchLedger };
enum class RemoveLedgerResult { Removed, Declined, NoMatch };

// The ledger directory file "UserInfo": three lines per ledger (enciphered name, enciphered
// password or empty, year chosen at login or empty), in the order the ledgers were created.
//
// Every operation reads the whole file; those that change it write it back whole, through
// a temporary file renamed over the old one, so an interrupted write never leaves a
// truncated list. Lines are written with CR LF; CR, LF or CR LF are accepted on reading.
// A missing file is created empty. A file whose line count is not a multiple of three makes
// every operation throw LedgerError naming the file, and is left as it is. A record whose
// name line cannot be read is passed over (not listed, never matched) and kept verbatim
// whenever the file is written, so the other ledgers stay usable.
//
// Names are matched exactly (case-sensitive); the first record of a name is the one used.
class LedgerDirectory
{
public:
    explicit LedgerDirectory(QString filePath);

    QString filePath() const { return m_path; }

    // The plain names, in file order, duplicates and empty names included; records whose
    // name line cannot be read are left out.
    QStringList ListLedgerNames() const;
    // What the user is told about the records ListLedgerNames() left out; empty when none.
    QString unreadableRecordsNotice() const;

    LedgerLookup FindLedger(const QString &name) const;

    PasswordCheck CheckLedgerPassword(const QString &name, const QString &password) const;

    // Appends a ledger with an empty year. Refuses a name any record already has; throws
    // LedgerError when the name or password holds a character Big5 cannot store.
    AddLedgerResult AddLedger(const QString &name, const QString &password);

    // Records the year chosen at login. Returns false (and writes nothing) when no record
    // has that name.
    bool SetLedgerYear(const QString &name, int year);

    // An empty new password removes the password. Only the password line changes.
    ChangePasswordResult ChangeLedgerPassword(
        const QString &name, const QString &oldPassword, const QString &newPassword);

    // Removes the first record whose decoded name and decoded password equal name and
    // password exactly. For each such record confirmAndDelete(name) is called first: it asks
    // the user and deletes the ledger's data, returning true; returning false declines that
    // record and the search goes on with the next one. If it throws, the file is not written.
    RemoveLedgerResult RemoveLedger(const QString &name, const QString &password,
        const std::function<bool(const QString &)> &confirmAndDelete);

    // Test seam: called before the file is written; may throw to simulate a failed write.
    void setSaveHook(std::function<void()> hook) { m_saveHook = std::move(hook); }

private:
    QByteArrayList load() const;
    void save(const QByteArrayList &lines) const;
    int firstRecordOf(const QByteArrayList &lines, const QString &name) const;
    QByteArray encodeForStorage(const QString &text, const QString &what) const;

    QString m_path;
    std::function<void()> m_saveHook;
};
