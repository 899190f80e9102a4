#pragma once

#include "ui/Prompts.h"

#include <memory>

class QFileDialog;
class QWidget;

class Program;

// The real dialogs behind the Prompts seam.
class DialogPrompts : public Prompts
{
public:
    explicit DialogPrompts(Program &program);
    void warning(const QString &text) override;
    bool confirm(const QString &question) override;
    bool askYesNo(const QString &question) override;
    std::optional<QString> askLedgerPassword() override;
    void message(const QString &text) override;
    void error(const QString &text) override;
    void alert(const QString &caption, const QString &text) override;
    QString saveFileName(const QString &caption, const QString &suggestedPath,
        const QString &filter, const QString &defaultSuffix) override;
    QString openFileName(
        const QString &caption, const QString &directory, const QString &filter) override;
    void preview(Report &report) override;

private:
    Program &m_program;
};

// The save dialog behind saveFileName, set up but not shown.
std::unique_ptr<QFileDialog> makeSaveFileDialog(QWidget *parent, const QString &caption,
    const QString &suggestedPath, const QString &filter, const QString &defaultSuffix);
