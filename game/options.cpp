// Options box and the full-screen switch. The box slides up over the menu or the pause
// panel, owns the keys while it is up, and saves the settings at each change and when it
// closes, so a quit with the box open loses nothing.
#include <algorithm>
#include <cmath>

#include "audio/audio_module.h"
#include "game/bindings.h"
#include "game/codes.h"
#include "game/controls.h"
#include "game/gear.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/row_bar.h"
#include "host/glfw_game.h"

using namespace control;
using setting::kLeftStickY;
using setting::kRightStickY;
using setting::kSoundMode;

namespace {

constexpr int kSlideUp = 30;
constexpr float kRowTextX = 100;  // the rows' texts start here and keep as far from the right edge
constexpr float kRowStep = 32;    // from one row to the next on the reference screen
constexpr float kSetsTextSize = 1.5f;

// Windowed size the switch returns to.
constexpr int kWindowW = 640, kWindowH = 480;

bool Locked(const c_MyApp& g) { return g.m_OptKeyLock != 0 || g.m_OptTapLock != 0; }

void Close(c_MyApp& g) {
    g.m_OptionsOpen = 0;
    g.p_PlaySFX(sound::kClick, 1);
    g.p_Save();
}

String SoundText(c_MyApp& g) {
    static const char* const kSound[sound_mode::kCount] = {"Sound : Off", "Sound : SFX + Music",
                                                           "Sound : SFX", "Sound : Music"};
    return kSound[g.m_Setting[kSoundMode]];  // loading keeps it in range
}
String ICadeText(c_MyApp&) { return qv_Vortan_iCadeControls == 1 ? "iCade : On" : "iCade : Off"; }
String WindowText(c_MyApp& g) { return g.m_Fullscreen == 1 ? "Windowed" : "Fullscreen"; }
String LeftStickText(c_MyApp& g) {
    return g.m_Setting[kLeftStickY] == 1 ? "Left Thumbstick Y Normal" : "Left Thumbstick Y Flipped";
}
String RightStickText(c_MyApp& g) {
    return g.m_Setting[kRightStickY] == 1 ? "Right Thumbstick Y Normal"
                                          : "Right Thumbstick Y Flipped";
}
String MusicText(c_MyApp& g) { return String("Music : ") + String(g.m_MusicLevel); }
String EffectsText(c_MyApp& g) { return String("Effects : ") + String(g.m_EffectsLevel); }
String KeyboardText(c_MyApp& g) {
    return g.m_SplitKeyboard == 1 ? "Keyboard : Split for 2" : "Keyboard : Player 1";
}
String ControlsText(c_MyApp&) { return "Controls >"; }

// A row's action; `step` is +1 for an action key or right, -1 for left.
void NextSoundMode(c_MyApp& g, int) {
    int& sound = g.m_Setting[kSoundMode];
    sound = (sound + 1) % sound_mode::kCount;
    if (sound == sound_mode::kOff || sound == sound_mode::kEffects) {
        qv_audio_StopMusic();
        g.m_MusicOn = 0;
    } else if (mode::InRound(g.m_Mode)) {
        g.p_PlayTune("-1", 1);
    }
}

void SwitchICade(c_MyApp& g, int) {
    qv_Vortan_iCadeControls = 1 - qv_Vortan_iCadeControls;
    g.p_iCade(qv_Vortan_iCadeControls);
    for (int i = 0; i < g.m_ICade.Length(); ++i) g.m_ICade[i] = 0;
}

void FlipWindow(c_MyApp& g, int) { g.p_AskFullscreenFlip(); }
void FlipLeftStick(c_MyApp& g, int) { g.m_Setting[kLeftStickY] = 1 - g.m_Setting[kLeftStickY]; }
void FlipRightStick(c_MyApp& g, int) { g.m_Setting[kRightStickY] = 1 - g.m_Setting[kRightStickY]; }

// An action key steps a level up and from the top round to 0; left and right step it
// down and up, stopping at the ends.
int Stepped(int level, int step, bool wrap) {
    if (wrap && step > 0 && level == kLevelMax) return 0;
    return std::clamp(level + step, 0, kLevelMax);
}
void StepMusic(c_MyApp& g, int step, bool wrap) {
    g.m_MusicLevel = Stepped(g.m_MusicLevel, step, wrap);
    g.p_MusicLevelChanged();
}
void StepEffects(c_MyApp& g, int step, bool wrap) {
    g.m_EffectsLevel = Stepped(g.m_EffectsLevel, step, wrap);
}

void SwitchSplit(c_MyApp& g, int) { SetKeyboardSplit(g, 1 - g.m_SplitKeyboard); }

void OpenControls(c_MyApp& g, int) { g.p_OpenControls(); }

struct Row {
    String (*text)(c_MyApp&);
    void (*act)(c_MyApp&, int step);
    void (*level)(c_MyApp&, int step, bool wrap);  // rows of a level: left and right step it
};

// The rows below the back control, top to bottom.
const Row kRows[] = {
    {SoundText, NextSoundMode, nullptr},       {ICadeText, SwitchICade, nullptr},
    {WindowText, FlipWindow, nullptr},         {LeftStickText, FlipLeftStick, nullptr},
    {RightStickText, FlipRightStick, nullptr}, {MusicText, nullptr, StepMusic},
    {EffectsText, nullptr, StepEffects},       {KeyboardText, SwitchSplit, nullptr},
    {ControlsText, OpenControls, nullptr},
};
constexpr int kRowCount = sizeof(kRows) / sizeof(kRows[0]);

const Row& RowAt(int k) { return kRows[k - 1]; }

void Act(c_MyApp& g, int k, int step, bool wrap) {
    const Row& row = RowAt(k);
    if (row.level) {
        row.level(g, step, wrap);
    } else {
        row.act(g, step);
    }
    g.m_OptKeyLock = 1;
    g.m_OptTapLock = 1;
    g.p_PlaySFX(sound::kClick, 1);  // after the change: a new Effects level is heard at once
    g.p_Save();
}

// The box is laid out for the reference screen: on a shorter one everything in it is
// drawn smaller toward the top (qv_Vortan_HeightFit), and on a narrow one the rows' texts
// shrink to fit.
float RowTextSize(c_MyApp& g, float w, float fit) {
    g.p_SetSize(2);
    float widest = 0;
    for (int k = 1; k <= kRowCount; ++k) {
        widest = std::max(widest, float(g.p_TextWidth(RowAt(k).text(g)) + font::kAdvance * 2));
    }
    return std::min(2 * fit, 2 * (w - 2 * kRowTextX) / widest);
}

void DrawGear(c_MyApp& g, float slide, float fit) {
    g.m_GearAngle += 0.2f;
    const float gear = g.m_GearAngle;
    g.p_SetCol(255, 255, 255, 1);
    g.p_SetSize((g.m_OptRow == 0 ? 2.0f : 1.5f) * fit);
    DrawGear(g, 12 * slide - 260, 60 * fit, 0.66f * gear, -0.33f * gear, -gear);
}

float RowY(int k, float slide, float fit) { return (850 - 24 * slide + kRowStep * (k - 1)) * fit; }

void Rows(c_MyApp& g, float w, float slide, float fit) {
    const bool action = AnyPlayerHolds(g, kButtons);
    const float textSize = RowTextSize(g, w, fit);
    for (int k = 1; k <= kRowCount; ++k) {
        const float y = RowY(k, slide, fit);
        if (k == g.m_OptRow && action && !Locked(g)) Act(g, k, +1, true);
        if (!Locked(g) && g.p_MouseIn(84, y - 6 * fit, w - 168, kRowStep * fit)) {
            g.m_OptRow = k;  // a tap acts on its row as an action key on the cursor's
            Act(g, k, +1, true);
        }
        DrawRowBar(g, k == g.m_OptRow, 84, y - 2 * fit, w - 168, 24 * fit);
        g.p_SetCol(255, 255, 255, 1);
        g.p_SetSize(textSize);
        g.p_Text(kRowTextX, y, RowAt(k).text(g), 0, 0);
    }
}

// The keys in force for the keyboard's players (player 1, and player 2 on a split
// keyboard), under the rows, in a size that fits the bars' width.
void DrawKeysInForce(c_MyApp& g, float w, float slide, float fit) {
    const String sets[] = {KeysInForceText(g, 0),
                           g.m_SplitKeyboard == 1 ? KeysInForceText(g, 1) : String()};
    g.p_SetSize(1);
    const float widest = float(std::max(g.p_TextWidth(sets[0]), g.p_TextWidth(sets[1])) +
                               font::kAdvance);
    const float size = std::min(kSetsTextSize * fit, (w - 168) / widest);
    const float top = RowY(kRowCount + 1, slide, fit);
    g.p_SetCol(255, 255, 200, 1);
    g.p_SetSize(size);
    for (int i = 0; i < 2; ++i) {
        g.p_Text(84, top + i * (font::kLineHeight + 2) * size, sets[i], 0, 0);
    }
}

void Navigate(c_MyApp& g) {
    if (g.m_OptKeyLock != 0) return;
    const bool level = g.m_OptRow > 0 && RowAt(g.m_OptRow).level;
    if (g.m_OptRow == 0 && AnyPlayerHolds(g, {kRightShoulder, kJump, kStrike})) {
        Close(g);
        g.m_OptKeyLock = 1;
    } else if (level && AnyPlayerHolds(g, {kLeft, kRight})) {
        Act(g, g.m_OptRow, AnyPlayerHolds(g, kRight) ? +1 : -1, false);
    } else if (AnyPlayerHolds(g, {kUp, kLeft})) {
        if (g.m_OptRow > 0) {
            g.m_OptRow -= 1;
            g.m_OptKeyLock = 1;
            g.p_PlaySFX(sound::kClick, 1);
        }
    } else if (AnyPlayerHolds(g, {kDown, kRight})) {
        if (g.m_OptRow < kRowCount) {
            g.m_OptRow += 1;
            g.m_OptKeyLock = 1;
            g.p_PlaySFX(sound::kClick, 1);
        }
    }
}

}  // namespace

