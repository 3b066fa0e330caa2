// Game pads read from GLFW, and the extra gamepad mappings given at start.
#pragma once

#include <string>

#include "host/joystick_source.h"

class QvGlfwJoysticks : public QvJoystickSource {
public:
    bool Present(int id) override;
    QvRawPad Read(int id) override;
    String Name(int id) override;

    // Lines of the community gamecontrollerdb.txt format, from `origin` (a file name or
    // an environment variable): the usable ones join GLFW's mappings, every unusable one
    // is reported on the console once.
    void AddMappings(const std::string& text, const std::string& origin);
};
