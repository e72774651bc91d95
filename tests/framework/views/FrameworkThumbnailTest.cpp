#include "framework/views/ShellFileList.h"
#include "framework/views/ThumbnailCache.h"
#include "framework/views/ThumbnailSource.h"
#include "tests/framework/FrameworkThumbnailTestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QSemaphore>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include <sys/stat.h>

namespace {

QPixmap Pixmap(int w, int h) {
    QPixmap pixmap(w, h);
    pixmap.fill(Qt::red);
    return pixmap;
}

ThumbnailKey Key(int n) {
    return {QByteArray("/photos/") + QByteArray::number(n), 100, 5, 32};
}

TEST(ThumbnailCache, DropsTheLeastRecentlyUsedAndNeverExceedsItsCap) {
    const qint64 one = ThumbnailCache::CostOf(Pixmap(10, 10));
    ThumbnailCache cache(one * 3);
    cache.Insert(Key(1), Pixmap(10, 10));
    cache.Insert(Key(2), Pixmap(10, 10));
    cache.Insert(Key(3), Pixmap(10, 10));
    EXPECT_EQ(cache.UsedBytes(), one * 3);
    ASSERT_NE(cache.Find(Key(1)), nullptr); // 1 is now the most recent
    cache.Insert(Key(4), Pixmap(10, 10));
    EXPECT_FALSE(cache.Contains(Key(2)));
    EXPECT_TRUE(cache.Contains(Key(1)));
    EXPECT_TRUE(cache.Contains(Key(3)));
    EXPECT_LE(cache.UsedBytes(), cache.CapBytes());

    // A larger one makes room for itself; one above the cap is not held.
    cache.Insert(Key(5), Pixmap(20, 10));
    EXPECT_LE(cache.UsedBytes(), cache.CapBytes());
    EXPECT_TRUE(cache.Contains(Key(5)));
    EXPECT_TRUE(cache.Contains(Key(4)));
    EXPECT_FALSE(cache.Contains(Key(3)));
    EXPECT_FALSE(cache.Contains(Key(1)));
    cache.Insert(Key(6), Pixmap(40, 40));
    EXPECT_FALSE(cache.Contains(Key(6)));

    // Replacing keeps the count right; a changed file is another key.
    cache.Insert(Key(5), Pixmap(10, 10));
    EXPECT_EQ(cache.UsedBytes(), one * 2);
    ThumbnailKey changed = Key(5);
    changed.modifiedMs += 1;
    EXPECT_EQ(cache.Find(changed), nullptr);

    for (int i = 10; i < 200; ++i) {
        cache.Insert(Key(i), Pixmap(1 + i % 17, 1 + i % 13));
        ASSERT_LE(cache.UsedBytes(), cache.CapBytes());
    }
    cache.SetCapBytes(one);
    EXPECT_LE(cache.UsedBytes(), one);
}

// The icon layouts show the pictures; a folder of hostile files next to a
// good one keeps the window going and leaves them their icons.
TEST_F(ThumbnailFiles, TheIconLayoutsShowThePicturesOfTheShownFolder) {
    Write("good.jpg", WithExif(Encoded(Filled(300, 200, Qt::red), "JPEG"), 1, {}));
    Write("empty.jpg", {});
    Write("cut.jpg", Encoded(Filled(300, 200, Qt::red), "JPEG").left(100));
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.jpg")).constData(), 0600), 0);
    ShellFileList list;
    list.resize(600, 400);
    list.SetViewMode(ShellFileList::ViewMode::LargeIcons);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    ASSERT_TRUE(list.DisplayFolder(QDir(dir.path()).canonicalPath()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.GetItemCount() == 3; }, 5000));
    ThumbnailCache& cache = list.Thumbnails().Cache();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return cache.Count() >= 1 && list.Thumbnails().Pending() == 0; }, 5000));
    EXPECT_EQ(cache.Count(), 1); // only the good one decodes
    // Switching folder mid-way drops what was asked.
    list.Thumbnails().Cache().Clear();
    ASSERT_TRUE(list.DisplayFolder(QDir::rootPath()));
    EXPECT_EQ(list.Thumbnails().Pending(), 0);
}

// Without a provider of the application's, Qt's readers make the pictures:
// scaled, never enlarged, turned as Qt reads the orientation.
TEST_F(ThumbnailFiles, QtsReadersMakeThePicturesWhenTheApplicationGivesNone) {
    const ImageReaderThumbnails qt;
    const QImage png = qt.Picture(Write("b.png", Encoded(Filled(50, 100, Qt::green), "PNG")), 40);
    EXPECT_EQ(png.size(), QSize(20, 40));
    EXPECT_TRUE(IsMostly(png, Qt::green));
    EXPECT_EQ(qt.Picture(Write("c.png", Encoded(Filled(8, 4, Qt::green), "PNG")), 40).size(),
              QSize(8, 4));

    QByteArray turned;
    QBuffer buffer(&turned);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly));
    QImageWriter writer(&buffer, "jpeg");
    writer.setTransformation(QImageIOHandler::TransformationRotate90);
    ASSERT_TRUE(writer.write(Filled(400, 200, Qt::red)));
    const QImage jpeg = qt.Picture(Write("turned.jpg", turned), 40);
    EXPECT_EQ(jpeg.size(), QSize(20, 40));
    EXPECT_TRUE(IsMostly(jpeg, Qt::red));
}

