// Raw joystick readings mapped to the application's six axes and fourteen buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "host/joystick_map.h"

namespace {

// Output button order.
enum { A, B, X, Y, LB, RB, BACK, START, PAD_LEFT, PAD_UP, PAD_RIGHT, PAD_DOWN, LSTICK, RSTICK };

std::vector<int> Pressed(const QvJoyReading& r) {
    std::vector<int> pressed;
    for (int i = 0; i < 32; ++i) {
        if (r.buttons[i]) pressed.push_back(i);
    }
    return pressed;
}

TEST(JoystickLayoutX, FiveAxesAndFourteenButtonsMapAsAnXboxPad) {
    const float axes[5] = {0.1f, -0.2f, 0.6f, 0.3f, -0.4f};
    unsigned char buttons[14] = {};
    const QvJoyReading none = QvMapRawJoystick(axes, 5, buttons, 14);
    EXPECT_FLOAT_EQ(none.axes[0], 0.1f);   // left X
    EXPECT_FLOAT_EQ(none.axes[1], -0.2f);  // left Y
    EXPECT_FLOAT_EQ(none.axes[2], 0.6f);   // left trigger: the shared trigger axis
    EXPECT_FLOAT_EQ(none.axes[3], -0.4f);  // right X: axis 4
    EXPECT_FLOAT_EQ(none.axes[4], -0.3f);  // right Y: axis 3 negated
    EXPECT_FLOAT_EQ(none.axes[5], -0.6f);  // right trigger: the shared axis negated
    EXPECT_TRUE(Pressed(none).empty());
    for (int raw = 0; raw < 14; ++raw) {
        unsigned char one[14] = {};
        one[raw] = 1;
        std::vector<int> pressed = Pressed(QvMapRawJoystick(axes, 5, one, 14));
        // Raw 0-7 keep their place, 8 and 9 are the stick presses, 10-13 the hat.
        const int expected[14] = {A, B, X, Y, LB, RB, BACK, START, LSTICK, RSTICK,
                                  PAD_LEFT, PAD_UP, PAD_RIGHT, PAD_DOWN};
        EXPECT_EQ(pressed, std::vector<int>{expected[raw]}) << "raw button " << raw;
    }
}

TEST(JoystickLayoutG, OtherPadsUseTheGenericLayout) {
    const float axes[6] = {0.5f, 0.25f, -0.75f, 0.125f, 0.9f, 0.8f};
    unsigned char buttons[16] = {};
    buttons[6] = 1;  // left trigger button
    QvJoyReading r = QvMapRawJoystick(axes, 6, buttons, 16);
    EXPECT_FLOAT_EQ(r.axes[0], 0.5f);
    EXPECT_FLOAT_EQ(r.axes[1], 0.25f);
    EXPECT_FLOAT_EQ(r.axes[2], 1.0f);     // button 6
    EXPECT_FLOAT_EQ(r.axes[3], -0.75f);   // axis 2
    EXPECT_FLOAT_EQ(r.axes[4], -0.125f);  // axis 3 negated
    EXPECT_FLOAT_EQ(r.axes[5], 0.0f);     // button 7 up
    // Raw 6 and 7 are the triggers, read as axes only.
    const int expected[16] = {X, A, B, Y, LB, RB, -1, -1, BACK, START, LSTICK, RSTICK,
                              PAD_LEFT, PAD_UP, PAD_RIGHT, PAD_DOWN};
    for (int raw = 0; raw < 16; ++raw) {
        unsigned char one[16] = {};
        one[raw] = 1;
        std::vector<int> pressed = Pressed(QvMapRawJoystick(axes, 6, one, 16));
        std::vector<int> want;
        if (expected[raw] >= 0) want.push_back(expected[raw]);
        EXPECT_EQ(pressed, want) << "raw button " << raw;
    }
}

TEST(JoystickLayoutG, TwelveButtonPadReportsItsHatFromButtonsEightToEleven) {
    const float axes[2] = {};
    for (int raw = 8; raw < 12; ++raw) {
        unsigned char buttons[12] = {};
        buttons[raw] = 1;
        std::vector<int> pressed = Pressed(QvMapRawJoystick(axes, 2, buttons, 12));
        // The hat's last four buttons, and 10 and 11 double as the stick presses.
        std::vector<int> want = {PAD_LEFT + (raw - 8)};
        if (raw == 10) want = {PAD_LEFT + 2, LSTICK};
        if (raw == 11) want = {PAD_LEFT + 3, RSTICK};
        if (raw == 8) want = {BACK, PAD_LEFT};
        if (raw == 9) want = {START, PAD_UP};
        std::sort(want.begin(), want.end());
        EXPECT_EQ(pressed, want) << "raw button " << raw;
    }
}

TEST(JoystickLayoutG, ButtonsOutsideThePadReadAsUpAndMissingAxesAsZero) {
    const float axes[1] = {0.5f};
    unsigned char buttons[2] = {1, 1};
    QvJoyReading r = QvMapRawJoystick(axes, 1, buttons, 2);
    EXPECT_FLOAT_EQ(r.axes[0], 0.5f);
    EXPECT_FLOAT_EQ(r.axes[1], 0.0f);
    EXPECT_FLOAT_EQ(r.axes[4], 0.0f);
    // Two raw buttons: A from raw 1, X from raw 0; the hat entries count back to them too.
    std::vector<int> pressed = Pressed(r);
    EXPECT_EQ(pressed, (std::vector<int>{A, X, PAD_RIGHT, PAD_DOWN}));
}

TEST(JoystickHat, HatDirectionsFollowTheButtonsAsLeftUpRightDown) {
    const unsigned char buttons[3] = {1, 0, 1};
    unsigned char out[32];
    ASSERT_EQ(QvAppendHat(buttons, 3, 0, out), 7);
    EXPECT_EQ((std::vector<int>(out, out + 7)), (std::vector<int>{1, 0, 1, 0, 0, 0, 0}));
    // Up and left together (a diagonal): bits 1 and 8.
    QvAppendHat(buttons, 3, 1 | 8, out);
    EXPECT_EQ((std::vector<int>(out + 3, out + 7)), (std::vector<int>{1, 1, 0, 0}));
    QvAppendHat(buttons, 3, 2 | 4, out);
    EXPECT_EQ((std::vector<int>(out + 3, out + 7)), (std::vector<int>{0, 0, 1, 1}));
    unsigned char many[40] = {};
    EXPECT_EQ(QvAppendHat(many, 40, 4, out), 32);
    EXPECT_EQ(out[31], 1);
}

TEST(JoystickGamepad, StandardGamepadStateFillsTheSameLayout) {
    // Left X, left Y, right X, right Y, left trigger, right trigger.
    const float axes[6] = {0.25f, -0.5f, 0.75f, 0.4f, -1.0f, 1.0f};
    unsigned char buttons[15] = {};
    QvJoyReading idle = QvMapGamepad(axes, buttons);
    EXPECT_FLOAT_EQ(idle.axes[0], 0.25f);
    EXPECT_FLOAT_EQ(idle.axes[1], -0.5f);
    EXPECT_FLOAT_EQ(idle.axes[2], 0.0f);  // released trigger
    EXPECT_FLOAT_EQ(idle.axes[3], 0.75f);
    EXPECT_FLOAT_EQ(idle.axes[4], -0.4f);
    EXPECT_FLOAT_EQ(idle.axes[5], 1.0f);  // fully pressed trigger
    // Gamepad order: A B X Y LB RB back start guide LS RS up right down left.
    const int expected[15] = {A, B, X, Y, LB, RB, BACK, START, -1, LSTICK, RSTICK,
                              PAD_UP, PAD_RIGHT, PAD_DOWN, PAD_LEFT};
    for (int raw = 0; raw < 15; ++raw) {
        unsigned char one[15] = {};
        one[raw] = 1;
        std::vector<int> pressed = Pressed(QvMapGamepad(axes, one));
        std::vector<int> want;
        if (expected[raw] >= 0) want.push_back(expected[raw]);
        EXPECT_EQ(pressed, want) << "gamepad button " << raw;
    }
}

TEST(JoystickPorts, PresentPadsFillThePortsInIdOrder) {
    bool present[16] = {};
    present[0] = present[3] = true;
    int ports[4] = {7, 7, 7, 7};
    QvAssignJoystickPorts(present, 16, ports);
    EXPECT_EQ((std::vector<int>(ports, ports + 4)), (std::vector<int>{0, 3, -1, -1}));
    for (bool& p : present) p = true;
    QvAssignJoystickPorts(present, 16, ports);
    EXPECT_EQ((std::vector<int>(ports, ports + 4)), (std::vector<int>{0, 1, 2, 3}));
    bool none[16] = {};
    QvAssignJoystickPorts(none, 16, ports);
    EXPECT_EQ((std::vector<int>(ports, ports + 4)), (std::vector<int>{-1, -1, -1, -1}));
}

}  // namespace
