#include "support/TestProgram.h"

#include "store/Database.h"
#include "store/LedgerOps.h"

#include <QLabel>
#include <QSpinBox>
#include <QSqlQuery>

TempDataDir::TempDataDir()
{
    m_dir.setAutoRemove(true);
}

TempDataDir::TempDataDir(const QString &base)
    : m_dir(base + QStringLiteral("/qinghe-XXXXXX"))
{
    m_dir.setAutoRemove(true);
}

QStringList column(Database &db, const QString &sql, const QVariantList &params)
{
    QStringList values;
    QSqlQuery query = db.exec(sql, params);
    while (query.next())
        values << query.value(0).toString();
    return values;
}

void fillSubcategories(
    Database &db, const QString &owner, const QString &kind, int number, int count)
{
    Transaction tx(db);
    const int held = int(GetCategoryNameList(db, owner, kind, number).size());
    for (int p = held + 1; p <= count; ++p)
        db.exec(QStringLiteral("INSERT INTO 帳目分類 (帳目類別, 帳目屬性, 帳目名稱, 帳目順序, "
                               "帳目擁有者) VALUES (?, ?, ?, ?, ?)"),
            { kind, QString::number(number), QStringLiteral("補%1").arg(p), number * 100 + p,
                owner });
    tx.commit();
}

TestProgram::TestProgram()
    : m_tempDir(std::make_unique<TempDataDir>())
{
    m_dirPath = m_tempDir->path();
    auto prompts = std::make_unique<ScriptedPrompts>();
    m_prompts = prompts.get();
    m_program = std::make_unique<Program>(m_dirPath, std::move(prompts));
}

TestProgram::TestProgram(const QString &existingDir)
    : m_dirPath(existingDir)
{
    auto prompts = std::make_unique<ScriptedPrompts>();
    m_prompts = prompts.get();
    m_program = std::make_unique<Program>(m_dirPath, std::move(prompts));
}

void TestProgram::copyTemplate(const QString &ledger)
{
    Database &db = m_program->db();
    Transaction tx(db);
    db.exec(QStringLiteral("DELETE FROM 帳目分類 WHERE 帳目擁有者 = ?"), { ledger });
    db.exec(
        QStringLiteral("INSERT INTO 帳目分類 (帳目類別, 帳目屬性, 帳目名稱, 帳目順序, 帳目擁有者) "
                       "SELECT 帳目類別, 帳目屬性, 帳目名稱, 帳目順序, ? FROM 帳目分類 "
                       "WHERE 帳目擁有者 = 'DEFAULT'"),
        { ledger });
    db.exec(QStringLiteral("DELETE FROM 參數設定 WHERE 使用者 = ?"), { ledger });
    db.exec(QStringLiteral("INSERT INTO 參數設定 (代碼, 設定值, 使用者) SELECT 代碼, 設定值, ? "
                           "FROM 參數設定 WHERE 使用者 = 'DEFAULT'"),
        { ledger });
    tx.commit();
}

void TestProgram::loginAs(const QString &ledger, int year, int month)
{
    copyTemplate(ledger);
    m_program->RM_Main_Form->User_Label->setText(ledger);
    m_program->RM_Main_Form->Year_Label->setValue(year);
    m_program->RM_Main_Form->M_Label->setText(QStringLiteral("%1月").arg(month));
}

void TestProgram::addEntry(const QString &ledger, const QDate &date, bool income, int mainNumber,
    const QString &name, qint64 amount, const QString &note, const QVariant &period)
{
    Database &db = m_program->db();
    Transaction tx(db);
    const qint64 serial = GetNewSingleDayRecordNo(db, ledger, date, income);
    db.exec(QStringLiteral(
                "INSERT INTO 單日記帳本 (日期, 使用者, 帳目類型, 帳目屬性, 帳目名稱, 金額, 說明, "
                "定期, 序列號) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
        { dbDate(date), ledger, income ? 1 : 0, QString::number(mainNumber), name, amount, note,
            period, serial });
    SyncDayTotals(db, ledger, date);
    tx.commit();
}
