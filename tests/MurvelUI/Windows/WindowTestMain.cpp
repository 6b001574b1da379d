#include "TwoScreens.hpp"
#include "tests/MurvelUI/Support/OffscreenSetup.hpp"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The offscreen platform with two screens side by side, of different heights, and window frames,
// so that placement, capping and screen changes can be seen without a display.
int main(int argc, char** argv) {
    QTemporaryDir home;
    KitTest::prepareOffscreen(home);
    const QString config = home.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 2;
    file.write(WindowTest::screensConfig());
    file.close();
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toUtf8());
    QApplication app(argc, argv);
    KitTest::pinRendering();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
