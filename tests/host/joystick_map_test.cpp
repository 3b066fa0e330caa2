// Raw joystick readings as GLFW 3 gives them (a stick pushed up or left reads -1, right or
// down +1, a trigger -1 at rest) mapped to the application's six axes, positive right and
// up, and fourteen buttons.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "host/joystick_map.h"

namespace {

// Output button order.
enum { A, B, X, Y, LB, RB, BACK, START, PAD_LEFT, PAD_UP, PAD_RIGHT, PAD_DOWN, LSTICK, RSTICK };
// Output axes.
enum { LEFT_X, LEFT_Y, LEFT_TRIGGER, RIGHT_X, RIGHT_Y, RIGHT_TRIGGER };
// Hat bits.
constexpr unsigned char kHatUp = 1, kHatRight = 2, kHatDown = 4, kHatLeft = 8;

std::vector<int> Pressed(const QvJoyReading& r) {
    std::vector<int> pressed;
    for (int i = 0; i < 32; ++i) {
        if (r.buttons[i]) pressed.push_back(i);
    }
    return pressed;
}

// A pad without a gamepad mapping, by its raw arrays.
struct RawPad {
    std::vector<float> axes;
    std::vector<unsigned char> buttons;
    bool hasHat = false;
    unsigned char hat = 0;

