#include "framework/commands/StringTable.h"
#include "resources/Resources.h"
#include "resources/Strings.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

// A plain QApplication, not the application object: the frame gets what it
// uses from the tests. Settings and the home folder (where the folder tree
// starts) point at temporary folders before anything can read them.
int main(int argc, char** argv) {
    const TestEnvironment environment({"XDG_CONFIG_HOME", "HOME"});
    if (!environment.IsValid())
        return 1;

    QApplication app(argc, argv);
    StringTable::Install(StringResources());
    InitResources();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
