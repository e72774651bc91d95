#include "shell/AddressText.h"
#include "tests/shell/ShellTestSupport.h"

#include <QComboBox>

// The address box follows the folder the list shows, and a typed or picked
// path makes the list show that folder.

namespace {

class ShellAddress : public ShellFixture {
protected:
    void SetUp() override {
        ShellFixture::SetUp();
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("one")));
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("two")));
        frame = MakeFrame();
    }

    QComboBox& Box() { return frame->AddressBox(); }
    QString ListFolder() {
        QString folder;
        ViewOf(*frame).FileList().GetCurrentFolder(folder);
        return folder;
    }
    void Type(const QString& text) {
        Box().setEditText(text);
        // The box has the focus and hands keys on to its edit field.
        QTest::keyClick(&Box(), Qt::Key_Return);
    }
    QStringList Entries() {
        QStringList entries;
        for (int i = 0; i < Box().count(); ++i)
            entries << Box().itemText(i);
        return entries;
    }

    std::unique_ptr<CMainFrame> frame;
};

TEST_F(ShellAddress, ShowsTheListsFolderWithoutTouchingTheEntries) {
    // Start-up ties the tree to the list, which shows the home folder.
    EXPECT_EQ(Box().currentText(), QStringLiteral("~"));
    EXPECT_EQ(Box().count(), 0);

    const QString one = PathOf("one");
    ASSERT_TRUE(ViewOf(*frame).FileList().DisplayFolder(one));
    EXPECT_EQ(Box().currentText(), one);
    EXPECT_EQ(Box().count(), 0);
}

TEST_F(ShellAddress, ShowsQuestionMarksWhileTheListShowsNoFolder) {
    CMainFrame bare(App().ServicesForFrame());
    ASSERT_TRUE(bare.Create());
    auto* view = qobject_cast<CExplorerView*>(bare.centralWidget());
    ASSERT_NE(view, nullptr);
    view->OnInitialUpdate();
    EXPECT_EQ(bare.AddressBox().currentText(), QStringLiteral("????"));
}

TEST_F(ShellAddress, ATypedPathIsShownAndAppendedEveryTime) {
    const QString one = PathOf("one");
    Type(one + "/");
    EXPECT_EQ(ListFolder(), one);
    EXPECT_EQ(Box().currentText(), one); // as the list names it
    Type(one + "/");
    EXPECT_EQ(Entries(), QStringList({one + "/", one + "/"}));

    // A path the list cannot show is remembered all the same.
    const QString missing = PathOf("missing");
    Type(missing);
    EXPECT_EQ(ListFolder(), one);
    EXPECT_EQ(Entries(), QStringList({one + "/", one + "/", missing}));
}

TEST_F(ShellAddress, PickingAnEntryShowsItsFolder) {
    const QString one = PathOf("one");
    const QString two = PathOf("two");
    Type(one);
    Type(two);
    ASSERT_EQ(ListFolder(), two);

    emit Box().activated(0);
    EXPECT_EQ(ListFolder(), one);
    EXPECT_EQ(Box().currentText(), one);
    EXPECT_EQ(Box().count(), 2);
}

TEST(AddressText, WritesTheHomeFolderAsATildeAndReadsItBack) {
    const QString home = QStringLiteral("/home/ann");
    const struct {
        const char* path;
        const char* address;
    } shown[] = {
        {"/home/ann", "~"},
        {"/home/ann/", "~"},
        {"/home/ann/Pictures", "~/Pictures"},
        {"/home/anna/x", "/home/anna/x"},
        {"/home", "/home"},
        {"/media/SD", "/media/SD"},
        {"????", "????"},
    };
    for (const auto& c : shown)
        EXPECT_EQ(AddressOfFolder(c.path, home), c.address) << c.path;
    EXPECT_EQ(AddressOfFolder("/x", "/"), "/x"); // a home at the root is never shortened

    const struct {
        const char* address;
        const char* folder;
    } typed[] = {
        {"~", "/home/ann"},          {"~/", "/home/ann"},  {" ~/Pictures ", "/home/ann/Pictures"},
        {"~/a/../b", "/home/ann/b"}, {"~bob/x", "~bob/x"}, {"/srv/~", "/srv/~"},
        {"Pictures", "Pictures"},
    };
    for (const auto& c : typed)
        EXPECT_EQ(FolderOfAddress(c.address, home), c.folder) << c.address;
}

TEST_F(ShellAddress, TakesATildeForTheHomeFolderAndShowsPathsUnderItSo) {
    ASSERT_TRUE(QDir::home().mkpath(QStringLiteral("Photos/2024")));
    const QString photos = QDir::home().filePath(QStringLiteral("Photos"));
    Type(QStringLiteral("~/Photos/2024"));
    EXPECT_EQ(ListFolder(), photos + "/2024");
    EXPECT_EQ(Box().currentText(), QStringLiteral("~/Photos/2024"));

    Type(QStringLiteral("~"));
    EXPECT_EQ(ListFolder(), QDir::cleanPath(QDir::homePath()));
    EXPECT_EQ(Box().currentText(), QStringLiteral("~"));
    emit Box().activated(0);
    EXPECT_EQ(ListFolder(), photos + "/2024");
    ASSERT_TRUE(QDir(photos).removeRecursively());
}

} // namespace
