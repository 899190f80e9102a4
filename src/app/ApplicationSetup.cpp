#include "app/ApplicationSetup.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void prepareApplication()
{
    const QLocale taiwan(QLocale::Chinese, QLocale::Taiwan);
    QLocale::setDefault(taiwan);

    // Qt's own buttons and dialogs (file dialogs, print preview) speak Traditional Chinese.
    static QTranslator qtTranslator;
    if (qtTranslator.load(taiwan, QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QFont font = QApplication::font();
    font.setFamilies({ QStringLiteral("新細明體"), QStringLiteral("Noto Sans CJK TC"),
        QStringLiteral("Noto Sans CJK") });
    QApplication::setFont(font);

    // The program's title is set on each window itself (the calendar carries 青禾理財簿); a
    // display name would be appended to every caption ("請選擇帳本 — 青禾理財簿").
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/qinghe.png")));
    // Lets the desktop match the windows to the menu entry qinghe.desktop.
    QGuiApplication::setDesktopFileName(QStringLiteral("qinghe"));
}
