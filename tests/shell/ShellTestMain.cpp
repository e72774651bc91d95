#include "shell/VelmoraApp.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

// The window tests run inside the one application object, as the program
// does. Settings and the home folder (where the folder tree starts) point at
// temporary folders before anything can read them.
int main(int argc, char** argv) {
    const TestEnvironment environment({"XDG_CONFIG_HOME", "HOME"});
    if (!environment.IsValid())
        return 1;

    CVelmoraApp app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
