#include "reading/ReadingPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <memory>

#include <chrono>
#include <mutex>
#include <sched.h>
#include <string>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

FoundFile File(int i) {
    FoundFile found;
    found.path = std::to_string(i);
    return found;
}

FoundFile Unlistable(int i) {
    FoundFile found = File(i);
    found.kind = FoundFile::Kind::UnlistableFolder;
    found.reason = "gone";
    return found;
}

// Records what the pool asks of a job and checks the pool's promises as it
// goes: a slot is never given to two pending files, and no more files are
// pending than the window holds.
class RecordingJob : public FileJob {
public:
    void Read(const FoundFile& found, size_t slot) override {
        const int i = std::stoi(found.path);
        {
            std::lock_guard<std::mutex> lock(m_lock);
            reads.push_back(i);
            if (slot >= slotOwner.size() || slotOwner[slot] != -1)
                ++slotClashes;
            else
                slotOwner[slot] = i;
        }
        // Later files often finish first.
        std::this_thread::sleep_for(std::chrono::microseconds((i * 7) % 5 * 100));
    }
    void Deliver(const FoundFile& found, size_t slot) override {
        std::lock_guard<std::mutex> lock(m_lock);
        const int i = std::stoi(found.path);
        delivered.push_back(i);
        if (found.IsFile()) {
            if (slot >= slotOwner.size() || slotOwner[slot] != i)
                ++slotClashes;
            else
                slotOwner[slot] = -1;
        }
    }

    std::mutex m_lock;
    std::vector<int> slotOwner;
    std::vector<int> reads;
    std::vector<int> delivered;
    int slotClashes = 0;
};

struct OrderCase {
    int threads;
    int window;
};

class PoolOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(PoolOrder, EveryFileReadOnceAndDeliveredInTheOrderSubmitted) {
    const OrderCase c = GetParam();
    RecordingJob job;
    ReadingSettings settings;
    settings.threads = c.threads;
    settings.window = c.window;
    ReadingPool pool(job, settings);
    job.slotOwner.assign(pool.Window(), -1);

    std::vector<int> submitted;
    std::vector<int> files;
    for (int i = 0; i < 300; ++i) {
        // Folders that could not be listed, also several in a row and first.
        const bool notice = i % 37 == 0 || i == 38;
        ASSERT_TRUE(pool.Submit(notice ? Unlistable(i) : File(i)));
        submitted.push_back(i);
        if (!notice)
            files.push_back(i);
    }
    ASSERT_TRUE(pool.Finish());
    EXPECT_EQ(job.delivered, submitted);
    std::sort(job.reads.begin(), job.reads.end());
    EXPECT_EQ(job.reads, files);
    EXPECT_EQ(job.slotClashes, 0);
}

INSTANTIATE_TEST_SUITE_P(Settings, PoolOrder,
                         testing::Values(OrderCase{0, 1}, OrderCase{1, 1}, OrderCase{1, 4},
                                         OrderCase{2, 3}, OrderCase{8, 1}, OrderCase{8, 16},
                                         OrderCase{8, 256}, OrderCase{64, 7}),
                         [](const testing::TestParamInfo<OrderCase>& info) {
                             return "threads" + std::to_string(info.param.threads) + "_window" +
                                    std::to_string(info.param.window);
                         });

TEST(ReadingPool, NothingSubmittedFinishesAtOnce) {
    RecordingJob job;
    ReadingPool pool(job);
    EXPECT_TRUE(pool.Finish());
    EXPECT_TRUE(job.delivered.empty());
}

// Reads that block (a slow disk, a network share) until the test lets them
// go; they never look at Cancelled().
class BlockingJob : public FileJob {
public:
    void Read(const FoundFile&, size_t) override {
        std::unique_lock<std::mutex> lock(m_lock);
        ++m_blocked;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_released; });
    }
    void Deliver(const FoundFile&, size_t) override {
        std::lock_guard<std::mutex> lock(m_lock);
        ++delivered;
        if (cancelInDeliver != nullptr && delivered == 3)
            cancelInDeliver->Cancel();
    }
    void WaitUntilBlocked(int readers) {
        std::unique_lock<std::mutex> lock(m_lock);
        m_changed.wait(lock, [&] { return m_blocked >= readers; });
    }
    void Release() {
        std::lock_guard<std::mutex> lock(m_lock);
        m_released = true;
        m_changed.notify_all();
    }
    int Delivered() {
        std::lock_guard<std::mutex> lock(m_lock);
        return delivered;
    }

    ReadingPool* cancelInDeliver = nullptr;
    int delivered = 0;