int c_MyApp::p_OptionBox() {
    const float w = qv_Vortan_jscrw;
    const float h = qv_Vortan_jscrh;
    const float slide = float(m_OptSlide);
    p_ResetDraw();
    TakePress(*this);
    if (m_OptSlide != kSlideUp || m_ControlsOpen != 0) {
        m_OptKeyLock = 1;
        m_OptTapLock = 1;
    }

    const float fit = qv_Vortan_HeightFit();
    p_SetCol(150, 150, 0, 0.85f);
    p_Rect(50, 720 - 24 * slide, w - 100, h);
    DrawGear(*this, slide, fit);

    // Back, or a tap on the gear or on "<[BACK]" beside it.
    const bool backTapped = p_MouseIn(40, 24 * fit, 240, 72 * fit);
    if (!Locked(*this) && (backTapped || AnyPlayerHolds(*this, {kBack}))) {
        Close(*this);
        TakePress(*this);
    }

    p_SetCol(255, 255, 255, 1);
    p_SetSize(2 * fit);
    p_Text(12 * slide - 184, 60 * fit, "<[BACK]", 0, 1);
    Rows(*this, w, slide, fit);
    DrawKeysInForce(*this, w, slide, fit);
    Navigate(*this);

    m_OptTapLock = 0;
    if (!AnyPlayerHolds(*this, kHeld)) {
        m_OptKeyLock = 0;
    }
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_AskFullscreenFlip() {
    m_FlipAsked = 1 - m_FlipAsked;
    return 0;
}

int c_MyApp::p_FullscreenFlip() {
    QvGlfwGame* host = QvGlfwGame::_glfwGame;
    if (!host) return 0;
    QvGlfwVideoMode* desktop = host->GetGlfwDesktopMode();
    if (!desktop) return 0;
    m_Fullscreen = 1 - m_Fullscreen;
    if (m_Fullscreen == 1) {
        host->SetGlfwWindow(desktop->width, desktop->height, desktop->redBits, desktop->greenBits,
                            desktop->blueBits, 0, 0, 0, true);
    } else {
        host->SetGlfwWindow(kWindowW, kWindowH, desktop->redBits, desktop->greenBits,
                            desktop->blueBits, 0, 0, 0, false);
    }
    return 0;
}
