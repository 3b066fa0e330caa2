// Scheduling of the frame loop under a simulated clock: updates per frame, sleeping,
// catching up, dropping the schedule, and suspending on focus loss.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "host/glfw_game.h"
#include "tests/host/collector_reset.h"
#include "tests/host/recording_delegate.h"

namespace {

// The window-system side of the loop with a clock that only moves when told to.
class SimulatedFrames : public QvFrameDriver {
public:
    double now = 100.0;
    double swapCost = 0.001;          // time a buffer swap takes
    std::vector<double> swapCycle;    // when given: the swap costs, in turn, instead
    bool canSleep = true;             // false: passes paced by the display, as in a browser
    int framesLeft = 0;               // the window closes after this many frames
    std::vector<bool> activeByFrame;  // focus per frame; active when past the end
    std::vector<double> sleeps;
    std::vector<bool> waits;  // per event pass: blocked waiting for events
    int frame = 0;

    double Now() override { return now; }
    void Sleep(double seconds) override {
        sleeps.push_back(seconds);
        now += seconds;
    }
    bool Sleeps() override { return canSleep; }
    bool WindowOpen() override { return framesLeft-- > 0; }
    void SwapBuffers() override {
        now += swapCycle.empty() ? swapCost : swapCycle[size_t(frame) % swapCycle.size()];
        ++frame;
    }
    void ProcessEvents(bool wait) override { waits.push_back(wait); }
    bool WindowActive() override {
        size_t i = size_t(frame - 1);
        return i >= activeByFrame.size() || activeByFrame[i];
    }
};

class FrameLoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        ReleaseCollectedObjects();
        delegate = new RecordingDelegate;
        host.SetDelegate(delegate);
        host.SetFrameDriver(&frames);
        host.StartGame();
    }
    void TearDown() override { ReleaseCollectedObjects(); }
    // Runs `count` frames, recording how many updates each one ran.
    std::vector<int> RunFrames(int count) {
        std::vector<int> perFrame;
        for (int i = 0; i < count; ++i) {
            int before = delegate->updates;
            frames.framesLeft = 1;
            host.RunFrames();
            perFrame.push_back(delegate->updates - before);
        }
        return perFrame;
    }
    // Runs one frame whose buffer swap takes `periods` updates' time at 60 updates a
    // second, then gives the swap back its usual cost; returns the updates the frame ran.
    int RunSlowFrame(double periods) {
        frames.swapCost = periods / 60;
        int updates = RunFrames(1)[0];
        frames.swapCost = 0.001;
        return updates;
    }

    SimulatedFrames frames;
    QvGlfwGame host;
    RecordingDelegate* delegate = nullptr;
};

TEST_F(FrameLoopTest, SixtyHertzRunsOneUpdatePerFrameAndSleepsTheRest) {
    host.SetUpdateRate(60);
    double start = frames.now;
    std::vector<int> perFrame = RunFrames(120);
    for (int n : perFrame) EXPECT_EQ(n, 1);
    // The first frame starts the schedule without sleeping; every later one sleeps until
    // its update is due, so two seconds of frames take two seconds.
    ASSERT_EQ(frames.sleeps.size(), 119u);
    for (double s : frames.sleeps) EXPECT_NEAR(s, 1.0 / 60 - frames.swapCost, 1e-9);
    EXPECT_NEAR(frames.now - start, 119.0 / 60 + frames.swapCost, 1e-6);
    EXPECT_EQ(delegate->renders, 120);
}

