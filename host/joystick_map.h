// Raw joystick readings to the application's fixed layout: six axes (left stick X/Y,
// left trigger, right stick X/Y, right trigger) and 32 buttons (A, B, X, Y, left and
// right shoulder, back, start, pad left, up, right, down, left and right stick press).
//
// GLFW reports a stick pushed up or forward as -1; the application reads both stick Y
// axes positive up, so a stick's up and the up key mean the same. Triggers read 0 at rest
// and 1 fully pressed.
#pragma once

#include "host/key_space.h"

struct QvJoyReading {
    float axes[pad_axis::kCount] = {};  // in the order above
    bool buttons[key_space::kButtonsPerPort] = {};
};

constexpr int kQvGamepadButtons = 15;  // of the window system's standard gamepad

// One pad as the window system reports it. A pad the window system knows as a gamepad
// fills the standard state (the fixed layout's axes, triggers -1 at rest, and buttons in
// the window system's gamepad order); any other pad gives its axes, buttons and first hat.
struct QvRawPad {
    bool gamepad = false;
    float gamepadAxes[pad_axis::kCount] = {};
    unsigned char gamepadButtons[kQvGamepadButtons] = {};
    const float* axes = nullptr;
    int axisCount = 0;
    const unsigned char* buttons = nullptr;
    int buttonCount = 0;
    const unsigned char* hat = nullptr;  // bits up 1, right 2, down 4, left 8; null: no hat
};

// Either of the two below, by the kind of pad.
QvJoyReading QvMapPad(const QvRawPad& pad);

// A pad without a gamepad mapping. Its raw buttons are its own followed, when it has a
// hat, by the hat as four buttons left, up, right, down. Chooses the Xbox 360 layout
// for 5 axes and 14 raw buttons, the generic layout otherwise.
QvJoyReading QvMapRawJoystick(const float* axes, int axisCount, const unsigned char* buttons,
                              int buttonCount, const unsigned char* hat);

// A pad the window system knows as a gamepad: its standard state.
QvJoyReading QvMapGamepad(const float* axes, const unsigned char* buttons);

// Joystick ids the window system hands out.
constexpr int kQvJoystickIds = 16;

// Ports 0-3 for the present joystick ids (`present` has kQvJoystickIds entries). A pad keeps its port while it stays present,
// so pulling one out never hands another player's pad to its port; a new pad takes the
// lowest free port, pads found together in id order.
void QvAssignJoystickPorts(const bool* present, int ports[key_space::kPorts]);
