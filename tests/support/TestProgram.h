#pragma once

#include "app/Program.h"
#include "calendar/RM_Main_Unit.h"
#include "store/Database.h"
#include "support/ScriptedPrompts.h"

#include <QDate>
#include <QTemporaryDir>
#include <memory>

// A fresh data directory per test.
class TempDataDir
{
public:
    TempDataDir();
    // A fresh directory inside base instead of the usual temporary folder.
    explicit TempDataDir(const QString &base);
    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

// The first column of every row the statement returns, as text.
QStringList column(Database &db, const QString &sql, const QVariantList &params = {});

// Adds subcategories 補1, 補2 … after the last one of a main category until it holds count,
// each with the next code as the program gives them (past 99 the codes run into the next
// main category's hundred, as older files may hold them).
void fillSubcategories(
    Database &db, const QString &owner, const QString &kind, int number, int count);

// A whole program on a fresh data directory, with scripted prompts.
class TestProgram
{
public:
    TestProgram();
    explicit TestProgram(const QString &existingDir);

    Program &program() { return *m_program; }
    Program *operator->() { return m_program.get(); }
    ScriptedPrompts &prompts() { return *m_prompts; }
    Database &db() { return m_program->db(); }
    QString dir() const { return m_dirPath; }

    // Creates the ledger's categories and settings from the template (no directory record)
    // and makes it the current ledger shown on the calendar.
    void loginAs(const QString &ledger, int year = 2012, int month = 3);
    // Copies the template categories and settings to a ledger.
    void copyTemplate(const QString &ledger);
    // Adds an entry straight into the tables and keeps the day totals in step.
    void addEntry(const QString &ledger, const QDate &date, bool income, int mainNumber,
        const QString &name, qint64 amount, const QString &note = {},
        const QVariant &period = QString());

private:
    std::unique_ptr<TempDataDir> m_tempDir;
    QString m_dirPath;
    ScriptedPrompts *m_prompts = nullptr;
    std::unique_ptr<Program> m_program;
};
