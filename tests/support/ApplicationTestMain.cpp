#include <QApplication>
#include <gtest/gtest.h>

// One widget application for every case of a test executable: the clipboard, dialogs and windows
// need it. Offscreen unless the runner chose a platform (scripts/with-xvfb picks xcb).
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
