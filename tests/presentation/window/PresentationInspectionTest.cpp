#include "presentation/window/ShowFileTags.h"
#include "tests/presentation/window/InspectionTestSupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using fixture::Bytes;

// Whether this process holds a descriptor open on `path`.
bool IsOpenHere(const QByteArray& path) {
    const auto wanted = std::filesystem::canonical(path.toStdString());
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) == wanted)
            return true;
    }
    return false;
}

class PresentationInspection : public ::testing::Test {
protected:
    QByteArray PathOf(const QByteArray& name) const {
        return QFile::encodeName(m_dir.path()) + '/' + name;
    }
    QByteArray Write(const QByteArray& name, const Bytes& bytes) const {
        EXPECT_TRUE(fixture::WriteFile(PathOf(name).toStdString(), bytes));
        return PathOf(name);
    }
    // A row no inspection adds, to see whether the list was touched.
    ShownRows PutEarlierRow() {
        pane.AddTagRow(QStringLiteral("Earlier"), QStringLiteral("row"));
        return RowsOf(pane);
    }

    QTemporaryDir m_dir;
    CPropertiesWnd pane;
    const Bytes m_camera = fixture::CameraLikeJpeg();
};

} // namespace

TEST_F(PresentationInspection, ShowsTheRowsOfEachInspectedJpegOnce) {
    const QByteArray camera = Write("camera.jpg", m_camera);
    PutEarlierRow();
    const ShownRows expected = ExpectedRows(m_camera);
    ASSERT_EQ(expected.at(0).second, QStringLiteral("Velmora"));

    EXPECT_TRUE(ShowFileTags(QFile::decodeName(camera), pane));
    EXPECT_EQ(RowsOf(pane), expected);
    EXPECT_TRUE(ShowFileTags(camera, pane));
    EXPECT_EQ(RowsOf(pane), expected);

    const Bytes second = SecondCameraJpeg();
    EXPECT_TRUE(ShowFileTags(Write("second.jpg", second), pane));
    EXPECT_EQ(RowsOf(pane), ExpectedRows(second));
}

TEST_F(PresentationInspection, FilesWithoutExifEmptyTheList) {
    PutEarlierRow();
    EXPECT_FALSE(ShowFileTags(Write("notes.txt", {'h', 'i'}), pane));
    EXPECT_TRUE(RowsOf(pane).empty());

    PutEarlierRow();
    fixture::JpegBuilder plain;
    plain.Soi().App0Jfif().Comment("no camera").Frame(8, 8).BareSos();
    EXPECT_FALSE(ShowFileTags(Write("plain.jpg", plain.Data()), pane));
    EXPECT_TRUE(RowsOf(pane).empty());
}

TEST_F(PresentationInspection, PathsThatReachNoReadableFileLeaveTheListAlone) {
    const QByteArray camera = Write("camera.jpg", m_camera);
    const ShownRows before = PutEarlierRow();
    EXPECT_FALSE(ShowFileTags(QString(), pane));
    EXPECT_FALSE(ShowFileTags(PathOf("missing.jpg"), pane));
    // A zero byte would cut the name short, down to a file that exists.
    EXPECT_FALSE(ShowFileTags(camera + QByteArray("\0.gone", 6), pane));
    // Root reads every file, whatever its mode.
    if (::geteuid() != 0) {
        ASSERT_EQ(::chmod(camera.constData(), 0), 0);
        EXPECT_FALSE(ShowFileTags(camera, pane));
    }
    EXPECT_EQ(RowsOf(pane), before);
}

