#include "framework/ribbon/RibbonMainPanel.h"
#include "framework/ribbon/RibbonRecentFilesList.h"
#include "resources/ApplicationIds.h"
#include "shell/AddressText.h"
#include "tests/fixtures/CameraPicture.h"
#include "tests/fixtures/JpegBuilder.h"
#include "tests/shell/ShellAppTestSupport.h"

#include <QComboBox>
#include <QFileInfo>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

// The content-free document: New, Open, Save, Save As and Close on a real
// picture, which must come out of all of them exactly as it went in.

namespace {

using namespace CommandId;

// A file's bytes and its modification time to the nanosecond.
struct FileState {
    QByteArray bytes;
    timespec mtime{};
    bool operator==(const FileState& other) const {
        return bytes == other.bytes && mtime.tv_sec == other.mtime.tv_sec &&
               mtime.tv_nsec == other.mtime.tv_nsec;
    }
};

FileState StateOf(const QString& path) {
    FileState state;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        state.bytes = file.readAll();
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        state.mtime = info.st_mtim;
    return state;
}

class ShellAppDocument : public ShellAppFixture {
protected:
    void SetUp() override {
        ShellAppFixture::SetUp();
        m_photo = WritePicture("photo.jpg");
        m_other = WritePicture("other.jpg");
        ASSERT_TRUE(Start());
        m_photoBefore = StateOf(m_photo);
        m_otherBefore = StateOf(m_other);
        ASSERT_FALSE(m_photoBefore.bytes.isEmpty());
        // Anything written later would show in the modification time.
        QThread::msleep(20);
    }

    QString WritePicture(const QString& name) {
        const QString path = PathOf(name);
        EXPECT_TRUE(fixture::WriteFile(QFile::encodeName(path).toStdString(),
                                       fixture::CameraLikeJpeg(fixture::ByteOrder::Little)));
        return path;
    }
    void Open(const QString& path) {
        prompts.openAnswers.append(path);
        Execute(FileOpen);
    }
    static QString Title() { return Frame()->windowTitle(); }
    static QStringList RibbonRecentFiles() {
        return Frame()->AppButton().MainPanel()->RecentFilesList()->Files();
    }
    void ExpectPicturesUntouched() {
        EXPECT_TRUE(StateOf(m_photo) == m_photoBefore) << "photo.jpg changed";
        EXPECT_TRUE(StateOf(m_other) == m_otherBefore) << "other.jpg changed";
    }

