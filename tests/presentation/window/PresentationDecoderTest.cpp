// The picture decoder's worker process: what it answers, and that a crash,
// a hang or exhausted memory costs only the one picture while the next file
// gets its own, from one thread or several, and in the file list's Large
// Icons over the hostile files.
#include "framework/views/ShellFileList.h"
#include "presentation/window/DecoderWire.h"
#include "presentation/window/PhotoPictures.h"
#include "presentation/window/PictureDecoder.h"
#include "tests/framework/FrameworkThumbnailTestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

struct OpenFile {
    explicit OpenFile(const QByteArray& path) : fd(::open(path.constData(), O_RDONLY)) {}
    ~OpenFile() { ::close(fd); }
    int fd;
};

PictureRequest Whole(int edge, DecoderFault fault = DecoderFault::None) {
    PictureRequest request;
    request.edge = edge;
    request.fault = fault;
    return request;
}

PictureDecoder::Options Quick() {
    PictureDecoder::Options options;
    options.timeoutMs = 1500;
    return options;
}

class DecoderFiles : public ThumbnailFiles {
protected:
    QByteArray Jpeg(const QString& name, QColor colour) {
        return Write(name, Encoded(Filled(400, 200, colour), "JPEG"));
    }
};

TEST_F(DecoderFiles, EachFaultCostsOnlyItsOwnPictureAndTheWorkerIsStartedAgain) {
    const OpenFile red(Jpeg("red.jpg", Qt::red));
    const struct {
        DecoderFault fault;
        const char* name;
    } cases[] = {{DecoderFault::Crash, "crash"},
                 {DecoderFault::Hang, "hang"},
                 {DecoderFault::ExhaustMemory, "memory"}};
    for (const auto& c : cases) {
        PictureDecoder decoder(Quick());
        QElapsedTimer clock;
        clock.start();
        const DecodedPicture failed = decoder.Decode(red.fd, Whole(40, c.fault));
        EXPECT_EQ(failed.outcome, DecodeOutcome::Failed) << c.name;
        EXPECT_TRUE(failed.image.isNull()) << c.name;
        EXPECT_LT(clock.elapsed(), 1500 + 3000) << c.name << ": the time limit holds";

        const DecodedPicture next = decoder.Decode(red.fd, Whole(40));
        ASSERT_EQ(next.outcome, DecodeOutcome::Decoded) << c.name;
        EXPECT_EQ(next.image.size(), QSize(40, 20)) << c.name;
        EXPECT_TRUE(IsMostly(next.image, Qt::red)) << c.name;
        EXPECT_EQ(decoder.Starts(), 2) << c.name;
        EXPECT_TRUE(decoder.UnavailableMessage().isEmpty()) << c.name;
    }
}

TEST_F(DecoderFiles, TheWorkerIsReusedAndSaysWhatItCouldNotDecode) {
    const OpenFile blue(Jpeg("blue.jpg", Qt::blue));
    const OpenFile text(Write("notes.txt", "no picture in here"));
    PictureDecoder decoder;
    for (const int edge : {16, 64, 400, 800}) {
        const DecodedPicture picture = decoder.Decode(blue.fd, Whole(edge));
        ASSERT_EQ(picture.outcome, DecodeOutcome::Decoded) << edge;
        EXPECT_EQ(picture.image.width(), qMin(edge, 400)) << "fitted, never enlarged";
    }
    EXPECT_EQ(decoder.Decode(text.fd, Whole(64)).outcome, DecodeOutcome::NoPicture);
    PictureRequest beyond = Whole(64);
    beyond.source = PictureSource::JpegExtent;
    beyond.offset = 1u << 30; // past the file's end
    beyond.length = 100;
    EXPECT_EQ(decoder.Decode(blue.fd, beyond).outcome, DecodeOutcome::NoPicture);
    EXPECT_EQ(decoder.Starts(), 1);
}

