#include "framework/settings/SettingsStore.h"

#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QMainWindow>
#include <QSettings>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kLook = QStringLiteral("ApplicationLook");

QString ConfigHome() {
    return QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"));
}

// A frame with one dock, laid out the way the main window's panes are.
struct Frame {
    Frame() {
        window.setObjectName("MainFrame");
        pane.setObjectName("Folders");
        window.setCentralWidget(new QWidget);
        window.addDockWidget(Qt::LeftDockWidgetArea, &pane);
    }
    QMainWindow window;
    QDockWidget pane{"Folders"};
};

TEST(SettingsStore, LivesUnderTheConfigHomeInItsTwoNamingLevels) {
    ASSERT_FALSE(ConfigHome().isEmpty()) << "the test main points XDG_CONFIG_HOME elsewhere";
    SettingsStore store;
    store.WriteInt(kLook, 213);

    const QString expected =
        QDir(ConfigHome()).filePath("Local AppWizard-Generated Applications/Velmora.conf");
    EXPECT_EQ(QFileInfo(store.FileName()).absoluteFilePath(),
              QFileInfo(expected).absoluteFilePath());
    // Written through at once: another reader of the file sees it.
    QSettings file(expected, QSettings::IniFormat);
    EXPECT_EQ(file.value(kLook).toInt(), 213);
}

TEST(SettingsStore, GivesTheDefaultWhenTheValueIsAbsentOrNotAnInteger) {
    QSettings(QSettings::NativeFormat, QSettings::UserScope, SettingsStore::kDefaultKey, "Velmora")
        .remove(kLook);
    SettingsStore store;
    EXPECT_EQ(store.GetInt(kLook, 217), 217);
    EXPECT_EQ(store.GetInt("NeverWritten", -5), -5);

    QSettings(QSettings::NativeFormat, QSettings::UserScope, SettingsStore::kDefaultKey, "Velmora")
        .setValue(kLook, "silver");
    EXPECT_EQ(SettingsStore().GetInt(kLook, 217), 217);
}

TEST(SettingsStore, IntegersRoundTripBetweenStores) {
    for (int value : {217, 0, 210, -1, 2147483647}) {
        SettingsStore().WriteInt(kLook, value);
        EXPECT_EQ(SettingsStore().GetInt(kLook, 217), value);
    }
}

TEST(SettingsStore, RestoresTheWindowGeometryAndDockLayout) {
    SettingsStore store("Velmora Tests", "Layout");
    {
        Frame before;
        before.window.resize(640, 480);
        before.window.addDockWidget(Qt::RightDockWidgetArea, &before.pane);
        store.SaveWindowState(before.window);
    }
    Frame after;
    ASSERT_EQ(after.window.dockWidgetArea(&after.pane), Qt::LeftDockWidgetArea);
    ASSERT_TRUE(SettingsStore("Velmora Tests", "Layout").RestoreWindowState(after.window));
    EXPECT_EQ(after.window.dockWidgetArea(&after.pane), Qt::RightDockWidgetArea);
    EXPECT_EQ(after.window.size(), QSize(640, 480));
}

TEST(SettingsStore, LeavesTheWindowAloneWhenNothingUsableIsStored) {
    Frame frame;
    EXPECT_FALSE(SettingsStore("Velmora Tests", "Nothing Stored").RestoreWindowState(frame.window));

    QSettings garbage(QSettings::NativeFormat, QSettings::UserScope, "Velmora Tests", "Garbage");
    garbage.setValue("Workspace/Geometry", QByteArray("not a geometry"));
    garbage.setValue("Workspace/Layout", QByteArray("\x01\x02\x03", 3));
    garbage.sync();
    EXPECT_FALSE(SettingsStore("Velmora Tests", "Garbage").RestoreWindowState(frame.window));
    EXPECT_EQ(frame.window.dockWidgetArea(&frame.pane), Qt::LeftDockWidgetArea);
}

} // namespace
