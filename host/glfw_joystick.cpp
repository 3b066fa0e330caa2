// Joysticks read into the application's fixed layout.
#include <GLFW/glfw3.h>

#include "host/glfw_game.h"
#include "host/joystick_map.h"

namespace {

constexpr int kJoystickIds = GLFW_JOYSTICK_LAST + 1;

QvJoyReading ReadJoystick(int id) {
    GLFWgamepadstate state;
    if (glfwJoystickIsGamepad(id) && glfwGetGamepadState(id, &state)) {
        return QvMapGamepad(state.axes, state.buttons);
    }
    int axisCount = 0, buttonCount = 0, hatCount = 0;
    const float* axes = glfwGetJoystickAxes(id, &axisCount);
    const unsigned char* buttons = glfwGetJoystickButtons(id, &buttonCount);
    const unsigned char* hats = glfwGetJoystickHats(id, &hatCount);
    if (!axes) axisCount = 0;
    if (!buttons) buttonCount = 0;
    unsigned char raw[32] = {};
    int rawCount = QvAppendHat(buttons, buttonCount, hats && hatCount > 0 ? hats[0] : 0, raw);
    return QvMapRawJoystick(axes, axisCount < 6 ? axisCount : 6, raw, rawCount);
}

}  // namespace

// Port 0 is polled first in every update, so the port table follows hot-plugged pads
// from one update to the next.
bool QvGlfwGame::PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons) {
    if (port == 0) {
        bool present[kJoystickIds];
        for (int id = 0; id < kJoystickIds; ++id) present[id] = glfwJoystickPresent(id);
        QvAssignJoystickPorts(present, kJoystickIds, _pjoys);
    }
    if (port < 0 || port > 3 || _pjoys[port] == -1) return false;
    QvJoyReading reading = ReadJoystick(_pjoys[port]);
    joyx[0] = reading.axes[0];
    joyy[0] = reading.axes[1];
    joyz[0] = reading.axes[2];
    joyx[1] = reading.axes[3];
    joyy[1] = reading.axes[4];
    joyz[1] = reading.axes[5];
    for (int i = 0; i < 32 && i < buttons.Length(); ++i) buttons[i] = reading.buttons[i];
    return true;
}
