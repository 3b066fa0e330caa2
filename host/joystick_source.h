// Where the host reads game pads from: GLFW in the program, scripted raw readings in
// tests. Both go through the same port table and layout mapping.
#pragma once

#include <string>

#include "host/joystick_map.h"
#include "runtime/string.h"

class QvJoystickSource {
public:
    virtual ~QvJoystickSource() = default;
    // Is joystick `id` (0 to kQvJoystickIds - 1) plugged in?
    virtual bool Present(int id) = 0;
    // The pad's readings now; its arrays stay valid until the next call for this pad.
    // A pad gone since Present reads as nothing pressed.
    virtual QvRawPad Read(int id) = 0;
    // The name the pad gives, for the console.
    virtual String Name(int id) = 0;
};
