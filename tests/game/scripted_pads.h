// Game pads for the headless game: raw readings as GLFW 3 gives them (a stick pushed up
// or left reads -1, down or right +1, a trigger -1 at rest), read through the host's own
// port table and layout mapping. Install with host->SetJoystickSource(&pads) and poll
// with the input device's p_BeginUpdate before each update.
#pragma once

#include <vector>

#include "host/joystick_source.h"

class ScriptedPads : public QvJoystickSource {
public:
    // The three ways the host reads a pad: a gamepad GLFW has a mapping for, and raw
    // pads on the Xbox 360 layout (5 axes, 10 buttons and a hat) or the generic one
    // (6 axes, 12 buttons and a hat).
    enum Kind { kGamepad, kXbox, kGeneric };
    // What a player presses, found on each kind where it sits.
    enum Control { kA, kStart };

    void Plug(int id, Kind kind) {
        Pad& p = pads_[id];
        p = Pad{};
        p.present = true;
        p.kind = kind;
        p.axes.assign(kind == kXbox ? 5 : 6, 0.0f);
        p.buttons.assign(kind == kXbox ? 10 : 12, 0);
    }
    void Unplug(int id) { pads_[id].present = false; }

    void LeftStick(int id, float x, float y) { SetStick(id, 0, x, y); }
    void RightStick(int id, float x, float y) { SetStick(id, 1, x, y); }
    // Hat bits: up 1, right 2, down 4, left 8 (the gamepad's d-pad buttons likewise).
    void Hat(int id, unsigned char bits) { pads_[id].hat = bits; }
    void Press(int id, Control control, bool down = true) {
        Pad& p = pads_[id];
        const int index = control == kA ? (p.kind == kGeneric ? 1 : 0)
                                        : (p.kind == kGeneric ? 9 : 7);
        (p.kind == kGamepad ? p.gamepadButtons[index] : p.buttons[index]) = down ? 1 : 0;
    }
    void Release(int id, Control control) { Press(id, control, false); }

    bool Present(int id) override { return pads_[id].present; }
    QvRawPad Read(int id) override {
        const Pad& p = pads_[id];
        QvRawPad raw;
        raw.gamepad = p.kind == kGamepad;
        for (int i = 0; i < 6; ++i) raw.gamepadAxes[i] = p.gamepadAxes[i];
        for (int i = 0; i < 15; ++i) raw.gamepadButtons[i] = p.gamepadButtons[i];
        static constexpr int kDpad[4] = {11, 12, 13, 14};  // up, right, down, left
        for (int i = 0; i < 4; ++i) raw.gamepadButtons[kDpad[i]] = (p.hat >> i) & 1;
        raw.axes = p.axes.data();
        raw.axisCount = int(p.axes.size());
        raw.buttons = p.buttons.data();
        raw.buttonCount = int(p.buttons.size());
        raw.hat = &p.hat;
        return raw;
    }
    String Name(int id) override { return "Scripted Pad"; }

private:
    struct Pad {
        bool present = false;
        Kind kind = kGamepad;
        float gamepadAxes[6] = {0, 0, 0, 0, -1, -1};
        unsigned char gamepadButtons[15] = {};
        std::vector<float> axes;
        std::vector<unsigned char> buttons;
        unsigned char hat = 0;
    };

    // Where each kind keeps a stick's X and Y: the gamepad in its standard state, the
    // Xbox 360 layout's right stick as Y on axis 3 and X on axis 4.
    void SetStick(int id, int stick, float x, float y) {
        Pad& p = pads_[id];
        if (p.kind == kGamepad) {
            p.gamepadAxes[2 * stick] = x;
            p.gamepadAxes[2 * stick + 1] = y;
        } else if (stick == 0) {
            p.axes[0] = x;
            p.axes[1] = y;
        } else {
            p.axes[p.kind == kXbox ? 4 : 2] = x;
            p.axes[3] = y;
        }
    }

    Pad pads_[kQvJoystickIds];
};