TEST_F(PresentationInspection, FoldersDevicesAndFifosAreNotOpenedAndLeaveTheListAlone) {
    const ShownRows before = PutEarlierRow();
    EXPECT_TRUE(ShowFileTags(QFile::encodeName(m_dir.path()), pane));
    EXPECT_TRUE(ShowFileTags(QByteArray("/dev/null"), pane));
    EXPECT_EQ(RowsOf(pane), before);

    // A FIFO without a writer blocks an ordinary open for ever. Should the
    // inspection hang, the guard plays the writer after a while, so the test
    // fails instead of hanging.
    const QByteArray fifo = PathOf("pipe.jpg");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    std::atomic<bool> returned = false;
    std::atomic<bool> hadToUnblock = false;
    std::thread guard([&] {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
        for (; !returned; std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
            const int fd = std::chrono::steady_clock::now() < deadline
                               ? -1
                               : ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
            hadToUnblock = hadToUnblock || fd >= 0;
            if (fd >= 0)
                ::close(fd);
        }
    });
    EXPECT_TRUE(ShowFileTags(fifo, pane));
    returned = true;
    guard.join();
    EXPECT_FALSE(hadToUnblock);
    EXPECT_EQ(RowsOf(pane), before);
}

TEST_F(PresentationInspection, FileCutRightAfterItsExifBlockStillShowsRows) {
    size_t end = 2; // past the segment that ends with the APP1
    for (bool app1 = false; !app1; end += 2 + (m_camera.at(end + 2) << 8 | m_camera.at(end + 3)))
        app1 = m_camera.at(end + 1) == 0xE1;
    const Bytes cut(m_camera.begin(), m_camera.begin() + end);

    EXPECT_TRUE(ShowFileTags(Write("cut.jpg", cut), pane));
    EXPECT_EQ(RowsOf(pane), ExpectedRows(cut));
    EXPECT_EQ(RowsOf(pane).at(0).second, QStringLiteral("Velmora"));
}

TEST_F(PresentationInspection, NameThatIsNotUtf8IsOpenedByItsOwnBytes) {
    // "café.jpg" in Latin-1, next to the file its lossy UTF-8 reading names.
    const QByteArray latin1 = PathOf("caf\xE9.jpg");
    const int fd = ::open(latin1.constData(), O_WRONLY | O_CREAT | O_EXCL, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, m_camera.data(), m_camera.size()), ssize_t(m_camera.size()));
    ::close(fd);
    Write(QFile::encodeName(QStringLiteral(u"caf\uFFFD.jpg")), SecondCameraJpeg());

    EXPECT_TRUE(ShowFileTags(latin1, pane));
    EXPECT_EQ(RowsOf(pane), ExpectedRows(m_camera));
    ::unlink(latin1.constData()); // QTemporaryDir cannot see this name to remove it
}

TEST_F(PresentationInspection, FileIsClosedBeforeTheListIsTouched) {
    QByteArray inspected;
    int touches = 0;
    int touchesWhileOpen = 0;
    QObject watching; // ends the connections before the test's locals go
    auto touched = [&] {
        ++touches;
        touchesWhileOpen += IsOpenHere(inspected);
    };
    QAbstractItemModel* model = pane.TagList().model();
    QObject::connect(model, &QAbstractItemModel::modelAboutToBeReset, &watching, touched);
    QObject::connect(model, &QAbstractItemModel::rowsAboutToBeInserted, &watching, touched);
    for (const QByteArray& path : {Write("camera.jpg", m_camera), Write("notes.txt", {'h'})}) {
        inspected = path;
        ShowFileTags(path, pane);
        EXPECT_FALSE(IsOpenHere(path));
    }
    EXPECT_GT(touches, 0);
    EXPECT_EQ(touchesWhileOpen, 0);
}

TEST_F(PresentationInspection, TheReadersPrintedMessagesReachStandardOutput) {
    // An end of image before any scan: the reader prints its message, and the
    // window passes it on to standard output as the reader's convention has it.
    const Bytes noScan = fixture::JpegBuilder().Soi().Segment(0xD9, {}).Data();
    const QByteArray path = Write("no-scan.jpg", noScan);
    testing::internal::CaptureStdout();
    ShowFileTags(path, pane);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "No image in jpeg!\n");
}
