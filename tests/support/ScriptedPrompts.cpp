#include "support/ScriptedPrompts.h"

#include <QFileInfo>

bool ScriptedPrompts::confirm(const QString &question)
{
    questions << question;
    if (confirmAnswers.empty())
        return defaultConfirm;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

bool ScriptedPrompts::askYesNo(const QString &question)
{
    yesNoQuestions << question;
    if (confirmAnswers.empty())
        return defaultConfirm;
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

std::optional<QString> ScriptedPrompts::askLedgerPassword()
{
    if (passwordAnswers.empty())
        return std::nullopt;
    auto answer = passwordAnswers.front();
    passwordAnswers.pop_front();
    return answer;
}

QString ScriptedPrompts::saveFileName(const QString &caption, const QString &suggestedPath,
    const QString &filter, const QString &defaultSuffix)
{
    saveRequests << caption + QLatin1Char('|') + suggestedPath + QLatin1Char('|') + filter;
    saveSuffixes << defaultSuffix;
    if (savePaths.empty())
        return {};
    QString path = savePaths.front();
    savePaths.pop_front();
    if (!path.isEmpty() && !defaultSuffix.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += QLatin1Char('.') + defaultSuffix;
    return path;
}

QString ScriptedPrompts::openFileName(
    const QString &caption, const QString &directory, const QString &filter)
{
    openRequests << caption + QLatin1Char('|') + directory + QLatin1Char('|') + filter;
    if (openPaths.empty())
        return {};
    const QString path = openPaths.front();
    openPaths.pop_front();
    return path;
}

void ScriptedPrompts::preview(Report &report)
{
    ++previews;
    if (onPreview)
        onPreview(report);
}

void ScriptedPrompts::clearLog()
{
    warnings.clear();
    questions.clear();
    messages.clear();
    errors.clear();
    alerts.clear();
    saveRequests.clear();
    saveSuffixes.clear();
    openRequests.clear();
    previews = 0;
}
