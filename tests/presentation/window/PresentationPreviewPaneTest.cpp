// The "Preview" pane: which picture serves for a pane's size, upright; the
// histogram of a known picture; fitted and 100% with panning; the requests
// that a newer one overtakes; what assistive technology is told.
#include "presentation/window/Histogram.h"
#include "presentation/window/PreviewPicture.h"
#include "presentation/window/PreviewWnd.h"
#include "tests/fixtures/ExifBuilder.h"
#include "tests/framework/FrameworkThumbnailTestSupport.h"
#include "tests/presentation/window/DecoderTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QMouseEvent>
#include <QMutex>
#include <QTest>
#include <QThread>

#include <memory>

namespace {

// A raw file: IFD0 names its preview JPEG and a sensor directory with no data.
QByteArray RawWithPreview(const QByteArray& preview) {
    fixture::ExifBuilder tiff(fixture::ByteOrder::Little);
    const int sensor = tiff.AddDirectory();
    tiff.Long(0, 0x00FE, 1).Long(0, 0x0201, 0).Long(0, 0x0202, uint32_t(preview.size()));
    tiff.Link(0, 0x014A, sensor)
        .Add(0, fixture::MakeEntry(0xC612, fixture::kByte, 4, {1, 4, 0, 0}));
    tiff.Long(sensor, 0x0100, 4000).Long(sensor, 0x0101, 3000).Short(sensor, 0x0103, 7);
    const uint32_t at = tiff.Append(fixture::Bytes(preview.begin(), preview.end()));
    tiff.Set(0, 0x0201, tiff.U32(at));
    const fixture::Bytes bytes = tiff.Tiff();
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

// A raw file cut short through its preview.
QByteArray RawWithCutPreview() {
    QByteArray raw = RawWithPreview(Encoded(Filled(160, 120, Qt::green), "JPEG"));
    raw.chop(200);
    return raw;
}

class PreviewChoice : public ThumbnailFiles {
protected:
    // An 800 x 400 red photo with a 200 x 100 blue thumbnail.
    QByteArray Photo(int orientation) {
        return Write(QStringLiteral("photo%1.jpg").arg(orientation),
                     WithExif(Encoded(Filled(800, 400, Qt::red), "JPEG"), orientation,
                              Encoded(Filled(200, 100, Qt::blue), "JPEG")));
    }
};

TEST(PreviewCovers, APictureCoversABoxWhenItNeedNotBeEnlarged) {
    struct Case {
        QSize picture, box;
        bool covers;
    } const cases[] = {
        {{200, 100}, {200, 100}, true},  {{200, 100}, {150, 150}, true},
        {{200, 100}, {300, 100}, true},  {{200, 100}, {300, 150}, false},
        {{200, 100}, {QSize()}, false},  {{QSize()}, {10, 10}, false},
        {{1600, 100}, {800, 600}, true}, {{100, 1600}, {800, 600}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Covers(c.picture, c.box), c.covers)
            << c.picture.width() << "x" << c.picture.height() << " in " << c.box.width() << "x"
            << c.box.height();
}

TEST_F(PreviewChoice, TheThumbnailServesASmallPaneAndThePhotoALargerOneUpright) {
    struct Case {
        int orientation;
        QSize box;
        PreviewOrigin origin;
        QSize size;
        QColor colour;
    } const cases[] = {
        {1, {150, 150}, PreviewOrigin::Embedded, {150, 75}, Qt::blue},
        {1, {200, 100}, PreviewOrigin::Embedded, {200, 100}, Qt::blue},
        {1, {400, 400}, PreviewOrigin::Decoded, {400, 200}, Qt::red},
        {1, {2000, 2000}, PreviewOrigin::Decoded, {800, 400}, Qt::red}, // never enlarged
        {1, QSize(), PreviewOrigin::Decoded, {800, 400}, Qt::red},      // 100%
        // Turned a quarter: the 400 x 800 upright photo, its thumbnail 100 x 200.
        {6, {100, 100}, PreviewOrigin::Embedded, {50, 100}, Qt::blue},
        {6, {300, 300}, PreviewOrigin::Decoded, {150, 300}, Qt::red},
    };
    for (const Case& c : cases) {
        const PreviewPicture picture =
            PictureForPreview(*SharedTestDecoder(), Photo(c.orientation), c.box);
        SCOPED_TRACE(testing::Message() << c.orientation << ": " << c.box.width());
        EXPECT_EQ(picture.origin, c.origin);
        EXPECT_EQ(picture.gap, PreviewGap::None);
        EXPECT_EQ(picture.image.size(), c.size);
        EXPECT_TRUE(IsMostly(picture.image, c.colour));
        EXPECT_EQ(picture.fullSize, c.orientation == 6 ? QSize(400, 800) : QSize(800, 400));
    }
}

TEST_F(PreviewChoice, AHalfTurnIsAppliedOnce) {
    // The red top half ends at the bottom.
    QImage halves = Filled(64, 64, Qt::blue);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            halves.setPixelColor(x, y, Qt::red);
    const QByteArray turned = Write("half.jpg", WithExif(Encoded(halves, "JPEG"), 3, {}));
    const QImage half = PictureForPreview(*SharedTestDecoder(), turned, {64, 64}).image;
    ASSERT_EQ(half.size(), QSize(64, 64));
    EXPECT_GT(half.pixelColor(32, 4).blue(), 150);
    EXPECT_GT(half.pixelColor(32, 60).red(), 150);
}

TEST_F(PreviewChoice, ARawFileShowsItsPreviewAtAnySizeOrSaysItHasNone) {
    const PreviewPicture raw = PictureForPreview(
        *SharedTestDecoder(),
        Write("small.dng", RawWithPreview(Encoded(Filled(160, 120, Qt::green), "JPEG"))),
        {800, 800});
    EXPECT_EQ(raw.origin, PreviewOrigin::Embedded);
    EXPECT_EQ(raw.image.size(), QSize(160, 120));

    const PreviewPicture none =
        PictureForPreview(*SharedTestDecoder(), Write("cut.dng", RawWithCutPreview()), {800, 800});
    EXPECT_TRUE(none.image.isNull());
    EXPECT_EQ(none.gap, PreviewGap::RawWithoutPreview);
    EXPECT_EQ(CPreviewWnd::GapText(none.gap),
              QStringLiteral("This raw file has no preview that can be shown."));

    for (const auto& [path, gap] :
         {std::pair{Write("note.txt", "not a picture"), PreviewGap::Undecodable},
          std::pair{QFile::encodeName(dir.filePath("missing.jpg")), PreviewGap::Unreadable},
          std::pair{QFile::encodeName(dir.path()), PreviewGap::Unreadable}})
        EXPECT_EQ(PictureForPreview(*SharedTestDecoder(), path, {80, 80}).gap, gap) << path.data();
}

// The pane's pictures are the worker's: one it fails on (here, by taking
// longer than its time) or one it cannot start for says so, and the window
// decodes nothing in its stead.
TEST_F(PreviewChoice, ADecodeTheWorkerFailsOnOrCannotStartShowsTheDecodersLine) {
    const QByteArray large = Write("large.jpg", Encoded(Filled(4000, 3000, Qt::red), "JPEG"));
    PictureDecoder::Options hasty;
    hasty.workers = 1;
    hasty.timeoutMs = 1;
    PictureDecoder slow(hasty);
    const PreviewPicture failed = PictureForPreview(slow, large, {});
    EXPECT_TRUE(failed.image.isNull());
    EXPECT_EQ(failed.gap, PreviewGap::DecodeFailed);
    EXPECT_EQ(CPreviewWnd::GapText(failed.gap),
              QStringLiteral("The picture could not be decoded."));

    PictureDecoder::Options nowhere;
    nowhere.workerPath = dir.filePath(QStringLiteral("no-such-worker"));
    PictureDecoder absent(nowhere);
    const PreviewPicture none = PictureForPreview(absent, Photo(1), {100, 100});
    EXPECT_TRUE(none.image.isNull());
    EXPECT_EQ(none.gap, PreviewGap::NoDecoder);
    EXPECT_EQ(CPreviewWnd::GapText(none.gap), OutcomeText(DecodeOutcome::Unavailable));
    EXPECT_FALSE(CPreviewWnd::GapText(none.gap).isEmpty());
    // A pane no frame handed a decoder to says the same.
    EXPECT_EQ(CPreviewWnd::DecodedBy(nullptr)(Photo(1), {100, 100}).gap, PreviewGap::NoDecoder);
}

// Real HEIC and AVIF files, their primary image decoded by the worker (under
// its memory limit) for a pane larger than their thumbnails and at 100%.
TEST(PreviewCorpus, HeifFilesDecodeTheirPrimaryImageInTheWorker) {
    const QDir formats(QStringLiteral(VELMORA_CORPUS_DIR "/formats"));
    if (!formats.exists())
        GTEST_SKIP() << "no formats corpus at " << formats.path().toStdString();
    const QStringList names =
        formats.entryList({"*.heic", "*.HEIC", "*.avif", "*.AVIF"}, QDir::Files);
    for (const QString& name : names) {
        const QByteArray path = QFile::encodeName(formats.filePath(name));
        const PreviewPicture fitted = PictureForPreview(*SharedTestDecoder(), path, {900, 900});
        const PreviewPicture actual = PictureForPreview(*SharedTestDecoder(), path, {});
        ASSERT_EQ(fitted.gap, PreviewGap::None) << name.toStdString();
        ASSERT_EQ(actual.gap, PreviewGap::None) << name.toStdString();
        EXPECT_TRUE(Covers(fitted.image.size(), {900, 900}) ||
                    fitted.image.size() == actual.image.size())
            << name.toStdString();
        EXPECT_EQ(actual.fullSize, actual.image.size()) << name.toStdString();
    }
}

TEST(PreviewHistogram, CountsEachChannelOfAKnownPicture) {
    // Half pure red, a quarter white, a quarter black.
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    for (int x = 0; x < 4; ++x) {
        image.setPixelColor(x, 2, Qt::white);
        image.setPixelColor(x, 3, Qt::black);
    }
    const Histogram h = HistogramOf(image);
    EXPECT_EQ(h.pixels, 16u);
    EXPECT_EQ(h.counts[Histogram::Red][255], 12u);
    EXPECT_EQ(h.counts[Histogram::Red][0], 4u);
    EXPECT_EQ(h.counts[Histogram::Green][0], 12u);
    EXPECT_EQ(h.counts[Histogram::Blue][255], 4u);
    EXPECT_EQ(h.counts[Histogram::Luminance][255], 4u); // white stays white
    EXPECT_EQ(h.counts[Histogram::Luminance][53], 8u);  // red's luma, 0.21 of white
    EXPECT_EQ(h.counts[Histogram::Luminance][0], 4u);
    EXPECT_EQ(h.Peak(), 12u);

    EXPECT_EQ(HistogramOf(QImage()).Peak(), 0u);
    // A large picture is sampled, evenly.
    const Histogram large = HistogramOf(Filled(3000, 2000, Qt::green));
    EXPECT_LE(large.pixels, Histogram::kFullCount);
    EXPECT_GT(large.pixels, Histogram::kFullCount / 4);
    EXPECT_EQ(large.counts[Histogram::Green][255], large.pixels);
}

TEST(PreviewViewZoom, FittedAnd100PercentWithPanningByKeysAndDragging) {
    PreviewView view;
    view.resize(200, 200);
    QImage image = Filled(400, 200, Qt::red);
    view.SetPicture(image);
    EXPECT_EQ(view.GetZoom(), PreviewView::Zoom::Fitted);
    EXPECT_EQ(view.PictureRect(), QRectF(0, 50, 200, 100));

    QTest::mouseDClick(&view, Qt::LeftButton, Qt::NoModifier, {100, 100});
    ASSERT_EQ(view.GetZoom(), PreviewView::Zoom::Actual);
    EXPECT_EQ(view.PictureRect().size(), QSizeF(400, 200));
    EXPECT_EQ(view.Pan(), QPointF(100, 0)); // the middle stays in the middle
    QTest::keyClick(&view, Qt::Key_Home);
    EXPECT_EQ(view.Pan(), QPointF(0, 0));
    QTest::keyClick(&view, Qt::Key_Right);
    EXPECT_EQ(view.Pan(), QPointF(PreviewView::kArrowStep, 0));
    QTest::keyClick(&view, Qt::Key_End);
    EXPECT_EQ(view.Pan(), QPointF(200, 0));
    QTest::keyClick(&view, Qt::Key_Right); // never past the edge
    EXPECT_EQ(view.Pan(), QPointF(200, 0));
    EXPECT_EQ(view.PictureRect().topLeft(), QPointF(-200, 0));

    // Dragging to the right shows more of the left.
    QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, {150, 100});
    QMouseEvent move(QEvent::MouseMove, QPointF(180, 120), view.mapToGlobal(QPointF(180, 120)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, {180, 120});
    EXPECT_EQ(view.Pan(), QPointF(170, 0));

    // A sharper picture of the same photo keeps the same point in the middle.
    view.SetPicture(Filled(800, 400, Qt::red), true);
    EXPECT_EQ(view.GetZoom(), PreviewView::Zoom::Actual);
    EXPECT_EQ(view.Pan(), QPointF(2 * 270 - 100, 100));

    view.ToggleZoom();
    EXPECT_EQ(view.GetZoom(), PreviewView::Zoom::Fitted);

    // At twice the density, 100% is half as many view pixels.
    image.setDevicePixelRatio(2);
    view.SetPicture(image);
    view.SetZoom(PreviewView::Zoom::Actual);
    EXPECT_EQ(view.PictureRect().size(), QSizeF(200, 100));
}

// A pane docked in a frame whose pictures come from a source that counts.
class PreviewPane : public ThumbnailFiles {
protected:
    void SetUp() override {
        ThumbnailFiles::SetUp();
        frame.setCentralWidget(new QWidget(&frame));
        frame.resize(900, 700);
        ASSERT_TRUE(pane->Create(QStringLiteral("Preview"), &frame, QRect(0, 0, 300, 300), true,
                                 161, PaneStyle::AlignRight | PaneStyle::Visible));
        pane->DockToFrame();
        pane->SetSource([this](const QByteArray& path, QSize box) {
            {
                const QMutexLocker lock(&mutex);
                asked.append({path, box});
            }
            QThread::msleep(delayMs);
            return PictureForPreview(*SharedTestDecoder(), path, box);
        });
    }
    bool WaitShown(const QByteArray& path) {
        return QTest::qWaitFor([&] { return pane->ShownPath() == path && pane->Pending() == 0; },
                               5000) &&
               QTest::qWaitFor([&] { return !pane->Picture().Message().contains("chosen"); });
    }
    QList<QPair<QByteArray, QSize>> Asked() {
        const QMutexLocker lock(&mutex);
        return asked;
    }

    QMainWindow frame;
    CPreviewWnd* pane = new CPreviewWnd(&frame);
    QMutex mutex;
    QList<QPair<QByteArray, QSize>> asked;
    int delayMs = 0;
};

TEST_F(PreviewPane, ShowsThePictureItsHistogramAndAsksTheFullPhotoAt100Percent) {
    frame.show();
    const QByteArray path =
        Write("red.jpg", WithExif(Encoded(Filled(1600, 1200, Qt::red), "JPEG"), 1, {}));
    pane->ShowFile(path);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pane->Picture().Picture().isNull(); }, 5000));
    EXPECT_EQ(pane->Shown().origin, PreviewOrigin::Decoded);
    EXPECT_TRUE(Covers(pane->Shown().image.size(), pane->FittedBox()));
    EXPECT_GT(pane->HistogramChart().Shown().counts[Histogram::Red][254] +
                  pane->HistogramChart().Shown().counts[Histogram::Red][255],
              0u);
    EXPECT_EQ(pane->Note().text(), QStringLiteral("1600 × 1200"));

