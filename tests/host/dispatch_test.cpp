// The host's dispatchers: which calls reach the delegate in which state, and the
// collector step that follows each one.
#include <gtest/gtest.h>

#include "host/game.h"
#include "tests/host/collector_reset.h"
#include "tests/host/recording_delegate.h"

namespace {

class DispatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        ReleaseCollectedObjects();
        delegate = new RecordingDelegate;
        host.SetDelegate(delegate);
    }
    void TearDown() override { ReleaseCollectedObjects(); }
    // One event of each kind, a render and a loss of the graphics.
    void SendEventsRenderAndDiscard() {
        host.KeyEvent(1, 65);
        host.MouseEvent(5, 2, 1, 2);
        host.TouchEvent(9, 3, 1, 2);
        host.MotionEvent(10, 0, 1, 2, 3);
        host.RenderGame();
        host.DiscardGraphics();
    }
    QvGame host;
    RecordingDelegate* delegate = nullptr;
};

TEST_F(DispatchTest, NothingButStartReachesTheDelegateBeforeTheGameStarts) {
    SendEventsRenderAndDiscard();
    host.UpdateGame();
    host.SuspendGame();
    host.ResumeGame();
    EXPECT_TRUE(delegate->calls.empty());
    host.StartGame();
    host.StartGame();
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"start"}));
    EXPECT_TRUE(host.Started());
}

TEST_F(DispatchTest, EventsAndRendersPassOnceStarted) {
    host.StartGame();
    SendEventsRenderAndDiscard();
    EXPECT_EQ(delegate->calls,
              (std::vector<std::string>{"start", "key 1 65", "mouse 5 2", "touch 9 3", "motion 10",
                                        "render", "discard"}));
}

TEST_F(DispatchTest, SuspendAndResumeAlternateAndUpdatesStopWhileSuspended) {
    host.StartGame();
    host.ResumeGame();  // not suspended: nothing to resume
    host.SuspendGame();
    host.SuspendGame();  // already suspended
    EXPECT_TRUE(host.Suspended());
    host.UpdateGame();
    host.RenderGame();  // rendering goes on
    host.KeyEvent(2, 65);
    host.ResumeGame();
    host.ResumeGame();
    host.UpdateGame();
    EXPECT_EQ(delegate->calls, (std::vector<std::string>{"start", "suspend", "render", "key 2 65",
                                                         "resume", "update"}));
    EXPECT_FALSE(host.Suspended());
}

TEST_F(DispatchTest, FlagsChangeBeforeTheDelegateHearsTheCall) {
    struct Observer : RecordingDelegate {
        QvGame* host = nullptr;
        bool startedSeen = false, suspendedSeen = false, resumedSeen = false;
        void StartGame() override { startedSeen = host->Started(); }
        void SuspendGame() override { suspendedSeen = host->Suspended(); }
        void ResumeGame() override { resumedSeen = !host->Suspended(); }
    };
    auto* observer = new Observer;
    observer->host = &host;
    host.SetDelegate(observer);
    host.StartGame();
    host.SuspendGame();
    host.ResumeGame();
    EXPECT_TRUE(observer->startedSeen);
    EXPECT_TRUE(observer->suspendedSeen);
    EXPECT_TRUE(observer->resumedSeen);
}

// An object the collector frees counts its destruction.
struct Counted : Object {
    static int destroyed;
    ~Counted() override { ++destroyed; }
};
int Counted::destroyed = 0;

// Reachable for the whole test; must never be freed.
struct Kept : Object {
    static int destroyed;
    ~Kept() override { ++destroyed; }
};
int Kept::destroyed = 0;

// Holds one object for the whole test and throws away many more in each update.
struct Allocating : QvGameDelegate {
    static int destroyed;
    Kept* kept = nullptr;
    ~Allocating() override { ++destroyed; }
    void UpdateGame() override {
        for (int i = 0; i < 20000; ++i) new Counted;
    }
    void mark() override { gc_mark_q(kept); }
};
int Allocating::destroyed = 0;

TEST_F(DispatchTest, EachDispatchedCallIsFollowedByACollectorStepThatKeepsTheDelegate) {
    auto* app = new Allocating;
    gc_assign(app->kept, new Kept);
    host.SetDelegate(app);
    host.StartGame();
    Counted::destroyed = 0;
    Kept::destroyed = 0;
    Allocating::destroyed = 0;
    // Far more than the collector's full-collection threshold passes through the updates;
    // nothing but the host's collector steps can free it.
    for (int i = 0; i < 100; ++i) host.UpdateGame();
    EXPECT_GT(Counted::destroyed, 0);
    int before = Counted::destroyed;
    gc_collect_all();
    gc_collect_all();
    for (int i = 0; i < 5; ++i) host.UpdateGame();
    // The delegate is a root: it and what it holds survive every collection.
    EXPECT_GT(Counted::destroyed, before);
    EXPECT_EQ(Kept::destroyed, 0);
    EXPECT_EQ(Allocating::destroyed, 0);
}

// Reopening the window inside an update dispatches key releases from inside the update.
struct Nesting : QvGameDelegate {
    QvGame* host = nullptr;
    int localDestroyedDuringUpdate = -1;
    void UpdateGame() override {
        // Enough new memory that the next collector step is a full collection.
        Array<int> garbage(3 * 1024 * 1024);
        Kept* local = new Kept;  // referenced from this frame only
        host->KeyEvent(2, 65);
        gc_destroy_free();
        localDestroyedDuringUpdate = Kept::destroyed;
        (void)local;
        (void)garbage;
    }
};

TEST_F(DispatchTest, ACallDispatchedFromInsideAnotherTakesNoCollectorStep) {
    auto* app = new Nesting;
    app->host = &host;
    host.SetDelegate(app);
    host.StartGame();
    Kept::destroyed = 0;
    host.UpdateGame();
    EXPECT_EQ(app->localDestroyedDuringUpdate, 0);
    // The outer call's own step comes afterwards and frees what the update dropped.
    gc_destroy_free();
    EXPECT_EQ(Kept::destroyed, 1);
}

struct Throwing : QvGameDelegate {
    void UpdateGame() override { throw new ThrowableObject; }
};

TEST_F(DispatchTest, AnEscapingThrowableEndsTheProcessWithMinusOne) {
    // A fresh process for the child: objects left over by earlier tests would count as
    // leaks at its exit.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            host.SetDelegate(new Throwing);
            host.StartGame();
            host.UpdateGame();
        },
        ::testing::ExitedWithCode(255), "");
}

}  // namespace
