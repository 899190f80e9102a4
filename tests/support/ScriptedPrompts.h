#pragma once

#include "ui/Prompts.h"

#include <QStringList>
#include <deque>
#include <functional>

// Answers the program's questions from a script and records every message, so tests never
// block on a modal window. Unscripted questions get the defaults below.
class ScriptedPrompts : public Prompts
{
public:
    void warning(const QString &text) override { warnings << text; }
    bool confirm(const QString &question) override;
    bool askYesNo(const QString &question) override;
    std::optional<QString> askLedgerPassword() override;
    void message(const QString &text) override { messages << text; }
    void error(const QString &text) override { errors << text; }
    void alert(const QString &caption, const QString &text) override
    {
        alerts << caption + QStringLiteral(": ") + text;
    }
    // Like the real dialog, adds the default suffix to a scripted name without one.
    QString saveFileName(const QString &caption, const QString &suggestedPath,
        const QString &filter, const QString &defaultSuffix) override;
    QString openFileName(
        const QString &caption, const QString &directory, const QString &filter) override;
    void preview(Report &report) override;

    // Everything shown, in order of kind.
    QStringList warnings, questions, messages, errors, alerts;
    QStringList yesNoQuestions; // the standard question box; answered from confirmAnswers too
    QStringList saveRequests, openRequests; // "caption|suggested|filter"
    QStringList saveSuffixes; // the default suffix each save dialog was given
    int previews = 0;

    // Scripted answers; taken from the front.
    std::deque<bool> confirmAnswers;
    bool defaultConfirm = true;
    std::deque<std::optional<QString>> passwordAnswers;
    std::deque<QString> savePaths, openPaths;
    // Called with the report instead of a preview window (e.g. to render it to PDF).
    std::function<void(Report &)> onPreview;

    void clearLog();
};
