// Logical controls: each code is held when any of its sources is, the keyboard, the
// player's game pad, the left thumbstick or the virtual pad fed by an iCade cabinet.
#include <algorithm>
#include <cmath>
#include <vector>

#include "game/controls.h"

#include "framework/input.h"
#include "game/codes.h"
#include "game/globals.h"
#include "game/my_app.h"

namespace {

using namespace control;

// A stick pushed beyond this counts as a direction.
constexpr float kStickPush = 0.4f;
// The pads whose buttons the input device keeps apart.
constexpr int kPadPorts = 8;

// The way the left stick counts as a direction.
enum class Push { kNone, kUp, kDown, kLeft, kRight };

// The sources of one logical control; any of them holds it.
struct Sources {
    int code;
    std::vector<int> keys;      // always read
    std::vector<int> letters;   // read only with iCade off, when the cabinet types letters
    std::vector<int> buttons;   // of the player's own pad
    Push stick;                 // when the caller lets the stick count
    std::vector<int> elements;  // of the virtual pad
};

const Sources kSources[] = {
    {kUp, {key::kUp}, {'W'}, {pad::kUp}, Push::kUp, {kUp}},
    {kLeft, {key::kLeft}, {'A'}, {pad::kLeft}, Push::kLeft, {kLeft}},
    {kRight, {key::kRight}, {'D'}, {pad::kRight}, Push::kRight, {kRight}},
    {kDown, {key::kDown}, {'S'}, {pad::kDown}, Push::kDown, {kDown}},
    {kJump, {key::kSpace, key::kEnter}, {'Z', 'J'}, {pad::kA}, Push::kNone, {kJump}},
    {kStrike, {key::kControl}, {'X', 'K'}, {pad::kB}, Push::kNone, {kStrike}},
    {kButtonX, {key::kShift}, {'C', 'L'}, {pad::kX}, Push::kNone, {kButtonX}},
    {kButtonY, {}, {'V', 'I'}, {pad::kY}, Push::kNone, {kButtonY}},
    {kLeftShoulder, {}, {'B', 'U'}, {pad::kLeftShoulder}, Push::kNone, {kLeftShoulder}},
    {kRightShoulder, {}, {'N', 'O'}, {pad::kRightShoulder}, Push::kNone, {kRightShoulder}},
    {kPadStart, {}, {}, {pad::kStart}, Push::kNone, {}},
    {kBack,
     {key::kEscape, key::kDelete, key::kBackspace},
     {key::kGrave},
     {pad::kBack, pad::kStart, pad::kExtra},
     Push::kNone,
     {virtual_pad::kBackA, virtual_pad::kBackB, virtual_pad::kMenu}},
};

const Sources* SourcesOf(int code) {
    for (const Sources& s : kSources) {
        if (s.code == code) return &s;
    }
    return nullptr;
}

bool AnyKey(const std::vector<int>& keys) {
    for (int k : keys) {
        if (qv_input_KeyDown(k)) return true;
    }
    return false;
}

// Buttons of game pad `player`; a player without a pad (-1) has none.
bool AnyButton(int player, const std::vector<int>& buttons) {
    if (player < 0 || player >= kPadPorts) return false;
    for (int b : buttons) {
        if (qv_input_KeyDown(kKeyJoystickBase + pad::kButtonsPerPad * player + b)) return true;
    }
    return false;
}

bool Pushed(c_MyApp& g, Push way, int player) {
    switch (way) {
        case Push::kUp: return g.p_StickY(pad::kLeftStick, player) < -kStickPush;
        case Push::kDown: return g.p_StickY(pad::kLeftStick, player) > kStickPush;
        case Push::kLeft: return g.p_StickX(pad::kLeftStick, player) < -kStickPush;
        case Push::kRight: return g.p_StickX(pad::kLeftStick, player) > kStickPush;
        default: return false;
    }
}

bool AnyElement(const Array<int>& virtualPad, const std::vector<int>& elements) {
    for (int e : elements) {
        if (virtualPad[e] != virtual_pad::kUp) return true;
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
    const bool icade = qv_Vortan_iCadeControls == 1;
    if (code == kPadBack) {
        // The pad's back has back's sources, but never for the keyboard alone nor with iCade on.
        if (icade || player < 0) return 0;
        code = kBack;
    }
    const Sources* s = SourcesOf(code);
    if (!s) return 0;
    const bool stick = allowStick == 1 && !icade && player >= 0;
    const bool held = AnyKey(s->keys) || (!icade && AnyKey(s->letters)) ||
                      AnyButton(player, s->buttons) || (stick && Pushed(*this, s->stick, player)) ||
                      AnyElement(m_ICade, s->elements);
    return held ? 1 : 0;
}

int c_MyApp::p_PlayKeyAll(int code, int allowStick) {
    int sum = 0;
    for (int p = 0; p < pad::kPads; ++p) sum += p_PlayKey(code, allowStick, p);
    return sum;
}

bool AnyPlayerHolds(c_MyApp& g, int code) { return g.p_PlayKeyAll(code, 1) > 0; }

bool AnyPlayerHolds(c_MyApp& g, std::initializer_list<int> codes) {
    for (int code : codes) {
        if (AnyPlayerHolds(g, code)) return true;
    }
    return false;
}

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
