#include "app/AutoBackupWindow.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <QTimer>
#include <memory>

AutoBackupWindow::AutoBackupWindow()
{
    setObjectName(QStringLiteral("AutoBackupWindow"));
    setWindowTitle(QStringLiteral("青禾理財簿"));
    // Nothing to choose and nothing to cancel: a title and no buttons.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::MSWindowsFixedSizeDialogHint);
    setWindowModality(Qt::ApplicationModal);
    m_minimiseApplication = false;
    setFixedSize(300, 84);

    Label1 = new QLabel(QStringLiteral("正在自動備份…"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 12, 268, 24);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setGeometry(16, 44, 268, 24);
    ProgressBar1->setAccessibleName(Label1->text());
    Label1->setBuddy(ProgressBar1);
}

AutoBackup::Result AutoBackupWindow::run(AutoBackup &backup, const QDateTime &now)
{
    AutoBackup::Progress progress;
    AutoBackup::Result result;
    std::unique_ptr<QThread> worker(QThread::create([&] { result = backup.run(now, &progress); }));

    QEventLoop loop;
    connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer poll;
    poll.setInterval(50);
    connect(&poll, &QTimer::timeout, this, [&] { ProgressBar1->setValue(progress.percent()); });

    ProgressBar1->setValue(0);
    showCentred();
    poll.start();
    worker->start();
    // The finished signal is queued to this thread, so it ends the loop even when the copy is
    // done before the loop starts.
    loop.exec();
    worker->wait();
    poll.stop();
    ProgressBar1->setValue(100);
    hide();
    return result;
}

void AutoBackupWindow::closeEvent(QCloseEvent *event)
{
    // The copy cannot be abandoned half-way; the window goes when it is done.
    event->ignore();
}
