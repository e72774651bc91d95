#include "framework/views/MountTable.h"
#include "framework/views/Places.h"
#include "framework/views/PlacesTreeModel.h"
#include "framework/views/ShellFileList.h"
#include "framework/views/ShellFolderTree.h"
#include "framework/views/UserFolders.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

// The places at the top of the folder tree: what the desktop's files say,
// in what order the tree shows them, and volumes coming and going.

namespace {

QStringList Lines(const QList<UserFolder>& folders) {
    QStringList lines;
    for (const UserFolder& folder : folders)
        lines << folder.key + '=' + folder.path;
    return lines;
}

TEST(UserFolders, ReadsTheDesktopsAssignments) {
    const QString home = QStringLiteral("/home/ann");
    const struct {
        const char* text;
        QStringList expected;
    } cases[] = {
        {"XDG_PICTURES_DIR=\"$HOME/Pictures\"\n", {"PICTURES=/home/ann/Pictures"}},
        {"XDG_DOWNLOAD_DIR=\"/data/in\"", {"DOWNLOAD=/data/in"}},
        {"# XDG_PICTURES_DIR=\"$HOME/Old\"\n\n  XDG_VIDEOS_DIR=\"$HOME/My Films\"  \n",
         {"VIDEOS=/home/ann/My Films"}},
        {"XDG_DESKTOP_DIR=\"$HOME/\"\nXDG_MUSIC_DIR=\"$HOME\"", {}}, // turned off
        {"XDG_PICTURES_DIR=\"Pictures\"", {}},                       // relative
        {"XDG_PICTURES_DIR=\"$HOMEY/x\"", {}},                       // another variable
        {"XDG_PICTURES_DIR=$HOME/Pictures", {}},                     // unquoted
        {"XDG_PICTURES_DIR=\"$HOME/a\" rm", {}},                     // text after it
        {"XDG_PICTURES_DIR=\"$HOME/open", {}},                       // never closed
        {"XDG_DIR=\"$HOME/x\"\nXDG_PICTURES=\"$HOME/x\"", {}},       // no key, no _DIR
        {"XDG_PICTURES_DIR=\"$HOME/My \\\"Pics\\\"\"", {"PICTURES=/home/ann/My \"Pics\""}},
        {"XDG_PICTURES_DIR=\"$HOME/a/../b//\"", {"PICTURES=/home/ann/b"}},
        {"XDG_PICTURES_DIR=\"$HOME/a\"\nXDG_DESKTOP_DIR=\"$HOME/d\"\nXDG_PICTURES_DIR=\"$HOME/b\"",
         {"DESKTOP=/home/ann/d", "PICTURES=/home/ann/b"}}, // the last one counts
        {"XDG_PICTURES_DIR=\"$HOME/Bilder\"\r\n", {"PICTURES=/home/ann/Bilder"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Lines(ParseUserFolders(QString::fromUtf8(c.text), home)), c.expected) << c.text;
}

TEST(UserFolders, TheSessionsFileComesFirstThenQtsLocations) {
    QTemporaryDir config;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QFile file(config.filePath("user-dirs.dirs"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("XDG_PICTURES_DIR=\"/srv/photos\"\n");
    file.close();
    const DesktopFolders desktop = DesktopFolders::Read();
    qputenv("XDG_CONFIG_HOME", saved);
    EXPECT_EQ(desktop.Path("PICTURES"), "/srv/photos");
    ASSERT_EQ(desktop.userFolders.size(), 5);
    EXPECT_EQ(desktop.userFolders[1].key, "DESKTOP");
    EXPECT_TRUE(desktop.Path("MUSIC").isEmpty());
}

TEST(MountTable, ReadsTheKernelsLines) {
    const QByteArray text =
        "26 1 254:0 / / rw,relatime - ext4 /dev/vda rw\n"
        "90 26 8:17 / /media/ann/My\\040Disk rw,nosuid shared:50 master:1 - vfat /dev/sdb1 rw\n"
        "91 26 0:44 / /mnt/back\\134slash rw - nfs4 nas:/photos rw\n"
        "broken line\n"
        "92 26 0:45 / relative rw - tmpfs none rw\n"
        "93 26 0:46 / /mnt/short rw -";
    const QList<MountEntry> mounts = ParseMountInfo(text);
    ASSERT_EQ(mounts.size(), 3);
    EXPECT_EQ(mounts[0].path, "/");
    EXPECT_EQ(mounts[1].path, "/media/ann/My Disk");
    EXPECT_EQ(mounts[1].type, "vfat");
    EXPECT_EQ(mounts[1].source, "/dev/sdb1");
    EXPECT_EQ(mounts[2].path, "/mnt/back\\slash");
    EXPECT_EQ(mounts[2].source, "nas:/photos");
}

// A volume as expected, or none where the name is null.
void ExpectVolume(const std::optional<MountedVolume>& volume, const QString& path, const char* name,
                  MountedVolume::Kind kind) {
    ASSERT_EQ(volume.has_value(), name != nullptr) << path.toStdString();
    if (volume) {
        EXPECT_EQ(volume->path, path);
        EXPECT_EQ(volume->name, name);
        EXPECT_EQ(volume->kind, kind) << name;
    }
}

TEST(MountTable, TellsTheUsersVolumesFromTheSystemsMounts) {
    using Kind = MountedVolume::Kind;
    const QString home = QStringLiteral("/home/ann");
    const QHash<QString, QString> labels{{"/dev/mmcblk0p1", "EOS_DIGITAL"}};
    const struct {
        MountEntry mount;
        const char* name; // null: not a volume
        Kind kind;
    } cases[] = {
        {{"/media/ann/SD", "vfat", "/dev/mmcblk0p1"}, "EOS_DIGITAL", Kind::Flash},
        {{"/run/media/ann/USB STICK", "exfat", "/dev/sdb1"}, "USB STICK", Kind::Removable},
        {{"/mnt/disc", "iso9660", "/dev/sr0"}, "disc", Kind::Optical},
        {{"/mnt", "ext4", "/dev/sdc1"}, "mnt", Kind::Removable},
        {{"/home/ann/nas", "cifs", "//nas/photos"}, "nas", Kind::Network},
        {{"/var/lib/nfs/x", "nfs", "host:/x"}, nullptr, Kind::Network},
        {{"/", "ext4", "/dev/sda1"}, nullptr, Kind::Removable},
        {{"/home/ann", "nfs4", "host:/home/ann"}, nullptr, Kind::Network},
        {{"/mnt/sandbox/x", "tmpfs", "none"}, nullptr, Kind::Removable},
        {{"/media/ann/app", "squashfs", "/dev/loop3"}, nullptr, Kind::Removable},
    };
    for (const auto& c : cases)
        ExpectVolume(UserVolume(c.mount, home, labels), QDir::cleanPath(c.mount.path), c.name,
                     c.kind);
}

TEST(MountTable, NamesTheDesktopsSharesAndDevices) {
    using Kind = MountedVolume::Kind;
    const QString root = QStringLiteral("/run/user/1000/gvfs");
    const struct {
        const char* entry;
        const char* name; // null: not a volume
        Kind kind;
    } cases[] = {
        {"smb-share:server=nas,share=photos", "photos on nas", Kind::Network},
        {"mtp:host=Google_Pixel_7_1A2B", "Google Pixel 7 1A2B", Kind::Phone},
        {"gphoto2:host=%5Busb%3A001%2C004%5D", "[usb:001,004]", Kind::Camera},
        {"smb-share:server=nas", nullptr, Kind::Network},
        {"no-colon", nullptr, Kind::Network},
    };
    for (const auto& c : cases)
        ExpectVolume(GvfsVolume(root, c.entry), root + '/' + c.entry, c.name, c.kind);
}

// A home with some user folders, and volumes that are plain folders beside it.
class PlacesFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        root = QDir(m_dir.path()).canonicalPath();
        for (const char* folder :
             {"home/Pictures", "home/Downloads", "media/SD/DCIM", "nas/photos"})
            ASSERT_TRUE(QDir(root).mkpath(folder));
        desktop.home = root + "/home";
        desktop.userFolders = {{"PICTURES", root + "/home/Pictures"},
                               {"DESKTOP", root + "/home/Desktop"}, // not there
                               {"DOWNLOAD", root + "/home/Downloads"},
                               {"DOCUMENTS", root + "/home/Downloads"}}; // the same folder
        card = {root + "/media/SD", "EOS_DIGITAL", MountedVolume::Kind::Flash};
        share = {root + "/nas/photos", "photos on nas", MountedVolume::Kind::Network};
    }

    QTemporaryDir m_dir;
    QString root;
    DesktopFolders desktop;
    MountedVolume card;
    MountedVolume share;
};

TEST_F(PlacesFixture, HomeThenUserFoldersThenVolumesThenTheComputer) {
    const QList<Place> places = OrderPlaces(desktop, {card, share});
    QStringList names, icons;
    for (const Place& place : places) {
        names << place.name;
        icons << place.iconName;
    }
    EXPECT_EQ(names, QStringList({"Home", "Pictures", "Downloads", "EOS_DIGITAL", "photos on nas",
                                  "Computer"}));
    EXPECT_EQ(icons, QStringList({"user-home", "folder-pictures", "folder-download", "media-flash",
                                  "folder-remote", "computer"}));
    EXPECT_EQ(places.front().path, desktop.home);
    EXPECT_EQ(places[3].kind, Place::Kind::Volume);
    EXPECT_EQ(places.back().path, "/");
}

// Volumes a test mounts and takes out by hand.
class FakeVolumes : public VolumeSource {
public:
    QList<MountedVolume> Volumes() const override { return volumes; }
    void Set(const QList<MountedVolume>& now) {
        volumes = now;
        emit changed();
    }
    QList<MountedVolume> volumes;
};

QStringList TopNames(const QAbstractItemModel& model, const QModelIndex& parent = {}) {
    QStringList names;
    for (int row = 0; row < model.rowCount(parent); ++row)
        names << model.index(row, 0, parent).data().toString();
    return names;
}

// Every item read so far is the child its parent names, all the way down
// (without reading more of the file system than the tree has).
void ExpectItemsAgree(const QAbstractItemModel& model, const QModelIndex& parent = {},
                      int depth = 0) {
    for (int row = 0; row < model.rowCount(parent) && depth < 12; ++row) {
        const QModelIndex child = model.index(row, 0, parent);
        ASSERT_TRUE(child.isValid());
        ASSERT_EQ(child.parent(), parent) << child.data().toString().toStdString();
        ASSERT_EQ(child.row(), row);
        ExpectItemsAgree(model, child, depth + 1);
    }
}

class PlacesTree : public PlacesFixture {
protected:
    void SetUp() override {
        PlacesFixture::SetUp();
        auto source = std::make_unique<FakeVolumes>();
        volumes = source.get();
        tree = std::make_unique<ShellFolderTree>(desktop, std::move(source));
    }
    QString Shown() const {
        QString folder;
        list.GetCurrentFolder(folder);
        return folder;
    }

    FakeVolumes* volumes = nullptr;
    ShellFileList list;
    std::unique_ptr<ShellFolderTree> tree;
};

TEST_F(PlacesTree, StartsAtHomeAmongThePlacesAndWalksThemByKeyboard) {
    EXPECT_EQ(TopNames(*tree->model()), QStringList({"Home", "Pictures", "Downloads", "Computer"}));
    EXPECT_EQ(tree->SelectedFolder(), desktop.home);
    EXPECT_EQ(tree->model()->columnCount(), 1);
    const QModelIndex home = tree->model()->index(0, 0);
    EXPECT_FALSE(home.data(Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_EQ(home.data(Qt::AccessibleDescriptionRole).toString(), "Home folder");
    EXPECT_EQ(home.data(Qt::ToolTipRole).toString(), desktop.home);
    EXPECT_EQ(tree->accessibleName(), "Folders");

    tree->SetRelatedList(&list);
    tree->collapseAll();
    tree->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(tree.get()));
    tree->setFocus();
    QTest::keyClick(tree.get(), Qt::Key_Down);
    EXPECT_EQ(tree->SelectedFolder(), root + "/home/Pictures");
    EXPECT_EQ(Shown(), root + "/home/Pictures");
    QTest::keyClick(tree.get(), Qt::Key_End);
    EXPECT_EQ(tree->SelectedFolder(), "/");
}

TEST_F(PlacesTree, AFolderShowsUnderThePlaceThatHoldsItMostClosely) {
    const QModelIndex pictures = tree->IndexOf(root + "/home/Pictures");
    EXPECT_EQ(pictures, tree->model()->index(1, 0));
    EXPECT_FALSE(tree->IndexOf(root + "/home/Missing").isValid());

    // Everything else of the file system is under Computer, every level of it.
    ASSERT_TRUE(tree->SelectFolder(root + "/media/SD/DCIM"));
    QStringList chain;
    for (QModelIndex at = tree->currentIndex(); at.isValid(); at = at.parent())
        chain.prepend(at.data().toString());
    EXPECT_EQ(chain.front(), "Computer");
    EXPECT_EQ(chain.size(), QDir(root).absolutePath().count('/') + 4);
}

TEST_F(PlacesTree, AVolumeComesAndGoesAndTheFolderShownFromItFallsBack) {
    tree->SetRelatedList(&list);
    volumes->Set({card});
    EXPECT_EQ(TopNames(*tree->model()),
              QStringList({"Home", "Pictures", "Downloads", "EOS_DIGITAL", "Computer"}));
    const QModelIndex sd = tree->model()->index(3, 0);
    EXPECT_EQ(sd.data(Qt::AccessibleDescriptionRole).toString(), "Removable volume");

    ASSERT_TRUE(tree->SelectFolder(card.path + "/DCIM"));
    EXPECT_EQ(tree->currentIndex().parent(), sd);
    EXPECT_EQ(Shown(), card.path + "/DCIM");
    // Expanded and holding the selection, a second volume comes in above it.
    volumes->Set({share, card});
    EXPECT_EQ(TopNames(*tree->model()), QStringList({"Home", "Pictures", "Downloads",
                                                     "photos on nas", "EOS_DIGITAL", "Computer"}));
    EXPECT_EQ(tree->SelectedFolder(), card.path + "/DCIM");

    // The card is taken out: the list falls back to the place that held it,
    // without a word.
    volumes->Set({share});
    EXPECT_EQ(TopNames(*tree->model()),
              QStringList({"Home", "Pictures", "Downloads", "photos on nas", "Computer"}));
    EXPECT_EQ(tree->SelectedFolder(), "/");
    EXPECT_EQ(Shown(), "/");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // A folder on a share the list shows alone goes the same way.
    ASSERT_TRUE(list.DisplayFolder(share.path));
    volumes->Set({});
    EXPECT_EQ(Shown(), "/");
    EXPECT_EQ(TopNames(*tree->model()), QStringList({"Home", "Pictures", "Downloads", "Computer"}));
}

TEST_F(PlacesTree, AVolumeInsideHomeFallsBackToHome) {
    ASSERT_TRUE(QDir(root).mkpath("home/usb/photos"));
    const MountedVolume stick{root + "/home/usb", "STICK", MountedVolume::Kind::Removable};
    tree->SetRelatedList(&list);
    volumes->Set({stick});
    ASSERT_TRUE(tree->SelectFolder(stick.path + "/photos"));
    EXPECT_EQ(tree->currentIndex().parent().data().toString(), "STICK");
    volumes->Set({});
    EXPECT_EQ(tree->SelectedFolder(), desktop.home);
    EXPECT_EQ(Shown(), desktop.home);
}

TEST_F(PlacesTree, FoldersMadeAndRemovedOnDiskFollowUnderEveryPlace) {
    volumes->Set({card});
    ASSERT_TRUE(tree->SelectFolder(card.path + "/DCIM"));
    tree->expand(tree->model()->index(0, 0));
    const QModelIndex pictures = tree->model()->index(1, 0);
    tree->expand(pictures);
    QDir(root).mkpath("home/Pictures/2024");
    const auto children = [&](const QModelIndex& parent) {
        return TopNames(*tree->model(), parent);
    };
    ASSERT_TRUE(QTest::qWaitFor([&] { return children(pictures) == QStringList{"2024"}; }, 10000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return children(tree->model()->index(0, 0)) == QStringList({"Downloads", "Pictures"});
        },
        10000));
    const QPersistentModelIndex held = tree->model()->index(0, 0, pictures);
    ASSERT_TRUE(QDir(root).rmdir("home/Pictures/2024"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return children(pictures).isEmpty(); }, 10000));
    EXPECT_FALSE(held.isValid());
    volumes->Set({share});
    EXPECT_EQ(tree->SelectedFolder(), "/");
    ExpectItemsAgree(*tree->model());
}

} // namespace
