#include <QApplication>
#include <gtest/gtest.h>

// One application object for every case, on the private X server that scripts/with-xvfb started.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