// In a browser each pass comes with an animation frame and none may sleep: updates stay at
// 60 a second on a display at 120 Hz, and on a 60 Hz display whose frames arrive a little
// early or late each frame still runs one update, never none and then two.
TEST_F(FrameLoopTest, DisplayPacedPassesKeepSixtyUpdatesASecondWithoutSleeping) {
    frames.canSleep = false;
    host.SetUpdateRate(60);
    frames.swapCost = 1.0 / 120;
    std::vector<int> fast = RunFrames(240);
    int total = 0;
    for (int n : fast) total += n;
    EXPECT_NEAR(total, 120, 1);
    EXPECT_LE(*std::max_element(fast.begin(), fast.end()), 1);

    frames.swapCycle = {1.0 / 60 + 0.002, 1.0 / 60 - 0.002, 1.0 / 60 - 0.002, 1.0 / 60 + 0.002};
    host.SetUpdateRate(60);  // the schedule starts again with the first of these frames
    std::vector<int> jittered = RunFrames(120);
    for (size_t i = 1; i < jittered.size(); ++i) EXPECT_EQ(jittered[i], 1) << "frame " << i;
    EXPECT_TRUE(frames.sleeps.empty());
}

TEST_F(FrameLoopTest, RateZeroRunsExactlyOneUpdatePerFrameWithoutSleeping) {
    host.SetUpdateRate(0);
    std::vector<int> perFrame = RunFrames(50);
    for (int n : perFrame) EXPECT_EQ(n, 1);
    EXPECT_TRUE(frames.sleeps.empty());
}

TEST_F(FrameLoopTest, FallingBehindRunsFourUpdatesThenRestartsTheSchedule) {
    host.SetUpdateRate(60);
    RunFrames(3);
    // One frame's render stalls for ten periods.
    EXPECT_EQ(RunSlowFrame(10), 4);
    size_t sleepsBefore = frames.sleeps.size();
    std::vector<int> after = RunFrames(3);
    // The dropped schedule restarts from the current time: no sleep before the next
    // update, one update per frame from then on, and no debt paid back.
    EXPECT_EQ(after, (std::vector<int>{1, 1, 1}));
    ASSERT_EQ(frames.sleeps.size(), sleepsBefore + 2);
    EXPECT_NEAR(frames.sleeps.back(), 1.0 / 60 - 0.001, 1e-9);
}

TEST_F(FrameLoopTest, SlowUpdatesCatchUpWithinFourPerFrame) {
    host.SetUpdateRate(60);
    RunFrames(2);
    // A frame that takes three and a half periods runs the three updates it missed.
    EXPECT_EQ(RunSlowFrame(3.5), 3);
}

TEST_F(FrameLoopTest, ChangingTheRateInsideAnUpdateEndsTheCatchUp) {
    host.SetUpdateRate(60);
    RunFrames(2);
    delegate->onUpdate = [this] {
        host.SetUpdateRate(30);
        delegate->onUpdate = nullptr;
    };
    EXPECT_EQ(RunSlowFrame(10), 1);
    EXPECT_EQ(host.UpdateRate(), 30);
    // The next frame restarts at the new rate without sleeping first.
    size_t sleepsBefore = frames.sleeps.size();
    RunFrames(2);
    ASSERT_EQ(frames.sleeps.size(), sleepsBefore + 1);
    EXPECT_NEAR(frames.sleeps.back(), 1.0 / 30 - 0.001, 1e-9);
}

TEST_F(FrameLoopTest, FocusLossSuspendsOnceAndBlocksForEventsUntilFocusReturns) {
    host.SetUpdateRate(60);
    frames.activeByFrame = {true, false, false, false, true, true};
    std::vector<int> perFrame = RunFrames(6);
    EXPECT_EQ(perFrame, (std::vector<int>{1, 0, 0, 0, 1, 1}));
    EXPECT_EQ(delegate->Count("suspend"), 1);
    EXPECT_EQ(delegate->Count("resume"), 1);
    // Rendering goes on while suspended; events are waited for, not polled.
    EXPECT_EQ(delegate->renders, 6);
    EXPECT_EQ(frames.waits, (std::vector<bool>{false, false, true, true, true, false}));
    EXPECT_FALSE(host.Suspended());
}

TEST_F(FrameLoopTest, MillisecsFollowsTheClock) {
    frames.now = 12.3456;
    EXPECT_EQ(host.Millisecs(), 12345);
}

}  // namespace
