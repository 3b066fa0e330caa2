// Logical controls: each code is held when any of its sources is. A player's sources are
// the keys and pad buttons bound to it, its pad's left thumbstick and, for player 1, the
// virtual pad fed by an iCade cabinet; the whole keyboard's default keys answer as the
// keyboard alone.
#include <algorithm>
#include <cmath>

#include "game/controls.h"

#include "game/bindings.h"

#include "framework/input.h"
#include "game/codes.h"
#include "game/default_controls.h"
#include "game/globals.h"
#include "game/my_app.h"

namespace {

using namespace control;

// A stick pushed beyond this counts as a direction.
constexpr float kStickPush = 0.4f;

// The controls p_PlayKey answers for: every one a player can hold, and a pad's Start.
bool Known(int code) {
    return code == kPadStart ||
           std::find(std::begin(kHeld), std::end(kHeld), code) != std::end(kHeld);
}

// Whether any of `count` codes is held: keys as they are, buttons on the player's own pad;
// with iCade on the keys the cabinet types are letters, not keys.
bool AnyHeld(const int* codes, int count, int player, bool icade) {
    for (int i = 0; i < count; ++i) {
        const int code = codes[i];
        if (code == binding::kEmpty) continue;
        if (binding::IsButton(code)) {
            if (qv_input_KeyDown(key_space::JoystickKey(player, code - binding::ButtonCode(0))))
                return true;
        } else if (!(icade && binding::TypedByCabinet(code)) && qv_input_KeyDown(code)) {
            return true;
        }
    }
    return false;
}

bool DefaultHeld(int layout, int code, int player, bool icade) {
    return AnyHeld(default_controls::Codes(layout, code), default_controls::kMostCodes, player,
                   icade);
}

// Whether the player's left stick is pushed the way of a direction.
bool Pushed(c_MyApp& g, int code, int player) {
    switch (code) {
        case kUp: return g.p_StickY(pad::kLeftStick, player) < -kStickPush;
        case kDown: return g.p_StickY(pad::kLeftStick, player) > kStickPush;
        case kLeft: return g.p_StickX(pad::kLeftStick, player) < -kStickPush;
        case kRight: return g.p_StickX(pad::kLeftStick, player) > kStickPush;
        default: return false;
    }
}

// Whether the virtual pad presses the control: each control below 16 has an element of
// its own, back the cabinet's two back buttons and the menu button.
bool VirtualPadHolds(const Array<int>& pad, int code) {
    if (code == kBack) {
        return pad[virtual_pad::kBackA] != virtual_pad::kUp ||
               pad[virtual_pad::kBackB] != virtual_pad::kUp ||
               pad[virtual_pad::kMenu] != virtual_pad::kUp;
    }
    return code >= 0 && code <= kRightShoulder && pad[code] != virtual_pad::kUp;
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
    const bool icade = qv_Vortan_iCadeControls == 1;
    if (code == kPadBack) {
        // The pad's back has back's sources, but never for the keyboard alone nor with iCade on.
        if (icade || player < 0) return 0;
        code = kBack;
    }
    if (!Known(code) || player >= pad::kPads) return 0;
    const bool keyboard = DefaultHeld(default_controls::kWholeKeyboard, code, 0, icade);
    if (player < 0) return keyboard || VirtualPadHolds(m_ICade, code) ? 1 : 0;
    const int action = binding::ActionIndex(code);
    // Controls no table binds keep their defaults, the keyboard's for player 1.
    const bool bound = action >= 0 ? AnyHeld(BindingSlots(*this, player, action), binding::kSlots,
                                             player, icade)
                                   : DefaultHeld(default_controls::kPad, code, player, icade) ||
                                         (player == 0 && keyboard);
    const bool stick = allowStick == 1 && !icade && Pushed(*this, code, player);
    // The cabinet stands in for the keyboard: it plays for player 1.
    const bool cabinet = player == 0 && VirtualPadHolds(m_ICade, code);
    return bound || stick || cabinet ? 1 : 0;
}

// The menus ask everyone at once: the whole keyboard, and each player's bindings or its
// pad's default buttons, so a pad still works the menus whatever its player has rebound.
int c_MyApp::p_PlayKeyAll(int code, int allowStick) {
    int sum = p_PlayKey(code, allowStick, kKeyboardAlone);
    const bool icadeBack = code == kPadBack && qv_Vortan_iCadeControls == 1;
    for (int p = 0; p < pad::kPads; ++p) {
        const bool fixed = !icadeBack && DefaultHeld(default_controls::kPad,
                                                     code == kPadBack ? kBack : code, p, false);
        sum += p_PlayKey(code, allowStick, p) == 1 || fixed ? 1 : 0;
    }
    return sum;
}

bool PressFree(const c_MyApp& g) { return g.m_AnyKeyHeld == 0 && g.m_KeyUsed == 0; }

void TakePress(c_MyApp& g) {
    g.m_AnyKeyHeld = 1;
    g.m_KeyUsed = 1;
}

bool AnyPlayerHolds(c_MyApp& g, int code) { return g.p_PlayKeyAll(code, 1) > 0; }

namespace {

float Clamp1(float v) { return std::min(1.0f, std::max(-1.0f, v)); }

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
    // Player 1's left stick, read as p_StickY reads it.
    const float x = p_StickX(pad::kLeftStick, 0);
    const float y = p_StickY(pad::kLeftStick, 0);
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