private:
    std::mutex m_lock;
    std::condition_variable m_changed;
    int m_blocked = 0;
    bool m_released = false;
};

enum class CancelWhile { WalkWaitsForRoom, FinishWaits };

class PoolCancel : public testing::TestWithParam<CancelWhile> {};

// The walk's thread learns of the cancel at once, though every reader is
// stuck in a read; the reads end on their own and the pool then closes.
TEST_P(PoolCancel, ReturnsWithin50msWhileReadsBlock) {
    BlockingJob job;
    ReadingSettings settings;
    settings.threads = 4;
    settings.window = 8;
    auto pool = std::make_unique<ReadingPool>(job, settings);
    const int files = GetParam() == CancelWhile::WalkWaitsForRoom ? 1000 : 4;
    bool finished = true;
    Clock::time_point returned;
    std::thread walk([&] {
        for (int i = 0; i < files; ++i)
            if (!pool->Submit(File(i))) {
                finished = false;
                break;
            }
        if (finished)
            finished = pool->Finish();
        returned = Clock::now();
    });
    job.WaitUntilBlocked(4);
    std::this_thread::sleep_for(milliseconds(20)); // the walk is waiting by now
    const Clock::time_point cancelled = Clock::now();
    pool->Cancel();
    walk.join();
    EXPECT_FALSE(finished);
    EXPECT_LT(returned - cancelled, milliseconds(50));
    EXPECT_TRUE(pool->Cancelled());
    EXPECT_FALSE(pool->Submit(File(9999)));

    job.Release();
    pool.reset();
    EXPECT_EQ(job.Delivered(), 0);
}

INSTANTIATE_TEST_SUITE_P(Places, PoolCancel,
                         testing::Values(CancelWhile::WalkWaitsForRoom, CancelWhile::FinishWaits));

TEST(ReadingPool, CancelFromDeliverStopsFurtherDeliveries) {
    BlockingJob job;
    job.Release();
    ReadingSettings settings;
    settings.threads = 3;
    settings.window = 4;
    ReadingPool pool(job, settings);
    job.cancelInDeliver = &pool;
    bool submitted = true;
    for (int i = 0; i < 100 && submitted; ++i)
        submitted = pool.Submit(File(i));
    EXPECT_FALSE(pool.Finish());
    EXPECT_EQ(job.Delivered(), 3);
}

struct PriorityCase {
    ReadingSettings::Priority priority;
    int policy;
    int nice;
};

class PoolPriority : public testing::TestWithParam<PriorityCase> {};

TEST_P(PoolPriority, ReadersRunAtTheSettingsPriority) {
    struct PolicyJob : FileJob {
        void Read(const FoundFile&, size_t) override {
            policy = ::sched_getscheduler(0);
            nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()));
        }
        void Deliver(const FoundFile&, size_t) override {}
        int policy = -1;
        int nice = -100;
    } job;
    ReadingSettings settings;
    settings.threads = 1;
    settings.priority = GetParam().priority;
    ReadingPool pool(job, settings);
    ASSERT_TRUE(pool.Submit(File(1)));
    ASSERT_TRUE(pool.Finish());
    EXPECT_EQ(job.policy, GetParam().policy);
    if (GetParam().policy == SCHED_OTHER)
        EXPECT_EQ(job.nice, GetParam().nice);
    // The calling thread keeps its own.
    EXPECT_EQ(::sched_getscheduler(0), SCHED_OTHER);
}

INSTANTIATE_TEST_SUITE_P(
    Priorities, PoolPriority,
    testing::Values(PriorityCase{ReadingSettings::Priority::Normal, SCHED_OTHER,
                                 ::getpriority(PRIO_PROCESS, 0)},
                    PriorityCase{ReadingSettings::Priority::Low, SCHED_OTHER,
                                 std::min(::getpriority(PRIO_PROCESS, 0) + 10, 19)},
                    PriorityCase{ReadingSettings::Priority::Idle, SCHED_IDLE, 0}));

} // namespace
