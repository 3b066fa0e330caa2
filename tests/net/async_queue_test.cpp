#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "net/async_queue.h"
#include "tests/net/pump.h"
#include "tests/net/runtime_error.h"
#include "tests/net/thread_wait.h"
#include "tests/support/process.h"

namespace {

// Records the order in which operations executed (worker) and completed (main thread).
struct Journal {
    std::atomic<int> executed{0};
    std::vector<int> completed;
    std::thread::id mainThread = std::this_thread::get_id();
    bool completedOnlyOnMain = true;
    bool completedAfterExecuting = true;
};

class RecordingOp : public c_AsyncOp {
public:
    RecordingOp(Journal* journal, int id) : journal_(journal), id_(id) {}

    int p_Execute__UNSAFE__(c_Socket*) override {
        executedHere_.store(true, std::memory_order_release);
        journal_->executed.fetch_add(1);
        return 0;
    }

    int p_Complete(c_Socket*) override {
        if (std::this_thread::get_id() != journal_->mainThread)
            journal_->completedOnlyOnMain = false;
        if (!executedHere_.load(std::memory_order_acquire))
            journal_->completedAfterExecuting = false;
        journal_->completed.push_back(id_);
        if (onComplete) onComplete();
        return 0;
    }

    std::function<void()> onComplete;

private:
    Journal* journal_;
    int id_;
    std::atomic<bool> executedHere_{false};
};

// A queue registered with the pump, as a socket registers its own.
c_AsyncQueue* RegisteredQueue() {
    c_AsyncQueue* queue = (new c_AsyncQueue)->m_new(nullptr);
    qv_asyncevent_AddAsyncEventSource(queue);
    return queue;
}

bool WaitExecuted(Journal& journal, int count) {
    return PollUntil([&] { return journal.executed.load() >= count; }, 10.0, 0.001);
}

}  // namespace

TEST(AsyncQueue, OperationsCompleteOnceInOrderOnTheMainThread) {
    Journal journal;
    c_AsyncQueue* queue = RegisteredQueue();
    for (int id = 0; id < 3; ++id) queue->p_Enqueue(new RecordingOp(&journal, id));
    ASSERT_TRUE(WaitExecuted(journal, 3));
    EXPECT_TRUE(journal.completed.empty()) << "completion waits for the pump";
    qv_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(journal.completed, (std::vector<int>{0, 1, 2}));
    PumpFor(0.05);
    EXPECT_EQ(journal.completed.size(), 3u);
    EXPECT_TRUE(journal.completedOnlyOnMain);
    EXPECT_TRUE(journal.completedAfterExecuting);
}

TEST(AsyncQueue, BurstsWithPumpsBetweenAllCompleteInOrder) {
    // Work added while a worker is finishing must still run: at the latest the next pump
    // starts a new worker.
    Journal journal;
    c_AsyncQueue* queue = RegisteredQueue();
    int enqueued = 0;
    for (int burst = 0; burst < 200; ++burst) {
        // Keeps well below the ring's capacity however slowly workers start.
        ASSERT_TRUE(PumpUntil([&] { return int(journal.completed.size()) > enqueued - 100; }));
        for (int i = 0; i < burst % 7 + 1; ++i)
            queue->p_Enqueue(new RecordingOp(&journal, enqueued++));
        qv_asyncevent_UpdateAsyncEvents();
    }
    ASSERT_TRUE(PumpUntil([&] { return int(journal.completed.size()) == enqueued; }));
    for (int i = 0; i < enqueued; ++i) ASSERT_EQ(journal.completed[i], i);
    EXPECT_TRUE(journal.completedAfterExecuting);
    EXPECT_FALSE(queue->p_Busy());
}

TEST(AsyncQueue, TheTwoHundredFiftySixthOutstandingOperationOverflows) {
    Journal journal;
    c_AsyncQueue* queue = RegisteredQueue();
    for (int i = 0; i < 255; ++i) queue->p_Enqueue(new RecordingOp(&journal, i));
    // Executed operations still hold their slots until they complete.
    ASSERT_TRUE(WaitExecuted(journal, 255));
    ::testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_RUNTIME_ERROR(queue->p_Enqueue(new RecordingOp(&journal, 255)),
                         "AsyncQueue queue overflow!");
    qv_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(journal.completed.size(), 255u);
    queue->p_Enqueue(new RecordingOp(&journal, 255));  // completion freed the slots
    EXPECT_TRUE(PumpUntil([&] { return journal.completed.size() == 256u; }));
}

TEST(AsyncQueue, APumpCalledFromACallbackDoesNothing) {
    Journal journal;
    c_AsyncQueue* queue = RegisteredQueue();
    RecordingOp* first = new RecordingOp(&journal, 0);
    size_t completedDuringNestedPump = 99;
    first->onComplete = [&] {
        qv_asyncevent_UpdateAsyncEvents();
        completedDuringNestedPump = journal.completed.size();
    };
    queue->p_Enqueue(first);
    queue->p_Enqueue(new RecordingOp(&journal, 1));
    ASSERT_TRUE(WaitExecuted(journal, 2));
    qv_asyncevent_UpdateAsyncEvents();
    EXPECT_EQ(completedDuringNestedPump, 1u) << "the second operation completed inside the first";
    EXPECT_EQ(journal.completed, (std::vector<int>{0, 1}));
    EXPECT_EQ(qv_asyncevent__current, nullptr);
}

TEST(AsyncEvents, RegisteringASourceTwiceIsARuntimeError) {
    c_AsyncQueue* queue = RegisteredQueue();
    EXPECT_RUNTIME_ERROR(qv_asyncevent_AddAsyncEventSource(queue),
                         "Async event source is already active");
}

namespace {

// Runs until released, so that its state can be observed while it runs.
class GatedThread : public c_Thread {
public:
    std::atomic<bool> release{false};
    std::atomic<int> runs{0};
    int Run__UNSAFE__() override {
        runs.fetch_add(1);
        while (!release.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return 0;
    }
};

}  // namespace

TEST(Thread, StartingARunningThreadKeepsItAndItsResult) {
    GatedThread* thread = new GatedThread;
    thread->m_new();
    EXPECT_FALSE(thread->IsRunning());
    thread->Start();
    EXPECT_TRUE(thread->IsRunning());
    Object* result = new Object;
    thread->SetResult(result);
    thread->Start();
    EXPECT_TRUE(thread->IsRunning());
    EXPECT_EQ(thread->Result(), result);
    thread->release.store(true);
    ASSERT_TRUE(WaitStopped(thread));
    EXPECT_EQ(thread->runs.load(), 1);
    EXPECT_EQ(thread->Result(), result) << "the result outlives the run";

    thread->Start();  // a finished thread starts afresh with no result
    EXPECT_EQ(thread->Result(), nullptr);
    ASSERT_TRUE(WaitStopped(thread));
    EXPECT_EQ(thread->runs.load(), 2);
}

TEST(Thread, StrdupCopiesTheCharactersIntoANewBody) {
    String original("worker text");
    String copy = QvThread::Strdup(original);
    EXPECT_EQ(copy, original);
    EXPECT_FALSE(copy.SharesBody(original));
}
