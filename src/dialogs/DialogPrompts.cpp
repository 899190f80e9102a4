#include "dialogs/DialogPrompts.h"

#include "app/Program.h"
#include "dialogs/InputPW_Unit.h"
#include "dialogs/MsgShow_Unit.h"
#include "dialogs/mrYesNo_Unit.h"
#include "ui/ReportPreview.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {
// The standard message boxes carry the program's title as their caption.
QString applicationTitle()
{
    return QStringLiteral("青禾理財簿");
}
} // namespace

DialogPrompts::DialogPrompts(Program &program)
    : m_program(program)
{ }

void DialogPrompts::warning(const QString &text)
{
    m_program.MsgShow_Form->showMessage(text);
}

bool DialogPrompts::confirm(const QString &question)
{
    return m_program.mrYesNo_Form->ask(question);
}

bool DialogPrompts::askYesNo(const QString &question)
{
    return QMessageBox::question(QApplication::activeWindow(), applicationTitle(), question,
               QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes)
        == QMessageBox::Yes;
}

std::optional<QString> DialogPrompts::askLedgerPassword()
{
    return m_program.InputPW_Form->ask();
}

void DialogPrompts::message(const QString &text)
{
    QMessageBox::information(QApplication::activeWindow(), applicationTitle(), text);
}

void DialogPrompts::error(const QString &text)
{
    QMessageBox::critical(QApplication::activeWindow(), applicationTitle(), text);
}

void DialogPrompts::alert(const QString &caption, const QString &text)
{
    QMessageBox::warning(nullptr, caption, text);
}

std::unique_ptr<QFileDialog> makeSaveFileDialog(QWidget *parent, const QString &caption,
    const QString &suggestedPath, const QString &filter, const QString &defaultSuffix)
{
    auto dialog = std::make_unique<QFileDialog>(parent, caption, suggestedPath, filter);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // The dialog adds the suffix itself, so its question about replacing a file is asked
    // about the name that is really written.
    dialog->setDefaultSuffix(defaultSuffix);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    return dialog;
}

QString DialogPrompts::saveFileName(const QString &caption, const QString &suggestedPath,
    const QString &filter, const QString &defaultSuffix)
{
    const auto dialog = makeSaveFileDialog(
        QApplication::activeWindow(), caption, suggestedPath, filter, defaultSuffix);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return {};
    return dialog->selectedFiles().constFirst();
}

QString DialogPrompts::openFileName(
    const QString &caption, const QString &directory, const QString &filter)
{
    return QFileDialog::getOpenFileName(nullptr, caption, directory, filter);
}

void DialogPrompts::preview(Report &report)
{
    showReportPreview(report, *this);
}
