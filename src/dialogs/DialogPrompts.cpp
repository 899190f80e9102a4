#include "dialogs/DialogPrompts.h"

#include "app/Program.h"
#include "ui/ReportPreview.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

DialogPrompts::DialogPrompts(Program &program)
    : m_program(program)
{
}

void DialogPrompts::warning(const QString &text)
{
    QMessageBox::warning(nullptr, QStringLiteral("警告訊息"), text);
}

bool DialogPrompts::confirm(const QString &question)
{
    return QMessageBox::question(nullptr, QStringLiteral("提示視窗"), question,
                                 QMessageBox::Ok | QMessageBox::Cancel)
        == QMessageBox::Ok;
}

std::optional<QString> DialogPrompts::askLedgerPassword()
{
    bool ok = false;
    const QString text = QInputDialog::getText(nullptr, QStringLiteral("密碼確認視窗"),
                                               QStringLiteral("請輸入此帳本登入密碼"),
                                               QLineEdit::Password, {}, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

void DialogPrompts::message(const QString &text)
{
    QMessageBox::information(nullptr, QApplication::applicationDisplayName(), text);
}

void DialogPrompts::error(const QString &text)
{
    QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), text);
}

void DialogPrompts::alert(const QString &caption, const QString &text)
{
    QMessageBox::warning(nullptr, caption, text);
}

QString DialogPrompts::saveFileName(const QString &caption, const QString &suggestedPath,
                                    const QString &filter)
{
    return QFileDialog::getSaveFileName(nullptr, caption, suggestedPath, filter);
}

QString DialogPrompts::openFileName(const QString &caption, const QString &directory,
                                    const QString &filter)
{
    return QFileDialog::getOpenFileName(nullptr, caption, directory, filter);
}

void DialogPrompts::preview(Report &report)
{
    showReportPreview(report);
}
