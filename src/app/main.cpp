#include "app/ApplicationSetup.h"
#include "app/InstanceLock.h"
#include "app/Program.h"
#include "ledgers/SelectUser_Unit.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>

namespace {
QString dataDirFromArguments(const QStringList &arguments)
{
    const int at = arguments.indexOf(QStringLiteral("--data-dir"));
    if (at >= 0 && at + 1 < arguments.size())
        return arguments.at(at + 1);
    for (const QString &argument : arguments) {
        if (argument.startsWith(QStringLiteral("--data-dir=")))
            return argument.mid(11);
    }
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("qinghe"));
    QApplication app(argc, argv);
    prepareApplication();

    const QString dataDir = dataDirFromArguments(QApplication::arguments());
    if (!QDir().mkpath(dataDir)) {
        QMessageBox::critical(nullptr, QStringLiteral("青禾理財簿"),
            QStringLiteral("無法建立資料目錄 %1，程式無法啟動。")
                .arg(QDir::toNativeSeparators(dataDir)));
        return 1;
    }

    // A second copy on the same data ends at once, silently.
    InstanceLock lock(dataDir);
    switch (lock.acquire()) {
    case InstanceLock::Result::Acquired:
        break;
    case InstanceLock::Result::HeldByAnother:
        return 0;
    case InstanceLock::Result::Failed:
        QMessageBox::critical(nullptr, QStringLiteral("青禾理財簿"), lock.failureText());
        return 1;
    }

    Program program(dataDir);
    program.SelectUser_Form->showCentred();
    const int status = app.exec();
    lock.release();
    return status;
}
