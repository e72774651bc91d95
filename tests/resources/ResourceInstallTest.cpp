#include <QFile>
#include <QRegularExpression>
#include <QString>

#include <gtest/gtest.h>

// What the desktop reads of the installed program: the entry that opens a
// photo with its tags shown, and the release carrying the one version number.

namespace {

QString Read(const char* path) {
    QFile file(QString::fromUtf8(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    return QString::fromUtf8(file.readAll());
}

} // namespace

TEST(ResourceInstall, OpeningAPhotoFromTheDesktopShowsItsTags) {
    const QString entry = Read(VELMORA_DESKTOP_ENTRY);
    // "Open with Velmora" hands the file to --select, not to the document.
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=velmora --select %f\n")))
        << entry.toStdString();
    // Every format the reader knows is offered to the file manager.
    for (const char* type :
         {"image/jpeg;", "image/heic;", "image/heif;", "image/avif;", "image/webp;", "image/png;",
          "image/tiff;", "image/jxl;", "image/x-adobe-dng;", "image/x-canon-cr2;",
          "image/x-canon-cr3;", "image/x-nikon-nef;", "image/x-sony-arw;", "image/x-olympus-orf;",
          "image/x-panasonic-rw2;", "image/x-fuji-raf;", "image/x-pentax-pef;"})
        EXPECT_TRUE(entry.contains(QLatin1String(type))) << type;
}

TEST(ResourceInstall, TheAppStreamReleaseIsTheProjectVersion) {
    const QString metainfo = Read(VELMORA_METAINFO);
    const QRegularExpression release(QStringLiteral("<release version=\"([^\"]+)\""));
    const auto match = release.match(metainfo);
    ASSERT_TRUE(match.hasMatch()) << metainfo.toStdString();
    EXPECT_EQ(match.captured(1), QStringLiteral(VELMORA_VERSION_TEXT));
}
