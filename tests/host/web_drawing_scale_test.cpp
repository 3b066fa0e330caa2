// The canvas's drawing scale against simulated machines whose frames cost a fixed part
// plus a part that follows the pixels filled, at a display paced at 60 frames a second.
#include "host/web_drawing_scale.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct Simulated {
    double scale = 0, lowest = 1, highest = 0;
    int changesLate = 0;  // changes in the second half of the run
};

// `seconds` of frames costing fixed + full x scale^2 each.
Simulated Simulate(double fixed, double full, double floor, double seconds = 120) {
    QvDrawingScale drawing;
    drawing.SetFloor(floor);
    Simulated run;
    for (double t = 0; t < seconds;) {
        const double s = drawing.Scale();
        const double frame = std::max(1.0 / 60, fixed + full * s * s);
        t += frame;
        if (drawing.OnFrame(frame) && t > seconds / 2) ++run.changesLate;
        run.lowest = std::min(run.lowest, drawing.Scale());
        run.highest = std::max(run.highest, drawing.Scale());
    }
    run.scale = drawing.Scale();
    return run;
}

TEST(DrawingScaleTest, SettlesAtTheScaleTheMachineFillsAtPaceWithinTheFloorAndTheWindow) {
    // Filling the whole window takes 30 ms: about two thirds of its width keep the pace.
    const Simulated middling = Simulate(0.005, 0.030, 0.44);
    EXPECT_GT(middling.scale, 0.55);
    EXPECT_LE(0.005 + 0.030 * middling.scale * middling.scale, 1.25 / 60);
    EXPECT_LE(middling.changesLate, 6);  // a look up now and then, no swinging
    EXPECT_GE(middling.lowest, 0.44);

    // Too slow even at the floor: there it stays. Fast: the window's own pixels.
    const Simulated slow = Simulate(0.030, 0.030, 0.44);
    EXPECT_EQ(slow.scale, 0.44);
    EXPECT_EQ(slow.lowest, 0.44);
    EXPECT_EQ(slow.changesLate, 0);
    const Simulated fast = Simulate(0.002, 0.008, 0.44);
    EXPECT_EQ(fast.scale, 1.0);
    EXPECT_EQ(fast.lowest, 0.44);  // where every window starts
    EXPECT_EQ(fast.changesLate, 0);
}

TEST(DrawingScaleTest, GrowsBackWhenFramesKeepThePaceAfterABusyMoment) {
    QvDrawingScale drawing;
    drawing.SetFloor(0.5);
    for (int i = 0; i < 60 * 10; ++i) drawing.OnFrame(1.0 / 60);
    EXPECT_EQ(drawing.Scale(), 1.0);
    for (int i = 0; i < 200; ++i) drawing.OnFrame(0.05);
    EXPECT_EQ(drawing.Scale(), 0.5);
    for (int i = 0; i < 60 * 40; ++i) drawing.OnFrame(1.0 / 60);
    EXPECT_EQ(drawing.Scale(), 1.0);
    // A floor above the scale lifts it at once.
    for (int i = 0; i < 200; ++i) drawing.OnFrame(0.05);
    drawing.SetFloor(0.9);
    EXPECT_EQ(drawing.Scale(), 0.9);
}

}  // namespace
