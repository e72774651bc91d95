#include "reading/ReadingPool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <fcntl.h>
#include <memory>
#include <sched.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

FoundFile Item(int i, bool unlistable = false) {
    FoundFile found;
    found.path = std::to_string(i);
    if (unlistable)
        found.kind = FoundFile::Kind::UnlistableFolder;
    return found;
}

// Reads sleep a little, so that later files often finish first, and may
// block until released; checks that a slot is never held by two pending
// files.
class TestJob : public FileJob {
public:
    void Read(const FoundFile& found, size_t slot) override {
        const int i = std::stoi(found.path);
        std::unique_lock<std::mutex> lock(m_lock);
        reads.push_back(i);
        threads.push_back(std::this_thread::get_id());
        clashes += std::exchange(owners[slot], i) != -1;
        ++blocked;
        changed.notify_all();
        changed.wait(lock, [this] { return released; });
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::microseconds((i * 7) % 5 * 100));
    }
    void Deliver(const FoundFile& found, size_t slot) override {
        std::lock_guard<std::mutex> lock(m_lock);
        delivered.push_back(std::stoi(found.path));
        if (found.IsFile())
            clashes += std::exchange(owners[slot], -1) != delivered.back();
    }
    void Release() {
        std::lock_guard<std::mutex> lock(m_lock);
        released = true;
        changed.notify_all();
    }

    std::mutex m_lock;
    std::condition_variable changed;
    std::vector<int> owners = std::vector<int>(512, -1);
    std::vector<int> reads, delivered;
    std::vector<std::thread::id> threads;
    int clashes = 0, blocked = 0;
    bool released = true;
};

TEST(ReadingPool, EveryFileReadOnceAndDeliveredInOrder) {
    for (const auto& [threads, window] : std::vector<std::pair<int, int>>{
             {0, 1}, {1, 1}, {1, 4}, {2, 3}, {8, 1}, {8, 16}, {8, 256}, {64, 7}}) {
        SCOPED_TRACE(testing::Message() << threads << " threads, window " << window);
        TestJob job;
        ReadingPool pool(job, {.threads = threads, .window = window});
        std::vector<int> all, files;
        for (int i = 0; i < 300; ++i) {
            // Folders that could not be listed, also first and two in a row.
            const bool unlistable = i % 37 == 0 || i == 38;
            ASSERT_TRUE(pool.Submit(Item(i, unlistable)));
            all.push_back(i);
            if (!unlistable)
                files.push_back(i);
        }
        ASSERT_TRUE(pool.Finish());
        EXPECT_EQ(job.delivered, all);
        std::sort(job.reads.begin(), job.reads.end());
        EXPECT_EQ(job.reads, files);
        EXPECT_EQ(job.clashes, 0);
    }
}

// The walk's thread learns of a cancel at once, though every reader is stuck
// in a read that never looks at Cancelled(); the reads end on their own and
// nothing is delivered after.
TEST(ReadingPool, CancelReturnsWithin50msWhileReadsBlock) {
    for (const int files : {1000, 2}) { // the walk waits for room; Finish waits
        TestJob job;
        job.released = false;
        auto pool = std::make_unique<ReadingPool>(job, ReadingSettings{.threads = 4, .window = 8});
        bool finished = true;
        Clock::time_point returned;
        std::thread walk([&] {
            for (int i = 0; i < files && finished; ++i)
                finished = pool->Submit(Item(i));
            finished = finished && pool->Finish();
            returned = Clock::now();
        });
        {
            std::unique_lock<std::mutex> lock(job.m_lock);
            job.changed.wait(lock, [&] { return job.blocked > 0; });
        }
        std::this_thread::sleep_for(milliseconds(20)); // every started reader is stuck
        const Clock::time_point cancelled = Clock::now();
        pool->Cancel();
        walk.join();
        EXPECT_FALSE(finished);
        EXPECT_LT(returned - cancelled, milliseconds(50)) << files;
        EXPECT_FALSE(pool->Submit(Item(9999)));
        job.Release();
        pool.reset();
        EXPECT_TRUE(job.delivered.empty());
    }
}

// Reads on the calling thread while nothing comes from a disk; once reads
// wait for one (files of the test's, their cached pages dropped), the
// readers take over. A single read from a disk in a cached tree does not
// start them.
TEST(ReadingPool, InlineWhileCachedUntilReadsWaitForADisk) {
    // Files first..last wait for the disk.
    struct Case {
        int first, last, firstOnAReader;
    };
    const Case cases[] = {{3, 5, 20}, {3, 10, 11}};
    for (const Case& test : cases) {
        char path[] = "/var/tmp/velmora-pool-XXXXXX";
        const int fd = ::mkstemp(path);
        ASSERT_GE(fd, 0);
        const std::vector<char> block(1 << 16, 'x');
        ASSERT_EQ(::write(fd, block.data(), block.size()), static_cast<ssize_t>(block.size()));
        ::fsync(fd);
        struct DiskJob : TestJob {
            void Read(const FoundFile& found, size_t slot) override {
                TestJob::Read(found, slot);
                char byte;
                const int i = std::stoi(found.path);
                if (i >= first && i <= last &&
                    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0) {
                    EXPECT_EQ(::pread(fd, &byte, 1, 4096), 1);
                    // Slower than a read from the cache, however fast the disk.
                    std::this_thread::sleep_for(std::chrono::microseconds(200));
                }
            }
            int fd = -1, first = 0, last = 0;
        } job;
        job.fd = fd;
        job.first = test.first;
        job.last = test.last;
        rusage before{};
        ::getrusage(RUSAGE_THREAD, &before);
        ReadingPool pool(job, {.threads = 2, .window = 16, .inlineWhileCached = true});
        for (int i = 0; i < 20; ++i)
            ASSERT_TRUE(pool.Submit(Item(i)));
        ASSERT_TRUE(pool.Finish());
        ::close(fd);
        ::unlink(path);
        rusage after{};
        ::getrusage(RUSAGE_THREAD, &after);
        if (after.ru_inblock == before.ru_inblock)
            GTEST_SKIP() << "the dropped pages were not read from a disk (a memory file system?)";
        for (int i = 0; i < 20; ++i)
            EXPECT_EQ(job.threads[i] == std::this_thread::get_id(), i < test.firstOnAReader)
                << test.last << " " << i;
    }
}

