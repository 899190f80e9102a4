#pragma once

#include "store/AutoBackup.h"
#include "ui/GradientWindow.h"

class QDateTime;
class QLabel;
class QProgressBar;

// The small window "正在自動備份…" shown while the automatic copy is made as the program ends:
// the copy works on a thread of its own, so the window keeps painting its progress.
class AutoBackupWindow : public GradientWindow
{
    Q_OBJECT
public:
    AutoBackupWindow();

    // Makes the copy with this window shown; returns when it is done.
    AutoBackup::Result run(AutoBackup &backup, const QDateTime &now);

    QLabel *Label1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
};
