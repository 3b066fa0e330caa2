// Logical controls: each code is held when any of its sources is, the keyboard, the
// player's game pad, the left thumbstick or the virtual pad fed by an iCade cabinet.
#include <algorithm>
#include <cmath>

#include "game/my_app.h"

namespace {

// Logical control codes.
constexpr int kUp = 0;
constexpr int kLeft = 3;
constexpr int kRight = 5;
constexpr int kDown = 8;

bool AnyKey(std::initializer_list<int> keys) {
    for (int k : keys) {
        if (qv_input_KeyDown(k)) return true;
    }
    return false;
}

// Buttons of game pad `player`; a player without a pad (-1) has none.
bool AnyPad(int player, std::initializer_list<int> buttons) {
    if (player < 0 || player >= 8) return false;
    for (int b : buttons) {
        if (qv_input_KeyDown(256 + 32 * player + b)) return true;
    }
    return false;
}

}  // namespace

float c_MyApp::p_StickX(int stick, int pad) {
    if (pad < 0 || pad > 3) return 0;
    return qv_input_JoyX(stick, pad);
}

float c_MyApp::p_StickY(int stick, int pad) {
    if (pad < 0 || pad > 3) return 0;
    const float y = qv_input_JoyY(stick, pad);
    return m_Setting[15 + stick] != 0 ? y : -y;
}

int c_MyApp::p_PlayKey(int code, int allowStick, int player) {
    const bool icade = qv_Vortan_iCadeControls == 1;
    const bool stick = allowStick == 1 && !icade && player >= 0;
    const Array<int>& pad = m_ICade;
    bool held = false;
    switch (code) {
        case kUp:
            held = AnyKey({38}) || (!icade && AnyKey({87})) || AnyPad(player, {9}) ||
                   (stick && p_StickY(0, player) < -0.4f) || pad[0] != 0;
            break;
        case kLeft:
            held = AnyKey({37}) || (!icade && AnyKey({65})) || AnyPad(player, {8}) ||
                   (stick && p_StickX(0, player) < -0.4f) || pad[3] != 0;
            break;
        case kRight:
            held = AnyKey({39}) || (!icade && AnyKey({68})) || AnyPad(player, {10}) ||
                   (stick && p_StickX(0, player) > 0.4f) || pad[5] != 0;
            break;
        case kDown:
            held = AnyKey({40}) || (!icade && AnyKey({83})) || AnyPad(player, {11}) ||
                   (stick && p_StickY(0, player) > 0.4f) || pad[8] != 0;
            break;
        case 10:
            held = AnyKey({32, 13}) || (!icade && AnyKey({90, 74})) || AnyPad(player, {0}) ||
                   pad[10] != 0;
            break;
        case 11:
            held = AnyKey({17}) || (!icade && AnyKey({88, 75})) || AnyPad(player, {1}) ||
                   pad[11] != 0;
            break;
        case 12:
            held = AnyKey({16}) || (!icade && AnyKey({67, 76})) || AnyPad(player, {2}) ||
                   pad[12] != 0;
            break;
        case 13:
            held = (!icade && AnyKey({86, 73})) || AnyPad(player, {3}) || pad[13] != 0;
            break;
        case 14:
            held = (!icade && AnyKey({66, 85})) || AnyPad(player, {4}) || pad[14] != 0;
            break;
        case 15:
            held = (!icade && AnyKey({78, 79})) || AnyPad(player, {5}) || pad[15] != 0;
            break;
        case 98:
        case 99:
            // With iCade on, and for the keyboard alone, 98 is never held.
            if (code == 98 && (icade || player < 0)) break;
            held = AnyKey({27, 46, 8}) || (!icade && AnyKey({192})) ||
                   AnyPad(player, {6, 7, 14}) || pad[16] != 0 || pad[17] != 0 || pad[19] != 0;
            break;
        default:
            break;
    }
    return held ? 1 : 0;
}

int c_MyApp::p_PlayKeyAll(int code, int allowStick) {
    int sum = 0;
    for (int p = 0; p < 4; ++p) sum += p_PlayKey(code, allowStick, p);
    return sum;
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
    const float y = m_Setting[15] != 0 ? qv_input_JoyY(0, 0) : -qv_input_JoyY(0, 0);
    if (std::fabs(x) > 0.2f || std::fabs(y) > 0.2f) {
        m_AnaX = x;
        m_AnaY = y;
    }
    Ramp(p_PlayKey(kUp, 0, 0) == 1, p_PlayKey(kDown, 0, 0) == 1, m_RampY, m_AnaY);
    Ramp(p_PlayKey(kLeft, 0, 0) == 1, p_PlayKey(kRight, 0, 0) == 1, m_RampX, m_AnaX);
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
