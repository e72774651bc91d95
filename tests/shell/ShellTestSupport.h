#pragma once

#include "framework/settings/SettingsStore.h"
#include "shell/ExplorerView.h"
#include "shell/MainFrame.h"
#include "shell/VelmoraApp.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

// Every test starts as on a first run: nothing stored, a fresh frame created
// and its view activated as start-up leaves them, and an empty folder to
// fill with files.
class ShellFixture : public ::testing::Test {
protected:
    static constexpr int kLoadTimeoutMs = 5000;

    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ClearSettings();
    }

    static QSettings Stored() {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope,
                         QString::fromLatin1(SettingsStore::kDefaultKey),
                         QStringLiteral("Velmora"));
    }
    static void ClearSettings() {
        QSettings settings = Stored();
        settings.clear();
        settings.sync();
    }
    static void StoreLook(int id) {
        QSettings settings = Stored();
        settings.setValue(QStringLiteral("ApplicationLook"), id);
        settings.sync();
    }

    static CVelmoraApp& App() { return *CVelmoraApp::Instance(); }
    static CommandRouter& Router() { return App().Router(); }

    std::unique_ptr<CMainFrame> MakeFrame() {
        auto frame = std::make_unique<CMainFrame>(App().ServicesForFrame());
        EXPECT_TRUE(frame->Create());
        frame->InitialUpdateFrame();
        return frame;
    }
    static CExplorerView& ViewOf(CMainFrame& frame) { return *frame.GetActiveView(); }

    QString PathOf(const QString& name) const { return m_dir.filePath(name); }

    // Shows `folder` in the view's list and waits until it lists `count` files.
    static bool ShowFolder(CExplorerView& view, const QString& folder, int count) {
        ShellFileList& list = view.FileList();
        return list.DisplayFolder(folder) &&
               QTest::qWaitFor([&] { return list.GetItemCount() == count; }, kLoadTimeoutMs);
    }
    // The row of the file `name` in the list; -1 when it is not listed.
    static int RowOf(ShellFileList& list, const QString& name) {
        for (int row = 0; row < list.GetItemCount(); ++row)
            if (list.GetItemText(row, 0) == name)
                return row;
        return -1;
    }

    QTemporaryDir m_dir;
};
