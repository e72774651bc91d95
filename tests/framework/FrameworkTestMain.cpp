#include "framework/commands/StringTable.h"
#include "resources/Strings.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

// One QApplication for every framework test. The settings store reads
// XDG_CONFIG_HOME once, on first use, so it is pointed at a temporary folder
// before anything can touch it.
int main(int argc, char** argv) {
    const TestEnvironment environment({"XDG_CONFIG_HOME"});
    if (!environment.IsValid())
        return 1;

    QApplication app(argc, argv);
    StringTable::Install(StringResources());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
