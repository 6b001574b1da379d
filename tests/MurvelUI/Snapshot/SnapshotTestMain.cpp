#include "MurvelUI/Snapshot/MurvelSnapshot.hpp"
#include "tests/MurvelUI/Support/OffscreenSetup.hpp"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The offscreen platform with a 1x screen and, right of it, a sharper 2x one; the process runs
// doubled as snapshot mode does.
int main(int argc, char** argv) {
    QTemporaryDir home;
    KitTest::prepareOffscreen(home);
    const QString config = home.filePath(QStringLiteral("screens.json"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly))
        return 2;
    file.write(R"({
  "synchronousWindowSystemEvents": true,
  "screens": [
    {"name": "plain", "x": 0, "y": 0, "width": 1280, "height": 800,
     "logicalDpiX": 96, "logicalDpiY": 96, "dpr": 1},
    {"name": "sharp", "x": 1280, "y": 0, "width": 1600, "height": 1000,
     "logicalDpiX": 96, "logicalDpiY": 96, "dpr": 2}
  ]
})");
    file.close();
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen")
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.toUtf8());
    char snapshotSwitch[] = "--snapshot-menu";
    std::vector<char*> arguments(argv, argv + argc);
    arguments.push_back(snapshotSwitch);
    int count = int(arguments.size());
    MurvelUI::MurvelSnapshot::prepareDoubling(count, arguments.data());
    QApplication app(count, arguments.data());
    KitTest::pinRendering();
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    MurvelUI::MurvelSnapshot::releaseWindow();
    return result;
}
