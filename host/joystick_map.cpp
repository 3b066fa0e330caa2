#include "host/joystick_map.h"

namespace {

// Axis sources: the low 4 bits name a raw axis (or button), the high bits the transform.
enum : int {
    kRaw = 0x00,
    kHalfPlus = 0x10,   // (1 + a) / 2
    kHalfMinus = 0x20,  // (1 - a) / 2
    kNegate = 0x40,
    kButton = 0x80,  // 1 when the raw button is pressed
};

struct Layout {
    int axes[pad_axis::kCount];
    int buttons[pad_button::kMapped];  // negative entries count from the end of the raw buttons
};

// Both layouts read a stick's Y negated: the window system gives up as -1.
// An Xbox 360 pad with one axis for both triggers: 5 axes, 10 buttons and the hat.
constexpr Layout kLayoutX = {
    {0, kNegate | 1, 2, 4, kNegate | 3, kNegate | 2},
    {0, 1, 2, 3, 4, 5, 6, 7, -4, -3, -2, -1, 8, 9},
};
// Any other pad.
constexpr Layout kLayoutG = {
    {0, kNegate | 1, kButton | 6, 2, kNegate | 3, kButton | 7},
    {1, 2, 0, 3, 4, 5, 8, 9, -4, -3, -2, -1, 10, 11},
};

constexpr int kHatButtons = 4;
constexpr unsigned char kHatOrder[kHatButtons] = {8, 1, 2, 4};  // left, up, right, down

// A pad's raw buttons: its own, then its hat's four when it has one. Nothing is cut
// off, however many buttons the pad has.
struct RawButtons {
    const unsigned char* buttons;
    int buttonCount;
    const unsigned char* hat;

    int Count() const { return buttonCount + (hat ? kHatButtons : 0); }
    bool Pressed(int index) const {
        if (index < 0) index += Count();
        if (index < 0 || index >= Count()) return false;
        if (index < buttonCount) return buttons[index] != 0;
        return (*hat & kHatOrder[index - buttonCount]) != 0;
    }
};

float MapAxis(int source, const float* axes, int axisCount, const RawButtons& buttons) {
    int index = source & 0x0f;
    float a = index < axisCount ? axes[index] : 0.0f;
    switch (source & 0xf0) {
        case kHalfPlus: return (1 + a) * 0.5f;
        case kHalfMinus: return (1 - a) * 0.5f;
        case kNegate: return -a;
        case kButton: return buttons.Pressed(index) ? 1.0f : 0.0f;
        default: return a;
    }
}

// The window system's standard gamepad order.
enum GamepadButton {
    kPadA,
    kPadB,
    kPadX,
    kPadY,
    kPadLeftBumper,
    kPadRightBumper,
    kPadBack,
    kPadStart,
    kPadGuide,
    kPadLeftThumb,
    kPadRightThumb,
    kPadUp,
    kPadRight,
    kPadDown,
    kPadLeft,
};
enum GamepadAxis { kLeftX, kLeftY, kRightX, kRightY, kLeftTrigger, kRightTrigger };

}  // namespace

QvJoyReading QvMapPad(const QvRawPad& pad) {
    if (pad.gamepad) return QvMapGamepad(pad.gamepadAxes, pad.gamepadButtons);
    return QvMapRawJoystick(pad.axes, pad.axisCount, pad.buttons, pad.buttonCount, pad.hat);
}

QvJoyReading QvMapRawJoystick(const float* axes, int axisCount, const unsigned char* buttons,
                              int buttonCount, const unsigned char* hat) {
    const RawButtons raw{buttons, buttons ? buttonCount : 0, hat};
    if (!axes) axisCount = 0;
    if (axisCount > 6) axisCount = 6;  // read as six: only the first five are named
    const Layout& layout = (raw.Count() == 14 && axisCount == 5) ? kLayoutX : kLayoutG;
    QvJoyReading out;
    for (int i = 0; i < pad_axis::kCount; ++i)
        out.axes[i] = MapAxis(layout.axes[i], axes, axisCount, raw);
    for (int i = 0; i < pad_button::kMapped; ++i) out.buttons[i] = raw.Pressed(layout.buttons[i]);
    return out;
}

QvJoyReading QvMapGamepad(const float* axes, const unsigned char* buttons) {
    static constexpr int kButtonOrder[pad_button::kMapped] = {
        kPadA,     kPadB,    kPadX,  kPadY,     kPadLeftBumper, kPadRightBumper, kPadBack,
        kPadStart, kPadLeft, kPadUp, kPadRight, kPadDown,       kPadLeftThumb,   kPadRightThumb,
    };
    QvJoyReading out;
    out.axes[pad_axis::kLeftX] = axes[kLeftX];
    out.axes[pad_axis::kLeftY] = -axes[kLeftY];
    out.axes[pad_axis::kLeftTrigger] = (1 + axes[kLeftTrigger]) * 0.5f;
    out.axes[pad_axis::kRightX] = axes[kRightX];
    out.axes[pad_axis::kRightY] = -axes[kRightY];
    out.axes[pad_axis::kRightTrigger] = (1 + axes[kRightTrigger]) * 0.5f;
    for (int i = 0; i < pad_button::kMapped; ++i) out.buttons[i] = buttons[kButtonOrder[i]] != 0;
    return out;
}

void QvAssignJoystickPorts(const bool* present, int ports[key_space::kPorts]) {
    bool placed[kQvJoystickIds] = {};
    for (int port = 0; port < key_space::kPorts; ++port) {
        const int id = ports[port];
        const bool stays = id >= 0 && id < kQvJoystickIds && present[id] && !placed[id];
        ports[port] = stays ? id : -1;
        if (stays) placed[id] = true;
    }
    int port = 0;
    for (int id = 0; id < kQvJoystickIds; ++id) {
        if (!present[id] || placed[id]) continue;
        while (port < key_space::kPorts && ports[port] != -1) ++port;
        if (port == key_space::kPorts) break;
        ports[port] = id;
    }
}
