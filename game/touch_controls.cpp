// The touch controls of a round (see touch_controls.h).
#include "game/touch_controls.h"

#include <algorithm>
#include <cmath>

#include "game/codes.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/round_records.h"

using namespace control;

namespace {

// In virtual units: a thumb's width or more on a phone, whose screen is 640 units wide.
constexpr float kMargin = 24, kStickRadius = 48, kKnobRadius = 20, kButtonRadius = 36;
// A finger this far from a button's middle still presses the nearer button.
constexpr float kButtonReach = 1.6f * kButtonRadius;
// A thumb resting near the stick's middle walks nowhere; beyond, a push counts on an
// axis when that axis holds this share of it, so the stick has eight ways of 45 degrees.
constexpr float kDeadZone = 0.25f * kStickRadius, kAxisShare = 0.38f;
// Taps this near the top left corner, where the pause icon stands, pause the round.
constexpr float kPauseReach = 52;
constexpr int kFingers = 10;

struct Place {
    float x, y;
};

Place StickPlace() { return {kMargin + kStickRadius, qv_Vortan_jscrh - kMargin - kStickRadius}; }
Place JumpPlace() {
    return {qv_Vortan_jscrw - kMargin - kButtonRadius, qv_Vortan_jscrh - kMargin - kButtonRadius};
}
// Left of Jump, as low: the round's first prompts to join stand above both.
Place StrikePlace() {
    const Place jump = JumpPlace();
    return {jump.x - 2.3f * kButtonRadius, jump.y};
}

float Distance(float x, float y, Place p) { return std::hypot(x - p.x, y - p.y); }

// What the held fingers press: the first finger on the left half steers the stick, the
// others press the button they are nearer to when they are near one.
struct TouchPad {
    bool steering = false;
    float pushX = 0, pushY = 0;  // from the stick's middle to the steering finger
    bool jump = false, strike = false;
};

TouchPad ReadPad(const c_MyApp& g) {
    TouchPad pad;
    const Place stick = StickPlace(), jump = JumpPlace(), strike = StrikePlace();
    for (int i = 0; i < kFingers; ++i) {
        float x, y;
        if (!HeldFinger(g, i, x, y)) continue;
        if (x < qv_Vortan_jscrw / 2) {
            if (pad.steering) continue;
            pad.steering = true;
            pad.pushX = x - stick.x;
            pad.pushY = y - stick.y;
            continue;
        }
        const float toJump = Distance(x, y, jump), toStrike = Distance(x, y, strike);
        if (std::min(toJump, toStrike) > kButtonReach) continue;
        (toJump < toStrike ? pad.jump : pad.strike) = true;
    }
    return pad;
}

// Pressed for this update only; the next update presses it again while it is held. An
// element a cabinet holds stays held.
void Press(c_MyApp& g, int element) {
    if (g.m_ICade[element] == virtual_pad::kUp) g.m_ICade[element] = virtual_pad::kPressed;
}

void PressStick(c_MyApp& g, const TouchPad& pad) {
    const float push = std::hypot(pad.pushX, pad.pushY);
    if (!pad.steering || push < kDeadZone) return;
    if (pad.pushX > kAxisShare * push) Press(g, kRight);
    if (pad.pushX < -kAxisShare * push) Press(g, kLeft);
    if (pad.pushY < -kAxisShare * push) Press(g, kUp);
    if (pad.pushY > kAxisShare * push) Press(g, kDown);
}

bool TappedNearCorner(const c_MyApp& g) {
    for (int i = 0; i < kFingers; ++i) {
        if (g.m_TouchDown[i] != 0 && Distance(g.m_TouchX[i], g.m_TouchY[i], {0, 0}) < kPauseReach)
            return true;
    }
    return false;
}

void DrawStick(c_MyApp& g, const TouchPad& pad) {
    const Place stick = StickPlace();
    // The pad pictures' stick: a base of radius 15 and a knob of radius 10 in their cells.
    g.p_SetCol(255, 255, 255, pad.steering ? 0.8f : 0.5f);
    g.p_SetSize(kStickRadius / 15);
    g.p_DrawImg(picture::kDpad, stick.x, stick.y,
                pad.steering ? frame::kStickBaseLit : frame::kStickBase);
    const float push = std::hypot(pad.pushX, pad.pushY);
    const float reach = push > kStickRadius ? kStickRadius / push : 1;
    g.p_SetSize(kKnobRadius / 10);
    g.p_DrawImg(picture::kDpad, stick.x + reach * pad.pushX, stick.y + reach * pad.pushY,
                pad.steering ? frame::kStickKnobLit : frame::kStickKnob);
}

struct Colour {
    float r, g, b;
};

void DrawButton(c_MyApp& g, Place at, const char* name, bool pressed, Colour c) {
    g.p_SetCol(0, 0, 0, 0.45f);
    g.p_Oval(at.x, at.y, kButtonRadius, kButtonRadius);
    g.p_SetCol(c.r, c.g, c.b, pressed ? 0.9f : 0.45f);
    g.p_Oval(at.x, at.y, kButtonRadius - 4, kButtonRadius - 4);
    g.p_SetCol(255, 255, 255, 1);
    g.p_SetSize(1.5f);
    g.p_Text(at.x, at.y, name, 1, 1);
}

}  // namespace

void PressTouchControls(c_MyApp& g) {
    if (g.m_LoadStage != 0 || g.m_Mode != mode::kRound || g.m_Paused != 0) return;
    if (g.m_RoundOver >= 1) {
        // The game-over panel leaves at a press: a tap anywhere is one.
        if (g.m_PointerDown > 0) Press(g, kJump);
        return;
    }
    // Nothing to read about joining: player 1 comes in at once.
    if (round_records::Record(g, round_records::kFirstPlayer)[round_records::kHealth] == 0)
        Press(g, kJump);
    if (TappedNearCorner(g)) Press(g, virtual_pad::kBackA);
    const TouchPad pad = ReadPad(g);
    PressStick(g, pad);
    if (pad.jump) Press(g, kJump);
    if (pad.strike) Press(g, kStrike);
}

void DrawTouchControls(c_MyApp& g) {
    if (g.m_InputKind != input_kind::kPointer || g.m_Paused != 0 || g.m_RoundOver >= 1) return;
    const TouchPad pad = ReadPad(g);
    g.p_SetRot(0);
    DrawStick(g, pad);
    DrawButton(g, JumpPlace(), "Jump", pad.jump, {70, 200, 90});
    DrawButton(g, StrikePlace(), "Strike", pad.strike, {230, 70, 60});
    // A plate under the pause icon (drawn next), as large as the place that takes its taps.
    g.p_SetCol(0, 0, 0, 0.35f);
    g.p_Oval(0, 0, kPauseReach, kPauseReach);
    g.p_ResetDraw();
}