    pane->ZoomButton().click();
    EXPECT_EQ(pane->Picture().GetZoom(), PreviewView::Zoom::Actual);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return pane->Picture().Picture().size() == QSize(1600, 1200); }));
    EXPECT_TRUE(Asked().last().second.isEmpty());
    EXPECT_EQ(pane->Picture().GetZoom(), PreviewView::Zoom::Actual); // kept on arrival
    pane->Picture().ToggleZoom();
    EXPECT_FALSE(pane->ZoomButton().isChecked());
}

TEST_F(PreviewPane, AFileOvertakenBeforeItsTurnIsNeverMade) {
    frame.show();
    delayMs = 150;
    const QByteArray a = Write("a.png", Encoded(Filled(40, 40, Qt::red), "PNG"));
    const QByteArray b = Write("b.png", Encoded(Filled(40, 40, Qt::green), "PNG"));
    const QByteArray c = Write("c.png", Encoded(Filled(40, 40, Qt::blue), "PNG"));
    pane->ShowFile(a);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Asked().isEmpty(); }));
    pane->ShowFile(b);
    pane->ShowFile(c);
    ASSERT_TRUE(WaitShown(c));
    QList<QByteArray> paths;
    for (const auto& request : Asked())
        paths << request.first;
    EXPECT_EQ(paths, (QList<QByteArray>{a, c}));
    EXPECT_TRUE(IsMostly(pane->Picture().Picture(), Qt::blue));
}

