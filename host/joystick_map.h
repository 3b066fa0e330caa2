// Raw joystick readings to the application's fixed layout: six axes (left stick X/Y,
// left trigger, right stick X/Y, right trigger) and 32 buttons (A, B, X, Y, left and
// right shoulder, back, start, pad left, up, right, down, left and right stick press).
#pragma once

struct QvJoyReading {
    float axes[6] = {};      // in the order above
    bool buttons[32] = {};
};

// A pad without a gamepad mapping: `buttons` ends with the hat as left, up, right, down.
// Chooses the Xbox 360 layout for 5 axes and 14 buttons, the generic layout otherwise.
QvJoyReading QvMapRawJoystick(const float* axes, int axisCount, const unsigned char* buttons,
                              int buttonCount);

// Raw buttons of a pad followed by its hat (bits up 1, right 2, down 4, left 8) as four
// more buttons in the order left, up, right, down; at most 32 in all. Returns the count.
int QvAppendHat(const unsigned char* buttons, int buttonCount, int hat, unsigned char out[32]);

// A pad the window system knows as a gamepad: its standard state (6 axes, triggers -1..1,
// and 15 buttons in the window system's gamepad order).
QvJoyReading QvMapGamepad(const float* axes, const unsigned char* buttons);

// Up to 4 present joystick ids, in id order, for ports 0-3; -1 for the rest.
void QvAssignJoystickPorts(const bool* present, int idCount, int ports[4]);
