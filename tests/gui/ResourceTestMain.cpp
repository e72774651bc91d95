#include "Resources.h"
#include "TestEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

// One QApplication for every test of the pictures, menus and shortcuts.
int main(int argc, char** argv) {
    const TestEnvironment environment;
    QApplication app(argc, argv);
    InitResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
