#include "app/Program.h"

#include "analysis/CashDetail_Unit.h"
#include "analysis/Year_Month_Unit.h"
#include "app/AutoBackupWindow.h"
#include "calendar/RM_Main_Unit.h"
#include "categories/CashSet_Unit.h"
#include "dayentry/CashRecord_Unit.h"
#include "dialogs/DialogPrompts.h"
#include "dialogs/Help_Unit.h"
#include "dialogs/InputPW_Unit.h"
#include "dialogs/MsgShow_Unit.h"
#include "dialogs/mrYesNo_Unit.h"
#include "ledgers/KeyPW_Unit.h"
#include "ledgers/LedgerDirectory.h"
#include "ledgers/NewUser_Unit.h"
#include "ledgers/PasswordChange_Unit.h"
#include "ledgers/SelectUser_Unit.h"
#include "ledgers/SelectYear_Unit.h"
#include "recurring/FirmCash_Unit.h"
#include "statistics/Month_Unit.h"
#include "statistics/Year_Unit.h"
#include "store/DataFileSaved_Unit.h"
#include "store/Database.h"
#include "ui/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSpinBox>
#include <vector>

Program::Program(const QString &programDir, std::unique_ptr<Prompts> prompts)
    : ProgramDir(QDir::cleanPath(programDir))
    , m_db(std::make_unique<Database>(QDir(programDir).filePath(QStringLiteral("CDB.dat"))))
    , m_prompts(std::move(prompts))
{
    QDir().mkpath(ProgramDir);
    m_directory = std::make_unique<LedgerDirectory>(userInfoPath());
    m_userInfoAtStart = readUserInfo();
    if (!m_prompts)
        m_prompts = std::make_unique<DialogPrompts>(*this);
    createScreens();
}

Program::~Program()
{
    // Screens go in the reverse order of their creation.
    for (auto it = m_screens.rbegin(); it != m_screens.rend(); ++it)
        delete *it;
    m_screens.clear();
    m_autoBackupWindow.reset();
    m_db->close();
}

void Program::createScreens()
{
    auto add = [this](auto *screen) {
        m_screens.push_back(screen);
        return screen;
    };
    SelectUser_Form = add(new TSelectUser_Form(*this));
    RM_Main_Form = add(new TRM_Main_Form(*this));
    SelectYear_Form = add(new TSelectYear_Form(*this));
    KeyPW_Form = add(new TKeyPW_Form(*this));
    NewUser_Form = add(new TNewUser_Form(*this));
    CashSet_Form = add(new TCashSet_Form(*this));
    CashRecord_Form = add(new TCashRecord_Form(*this));
    Month_Form = add(new TMonth_Form(*this));
    Year_Form = add(new TYear_Form(*this));
    Year_Month_Form = add(new TYear_Month_Form(*this));
    PasswordChange = add(new TPasswordChange(*this));
    DataFileSaved_Form = add(new TDataFileSaved_Form(*this));
    FirmCash_Form = add(new TFirmCash_Form(*this));
    CashDetail_Form = add(new TCashDetail_Form(*this));
    MsgShow_Form = add(new TMsgShow_Form(*this));
    InputPW_Form = add(new TInputPW_Form(*this));
    mrYesNo_Form = add(new TmrYesNo_Form(*this));
    Help_Form = add(new THelp_Form(*this));
}

QString Program::userInfoPath() const
{
    return filePath(QStringLiteral("UserInfo"));
}

QString Program::filePath(const QString &name) const
{
    return QDir(ProgramDir).filePath(name);
}

QString Program::currentLedger() const
{
    return RM_Main_Form->User_Label->text();
}

bool Program::loggedIn() const
{
    return currentLedger() != QStringLiteral("訪客");
}

int Program::currentYear() const
{
    return RM_Main_Form->Year_Label->value();
}

int Program::currentMonth() const
{
    QString text = RM_Main_Form->M_Label->text();
    return text.remove(QStringLiteral("月")).toInt();
}

bool Program::guarded(const std::function<void()> &work)
{
    try {
        work();
        return true;
    } catch (const std::exception &e) {
        m_prompts->error(QString::fromUtf8(e.what()));
    }
    return false;
}

QByteArray Program::readUserInfo() const
{
    // A missing file and an empty one hold the same: no ledgers.
    QFile file(userInfoPath());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

bool Program::booksChanged() const
{
    return m_db->changeCount() > 0 || readUserInfo() != m_userInfoAtStart;
}

void Program::endProgram()
{
    if (m_ended)
        return;
    m_ended = true;
    const bool changed = booksChanged();
    m_db->close();
    for (QWidget *screen : m_screens)
        screen->hide();
    if (changed)
        backUpBeforeEnding();
    if (QCoreApplication::instance())
        QCoreApplication::quit();
}

void Program::backUpBeforeEnding()
{
    AutoBackup backup(ProgramDir);
    backup.diskSpace = diskSpace;
    if (!m_autoBackupWindow)
        m_autoBackupWindow = std::make_unique<AutoBackupWindow>();
    const AutoBackup::Result result = m_autoBackupWindow->run(backup, clock());
    // However the copy went, the program still ends; a skipped or failed one says so once.
    if (result.outcome == AutoBackup::Result::Outcome::Skipped)
        m_prompts->message(result.message);
    else if (result.outcome == AutoBackup::Result::Outcome::Failed)
        m_prompts->error(result.message);
}
