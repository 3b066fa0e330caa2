// Game pads read from GLFW.
#pragma once

#include "host/joystick_source.h"

class QvGlfwJoysticks : public QvJoystickSource {
public:
    bool Present(int id) override;
    QvRawPad Read(int id) override;
    String Name(int id) override;
};
