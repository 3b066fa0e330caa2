// Pause panel of a round: the frozen play field dimmed, "PAUSED", four controls (quit,
// resume, options, the Controls screen) and a trail toy for the waiting players.
#include <algorithm>
#include <cmath>

#include "game/codes.h"
#include "game/controls.h"
#include "game/degrees.h"
#include "game/gear.h"
#include "game/globals.h"
#include "game/my_app.h"

using namespace control;

namespace {

constexpr int kTrailPoints = 102;
constexpr float kMaxTrailSpeed = 128;
constexpr int kPanelStep = 24;
constexpr const char* kControlsLabel = "Controls";

void MovePanel(c_MyApp& g, float h) {
    int& s = g.m_PauseSlide;
    if (g.m_PauseSel == 1) {
        if (s < h / 2) s += kPanelStep;
    } else if (g.m_PauseSel == -1) {
        if (s < -63) {
            g.m_Paused = 0;
        } else {
            s -= kPanelStep;
            if (s < -32) g.m_Paused = 0;
        }
    }
}

void TrailKeys(c_MyApp& g, float maxRadius) {
    if (AnyPlayerHolds(g, kUp)) g.m_TrailRadius -= 1;
    if (AnyPlayerHolds(g, kDown)) g.m_TrailRadius += 1;
    g.m_TrailRadius = std::clamp(g.m_TrailRadius, 0.0f, std::max(maxRadius, 0.0f));
    if (AnyPlayerHolds(g, kLeft)) g.m_TrailSpeed -= 0.25f;
    if (AnyPlayerHolds(g, kRight)) g.m_TrailSpeed += 0.25f;
    g.m_TrailSpeed = std::clamp(g.m_TrailSpeed, 0.0f, kMaxTrailSpeed);
}

float Clamp255(float v) { return std::clamp(v, 0.0f, 255.0f); }

// Draws the kept tip positions as a doubled line, oldest (darkest) first, and shifts
// them down by one so the newest slot is free for the next tip.
void DrawTrail(c_MyApp& g, float tipX, float tipY) {
    float* t = g.m_Trail.Data();
    t[2 * (kTrailPoints - 1)] = tipX;
    t[2 * (kTrailPoints - 1) + 1] = tipY;
    for (int j = 0; j < kTrailPoints - 1; ++j) {
        const float theta = 2.0f * j + g.m_TrailHue;
        const float fj = float(j);
        g.p_SetCol(Clamp255(fj + fj * SinDeg(theta)), Clamp255(fj + fj * CosDeg(theta)),
                   Clamp255(fj - fj * CosDeg(theta)), 1);
        float* a = t + 2 * j;
        g.p_Line(a[0], a[1], a[2], a[3]);
        g.p_Line(a[0] - 0.5f, a[1] - 0.5f, a[2] - 0.5f, a[3] - 0.5f);
        a[0] = a[2];
        a[1] = a[3];
    }
}

void TapControl(c_MyApp& g, int row, float x, float y, float w, float h);

void DrawOptionsGear(c_MyApp& g, float x, float y, float size) {
    if (g.m_OptionsOpen == 0) g.m_GearAngle += 0.2f;
    const float gear = g.m_GearAngle;
    g.p_SetSize(size);
    DrawGear(g, x, y, 0.66f * gear, -0.33f * gear, -gear);
}

// The controls in cursor order, quit, resume, options and the Controls label: in
// landscape a column sliding in from the left, drawn smaller on a screen shorter than the
// reference; in portrait the icons in a row above the trail's circle, coming down from the
// top, and the label above them.
void DrawControls(c_MyApp& g, float w, float h, float trailTop) {
    const float s = float(g.m_PauseSlide);
    const float fit = qv_Vortan_HeightFit();
    float quitX, quitY, resumeX, resumeY, optX, optY, ctlX, ctlY;
    if (g.m_Landscape == 1) {
        quitX = resumeX = optX = ctlX = s - h / 2 + 64;
        quitY = 96 * fit;
        resumeY = 196 * fit;
        optY = 296 * fit;
        ctlY = 384 * fit;
    } else {
        quitY = resumeY = optY = s - h / 2 + trailTop - 48;
        quitX = w / 2 - 96;
        resumeX = w / 2;
        optX = w / 2 + 96;
        ctlX = w / 2;
        ctlY = quitY - 64;
    }

    const float icon = 64 * fit;
    TapControl(g, pause_row::kQuit, quitX, quitY, icon, icon);
    TapControl(g, pause_row::kResume, resumeX, resumeY, icon, icon);
    TapControl(g, pause_row::kOptions, optX, optY, icon, icon);
    TapControl(g, pause_row::kControls, ctlX, ctlY, 2 * icon, icon / 2);

    g.p_SetCol(255, 255, 255, 1);
    g.p_SetSize(2 * fit);
    g.p_DrawImg(picture::kIcons, resumeX, resumeY, frame::kGoIcon);
    g.p_DrawImg(picture::kIcons, quitX, quitY, frame::kQuitIcon);
    DrawOptionsGear(g, optX, optY, fit);
    const bool onControls = g.m_PauseRow == pause_row::kControls;
    g.p_SetCol(255, 255, onControls ? 100 : 255, 1);
    g.p_SetSize((onControls ? 2.0f : 1.5f) * fit);
    g.p_Text(ctlX, ctlY, kControlsLabel, 1, 1);
    if (onControls) return;

    float ringX = resumeX, ringY = resumeY;
    if (g.m_PauseRow == pause_row::kQuit) {
        ringX = quitX;
        ringY = quitY;
    } else if (g.m_PauseRow == pause_row::kOptions) {
        ringX = optX;
        ringY = optY;
    }
    g.p_SetCol(255, 255, 100, 1);
    g.p_SetSize(2.5f * fit);
    g.p_DrawImg(picture::kIcons, ringX, ringY, frame::kRingIcon);
}

void Resume(c_MyApp& g) {
    g.m_PauseSel = -1;
    g.p_PlaySFX(sound::kOpen, 0.5f);
}

void QuitRound(c_MyApp& g) {
    g.m_Paused = 0;
    g.m_PauseSel = -1;
    g.m_PauseSlide = -64;
    g.m_RoundOver = 1;
    g.m_QuitRound = -1;
    g.p_StopTune();  // as at a round's own end
    g.p_PlaySFX(sound::kOpen, 0.5f, 0.5f, 0);
}

void OpenOptions(c_MyApp& g) {
    g.m_OptionsOpen = 1;
    g.p_PlaySFX(sound::kOpen, 0.5f);
}

void OpenControls(c_MyApp& g) {
    g.p_OpenControls();
    g.p_PlaySFX(sound::kOpen, 0.5f);
}

// The action of each control, from the top: quit, resume, options, Controls.
void (*const kActions[])(c_MyApp&) = {QuitRound, Resume, OpenOptions, OpenControls};

// A tap on a control moves the cursor to it and acts, as the action key does there.
void TapControl(c_MyApp& g, int row, float x, float y, float w, float h) {
    if (g.m_AnyKeyHeld != 0 || !g.p_MouseIn_Centered(x, y, w, h)) return;
    g.m_PauseRow = row;
    kActions[row - pause_row::kQuit](g);
    g.m_AnyKeyHeld = 1;
}

void MoveCursor(c_MyApp& g, int row, float rate) {
    g.m_PauseRow = row;
    g.p_PlaySFX(sound::kClick, rate, 0.5f, 0);
}

// One cursor action per press; the first that acts holds the keys for the rest. The
// click sounds higher only when the cursor goes down from resume to options.
void CursorKeys(c_MyApp& g) {
    if (g.m_AnyKeyHeld != 0) return;
    const int row = g.m_PauseRow;
    if (row < pause_row::kQuit || row > pause_row::kControls) {
        // A cursor outside the four controls comes back to resume.
        g.m_PauseRow = pause_row::kResume;
        return;
    }
    if (AnyPlayerHolds(g, kJump)) {
        kActions[row - pause_row::kQuit](g);
    } else if (AnyPlayerHolds(g, kUp) && row > pause_row::kQuit) {
        MoveCursor(g, row - 1, 0.8f);
    } else if (AnyPlayerHolds(g, kDown) && row < pause_row::kControls) {
        MoveCursor(g, row + 1, row == pause_row::kResume ? 1.2f : 0.8f);
    } else {
        return;
    }
    g.m_AnyKeyHeld = 1;
}

}  // namespace

