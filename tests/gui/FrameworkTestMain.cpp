#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// One QApplication for every framework test. The settings store reads
// XDG_CONFIG_HOME once, on first use, so it is pointed at a temporary folder
// before anything can touch it.
int main(int argc, char** argv) {
    QTemporaryDir configHome;
    if (!configHome.isValid())
        return 1;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
