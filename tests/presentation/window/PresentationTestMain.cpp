#include "tests/support/TestEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

// One QApplication for every test of the pane and the file inspection.
int main(int argc, char** argv) {
    const TestEnvironment environment;
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