TEST_F(PreviewPane, AHiddenPaneMakesNothingUntilShownAndTellsWhatIsMissing) {
    frame.show();
    pane->ShowPane(false, false);
    const QByteArray raw = Write("bare.dng", RawWithCutPreview());
    pane->ShowFile(raw);
    QTest::qWait(50);
    EXPECT_TRUE(Asked().isEmpty());
    pane->ShowPane(true, false);
    ASSERT_TRUE(WaitShown(raw));
    EXPECT_EQ(Asked().size(), 1);
    EXPECT_EQ(pane->Picture().Message(), CPreviewWnd::GapText(PreviewGap::RawWithoutPreview));
    EXPECT_FALSE(pane->ZoomButton().isEnabled());
    EXPECT_EQ(pane->HistogramChart().Shown().Peak(), 0u);
}

TEST_F(PreviewPane, EveryPartIsNamedToAssistiveTechnologyAndTheKeyboardReachesIt) {
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    pane->ShowFile(Write("named.png", Encoded(Filled(40, 40, Qt::red), "PNG")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !pane->Picture().Picture().isNull(); }));
    QAccessibleInterface* picture = QAccessible::queryAccessibleInterface(&pane->Picture());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->role(), QAccessible::Graphic);
    EXPECT_EQ(picture->text(QAccessible::Name), QStringLiteral("Preview of named.png"));
    EXPECT_EQ(picture->text(QAccessible::Description), QStringLiteral("40 × 40, fitted"));
    QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(&pane->HistogramChart());
    EXPECT_EQ(chart->role(), QAccessible::Chart);
    EXPECT_EQ(chart->text(QAccessible::Name), QStringLiteral("Histogram"));
    QAccessibleInterface* zoom = QAccessible::queryAccessibleInterface(&pane->ZoomButton());
    EXPECT_EQ(zoom->text(QAccessible::Name), QStringLiteral("Actual size"));

    frame.activateWindow();
    pane->ShowPane(true, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pane->Picture().hasFocus(); }));
    QTest::keyClick(&pane->Picture(), Qt::Key_Tab);
    EXPECT_TRUE(pane->ZoomButton().hasFocus());
}

} // namespace
