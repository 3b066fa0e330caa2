// Game pads polled into the application's four joystick ports.
#include "host/glfw_game.h"
#include "host/glfw_joystick.h"

void QvGlfwGame::SetJoystickSource(QvJoystickSource* source) {
    _joysticks = source ? source : _glfwJoysticks.get();
    for (int& id : _pjoys) id = -1;
}

// Port 0 is polled first in every update, so the port table follows pads plugged in or
// pulled out from one update to the next.
bool QvGlfwGame::PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                              Array<bool> buttons) {
    if (port == 0) {
        bool present[kQvJoystickIds];
        for (int id = 0; id < kQvJoystickIds; ++id) present[id] = _joysticks->Present(id);
        int before[key_space::kPorts];
        for (int i = 0; i < key_space::kPorts; ++i) before[i] = _pjoys[i];
        QvAssignJoystickPorts(present, _pjoys);
        for (const String& line : _padReports.Update(before, _pjoys, *_joysticks)) qvPrint(line);
    }
    if (port < 0 || port >= key_space::kPorts || _pjoys[port] == -1) return false;
    QvJoyReading reading = QvMapPad(_joysticks->Read(_pjoys[port]));
    joyx[0] = reading.axes[pad_axis::kLeftX];
    joyy[0] = reading.axes[pad_axis::kLeftY];
    joyz[0] = reading.axes[pad_axis::kLeftTrigger];
    joyx[1] = reading.axes[pad_axis::kRightX];
    joyy[1] = reading.axes[pad_axis::kRightY];
    joyz[1] = reading.axes[pad_axis::kRightTrigger];
    for (int i = 0; i < key_space::kButtonsPerPort && i < buttons.Length(); ++i)
        buttons[i] = reading.buttons[i];
    return true;
}