// While the window is busy at most busyThreads read at once, and a reader
// held back gives up waiting after a while: a window that stays busy slows
// the readers but never stops them.
TEST(ReadingPool, ReadersHoldBackWhileTheWindowIsBusy) {
    struct CountingJob : FileJob {
        void Read(const FoundFile&, size_t) override {
            const int now = ++reading;
            int seen = most.load();
            while (now > seen && !most.compare_exchange_weak(seen, now)) {
            }
            std::this_thread::sleep_for(milliseconds(2));
            --reading;
        }
        void Deliver(const FoundFile&, size_t) override { ++delivered; }
        std::atomic<int> reading{0}, most{0}, delivered{0};
    };
    struct Case {
        bool busy;
        int busyThreads, files, most;
    };
    for (const Case& c : {Case{false, 1, 40, 4}, Case{true, 1, 40, 1}, Case{true, 0, 3, 4}}) {
        SCOPED_TRACE(testing::Message() << "busy " << c.busy << ", " << c.busyThreads);
        CountingJob job;
        ReadingSettings settings{.threads = 4, .window = 64};
        settings.busy = std::make_shared<std::atomic<bool>>(c.busy);
        settings.busyThreads = c.busyThreads;
        ReadingPool pool(job, settings);
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < c.files; ++i)
            ASSERT_TRUE(pool.Submit(Item(i)));
        ASSERT_TRUE(pool.Finish());
        EXPECT_EQ(job.delivered, c.files);
        if (c.busy)
            EXPECT_LE(job.most, c.most);
        else
            EXPECT_GT(job.most, 1);
        // Held at most kMostHoldMs a file; readers that run only on a free
        // core also wait for one while other tests keep the cores busy.
        EXPECT_LT(Clock::now() - start,
                  milliseconds(ReadingPool::kMostHoldMs * c.files) + std::chrono::seconds(10));
    }
}

// While the window answers an input no reader starts a file, however many
// a busy window lets read; they start once the answer is given.
TEST(ReadingPool, NoReaderStartsAFileWhileTheWindowAnswersAnInput) {
    struct FirstReadJob : FileJob {
        void Read(const FoundFile&, size_t) override {
            Clock::rep none = 0;
            first.compare_exchange_strong(none, Clock::now().time_since_epoch().count());
        }
        void Deliver(const FoundFile&, size_t) override {}
        std::atomic<Clock::rep> first{0};
    } job;
    const auto answering = std::make_shared<std::atomic<bool>>(true);
    ReadingPool pool(job, {.threads = 2,
                           .window = 16,
                           .busy = std::make_shared<std::atomic<bool>>(true),
                           .busyThreads = 2,
                           .answering = answering});
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(pool.Submit(Item(i)));
    std::this_thread::sleep_for(milliseconds(30));
    const Clock::time_point answered = Clock::now();
    *answering = false;
    ASSERT_TRUE(pool.Finish());
    // Or, should this thread have been kept from a core that long, once the
    // readers gave up holding back.
    const Clock::time_point first{Clock::duration(job.first.load())};
    EXPECT_TRUE(first >= answered || first - start >= milliseconds(ReadingPool::kMostHoldMs));
}

// A window's walk thread yields as the readers do: lowered with them, and
// only run when a core is free while the window is busy.
TEST(ReadingPool, TheWalksThreadYieldsToABusyWindow) {
    struct Seen {
        int policy;
        int nice;
    };
    const auto seen = [] {
        errno = 0;
        return Seen{::sched_getscheduler(0), ::getpriority(PRIO_PROCESS, ::gettid())};
    };
    std::thread walk([&] {
        const Seen before = seen();
        TestJob job;
        ReadingSettings settings{
            .threads = 1, .window = 4, .priority = ReadingSettings::Priority::Low};
        auto busy = std::make_shared<std::atomic<bool>>(true);
        settings.busy = busy;
        ReadingPool pool(job, settings);
        ASSERT_TRUE(pool.Submit(Item(0)));
        EXPECT_EQ(seen().policy, SCHED_IDLE);
        *busy = false;
        ASSERT_TRUE(pool.Submit(Item(1)));
        EXPECT_EQ(seen().policy, SCHED_OTHER);
        EXPECT_EQ(seen().nice, std::min(before.nice + 10, 19));
        *busy = true;
        ASSERT_TRUE(pool.Submit(Item(2)));
        ASSERT_TRUE(pool.Finish());
        // The walk is over: its thread runs as any other again.
        EXPECT_EQ(seen().policy, SCHED_OTHER);
    });
    walk.join();
}

} // namespace
