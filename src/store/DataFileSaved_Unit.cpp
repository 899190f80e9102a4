#include "store/DataFileSaved_Unit.h"

#include "app/Program.h"
#include "calendar/RM_Main_Unit.h"
#include "store/AutoBackup.h"
#include "store/Backup.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QEvent>
#include <QFont>
#include <QPushButton>

TDataFileSaved_Form::TDataFileSaved_Form(Program &program)
    : m_program(program)
{
    setObjectName(QStringLiteral("DataFileSaved_Form"));
    setWindowTitle(QStringLiteral("備份"));
    // A single border with only the close button.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(244, 53);

    auto makeButton = [this](const char *name, const QString &caption, int x) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        QFont font = button->font();
        font.setBold(true);
        button->setFont(font);
        button->setGeometry(x, 11, 100, 31);
        return button;
    };
    jvbtbtn2 = makeButton("jvbtbtn2", QStringLiteral("備份"), 14);
    jvbtbtn3 = makeButton("jvbtbtn3", QStringLiteral("回存"), 130);
    connect(jvbtbtn2, &QPushButton::clicked, this, &TDataFileSaved_Form::jvbtbtn2Click);
    connect(jvbtbtn3, &QPushButton::clicked, this, &TDataFileSaved_Form::jvbtbtn3Click);
}

void TDataFileSaved_Form::FormActivate() { }

void TDataFileSaved_Form::openFromCalendar()
{
    // This screen belongs to the calendar: when another screen takes the calendar's place,
    // it goes too, rather than floating over that screen and later bringing the calendar back
    // beside it.
    if (auto *calendar = m_program.RM_Main_Form)
        calendar->installEventFilter(this);
    showCentred();
}

bool TDataFileSaved_Form::eventFilter(QObject *watched, QEvent *event)
{
    // Minimising (a spontaneous hide) takes every window down anyway.
    if (watched == m_program.RM_Main_Form && event->type() == QEvent::Hide && !event->spontaneous()
        && isVisible())
        hide();
    return GradientWindow::eventFilter(watched, event);
}

bool TDataFileSaved_Form::runWith(QPushButton *button, const std::function<void()> &work)
{
    button->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QString refusal, failure;
    try {
        work();
    } catch (const BackupRefused &e) {
        refusal = e.message();
    } catch (const std::exception &e) {
        failure = QString::fromUtf8(e.what());
    }
    QApplication::restoreOverrideCursor();
    button->setEnabled(true);
    if (!refusal.isEmpty())
        m_program.prompts().warning(refusal);
    else if (!failure.isEmpty())
        m_program.prompts().error(failure);
    return refusal.isEmpty() && failure.isEmpty();
}

void TDataFileSaved_Form::jvbtbtn2Click()
{
    const QString target = m_program.prompts().saveFileName(QStringLiteral("備份"),
        Backup::defaultFileName(m_program.ProgramDir, QDate::currentDate()), fileFilter(),
        QStringLiteral("BAK"));
    if (target.isEmpty())
        return;
    // On a failure the screen stays open so that another place can be chosen.
    if (runWith(jvbtbtn2, [&] { Backup(m_program.db(), m_program.ProgramDir).backupTo(target); }))
        close();
}

void TDataFileSaved_Form::jvbtbtn3Click()
{
    const QString source = m_program.prompts().openFileName(
        QStringLiteral("回存"), AutoBackup::restoreFolder(m_program.ProgramDir), fileFilter());
    if (source.isEmpty())
        return;
    // The backup is read and checked first, so the question can say what it holds and what
    // would be replaced, and a file that cannot be restored is refused before anything is
    // asked.
    Backup backup(m_program.db(), m_program.ProgramDir);
    Backup::RestorePlan plan;
    if (!runWith(
            jvbtbtn3, [&] { plan = backup.prepareRestore(source, m_program.currentLedger()); }))
        return;
    if (!m_program.prompts().askYesNo(Backup::restoreQuestion(plan))) {
        close();
        return;
    }
    Backup::RestoreResult result;
    if (runWith(jvbtbtn3, [&] { result = backup.applyRestore(plan); })) {
        m_program.prompts().message(Backup::restoredMessage(result));
        close();
    }
}

void TDataFileSaved_Form::closeEvent(QCloseEvent *event)
{
    event->accept();
    FormClose();
}

void TDataFileSaved_Form::FormClose()
{
    hide();
    // The calendar refills its month when it becomes active again.
    if (auto *calendar = m_program.RM_Main_Form) {
        calendar->show();
        calendar->raise();
        calendar->activateWindow();
    }
}
