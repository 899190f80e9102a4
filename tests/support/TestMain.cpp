// Shared test entry: pins the environment so results do not depend on the machine.
#include <QApplication>
#include <QLocale>
#include <QStyleFactory>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_HASH_SEED", "0");
    QCoreApplication::setAttribute(Qt::AA_UseDesktopOpenGL, false);
    QApplication::setDesktopSettingsAware(false);
    QCoreApplication::setApplicationName(QStringLiteral("qinghe-tests"));
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("青禾理財簿"));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::Taiwan));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
