// Game pads read from GLFW, and the extra gamepad mappings given at start.
#include "host/glfw_joystick.h"

#include <GLFW/glfw3.h>

#include <cstdlib>
#include <cstring>

#include "host/escaped_text.h"
#include "host/gamepad_mappings.h"
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
        for (int i = 0; i < pad_axis::kCount; ++i) pad.gamepadAxes[i] = state.axes[i];
        for (int i = 0; i < kQvGamepadButtons; ++i) pad.gamepadButtons[i] = state.buttons[i];
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
    // The name comes from the device or from a mapping line, and goes to the console.
    return name ? Utf8(QvEscapeName(name).c_str()) : String();
}

void QvGlfwJoysticks::AddMappings(const std::string& text, const std::string& origin) {
    QvGamepadMappings mappings = QvSortGamepadMappings(text, origin);
    for (const std::string& problem : mappings.problems) qvPrint(Utf8(problem.c_str()));
    if (!mappings.usable.empty()) glfwUpdateGamepadMappings(mappings.usable.c_str());
}

void QvGlfwGame::LoadGamepadMappings() {
    int length = 0;
    if (unsigned char* file = LoadData("pellix://data/gamecontrollerdb.txt", &length)) {
        _glfwJoysticks->AddMappings(std::string(reinterpret_cast<char*>(file), size_t(length)),
                                    "gamecontrollerdb.txt");
        std::free(file);
    }
    if (const char* variable = std::getenv("SDL_GAMECONTROLLERCONFIG")) {
        _glfwJoysticks->AddMappings(variable, "SDL_GAMECONTROLLERCONFIG");
    }
}
