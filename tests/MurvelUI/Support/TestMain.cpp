#include "tests/MurvelUI/Support/OffscreenSetup.hpp"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QTemporaryDir home;
    KitTest::prepareOffscreen(home);
    QApplication app(argc, argv);
    KitTest::pinRendering();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
