// Pretend game pads for whole-program tests: a preloaded library (bin/
// libvortan_pretend_pads.so, from pretend_pads_glfw.cpp) stands in for GLFW's joystick
// functions, and reports the pads that a small state file lists. The test rewrites the
// file while the program runs; the library reads it again whenever it has changed.
//
// The state file, plain text, one item per line ('#' starts a comment line):
//
//   mapping GUID,NAME,a:b0,...,leftx:a0,...     A gamepad mapping in the community
//                                               gamecontrollerdb.txt format that GLFW
//                                               knows without being told. Any number.
//   pad ID                                      Pad ID (0-15) is plugged in; the lines
//                                               up to the next "pad" describe it. A pad
//                                               not listed is not plugged in.
//   name TEXT                                   glfwGetJoystickName (rest of the line).
//   guid HEX32                                  glfwGetJoystickGUID.
//   axes V V ...                                Raw axes as GLFW 3 reports them, -1 to 1:
//                                               a stick pushed up or left is -1, down or
//                                               right +1, a trigger -1 at rest.
//   buttons B B ...                             Raw buttons, 0 up or 1 pressed.
//   hats H H ...                                Hats as bits: up 1, right 2, down 4,
//                                               left 8. No line: the pad has no hat.
//
// A pad whose GUID has a mapping (from the file, or given to glfwUpdateGamepadMappings)
// is a gamepad: glfwJoystickIsGamepad is true, glfwGetGamepadName is the mapping's name
// and glfwGetGamepadState is made from its raw readings through the mapping, as GLFW
// does (an axis mapped to a button presses it past half way). A mapping naming an axis,
// button or hat the pad lacks does not apply to it.
//
// Stood in for: glfwJoystickPresent, glfwGetJoystickAxes, glfwGetJoystickButtons,
// glfwGetJoystickHats, glfwGetJoystickName, glfwGetJoystickGUID, glfwJoystickIsGamepad,
// glfwGetGamepadName, glfwGetGamepadState, glfwUpdateGamepadMappings (keeps the lines
// it is given, reads them as above; always succeeds) and glfwSetJoystickCallback. The
// file is read again, when it changed, in glfwJoystickPresent and in glfwPollEvents
// (which then goes on to GLFW's own); a pad that came or went since the reading before
// is reported to the joystick callback there (pads of the first reading count as
// plugged in from the start, unreported). Arrays handed out stay valid until the next
// reading after the one that made them.
//
// The library finds the file through the environment variable VORTAN_PRETEND_PADS; with
// none, or no file, no pad is plugged in. Write the file whole and atomically (Write
// below writes a temporary file and renames it over the old one), so the program never
// reads half of it.
#pragma once

#include <map>
#include <string>
#include <vector>

class PretendPads {
public:
    // The layout of Gamepad(): GLFW's gamepad order for axes and buttons.
    enum Axis { kLeftX, kLeftY, kLeftTrigger, kRightX, kRightY, kRightTrigger };
    enum Button {
        kA,
        kB,
        kX,
        kY,
        kLeftShoulder,
        kRightShoulder,
        kBack,
        kStart,
        kGuide,
        kLeftStick,
        kRightStick
    };
    static constexpr int kHatUp = 1, kHatRight = 2, kHatDown = 4, kHatLeft = 8;

    struct Pad {
        std::string name = "Pretend Pad";
        std::string guid = kGamepadGuid;
        std::vector<float> axes;
        std::vector<int> buttons;
        std::vector<int> hats;
    };

    // GUID of Gamepad(), whose mapping the file always carries (GLFW knows the pad).
    static const char* const kGamepadGuid;
    // A pad GLFW knows as a gamepad, at rest: 6 axes (triggers -1), 11 buttons, one hat.
    static Pad Gamepad();

    // The state file `path`, written at once with no pad plugged in.
    explicit PretendPads(std::string path);

    // The environment a program needs to see the pads (to add to ProcessOptions::env).
    std::map<std::string, std::string> Environment() const;

    // Plugs a pad in (replacing one on that id) and returns it for changes.
    Pad& Plug(int id, Pad pad = Gamepad());
    void Unplug(int id);
    // A plugged-in pad, to change its readings before the next Write.
    Pad& operator[](int id) { return pads_.at(id); }
    // Another mapping GLFW knows without being told.
    void AddMapping(const std::string& line) { mappings_.push_back(line); }

    // Puts the whole state in place at once (written beside the file, then renamed).
    void Write() const;

private:
    std::string path_;
    std::map<int, Pad> pads_;
    std::vector<std::string> mappings_;
};
