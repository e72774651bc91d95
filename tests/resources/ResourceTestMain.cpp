#include "framework/commands/StringTable.h"
#include "resources/Resources.h"
#include "resources/Strings.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

// One QApplication for every test of the pictures, menus and shortcuts.
int main(int argc, char** argv) {
    const TestEnvironment environment;
    QApplication app(argc, argv);
    InitResources();
    StringTable::Install(StringResources());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