    QvJoyReading Read() const {
        return QvMapRawJoystick(axes.data(), int(axes.size()), buttons.data(), int(buttons.size()),
                                hasHat ? &hat : nullptr);
    }
    // The outputs that pressing raw button `raw` alone gives.
    std::vector<int> PressOnly(int raw) {
        std::fill(buttons.begin(), buttons.end(), 0);
        buttons[raw] = 1;
        std::vector<int> pressed = Pressed(Read());
        buttons[raw] = 0;
        return pressed;
    }
};

RawPad XboxPad() { return {std::vector<float>(5), std::vector<unsigned char>(10), true}; }
RawPad GenericPad() { return {std::vector<float>(6), std::vector<unsigned char>(12), true}; }

// Left X, left Y, right X, right Y, left trigger, right trigger, as GLFW orders them.
struct Gamepad {
    float axes[6] = {0, 0, 0, 0, -1, -1};
    unsigned char buttons[15] = {};
    QvJoyReading Read() const { return QvMapGamepad(axes, buttons); }
};

// Each kind of pad with its left stick a little right and fully up, its right stick left
// and half up: every one reads them the same way round.
void ExpectSticks(const QvJoyReading& r, const char* pad) {
    EXPECT_FLOAT_EQ(r.axes[LEFT_X], 0.25f) << pad;
    EXPECT_FLOAT_EQ(r.axes[LEFT_Y], 1) << pad;
    EXPECT_FLOAT_EQ(r.axes[RIGHT_X], -0.75f) << pad;
    EXPECT_FLOAT_EQ(r.axes[RIGHT_Y], 0.5f) << pad;
}

TEST(JoystickDirections, SticksPushedUpReadPositiveOnEveryKindOfPad) {
    Gamepad gamepad{{0.25f, -1, -0.75f, -0.5f, -1, -1}};
    ExpectSticks(gamepad.Read(), "gamepad");
    gamepad.axes[1] = 1;  // down
    gamepad.axes[3] = 0.5f;
    QvJoyReading r = gamepad.Read();
    EXPECT_FLOAT_EQ(r.axes[LEFT_Y], -1);
    EXPECT_FLOAT_EQ(r.axes[RIGHT_Y], -0.5f);

    // Xbox 360 layout: left stick on axes 0 and 1, right stick Y on 3 and X on 4.
    RawPad xbox = XboxPad();
    xbox.axes = {0.25f, -1, 0, -0.5f, -0.75f};
    ExpectSticks(xbox.Read(), "xbox");
    xbox.axes[1] = 1;
    EXPECT_FLOAT_EQ(xbox.Read().axes[LEFT_Y], -1);

    // Generic layout: left stick on axes 0 and 1, right stick X on 2 and Y on 3.
    RawPad generic = GenericPad();
    generic.axes = {0.25f, -1, -0.75f, -0.5f, 0.9f, 0.8f};
    ExpectSticks(generic.Read(), "generic");
}

TEST(JoystickTriggers, RestAtZeroAndReachOneFullyPressed) {
    Gamepad gamepad;
    QvJoyReading rest = gamepad.Read();
    EXPECT_FLOAT_EQ(rest.axes[LEFT_TRIGGER], 0);
    EXPECT_FLOAT_EQ(rest.axes[RIGHT_TRIGGER], 0);
    gamepad.axes[4] = 1;
    gamepad.axes[5] = 0;
    QvJoyReading pressed = gamepad.Read();
    EXPECT_FLOAT_EQ(pressed.axes[LEFT_TRIGGER], 1);
    EXPECT_FLOAT_EQ(pressed.axes[RIGHT_TRIGGER], 0.5f);

    // One shared trigger axis on the Xbox 360 layout: left pulls it up, right down.
    RawPad xbox = XboxPad();
    EXPECT_FLOAT_EQ(xbox.Read().axes[LEFT_TRIGGER], 0);
    EXPECT_FLOAT_EQ(xbox.Read().axes[RIGHT_TRIGGER], 0);
    xbox.axes[2] = 1;
    EXPECT_FLOAT_EQ(xbox.Read().axes[LEFT_TRIGGER], 1);
    xbox.axes[2] = -1;
    EXPECT_FLOAT_EQ(xbox.Read().axes[RIGHT_TRIGGER], 1);

    // The generic layout's triggers are raw buttons 6 and 7.
    RawPad generic = GenericPad();
    EXPECT_FLOAT_EQ(generic.Read().axes[LEFT_TRIGGER], 0);
    EXPECT_FLOAT_EQ(generic.Read().axes[RIGHT_TRIGGER], 0);
    generic.buttons[7] = 1;
    EXPECT_FLOAT_EQ(generic.Read().axes[RIGHT_TRIGGER], 1);
}

TEST(JoystickLayoutX, FiveAxesTenButtonsAndAHatMapAsAnXboxPad) {
    RawPad xbox = XboxPad();
    EXPECT_TRUE(Pressed(xbox.Read()).empty());
    // Raw 0-7 keep their place, 8 and 9 are the stick presses.
    const int expected[10] = {A, B, X, Y, LB, RB, BACK, START, LSTICK, RSTICK};
    for (int raw = 0; raw < 10; ++raw) {
        EXPECT_EQ(xbox.PressOnly(raw), std::vector<int>{expected[raw]}) << "raw button " << raw;
    }
    xbox.hat = kHatUp | kHatLeft;
    EXPECT_EQ(Pressed(xbox.Read()), (std::vector<int>{PAD_LEFT, PAD_UP}));
    xbox.hat = kHatDown | kHatRight;
    EXPECT_EQ(Pressed(xbox.Read()), (std::vector<int>{PAD_RIGHT, PAD_DOWN}));
    // Without its hat the same pad has 10 raw buttons: the generic layout.
    xbox.hasHat = false;
    EXPECT_EQ(xbox.PressOnly(0), std::vector<int>{X});
}

TEST(JoystickLayoutG, OtherPadsUseTheGenericLayout) {
    RawPad generic = GenericPad();
    // Raw 6 and 7 are the triggers, read as axes only.
    const int expected[12] = {X, A, B, Y, LB, RB, -1, -1, BACK, START, LSTICK, RSTICK};
    for (int raw = 0; raw < 12; ++raw) {
        std::vector<int> want;
        if (expected[raw] >= 0) want.push_back(expected[raw]);
        EXPECT_EQ(generic.PressOnly(raw), want) << "raw button " << raw;
    }
    generic.hat = kHatRight;
    EXPECT_EQ(Pressed(generic.Read()), std::vector<int>{PAD_RIGHT});
}

TEST(JoystickLayoutG, APadWithoutAHatReadsItsLastFourButtonsAsThePadHoweverManyItHas) {
    // Twelve raw buttons and no hat: outputs 8-11 from raw buttons 8-11, which double
    // as back, start and the stick presses.
    RawPad twelve{std::vector<float>(2), std::vector<unsigned char>(12), false};
    EXPECT_EQ(twelve.PressOnly(8), (std::vector<int>{BACK, PAD_LEFT}));
    EXPECT_EQ(twelve.PressOnly(9), (std::vector<int>{START, PAD_UP}));
    EXPECT_EQ(twelve.PressOnly(10), (std::vector<int>{PAD_RIGHT, LSTICK}));
    EXPECT_EQ(twelve.PressOnly(11), (std::vector<int>{PAD_DOWN, RSTICK}));
    // Two raw buttons: A from raw 1, X from raw 0; the pad entries count back to them too.
    RawPad two{{0.5f}, {1, 1}, false};
    const QvJoyReading r = two.Read();
    EXPECT_FLOAT_EQ(r.axes[LEFT_X], 0.5f);
    EXPECT_FLOAT_EQ(r.axes[LEFT_Y], 0);
    EXPECT_FLOAT_EQ(r.axes[RIGHT_Y], 0);
    EXPECT_EQ(Pressed(r), (std::vector<int>{A, X, PAD_RIGHT, PAD_DOWN}));
    // 40 buttons and no hat: the last four are the pad's directions.
    RawPad many{std::vector<float>(4), std::vector<unsigned char>(40), false};
    EXPECT_EQ(many.PressOnly(39), std::vector<int>{PAD_DOWN});
    EXPECT_EQ(many.PressOnly(36), std::vector<int>{PAD_LEFT});
    EXPECT_TRUE(many.PressOnly(35).empty());
    // With a hat the hat follows all 40.
    many.hasHat = true;
    many.hat = kHatUp;
    EXPECT_EQ(Pressed(many.Read()), std::vector<int>{PAD_UP});
    many.hat = 0;
    EXPECT_TRUE(many.PressOnly(39).empty());
}

TEST(JoystickGamepad, StandardGamepadButtonsFillTheSameLayout) {
    // Gamepad order: A B X Y LB RB back start guide LS RS up right down left.
    const int expected[15] = {A,  B,      X,      Y,      LB,        RB,       BACK,    START,
                              -1, LSTICK, RSTICK, PAD_UP, PAD_RIGHT, PAD_DOWN, PAD_LEFT};
    for (int raw = 0; raw < 15; ++raw) {
        Gamepad one;
        one.buttons[raw] = 1;
        std::vector<int> want;
        if (expected[raw] >= 0) want.push_back(expected[raw]);
        EXPECT_EQ(Pressed(one.Read()), want) << "gamepad button " << raw;
    }
}

std::vector<int> Ports(const int ports[4]) { return std::vector<int>(ports, ports + 4); }

TEST(JoystickPorts, PadsKeepTheirPortsWhileOthersComeAndGo) {
    bool present[kQvJoystickIds] = {};
    int ports[4] = {-1, -1, -1, -1};
    QvAssignJoystickPorts(present, ports);
    EXPECT_EQ(Ports(ports), (std::vector<int>{-1, -1, -1, -1}));
    // Found together: in id order.
    present[0] = present[3] = true;
    QvAssignJoystickPorts(present, ports);
    EXPECT_EQ(Ports(ports), (std::vector<int>{0, 3, -1, -1}));
    // The first pulled out: the second stays on its port.
    present[0] = false;
    QvAssignJoystickPorts(present, ports);
    EXPECT_EQ(Ports(ports), (std::vector<int>{-1, 3, -1, -1}));
    // Two new ones fill the free ports from the lowest.
    present[5] = present[7] = true;
    QvAssignJoystickPorts(present, ports);
    EXPECT_EQ(Ports(ports), (std::vector<int>{5, 3, 7, -1}));
    // More pads than ports: the fifth waits for a free port.
    for (int id : {0, 1, 2}) present[id] = true;
    QvAssignJoystickPorts(present, ports);
    EXPECT_EQ(Ports(ports), (std::vector<int>{5, 3, 7, 0}));
    present[3] = false;
    QvAssignJoystickPorts(present, ports);
    EXPECT_EQ(Ports(ports), (std::vector<int>{5, 1, 7, 0}));
    // A stale or doubled table entry is dropped.
    int stale[4] = {9, 9, 20, -4};
    present[9] = true;
    QvAssignJoystickPorts(present, stale);
    EXPECT_EQ(Ports(stale), (std::vector<int>{9, 0, 1, 2}));
}

}  // namespace
