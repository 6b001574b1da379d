#include "tests/MurvelPreferences/SyncMachine.hpp"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The convergence test starts this executable again as each of its machines.
    if (argc > 1 && QCoreApplication::arguments().value(1) == SyncMachine::flag)
        return SyncMachine::run(QCoreApplication::arguments());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
