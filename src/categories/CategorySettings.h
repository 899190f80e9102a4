#pragma once

#include <QString>
#include <QStringList>

class Database;

// The subcategories of one ledger: add, remove and reorder, with a copy under the owner
// ledger + "_BAK" taken when editing starts so that every change can be undone.
class CategorySettings
{
public:
    CategorySettings(Database &db, const QString &ledger);

    static QString backupOwner(const QString &ledger);

    // Takes the copy; a copy left behind by an earlier run is dropped first. Returns the
    // database's change count from before the copy, for finish().
    qint64 takeBackup();
    // Puts the copy back (rollBack) or keeps the changes, and drops the copy. When the
    // categories end as they were, every write since changesBeforeCopy (the copy itself, edits
    // undone again) no longer counts as a change of the books.
    void finish(bool rollBack, qint64 changesBeforeCopy = -1);

    // Kind "1" income / "0" expense; number the main category's number.
    QStringList subcategories(const QString &kind, int number) const;
    bool exists(const QString &kind, int number, const QString &name) const;

    enum class AddResult { Added, Duplicate, Full };
    // Adds a subcategory at the end of the list. Nothing is written when the name exists or
    // the main category already holds the most subcategories its codes allow; a list that
    // holds more already (an older file) keeps them as they are.
    AddResult add(const QString &kind, int number, const QString &name);
    // What the user is told when add() reports Full.
    static QString fullMessage(const QString &mainName);
    void remove(const QString &kind, int number, const QString &name);
    // Moves the row at index one place up or down; returns the row's new index (unchanged at
    // either end of the list).
    int move(const QString &kind, int number, int index, bool up);

private:
    bool sameAsCopy() const;

    Database &m_db;
    QString m_ledger;
};
