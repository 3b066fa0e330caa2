// Options box and the full-screen switch. The box slides up over the menu or the pause
// panel, owns the keys while it is up, and saves every setting when it closes.
#include <algorithm>
#include <cmath>

#include "audio/audio_module.h"
#include "game/codes.h"
#include "game/controls.h"
#include "game/gear.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "host/glfw_game.h"

using namespace control;
using setting::kLeftStickY;
using setting::kRightStickY;
using setting::kSoundMode;

namespace {

constexpr int kSlideUp = 30;
constexpr int kRows = 5;          // rows below the back control
constexpr float kRowTextX = 100;  // the rows' texts start here and keep as far from the right edge

// Windowed size the switch returns to.
constexpr int kWindowW = 640, kWindowH = 480;

bool Locked(const c_MyApp& g) { return g.m_OptKeyLock != 0 || g.m_OptTapLock != 0; }

void Close(c_MyApp& g) {
    g.m_OptionsOpen = 0;
    g.p_PlaySFX(sound::kClick, 1);
    g.p_Save();
}

String RowText(c_MyApp& g, int row) {
    static const char* const kSound[sound_mode::kCount] = {"Sound : Off", "Sound : SFX + Music",
                                                           "Sound : SFX", "Sound : Music"};
    switch (row) {
        case 1: return kSound[g.m_Setting[kSoundMode]];  // loading keeps it in range
        case 2: return qv_Vortan_iCadeControls == 1 ? "iCade : On" : "iCade : Off";
        case 3: return g.m_Fullscreen == 1 ? "Windowed" : "Fullscreen";
        case 4:
            return g.m_Setting[kLeftStickY] == 1 ? "Left Thumbstick Y Normal"
                                                 : "Left Thumbstick Y Flipped";
        default:
            return g.m_Setting[kRightStickY] == 1 ? "Right Thumbstick Y Normal"
                                                  : "Right Thumbstick Y Flipped";
    }
}

void NextSoundMode(c_MyApp& g) {
    int& sound = g.m_Setting[kSoundMode];
    sound = (sound + 1) % sound_mode::kCount;
    if (sound == sound_mode::kOff || sound == sound_mode::kEffects) {
        qv_audio_StopMusic();
        g.m_MusicOn = 0;
    } else if (mode::InRound(g.m_Mode)) {
        g.p_PlayTune("-1", 1);
    }
}

void ActivateRow(c_MyApp& g, int row) {
    switch (row) {
        case 1: NextSoundMode(g); break;
        case 2:
            qv_Vortan_iCadeControls = 1 - qv_Vortan_iCadeControls;
            g.p_iCade(qv_Vortan_iCadeControls);
            for (int i = 0; i < g.m_ICade.Length(); ++i) g.m_ICade[i] = 0;
            break;
        case 3: g.p_FullscreenFlip(); break;
        default: {
            int& flag = g.m_Setting[row == 4 ? kLeftStickY : kRightStickY];
            flag = (flag + 1) % 2;
            break;
        }
    }
}

// The box is laid out for the reference screen: on a shorter one everything in it is
// drawn smaller toward the top (qv_Vortan_HeightFit), and on a narrow one the rows' texts
// shrink to fit.
float RowTextSize(c_MyApp& g, float w, float fit) {
    g.p_SetSize(2);
    float widest = 0;
    for (int k = 1; k <= kRows; ++k) {
        widest = std::max(widest, float(g.p_TextWidth(RowText(g, k)) + font::kAdvance * 2));
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

void Rows(c_MyApp& g, float w, float slide, float fit) {
    const bool action = AnyPlayerHolds(g, kButtons);
    const float textSize = RowTextSize(g, w, fit);
    for (int k = 1; k <= kRows; ++k) {
        const float y = (850 - 24 * slide + 40.0f * (k - 1)) * fit;
        if (k == g.m_OptRow && action && !Locked(g)) {
            ActivateRow(g, k);
            g.m_OptKeyLock = 1;
            g.m_OptTapLock = 1;
            g.p_PlaySFX(sound::kClick, 1);
        }
        if (k == g.m_OptRow) {
            g.p_SetCol(0, 180, 255, 0.5f);
        } else {
            g.p_SetCol(0, 0, 160, 0.5f);
        }
        g.p_SetSize(1);
        g.p_Rect(84, y - 2 * fit, w - 168, 24 * fit);
        g.p_SetCol(255, 255, 255, 1);
        g.p_SetSize(textSize);
        g.p_Text(kRowTextX, y, RowText(g, k), 0, 0);
    }
}

void Navigate(c_MyApp& g) {
    if (g.m_OptKeyLock != 0) return;
    if (g.m_OptRow == 0 && AnyPlayerHolds(g, {kRightShoulder, kJump, kStrike})) {
        Close(g);
        g.m_OptKeyLock = 1;
    } else if (AnyPlayerHolds(g, {kUp, kLeft})) {
        if (g.m_OptRow > 0) {
            g.m_OptRow -= 1;
            g.m_OptKeyLock = 1;
            g.p_PlaySFX(sound::kClick, 1);
        }
    } else if (AnyPlayerHolds(g, {kDown, kRight})) {
        if (g.m_OptRow < kRows) {
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
    m_AnyKeyHeld = 1;
    m_KeyUsed = 1;
    if (m_OptSlide != kSlideUp) {
        m_OptKeyLock = 1;
        m_OptTapLock = 1;
    }

    const float fit = qv_Vortan_HeightFit();
    p_SetCol(150, 150, 0, 0.85f);
    p_Rect(50, 720 - 24 * slide, w - 100, h);
    DrawGear(*this, slide, fit);

    if (!Locked(*this) && AnyPlayerHolds(*this, {kBack})) {
        Close(*this);
        m_AnyKeyHeld = 1;
        m_KeyUsed = 1;
    }

    p_SetCol(255, 255, 255, 1);
    p_SetSize(2 * fit);
    p_Text(12 * slide - 184, 60 * fit, "<[BACK]", 0, 1);
    Rows(*this, w, slide, fit);
    Navigate(*this);

    m_OptTapLock = 0;
    if (!AnyPlayerHolds(*this, kHeld)) {
        m_OptKeyLock = 0;
    }
    p_ResetDraw();
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
