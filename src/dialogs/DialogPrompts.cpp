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

QString DialogPrompts::saveFileName(
    const QString &caption, const QString &suggestedPath, const QString &filter)
{
    return QFileDialog::getSaveFileName(nullptr, caption, suggestedPath, filter);
}

QString DialogPrompts::openFileName(
    const QString &caption, const QString &directory, const QString &filter)
{
    return QFileDialog::getOpenFileName(nullptr, caption, directory, filter);
}

void DialogPrompts::preview(Report &report)
{
    showReportPreview(report);
}
