// Movies' pictures: a frame of the video decoded by the worker when the
// movie carries no cover picture, upright and of the display's aspect; and
// movies that are no movies give no picture without harming the worker.
#include "presentation/window/PhotoPictures.h"
#include "presentation/window/PictureDecoder.h"
#include "presentation/window/PictureDecoding.h"
#include "presentation/window/PreviewPicture.h"
#include "tests/fixtures/MovieBuilder.h"
#include "tests/framework/FrameworkThumbnailTestSupport.h"

#include <QDir>

#include <algorithm>

namespace {

const QString kVideos = QStringLiteral(VELMORA_CORPUS_DIR "/videos/");

class VideoFrames : public ThumbnailFiles {
protected:
    QByteArray Movie(const QString& name, const fixture::Bytes& bytes) {
        return Write(
            name, QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    }
    PictureDecoder decoder;
    PhotoPictures pictures{std::shared_ptr<PictureDecoder>(&decoder, [](PictureDecoder*) {})};
};

TEST_F(VideoFrames, CorpusMoviesShowAFrameUprightAtTheirDisplayAspect) {
    if (!DecodesVideoFrames())
        GTEST_SKIP() << "built without libavformat/libavcodec";
    if (!QDir(kVideos).exists())
        GTEST_SKIP() << "no videos corpus at " << kVideos.toStdString();
    // Pictures fitted into 256 x 256: mov_with-gps is 568 x 320 turned a
    // quarter by its track, the 3GP smaller than the box and never enlarged;
    // mp4_uuid540 carries a thumbnail, which serves instead of a frame.
    const struct {
        const char* name;
        QSize icon;
        PreviewOrigin origin = PreviewOrigin::Decoded;
    } cases[] = {
        {"3gp_sample.3gp", {176, 144}},
        {"m4v_sample_iPod.m4v", {256, 192}},
        {"mov_sample_iTunes.mov", {256, 192}},
        {"mov_with-gps.mov", {144, 256}},
        {"mp4_FLIR_Thermal.mp4", {192, 256}},
        {"mp4_uuid540.mp4", {256, 144}, PreviewOrigin::Embedded},
    };
    for (const auto& c : cases) {
        const QByteArray path = QFile::encodeName(kVideos + QLatin1String(c.name));
        const QImage icon = pictures.Picture(path, 256);
        EXPECT_EQ(icon.size(), c.icon) << c.name;
        const QImage grey = icon.scaled(8, 8).convertToFormat(QImage::Format_Grayscale8);
        const auto [dark, light] = std::minmax_element(grey.constBits(), grey.constBits() + 64);
        EXPECT_GT(*light - *dark, 20) << c.name << ": a picture, not a blank sheet";

        const PreviewPicture preview = PictureForPreview(decoder, path, {400, 300});
        EXPECT_EQ(preview.origin, c.origin) << c.name;
        EXPECT_TRUE(preview.image.width() <= 400 && preview.image.height() <= 300) << c.name;
        EXPECT_EQ(preview.image.width() > preview.image.height(), c.icon.width() > c.icon.height())
            << c.name;
    }
    EXPECT_EQ(decoder.Starts(), 1);
}

// Movies our own builder writes: boxes a walker reads, but no video a
// decoder can decode; cut short; or no movie at all. Each gives no picture
// (the generic video icon, not a broken one), the worker lives on, and the
// next file gets its picture. So too in a build without libav.
TEST_F(VideoFrames, AMovieWithoutDecodableVideoGivesNoPictureAndTheWorkerLivesOn) {
    fixture::MovieOptions portrait;
    portrait.rotation = 90;
    const fixture::Bytes whole = fixture::MovieFile(portrait);
    fixture::MovieOptions moovFirst;
    moovFirst.moovFirst = true;
    const fixture::Bytes cut = fixture::MovieFile(moovFirst);
    fixture::Bytes garbage = fixture::MovieFile({});
    for (size_t i = 64; i < garbage.size(); ++i)
        garbage[i] = uint8_t(i * 131 + 7);
    const QByteArray red = Write("red.jpg", Encoded(Filled(64, 32, Qt::red), "JPEG"));
    const struct {
        const char* name;
        fixture::Bytes bytes;
    } cases[] = {
        {"no-frames.mov", whole},
        {"cut.mp4", fixture::Bytes(cut.begin(), cut.begin() + long(cut.size() / 2))},
        {"garbage.mp4", garbage},
        {"text.mp4", fixture::Bytes(16, 'x')},
    };
    for (const auto& c : cases) {
        const QByteArray path = Movie(QLatin1String(c.name), c.bytes);
        EXPECT_TRUE(pictures.Picture(path, 96).isNull()) << c.name;
        const PreviewPicture preview = PictureForPreview(decoder, path, {200, 200});
        EXPECT_TRUE(preview.image.isNull()) << c.name;
        EXPECT_NE(preview.gap, PreviewGap::DecodeFailed) << c.name;
        EXPECT_EQ(pictures.Picture(red, 32).size(), QSize(32, 16)) << "after " << c.name;
    }
    EXPECT_EQ(PictureForPreview(decoder, Movie("again.mov", whole), {90, 90}).gap,
              PreviewGap::VideoWithoutFrame);
    EXPECT_EQ(decoder.Starts(), 1) << "the worker never went down";
}

} // namespace