int c_MyApp::p_PauseMenu() {
    const float w = qv_Vortan_jscrw;
    const float h = qv_Vortan_jscrh;
    p_DoBG();
    p_DrawRound();  // the round as it stood when play stopped, dimmed as the panel opens
    p_SetCol(0, 0, 0, std::fabs(float(m_PauseSlide)) / (0.8f * h));
    p_Rect(0, 0, w, h);
    MovePanel(*this, h);

    m_TrailA1 = std::fmod(m_TrailA1 + 1, 360.0f);
    m_TrailA2 = std::fmod(m_TrailA2 + m_TrailSpeed, 360.0f);
    m_TrailHue = std::fmod(m_TrailHue + 1.5f, 360.0f);
    // The trail turns around "PAUSED", right of the controls' column in landscape and in
    // the middle in portrait, and keeps within the screen.
    const float cx = m_Landscape == 1 ? w / 2 + 96 : w / 2, cy = h / 2;
    const float big = std::min({0.45f * h, 0.45f * (w - 96), w - 8 - cx});
    const float r = m_TrailRadius;
    const float tipX = cx + (big - r) * SinDeg(m_TrailA1) + r * SinDeg(m_TrailA2);
    const float tipY = cy - (big - r) * CosDeg(m_TrailA1) - r * CosDeg(m_TrailA2);
    TrailKeys(*this, big);

    p_SetCol(100, 255, 100, 0.8f);
    p_SetSize(1);
    p_Text(w - 8, h - 8, String(int(m_TrailRadius)) + ":" + String(int(m_TrailSpeed)), 2, 2);

    DrawTrail(*this, tipX, tipY);

    p_SetCol(255, 255, 255, 1);
    p_SetSize(4);
    p_Text(cx, cy, "PAUSED", 1, 1);

    DrawControls(*this, w, h, cy - big);
    CursorKeys(*this);
    if (m_AnyKeyHeld == 0 && AnyPlayerHolds(*this, kBack)) {
        Resume(*this);
        m_AnyKeyHeld = 1;
    }
    p_ResetDraw();
    return 0;
}
