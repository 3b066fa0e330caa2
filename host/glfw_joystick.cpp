// Game pads read from GLFW.
#include "host/glfw_joystick.h"

#include <GLFW/glfw3.h>

#include <cstring>

#include "host/glfw_game.h"

namespace {

String Utf8(const char* text) {
    return String::FromBytes(reinterpret_cast<const unsigned char*>(text), int(std::strlen(text)));
}

}  // namespace

bool QvGlfwJoysticks::Present(int id) { return glfwJoystickPresent(id) == GLFW_TRUE; }

QvRawPad QvGlfwJoysticks::Read(int id) {
    QvRawPad pad;
    GLFWgamepadstate state;
    if (glfwJoystickIsGamepad(id) && glfwGetGamepadState(id, &state)) {
        pad.gamepad = true;
        for (int i = 0; i < 6; ++i) pad.gamepadAxes[i] = state.axes[i];
        for (int i = 0; i < 15; ++i) pad.gamepadButtons[i] = state.buttons[i];
        return pad;
    }
    int hatCount = 0;
    pad.axes = glfwGetJoystickAxes(id, &pad.axisCount);
    pad.buttons = glfwGetJoystickButtons(id, &pad.buttonCount);
    const unsigned char* hats = glfwGetJoystickHats(id, &hatCount);
    pad.hat = hats && hatCount > 0 ? hats : nullptr;
    return pad;
}

String QvGlfwJoysticks::Name(int id) {
    const char* name = glfwJoystickIsGamepad(id) ? glfwGetGamepadName(id) : glfwGetJoystickName(id);
    return name ? Utf8(name) : String();
}