    QString m_photo;
    QString m_other;
    FileState m_photoBefore;
    FileState m_otherBefore;
};

TEST_F(ShellAppDocument, OpenTakesTheNameAndReadsNothing) {
    CExplorerView& view = *Frame()->GetActiveView();
    QString folder;
    ASSERT_TRUE(view.FileList().GetCurrentFolder(folder));
    Frame()->AddressBox().setEditText(QStringLiteral("typed"));

    Open(m_photo);
    EXPECT_EQ(prompts.openAsked, 1);
    EXPECT_EQ(Title(), QStringLiteral("photo.jpg - Velmora"));
    EXPECT_EQ(Doc()->GetPathName(), m_photo);
    // The view's initial update ran again; the list, the tree and the tags
    // stay as they were.
    EXPECT_EQ(Frame()->AddressBox().currentText(), AddressOfFolder(folder, QDir::homePath()));
    QString after;
    view.FileList().GetCurrentFolder(after);
    EXPECT_EQ(after, folder);
    EXPECT_EQ(Frame()->PropertiesPane().TagList().topLevelItemCount(), 0);

    Open(m_other);
    EXPECT_EQ(Title(), QStringLiteral("other.jpg - Velmora"));
    // No file is ever remembered.
    EXPECT_TRUE(App().RecentFiles().isEmpty());
    EXPECT_TRUE(RibbonRecentFiles().isEmpty());
    EXPECT_TRUE(prompts.messages.isEmpty());
    ExpectPicturesUntouched();
}

TEST_F(ShellAppDocument, NewMakesItUntitledAgainAndCancelledOpenChangesNothing) {
    Open(m_photo);
    Frame()->AddressBox().setEditText(QStringLiteral("typed"));
    Execute(FileNew);
    EXPECT_EQ(Title(), QStringLiteral("Untitled - Velmora"));
    EXPECT_TRUE(Doc()->GetPathName().isEmpty());
    EXPECT_NE(Frame()->AddressBox().currentText(), QStringLiteral("typed"));

    Execute(FileOpen); // the dialog is cancelled
    EXPECT_EQ(prompts.openAsked, 2);
    EXPECT_EQ(Title(), QStringLiteral("Untitled - Velmora"));
    EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(ShellAppDocument, WhatCannotBeOpenedIsReportedAndTheDocumentStays) {
    Open(m_photo);
    const QString fifo = PathOf("pipe.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);

    // A FIFO would block a plain open for reading until a writer came.
    for (const QString& path : {PathOf("missing.jpg"), m_dir.path(), fifo})
        Open(path);
    ASSERT_EQ(prompts.messages.size(), 3);
    EXPECT_TRUE(prompts.messages[0].contains(QStringLiteral("missing.jpg")));
    EXPECT_EQ(Title(), QStringLiteral("photo.jpg - Velmora"));
    EXPECT_EQ(Doc()->GetPathName(), m_photo);
}

TEST_F(ShellAppDocument, SaveOnAnOpenedPictureWritesNothing) {
    Open(m_photo);
    Execute(FileSave);
    EXPECT_TRUE(prompts.saveSuggestions.isEmpty()); // its own name, no question
    EXPECT_EQ(Title(), QStringLiteral("photo.jpg - Velmora"));
    EXPECT_TRUE(prompts.messages.isEmpty());
    ExpectPicturesUntouched();
}

TEST_F(ShellAppDocument, SaveAsOntoAnExistingPictureLeavesItAsItWas) {
    Open(m_photo);
    prompts.saveAnswers.append(m_other);
    Execute(FileSaveAs);
    EXPECT_EQ(prompts.saveSuggestions, QStringList{m_photo});
    EXPECT_EQ(Title(), QStringLiteral("other.jpg - Velmora"));
    EXPECT_TRUE(prompts.messages.isEmpty());
    ExpectPicturesUntouched();
}

TEST_F(ShellAppDocument, SavingAnUntitledDocumentCreatesOnlyAnEmptyNewFile) {
    const QString fresh = PathOf("notes.velmora");
    prompts.saveAnswers.append(fresh);
    Execute(FileSave); // untitled: asks for a name
    EXPECT_EQ(prompts.saveSuggestions, QStringList{QStringLiteral("Untitled")});
    ASSERT_TRUE(QFileInfo::exists(fresh));
    EXPECT_EQ(QFileInfo(fresh).size(), 0);
    EXPECT_EQ(Title(), QStringLiteral("notes.velmora - Velmora"));

    // A cancelled Save As keeps everything.
    Execute(FileSaveAs);
    EXPECT_EQ(Title(), QStringLiteral("notes.velmora - Velmora"));
    ExpectPicturesUntouched();
}

TEST_F(ShellAppDocument, SaveAsOntoAFolderOrIntoAMissingOneFailsVisibly) {
    Open(m_photo);
    prompts.saveAnswers = {m_dir.path(), PathOf("no/such/folder.jpg")};
    Execute(FileSaveAs);
    Execute(FileSaveAs);
    EXPECT_EQ(prompts.messages.size(), 2);
    EXPECT_EQ(Title(), QStringLiteral("photo.jpg - Velmora"));
    EXPECT_FALSE(QFileInfo::exists(PathOf("no")));
    ExpectPicturesUntouched();
}

TEST_F(ShellAppDocument, CloseAndExitEndTheWindowWithoutAQuestion) {
    Open(m_photo);
    Execute(FileClose);
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_TRUE(prompts.messages.isEmpty());
    EXPECT_TRUE(prompts.saveSuggestions.isEmpty());

    Frame()->show();
    Execute(AppExit);
    EXPECT_FALSE(Frame()->isVisible());
    EXPECT_TRUE(prompts.messages.isEmpty());
    ExpectPicturesUntouched();
}

// The frame's accelerator table: the keys issue the same commands as the
// ribbon and the menu.
TEST_F(ShellAppDocument, CtrlNCtrlOAndCtrlSActLikeTheirCommands) {
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    QWidget* focus = &Frame()->GetActiveView()->FileList();
    focus->setFocus();

    prompts.openAnswers.append(m_photo);
    QTest::keyClick(focus, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(prompts.openAsked, 1);
    EXPECT_EQ(Title(), QStringLiteral("photo.jpg - Velmora"));

    QTest::keyClick(focus, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(Title(), QStringLiteral("Untitled - Velmora"));

    // Saving the untitled document asks for a name (and is cancelled).
    QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(prompts.saveSuggestions, QStringList{QStringLiteral("Untitled")});
    ExpectPicturesUntouched();
}

} // namespace