// Several picture threads at once, a crash among their requests now and
// then: every other request gets its picture.
TEST_F(DecoderFiles, ThreadsShareTheWorkersAndACrashHarmsNoOtherRequest) {
    const QByteArray path = Jpeg("green.jpg", Qt::green);
    PictureDecoder decoder(Quick());
    std::atomic<int> decoded{0};
    std::atomic<int> failed{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            // A descriptor of its own: a decode moves the file's offset.
            const OpenFile green(path);
            for (int i = 0; i < 8; ++i) {
                const bool crash = (t * 8 + i) % 7 == 3;
                const DecodedPicture picture = decoder.Decode(
                    green.fd, Whole(32, crash ? DecoderFault::Crash : DecoderFault::None));
                if (picture.outcome == DecodeOutcome::Decoded && picture.image.width() == 32)
                    ++decoded;
                else if (crash && picture.outcome == DecodeOutcome::Failed)
                    ++failed;
                else
                    ADD_FAILURE() << "request " << t * 8 + i << ": outcome " << int(picture.outcome)
                                  << ", " << picture.image.width();
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failed.load(), 5);
    EXPECT_EQ(decoded.load(), 32 - 5);
}

// What the worker runs under, as the kernel reports it: the filter, no
// gaining of privileges, the memory limit, no core files, and nothing open
// but its standard streams and its socket.
TEST_F(DecoderFiles, TheWorkerRunsSandboxed) {
    const OpenFile red(Jpeg("red.jpg", Qt::red));
    PictureDecoder decoder;
    ASSERT_EQ(decoder.Decode(red.fd, Whole(32)).outcome, DecodeOutcome::Decoded);
    const std::vector<pid_t> running = decoder.Running();
    ASSERT_EQ(running.size(), 1u);
    const QString proc = QStringLiteral("/proc/%1/").arg(running.front());
    QFile status(proc + "status");
    ASSERT_TRUE(status.open(QIODevice::ReadOnly));
    const QByteArray state = status.readAll();
    EXPECT_TRUE(state.contains("\nSeccomp:\t2\n")) << "the filter is in place";
    EXPECT_TRUE(state.contains("\nNoNewPrivs:\t1\n"));
    QFile limits(proc + "limits");
    ASSERT_TRUE(limits.open(QIODevice::ReadOnly));
    const QByteArray limit = limits.readAll().simplified();
    EXPECT_TRUE(limit.contains("Max address space 2147483648 2147483648 bytes"));
    EXPECT_TRUE(limit.contains("Max core file size 0 0 bytes"));
    // The reply's memfd closes just after the reply went.
    const auto open = [&] {
        return QDir(proc + "fd").entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    };
    (void)QTest::qWaitFor([&] { return open().size() == 4; }, 2000);
    EXPECT_EQ(open(), QStringList({"0", "1", "2", "3"}));
}

TEST_F(DecoderFiles, AWorkerThatCannotStartLeavesTheWindowWithAMessage) {
    const OpenFile red(Jpeg("red.jpg", Qt::red));
    PictureDecoder::Options options;
    options.workerPath = dir.filePath("no-such-decoder");
    PictureDecoder decoder(options);
    EXPECT_EQ(decoder.Decode(red.fd, Whole(32)).outcome, DecodeOutcome::Unavailable);
    EXPECT_EQ(decoder.Decode(red.fd, Whole(32)).outcome, DecodeOutcome::Unavailable);
    EXPECT_FALSE(decoder.UnavailableMessage().isEmpty());
    // Given up on: asked no more.
    EXPECT_EQ(decoder.Decode(red.fd, Whole(32)).outcome, DecodeOutcome::Unavailable);
    EXPECT_EQ(decoder.Starts(), 0);
}

// A reply is only believed as far as it is consistent: sizes in range, the
// stride and byte count agreeing, one of two formats, a memfd that long.
TEST(DecoderWire, APictureIsTakenFromMemoryOnlyWhenItsReplyHoldsTogether) {
    QImage sent(6, 4, QImage::Format_RGB32);
    sent.fill(Qt::yellow);
    wire::Reply good;
    const int memory = wire::PictureToMemory(sent, &good);
    ASSERT_GE(memory, 0);
    EXPECT_EQ(wire::PictureFromMemory(memory, good), sent);

    const struct {
        const char* what;
        void (*lie)(wire::Reply&);
    } lies[] = {
        {"no width", [](wire::Reply& r) { r.width = 0; }},
        {"too wide", [](wire::Reply& r) { r.width = wire::kMaxSide + 1; }},
        {"negative height", [](wire::Reply& r) { r.height = -4; }},
        {"stride not the width's", [](wire::Reply& r) { r.bytesPerLine = 28; }},
        {"more bytes than the memfd", [](wire::Reply& r) { r.height = 40, r.bytes *= 10; }},
        {"bytes not the rows'", [](wire::Reply& r) { r.bytes += 4; }},
        {"an unknown format", [](wire::Reply& r) { r.format = QImage::Format_Mono; }},
        {"not a picture", [](wire::Reply& r) { r.status = wire::Status::NoPicture; }},
        {"no magic", [](wire::Reply& r) { r.magic = 0; }},
    };
    for (const auto& l : lies) {
        wire::Reply reply = good;
        l.lie(reply);
        EXPECT_TRUE(wire::PictureFromMemory(memory, reply).isNull()) << l.what;
    }
    ::close(memory);
}

TEST(DecoderWire, ARequestOutOfRangeIsNoRequest) {
    PictureRequest request, read;
    request.edge = 64;
    EXPECT_TRUE(wire::Decode(wire::Encode(request), &read));
    for (void (*lie)(wire::Request&) :
         {+[](wire::Request& r) { r.source = 9; }, +[](wire::Request& r) { r.edge = 0; },
          +[](wire::Request& r) { r.fault = 7; }}) {
        wire::Request record = wire::Encode(request);
        lie(record);
        EXPECT_FALSE(wire::Decode(record, &read));
    }
}

// Large Icons over the hostile files and over files the worker is made to
// fail on: the list stays, the failures show as broken, the others show.
TEST_F(DecoderFiles, LargeIconsOverHostileFilesKeepsGoing) {
    const QDir crashers(QStringLiteral(VELMORA_CRASHERS_DIR));
    for (const QString& name : crashers.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(crashers.filePath(name), dir.filePath(name)));
    const char* const faulty[] = {"fault-crash.jpg", "fault-hang.jpg", "fault-memory.jpg"};
    for (const char* name : faulty)
        Jpeg(name, Qt::red);
    Jpeg("good.jpg", Qt::blue);
    qputenv("VELMORA_DECODER_FAULTS",
            "crash:fault-crash.jpg,hang:fault-hang.jpg,memory:fault-memory.jpg");
    auto decoder = std::make_shared<PictureDecoder>(Quick());
    auto pictures = std::make_shared<PhotoPictures>(decoder);
    qunsetenv("VELMORA_DECODER_FAULTS");

    ShellFileList list;
    list.Thumbnails().SetProvider(pictures);
    list.resize(1600, 1200);
    list.SetViewMode(ShellFileList::ViewMode::LargeIcons);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    ASSERT_TRUE(list.DisplayFolder(QDir(dir.path()).canonicalPath()));
    const int files = int(crashers.entryList(QDir::Files).size()) + 4;
    ASSERT_TRUE(QTest::qWaitFor([&] { return list.GetItemCount() == files; }, 5000));
    ThumbnailLoader& loader = list.Thumbnails();
    const int edge = list.IconView()->iconSize().width();
    const auto key = [&](const QString& name) {
        for (int row = 0; row < list.GetItemCount(); ++row) {
            if (!list.GetItemPathBytes(row).endsWith(QFile::encodeName(name)))
                continue;
            const FolderEntry* entry = list.ListModel().Entry(row);
            return ThumbnailKey{list.GetItemPathBytes(row), entry->size, entry->modifiedMs, edge};
        }
        return ThumbnailKey{};
    };
    const auto settled = [&](const QString& name) {
        return loader.Cache().Contains(key(name)) || loader.Failed(key(name));
    };
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return loader.Pending() == 0 && settled("good.jpg") &&
                   std::all_of(std::begin(faulty), std::end(faulty), settled);
        },
        20000));
    const QImage broken = BrokenPicture(edge);
    for (const char* name : faulty) {
        const QPixmap* shown = loader.Cache().Find(key(name));
        ASSERT_NE(shown, nullptr) << name;
        EXPECT_EQ(shown->toImage().convertToFormat(broken.format()), broken) << name;
    }
    const QPixmap* good = loader.Cache().Find(key("good.jpg"));
    ASSERT_NE(good, nullptr);
    EXPECT_TRUE(IsMostly(good->toImage(), Qt::blue));
    EXPECT_TRUE(list.isVisible());
    // The decoder still decodes after all that.
    const OpenFile blue(QFile::encodeName(dir.filePath("good.jpg")));
    EXPECT_EQ(decoder->Decode(blue.fd, Whole(32)).outcome, DecodeOutcome::Decoded);
}

} // namespace
