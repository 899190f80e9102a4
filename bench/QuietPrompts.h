#pragma once

#include "ui/Prompts.h"

#include <cstdio>

// The answers of the benchmarks that walk the real screens: nothing is asked of anyone and
// nothing blocks. A message would mean the walk went wrong, so it goes to stderr.
class QuietPrompts : public Prompts
{
public:
    void warning(const QString &text) override { note(text); }
    bool confirm(const QString &text) override
    {
        note(text);
        return false;
    }
    std::optional<QString> askLedgerPassword() override { return std::nullopt; }
    void message(const QString &text) override { note(text); }
    void error(const QString &text) override { note(text); }
    void alert(const QString &, const QString &text) override { note(text); }
    QString saveFileName(
        const QString &, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    void preview(Report &) override { }

private:
    static void note(const QString &text)
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
};
