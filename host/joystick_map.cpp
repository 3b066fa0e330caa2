#include "host/joystick_map.h"

namespace {

// Axis sources: the low 4 bits name a raw axis (or button), the high bits the transform.
enum : int {
    kRaw = 0x00,
    kHalfPlus = 0x10,   // (1 + a) / 2
    kHalfMinus = 0x20,  // (1 - a) / 2
    kNegate = 0x40,
    kButton = 0x80,     // 1 when the raw button is pressed
};

struct Layout {
    int axes[6];
    int buttons[14];  // negative entries count from the end of the raw buttons
};

// An Xbox 360 pad as the window system reports it: 5 axes, 10 buttons and the hat.
constexpr Layout kLayoutX = {
    {0, 1, 2, 4, kNegate | 3, kNegate | 2},
    {0, 1, 2, 3, 4, 5, 6, 7, -4, -3, -2, -1, 8, 9},
};
// Any other pad.
constexpr Layout kLayoutG = {
    {0, 1, kButton | 6, 2, kNegate | 3, kButton | 7},
    {1, 2, 0, 3, 4, 5, 8, 9, -4, -3, -2, -1, 10, 11},
};

bool RawButton(const unsigned char* buttons, int count, int index) {
    if (index < 0) index += count;
    return index >= 0 && index < count && buttons[index] != 0;
}

float MapAxis(int source, const float* axes, const unsigned char* buttons, int buttonCount) {
    int index = source & 0x0f;
    float a = axes[index];
    switch (source & 0xf0) {
        case kHalfPlus: return (1 + a) * 0.5f;
        case kHalfMinus: return (1 - a) * 0.5f;
        case kNegate: return -a;
        case kButton: return RawButton(buttons, buttonCount, index) ? 1.0f : 0.0f;
        default: return a;
    }
}

// The window system's standard gamepad order.
enum GamepadButton {
    kPadA, kPadB, kPadX, kPadY, kPadLeftBumper, kPadRightBumper, kPadBack, kPadStart,
    kPadGuide, kPadLeftThumb, kPadRightThumb, kPadUp, kPadRight, kPadDown, kPadLeft,
};
enum GamepadAxis { kLeftX, kLeftY, kRightX, kRightY, kLeftTrigger, kRightTrigger };

}  // namespace

QvJoyReading QvMapRawJoystick(const float* axes, int axisCount, const unsigned char* buttons,
                              int buttonCount) {
    float raw[16] = {};
    for (int i = 0; i < axisCount && i < 6; ++i) raw[i] = axes[i];
    if (buttonCount > 32) buttonCount = 32;
    const Layout& layout = (buttonCount == 14 && axisCount == 5) ? kLayoutX : kLayoutG;
    QvJoyReading out;
    for (int i = 0; i < 6; ++i) out.axes[i] = MapAxis(layout.axes[i], raw, buttons, buttonCount);
    for (int i = 0; i < 14; ++i) out.buttons[i] = RawButton(buttons, buttonCount, layout.buttons[i]);
    return out;
}

QvJoyReading QvMapGamepad(const float* axes, const unsigned char* buttons) {
    static constexpr int kButtonOrder[14] = {
        kPadA, kPadB, kPadX, kPadY, kPadLeftBumper, kPadRightBumper, kPadBack, kPadStart,
        kPadLeft, kPadUp, kPadRight, kPadDown, kPadLeftThumb, kPadRightThumb,
    };
    QvJoyReading out;
    out.axes[0] = axes[kLeftX];
    out.axes[1] = axes[kLeftY];
    out.axes[2] = (1 + axes[kLeftTrigger]) * 0.5f;
    out.axes[3] = axes[kRightX];
    out.axes[4] = -axes[kRightY];
    out.axes[5] = (1 + axes[kRightTrigger]) * 0.5f;
    for (int i = 0; i < 14; ++i) out.buttons[i] = buttons[kButtonOrder[i]] != 0;
    return out;
}

void QvAssignJoystickPorts(const bool* present, int idCount, int ports[4]) {
    int next = 0;
    for (int id = 0; id < idCount && next < 4; ++id) {
        if (present[id]) ports[next++] = id;
    }
    while (next < 4) ports[next++] = -1;
}

int QvAppendHat(const unsigned char* buttons, int buttonCount, int hat, unsigned char out[32]) {
    if (buttonCount > 28) buttonCount = 28;
    for (int i = 0; i < buttonCount; ++i) out[i] = buttons[i];
    static constexpr int kHatOrder[4] = {8, 1, 2, 4};  // left, up, right, down
    for (int i = 0; i < 4; ++i) out[buttonCount + i] = (hat & kHatOrder[i]) ? 1 : 0;
    return buttonCount + 4;
}
