// Logical controls: each code is held when any of its sources is, the keyboard, the
// player's game pad, the left thumbstick or the virtual pad fed by an iCade cabinet.
#include <algorithm>
#include <cmath>

#include "game/controls.h"

#include "framework/input.h"
#include "game/codes.h"
#include "game/globals.h"
#include "game/my_app.h"

namespace {

// A stick pushed beyond this counts as a direction.
constexpr float kStickPush = 0.4f;
// The pads whose buttons the input device keeps apart.
constexpr int kPadPorts = 8;

bool AnyKey(std::initializer_list<int> keys) {
    for (int k : keys) {
        if (qv_input_KeyDown(k)) return true;
    }
    return false;
}

// Buttons of game pad `player`; a player without a pad (-1) has none.
bool AnyPad(int player, std::initializer_list<int> buttons) {
    if (player < 0 || player >= kPadPorts) return false;
    for (int b : buttons) {
        if (qv_input_KeyDown(kKeyJoystickBase + pad::kButtonsPerPad * player + b)) return true;
    }
    return false;
}

}  // namespace

float c_MyApp::p_StickX(int stick, int port) {
    if (port < 0 || port >= pad::kPads) return 0;
    return qv_input_JoyX(stick, port);
}

float c_MyApp::p_StickY(int stick, int port) {
    if (port < 0 || port >= pad::kPads) return 0;
    const float y = qv_input_JoyY(stick, port);
    return m_Setting[setting::kLeftStickY + stick] != 0 ? y : -y;
}

int c_MyApp::p_PlayKey(int code, int allowStick, int player) {
    using namespace control;
    const bool icade = qv_Vortan_iCadeControls == 1;
    const bool stick = allowStick == 1 && !icade && player >= 0;
    const Array<int>& vpad = m_ICade;
    bool held = false;
    switch (code) {
        case kUp:
            held = AnyKey({key::kUp}) || (!icade && AnyKey({'W'})) || AnyPad(player, {pad::kUp}) ||
                   (stick && p_StickY(0, player) < -kStickPush) || vpad[kUp] != 0;
            break;
        case kLeft:
            held = AnyKey({key::kLeft}) || (!icade && AnyKey({'A'})) || AnyPad(player, {pad::kLeft}) ||
                   (stick && p_StickX(0, player) < -kStickPush) || vpad[kLeft] != 0;
            break;
        case kRight:
            held = AnyKey({key::kRight}) || (!icade && AnyKey({'D'})) || AnyPad(player, {pad::kRight}) ||
                   (stick && p_StickX(0, player) > kStickPush) || vpad[kRight] != 0;
            break;
        case kDown:
            held = AnyKey({key::kDown}) || (!icade && AnyKey({'S'})) || AnyPad(player, {pad::kDown}) ||
                   (stick && p_StickY(0, player) > kStickPush) || vpad[kDown] != 0;
            break;
        case kJump:
            held = AnyKey({key::kSpace, key::kEnter}) || (!icade && AnyKey({'Z', 'J'})) ||
                   AnyPad(player, {pad::kA}) || vpad[kJump] != 0;
            break;
        case kStrike:
            held = AnyKey({key::kControl}) || (!icade && AnyKey({'X', 'K'})) || AnyPad(player, {pad::kB}) ||
                   vpad[kStrike] != 0;
            break;
        case kButtonX:
            held = AnyKey({key::kShift}) || (!icade && AnyKey({'C', 'L'})) || AnyPad(player, {pad::kX}) ||
                   vpad[kButtonX] != 0;
            break;
        case kButtonY:
            held = (!icade && AnyKey({'V', 'I'})) || AnyPad(player, {pad::kY}) || vpad[kButtonY] != 0;
            break;
        case kLeftShoulder:
            held = (!icade && AnyKey({'B', 'U'})) || AnyPad(player, {pad::kLeftShoulder}) ||
                   vpad[kLeftShoulder] != 0;
            break;
        case kRightShoulder:
            held = (!icade && AnyKey({'N', 'O'})) || AnyPad(player, {pad::kRightShoulder}) ||
                   vpad[kRightShoulder] != 0;
            break;
        case kPadBack:
        case kBack:
            // With iCade on, and for the keyboard alone, the pad's back is never held.
            if (code == kPadBack && (icade || player < 0)) break;
            held = AnyKey({key::kEscape, key::kDelete, key::kBackspace}) || (!icade && AnyKey({key::kGrave})) ||
                   AnyPad(player, {pad::kBack, pad::kStart, pad::kExtra}) || vpad[virtual_pad::kBackA] != 0 ||
                   vpad[virtual_pad::kBackB] != 0 || vpad[virtual_pad::kMenu] != 0;
            break;
        default:
            break;
    }
    return held ? 1 : 0;
}

