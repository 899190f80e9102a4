#pragma once

#include "ledgers/LedgerDirectory.h"

#include <QString>
#include <functional>
#include <optional>

class Database;

// Creating and deleting whole ledgers: the directory record and the ledger's rows in the
// database are kept in agreement even when a step fails.
class LedgerAdmin
{
public:
    LedgerAdmin(Database &db, LedgerDirectory &directory);

    enum class CreateResult { Created, Duplicate, Reserved };

    // Names the program keeps for itself: the template owner, the category roll-back copies,
    // and the texts the screens use to mean "no ledger".
    static bool isReservedName(const QString &name);

    // Adds the directory record and copies the template's categories and settings to the
    // new ledger, replacing those a former ledger of that name left (its entries stay). A
    // refused name touches nothing; a failure leaves the database and the directory as they
    // were and is rethrown.
    CreateResult createLedger(const QString &name, const QString &password);

    // Removes the ledger whose name and password match. confirm() is asked for each
    // matching record; on yes, the ledger's rows of all four tables go in one transaction
    // and the directory file is rewritten only after that has committed.
    RemoveLedgerResult removeLedger(
        const QString &name, const QString &password, const std::function<bool()> &confirm);

    // Deletes every row the ledger owns (entries, day totals, categories, settings).
    void deleteLedgerRows(const QString &name);

    // The ledger's "預設單日記帳畫面" setting when it has exactly one such row.
    std::optional<int> defaultDayPage(const QString &name);

private:
    void copyTemplate(const QString &name);
    bool ownsCategoriesOrSettings(const QString &name);
    void dropTemplateCopy(const QString &name);

    Database &m_db;
    LedgerDirectory &m_directory;
};
