#include "VelmoraApp.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The window tests run inside the one application object, as the program
// does. Settings and the home folder (where the folder tree starts) point at
// temporary folders before anything can read them.
int main(int argc, char** argv) {
    QTemporaryDir configHome;
    QTemporaryDir home;
    if (!configHome.isValid() || !home.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    qputenv("HOME", QFile::encodeName(home.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    CVelmoraApp app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
