#pragma once

#include <QString>
#include <optional>

class Report;

// Every question, message box, file dialog and print preview of the program goes through
// this one interface, so that tests can answer them without a modal window.
class Prompts
{
public:
    virtual ~Prompts() = default;

    // The non-modal warning dialog "警告訊息": short warnings and confirmations of done actions.
    virtual void warning(const QString &text) = 0;
    // The modal yes/no dialog "提示視窗"; true when the user chose 確定.
    virtual bool confirm(const QString &question) = 0;
    // The standard question box with the buttons 是 and 否, captioned with the application
    // title; true when the user chose 是.
    virtual bool askYesNo(const QString &question) { return confirm(question); }
    // The password confirmation dialog; nothing when cancelled.
    virtual std::optional<QString> askLedgerPassword() = 0;
    // The standard message box captioned with the application title.
    virtual void message(const QString &text) = 0;
    // An error the program could not carry out (the engine's or the file system's text).
    virtual void error(const QString &text) = 0;
    // A message box with a warning icon and its own caption (e.g. "啟動警告").
    virtual void alert(const QString &caption, const QString &text) = 0;
    // Save / open file dialogs; an empty text means cancelled. A save dialog adds
    // defaultSuffix (without the dot; may be empty) to a name typed without a suffix, and asks
    // before replacing an existing file under the name it returns.
    virtual QString saveFileName(const QString &caption, const QString &suggestedPath,
        const QString &filter, const QString &defaultSuffix)
        = 0;
    virtual QString openFileName(
        const QString &caption, const QString &directory, const QString &filter)
        = 0;
    // The print preview of a report, from which the user prints.
    virtual void preview(Report &report) = 0;
};