int c_MyApp::p_PlayKeyAll(int code, int allowStick) {
    int sum = 0;
    for (int p = 0; p < pad::kPads; ++p) sum += p_PlayKey(code, allowStick, p);
    return sum;
}

bool AnyPlayerHolds(c_MyApp& g, int code) {
    return g.p_PlayKeyAll(code, 1) > 0;
}

bool AnyPlayerHolds(c_MyApp& g, std::initializer_list<int> codes) {
    for (int code : codes) {
        if (AnyPlayerHolds(g, code)) return true;
    }
    return false;
}

namespace {

float Clamp1(float v) {
    return std::min(1.0f, std::max(-1.0f, v));
}

// Below this a returning ramp is at rest (sums of 0.15 and 0.2 are not exact in floats).
constexpr float kRampRest = 1e-4f;

// One key ramp: `less` pulls the value down, `more` pushes it up, 0.15 per update;
// released, it returns toward 0 by 0.2 per update. A resting ramp leaves `out` alone.
void Ramp(bool less, bool more, float& ramp, float& out) {
    if (less) {
        ramp -= 0.15f;
        out = ramp;
    } else if (ramp < 0) {
        ramp += 0.2f;
        if (ramp > -kRampRest) ramp = 0;
        out = ramp;
    }
    if (more) {
        ramp += 0.15f;
        out = ramp;
    } else if (ramp > 0) {
        ramp -= 0.2f;
        if (ramp < kRampRest) ramp = 0;
        out = ramp;
    }
}

}  // namespace

int c_MyApp::p_AnalogueControl() {
    m_AnaX = 0;
    m_AnaY = 0;
    const float x = qv_input_JoyX(0, 0);
    const float y = m_Setting[setting::kLeftStickY] != 0 ? qv_input_JoyY(0, 0) : -qv_input_JoyY(0, 0);
    if (std::fabs(x) > 0.2f || std::fabs(y) > 0.2f) {
        m_AnaX = x;
        m_AnaY = y;
    }
    Ramp(p_PlayKey(control::kUp, 0, 0) == 1, p_PlayKey(control::kDown, 0, 0) == 1, m_RampY, m_AnaY);
    Ramp(p_PlayKey(control::kLeft, 0, 0) == 1, p_PlayKey(control::kRight, 0, 0) == 1, m_RampX, m_AnaX);
    m_AnaX = Clamp1(m_AnaX);
    m_AnaY = Clamp1(m_AnaY);
    m_RampX = Clamp1(m_RampX);
    m_RampY = Clamp1(m_RampY);

    if (qv_Vortan_DebugMode == 1 && (std::fabs(m_AnaX) > 0.05f || std::fabs(m_AnaY) > 0.05f)) {
        const float cx = qv_Vortan_jscrw - 64;
        const float cy = qv_Vortan_jscrh - 64;
        p_SetCol(0, 180, 250, 0.5f);
        p_Oval(cx, cy, 12, 12);
        p_Oval(cx + 52 * m_AnaX, cy + 52 * m_AnaY, 8, 8);
    }
    p_ResetDraw();
    return 0;
}
