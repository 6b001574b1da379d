#include <QApplication>
#include <gtest/gtest.h>

// Every case runs in its own process against its own Xvfb (scripts/with-xvfb).
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
