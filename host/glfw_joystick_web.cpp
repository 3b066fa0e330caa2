// Game pads in a browser. Emscripten's GLFW has no gamepad API, no hats and no mapping
// updates, so pads are read from the browser's own gamepad list: a pad with the browser's
// "standard" mapping fills the gamepad state, any other gives its raw axes and buttons.
#include <emscripten/html5.h>

#include <cstring>

#include "host/glfw_game.h"
#include "host/glfw_joystick.h"

namespace {

// The standard mapping's button for each gamepad button (A, B, X, Y, bumpers, back,
// start, guide, stick presses, d-pad up, right, down, left).
constexpr int kStandardButtons[15] = {0, 1, 2, 3, 4, 5, 8, 9, 16, 10, 11, 12, 15, 13, 14};
constexpr int kStandardLeftTrigger = 6;
constexpr int kStandardRightTrigger = 7;

// The readings of every pad, taken once per update: the poll asks for pad 0 first.
struct BrowserPads {
    EmscriptenGamepadEvent state[kQvJoystickIds];
    bool present[kQvJoystickIds] = {};
    float axes[kQvJoystickIds][64];
    unsigned char buttons[kQvJoystickIds][64];

    void Sample() {
        std::memset(present, 0, sizeof present);
        if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return;
        const int count = emscripten_get_num_gamepads();
        for (int id = 0; id < count && id < kQvJoystickIds; ++id) {
            present[id] = emscripten_get_gamepad_status(id, &state[id]) ==
                              EMSCRIPTEN_RESULT_SUCCESS &&
                          state[id].connected;
        }
    }
};

BrowserPads pads;

bool Standard(const EmscriptenGamepadEvent& pad) {
    return std::strcmp(pad.mapping, "standard") == 0;
}

}  // namespace

bool QvGlfwJoysticks::Present(int id) {
    if (id == 0) pads.Sample();
    return id >= 0 && id < kQvJoystickIds && pads.present[id];
}

QvRawPad QvGlfwJoysticks::Read(int id) {
    QvRawPad pad;
    if (id < 0 || id >= kQvJoystickIds || !pads.present[id]) return pad;
    const EmscriptenGamepadEvent& state = pads.state[id];
    if (Standard(state)) {
        pad.gamepad = true;
        for (int i = 0; i < 4 && i < state.numAxes; ++i) pad.gamepadAxes[i] = float(state.axis[i]);
        // Triggers rest at -1 in the gamepad state, at 0 in the browser.
        pad.gamepadAxes[4] = float(state.analogButton[kStandardLeftTrigger] * 2 - 1);
        pad.gamepadAxes[5] = float(state.analogButton[kStandardRightTrigger] * 2 - 1);
        for (int i = 0; i < 15; ++i) {
            const int b = kStandardButtons[i];
            pad.gamepadButtons[i] = b < state.numButtons && state.digitalButton[b] ? 1 : 0;
        }
        return pad;
    }
    pad.axisCount = state.numAxes < 64 ? state.numAxes : 64;
    pad.buttonCount = state.numButtons < 64 ? state.numButtons : 64;
    for (int i = 0; i < pad.axisCount; ++i) pads.axes[id][i] = float(state.axis[i]);
    for (int i = 0; i < pad.buttonCount; ++i) pads.buttons[id][i] = state.digitalButton[i] ? 1 : 0;
    pad.axes = pads.axes[id];
    pad.buttons = pads.buttons[id];
    return pad;
}

String QvGlfwJoysticks::Name(int id) {
    if (id < 0 || id >= kQvJoystickIds || !pads.present[id]) return String();
    const char* name = pads.state[id].id;
    return String::FromBytes(reinterpret_cast<const unsigned char*>(name), int(std::strlen(name)));
}

// The browser maps its pads itself; there is nothing to teach it.
void QvGlfwGame::LoadGamepadMappings() {}
