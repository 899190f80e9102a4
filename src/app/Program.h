#pragma once

#include "store/AutoBackup.h"
#include "ui/Prompts.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

class QWidget;
class AutoBackupWindow;

class Database;
class LedgerDirectory;
class TSelectUser_Form;
class TRM_Main_Form;
class TSelectYear_Form;
class TKeyPW_Form;
class TNewUser_Form;
class TCashSet_Form;
class TCashRecord_Form;
class TMonth_Form;
class TYear_Form;
class TYear_Month_Form;
class TPasswordChange;
class TDataFileSaved_Form;
class TFirmCash_Form;
class TCashDetail_Form;
class TMsgShow_Form;
class TInputPW_Form;
class TmrYesNo_Form;
class THelp_Form;

// The state all screens share and the screens themselves, created once in a fixed order
// and kept until the program ends.
class Program
{
public:
    // prompts: null for the real dialogs; tests pass a scripted one.
    explicit Program(const QString &programDir, std::unique_ptr<Prompts> prompts = nullptr);
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    const QString ProgramDir;
    int DefaultDayPage = 0;
    QString LastDayCell;

    Database &db() { return *m_db; }
    Prompts &prompts() { return *m_prompts; }
    // The ledger directory file UserInfo of this data directory.
    LedgerDirectory &directory() { return *m_directory; }
    QString userInfoPath() const;
    QString filePath(const QString &name) const;

    // The current ledger lives in the calendar's User_Label; "訪客" means nobody is logged in.
    QString currentLedger() const;
    bool loggedIn() const;
    int currentYear() const;
    int currentMonth() const;

    // Runs a handler's work; an error it throws is shown to the user instead of escaping
    // into the event loop. Returns false when it failed.
    bool guarded(const std::function<void()> &work);

    // Ends the program (the selection screen closes; the event loop quits). When this run
    // changed the books, an automatic copy is made first.
    void endProgram();
    bool ended() const { return m_ended; }
    // Entries, day totals, categories, settings or the ledger directory file were written.
    bool booksChanged() const;
    // The window shown while the automatic copy is made; null until the first one.
    AutoBackupWindow *autoBackupWindow() const { return m_autoBackupWindow.get(); }
    // The clock that names the automatic copy and the disk the copy asks about (tests put
    // in their own).
    std::function<QDateTime()> clock = &QDateTime::currentDateTime;
    std::function<DiskSpace(const QString &folder)> diskSpace = &AutoBackup::diskSpaceOf;

    TSelectUser_Form *SelectUser_Form = nullptr;
    TRM_Main_Form *RM_Main_Form = nullptr;
    TSelectYear_Form *SelectYear_Form = nullptr;
    TKeyPW_Form *KeyPW_Form = nullptr;
    TNewUser_Form *NewUser_Form = nullptr;
    TCashSet_Form *CashSet_Form = nullptr;
    TCashRecord_Form *CashRecord_Form = nullptr;
    TMonth_Form *Month_Form = nullptr;
    TYear_Form *Year_Form = nullptr;
    TYear_Month_Form *Year_Month_Form = nullptr;
    TPasswordChange *PasswordChange = nullptr;
    TDataFileSaved_Form *DataFileSaved_Form = nullptr;
    TFirmCash_Form *FirmCash_Form = nullptr;
    TCashDetail_Form *CashDetail_Form = nullptr;
    TMsgShow_Form *MsgShow_Form = nullptr;
    TInputPW_Form *InputPW_Form = nullptr;
    TmrYesNo_Form *mrYesNo_Form = nullptr;
    THelp_Form *Help_Form = nullptr;

private:
    void createScreens();
    QByteArray readUserInfo() const;
    void backUpBeforeEnding();

    std::unique_ptr<Database> m_db;
    std::unique_ptr<Prompts> m_prompts;
    std::unique_ptr<LedgerDirectory> m_directory;
    std::vector<QWidget *> m_screens;
    std::unique_ptr<AutoBackupWindow> m_autoBackupWindow;
    QByteArray m_userInfoAtStart;
    bool m_ended = false;
};