TEST_F(ThumbnailFiles, QtsReadersOpenNothingButRegularFilesAndNeverBlock) {
    const QByteArray fifo = QFile::encodeName(dir.filePath("pipe.png"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    const QByteArray good = Write("good.png", Encoded(Filled(8, 8, Qt::red), "PNG"));
    const struct {
        QByteArray path;
        int edge;
    } none[] = {
        {Write("empty.png", {}), 32},
        {Write("text.png", "not a picture at all"), 32},
        {Write("cut.png", Encoded(Filled(64, 64, Qt::red), "PNG").left(40)), 32},
        {fifo, 32},
        {QFile::encodeName(dir.path()), 32},
        {"/no/such/file.png", 32},
        {good + QByteArray(1, '\0') + "x", 32},
        {good, 0},
        {{}, 32},
    };
    QElapsedTimer timer;
    timer.start();
    const ImageReaderThumbnails qt;
    for (const auto& [path, edge] : none)
        EXPECT_TRUE(qt.Picture(path, edge).isNull()) << path.constData() << " at " << edge;
    EXPECT_FALSE(qt.Picture(good, 32).isNull());
    EXPECT_LT(timer.elapsed(), 5000);
}

// Pictures of one colour whatever the file, but none for "none.png"; counts
// what it is asked and, given a gate, waits at it before answering.
class OneColour final : public ThumbnailProvider {
public:
    explicit OneColour(QColor colour, QSemaphore* gate = nullptr)
        : m_colour(colour), m_gate(gate) {}
    QImage Picture(const QByteArray& path, int edge) const override {
        asked.fetch_add(1);
        if (m_gate)
            m_gate->acquire();
        return path.endsWith("none.png") ? QImage() : Filled(edge, edge / 2, m_colour);
    }
    mutable std::atomic<int> asked{0};

private:
    QColor m_colour;
    QSemaphore* m_gate;
};

// The list shows what the application's provider makes, asked only for the
// pictures and movies; another provider starts afresh, and a null one changes nothing.
TEST_F(ThumbnailFiles, TheListsPicturesComeFromTheApplicationsProvider) {
    for (const char* name : {"a.png", "b.jpg", "none.png", "notes.txt", "clip.mp4"})
        Write(name, "the provider never reads these");
    ShellFileList list;
    auto blue = std::make_shared<OneColour>(Qt::blue);
    list.Thumbnails().SetProvider(blue);
    EXPECT_EQ(&list.Thumbnails().Provider(), blue.get());
    list.resize(600, 400);
    list.SetViewMode(ShellFileList::ViewMode::LargeIcons);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    ASSERT_TRUE(list.DisplayFolder(QDir(dir.path()).canonicalPath()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.GetItemCount() == 5; }, 5000));
    ThumbnailLoader& loader = list.Thumbnails();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return loader.Cache().Count() == 3 && loader.Pending() == 0; }, 5000));
    EXPECT_EQ(blue->asked.load(), 4); // the text file is no picture

    auto red = std::make_shared<OneColour>(Qt::red);
    loader.SetProvider(red);
    EXPECT_EQ(loader.Cache().Count(), 0);
    list.IconView()->viewport()->repaint();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return loader.Cache().Count() == 3 && loader.Pending() == 0; }, 5000));
    EXPECT_EQ(red->asked.load(), 4); // the one that had none is tried again
    EXPECT_EQ(blue->asked.load(), 4);

    loader.SetProvider(nullptr);
    EXPECT_EQ(&loader.Provider(), red.get());
    EXPECT_EQ(loader.Cache().Count(), 3);
}

// A picture still being made when the provider is replaced is not kept: the
// new provider makes it again.
TEST(ThumbnailLoader, APictureOfAReplacedProviderIsDropped) {
    QSemaphore gate;
    auto slow = std::make_shared<OneColour>(Qt::blue, &gate);
    ThumbnailLoader loader;
    loader.SetProvider(slow);
    const ThumbnailKey key{"/photos/a.jpg", 100, 5, 32};
    EXPECT_EQ(loader.Request(key), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return slow->asked.load() == 1; }, 5000));
    auto fast = std::make_shared<OneColour>(Qt::red);
    loader.SetProvider(fast);
    gate.release();
    slow.reset();
    QTest::qWait(50); // the slow picture arrives, and goes
    EXPECT_EQ(loader.Cache().Count(), 0);
    EXPECT_FALSE(loader.Failed(key));

    EXPECT_EQ(loader.Request(key), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return loader.Cache().Count() == 1; }, 5000));
    const QPixmap* made = loader.Request(key);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->toImage().pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(fast->asked.load(), 1);
}

// A denser screen asks for more pixels under a key of its own, and the
// picture paints at the same logical size, one pixel to each device pixel.
TEST(ThumbnailLoader, PicturesAreHeldAtTheScreensDevicePixelRatio) {
    ThumbnailLoader loader;
    auto provider = std::make_shared<OneColour>(Qt::green);
    loader.SetProvider(provider);
    const ThumbnailKey plain{"/photos/a.jpg", 100, 5, 32, 1.0};
    const ThumbnailKey dense{"/photos/a.jpg", 100, 5, 64, 2.0};
    ThumbnailKey sameEdge = dense;
    sameEdge.devicePixelRatio = 1.0;
    EXPECT_FALSE(sameEdge == dense);
    EXPECT_NE(qHash(sameEdge), qHash(dense));
    loader.Request(plain);
    loader.Request(dense);
    ASSERT_TRUE(QTest::qWaitFor([&] { return loader.Cache().Count() == 2; }, 5000));
    const QPixmap* one = loader.Request(plain);
    const QPixmap* two = loader.Request(dense);
    ASSERT_TRUE(one && two);
    EXPECT_EQ(two->size(), QSize(64, 32));
    EXPECT_EQ(two->devicePixelRatio(), 2.0);
    EXPECT_EQ(two->deviceIndependentSize(), one->deviceIndependentSize());
}

} // namespace
