// Title menu and credits: three columns (options gear, difficulty wheel, side panel),
// the highscore lists of the chosen difficulty and, with the side panel open, the
// credits ticker and the debug statistics; back on the title asks before quitting.
#include <algorithm>
#include <cmath>

#include "framework/app.h"
#include "game/codes.h"
#include "game/controls.h"
#include "game/degrees.h"
#include "game/gear.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/quit_question.h"
#include "game/round_records.h"
#include "game/table_layouts.h"

using namespace control;

namespace {

constexpr int kColGear = 0, kColWheel = 1, kColPanel = 2;

// The wheel's key repeat (its timer and delay) borrows player 1's x and y in the fighter
// table: the menu and a round never run at once, a round clears the table when it is set
// up, and the menu resets both whenever neither up nor down is held.
float* PlayerOne(c_MyApp& g) { return round_records::Record(g, round_records::kFirstPlayer); }
float& RepeatTimer(c_MyApp& g) { return PlayerOne(g)[round_records::kX]; }
float& RepeatDelay(c_MyApp& g) { return PlayerOne(g)[round_records::kY]; }
constexpr int kFirstRepeat = 30, kRepeatStep = 12, kFastestRepeat = 3;

constexpr int kCreditsShown = 63;   // the last credits line is the list's end marker
constexpr float kStripWidth = 140;  // the side panel's strip while the panel is closed

// The title and the wheel are laid out for the reference screen. A shorter screen shrinks
// both toward their corners, the title toward the top and the wheel toward the bottom
// left, so they keep apart; a narrower one shrinks the title to the room left of the
// side panel's strip.
float TitleFit(float w) {
    return std::min(qv_Vortan_HeightFit(), (w - kStripWidth) / (qv_Vortan_rawscrw - kStripWidth));
}

// Every player's keys and pads work the title alike.
bool Held(c_MyApp& g, int code) { return AnyPlayerHolds(g, code); }

// The game-over panel still closing over the menu keeps the keys from it.
bool CanAct(const c_MyApp& g) { return PressFree(g) && g.m_OverTimer <= 0; }

void DrawGrid(c_MyApp& g, float w, float h) {
    const int t = qv_app_Millisecs();
    const int a = (t % 640) / 10;
    const int b = (t % 1280) / 20;
    g.p_SetCol(0, 40, 120);
    for (int k = -3; k <= 13; ++k) {
        g.p_Line(float(a + 64 * k), -128, float(a + 64 * k), h + 128);
        g.p_Line(-128, float(b + 64 * k), w + 128, float(b + 64 * k));
    }
}

void FlickerTitle(c_MyApp& g) {
    g.m_TitlePhase += g.m_TitleSpeed;
    if (60 * qv_random_Rnd() < 1) g.m_TitleSpeed = 0.4f + 1.6f * qv_random_Rnd();
    const float f = std::fmod(g.m_TitlePhase, 90.0f) / 90.0f;
    const float base = f < 0.1f ? 1.0f : (f < 0.4f ? 0.45f : 0.75f);
    g.m_TitleAlpha = base - 0.1f + 0.1f * qv_random_Rnd();
}

void DrawTitle(c_MyApp& g, float w, float p, float slide) {
    const float x = (w - p) * 0.6f;
    const float fit = TitleFit(w);
    g.p_SetCol(255, 255, 255, g.m_TitleAlpha);
    g.p_SetSize(1.5f * fit);
    g.p_DrawImg(picture::kTitleBottom, x - 12 * slide, 96 * fit, 0);
    g.p_Alpha(1);
    g.p_DrawImg(picture::kTitleTop, x + 12 * slide, 96 * fit, 0);
}

void DrawPanelStrip(c_MyApp& g, float w, float h, float p, float slide) {
    const bool chosen = g.m_MenuCol == kColPanel;
    const float x0 = w - p - 8 * slide;
    g.p_SetSize(1);
    g.p_SetCol(255, 255, 255, chosen ? 1.0f : 0.2f);
    g.p_Rect(x0 - 2, -128, 3, h + 128);
    g.p_SetCol(0, 0, 0, chosen ? 0.75f : 0.45f);
    g.p_Rect(x0, -128, p + 32, h + 128);
    if (g.m_MenuCol == kColWheel) {
        g.p_SetCol(100, 255, 100, 0.5f);
        g.p_SetSize(3);
        g.p_DrawImg(picture::kIcons, w - p / 2, h - 48, frame::kGoIcon);
    }
}

String ScoreList(c_MyApp& g, String heading, int first, int rows) {
    String text = heading;
    for (int i = 0; i < rows; ++i)
        text += String("\\n") + g.p_rstr(g.m_HiScore[first + i], 11, " ");
    return text;
}

void DrawHighscores(c_MyApp& g, float w, float h, float p, float slide) {
    const float rowHeight = 1.5f * float(CellHeight(g, g.m_Font));
    int rows = rowHeight > 0 ? int(std::floor((h / 2 - 90) / rowHeight)) : 1;
    rows = std::clamp(rows, 1, high_scores::kListLength);
    const int d = high_scores::GroupOf(g.m_Difficulty);
    const float x = w - p - 4 * slide + 20;
    g.p_SetSize(1.5f);
    g.p_SetCol(255, 200, 100, 1);
    const String top = rows == 1 ? String("Highscore") : String("Top ") + String(rows);
    g.p_Text(x, 60, ScoreList(g, top, high_scores::BestIndex(d, 0), rows), 0, 0);
    g.p_SetCol(200, 255, 100, 1);
    const String last = rows == 1 ? String("Last") : String("Last ") + String(rows);
    g.p_Text(x, h / 2 + 20, ScoreList(g, last, high_scores::LastIndex(d, 0), rows), 0, 0);
}

bool TouchIn(c_MyApp& g, float cx, float cy, float half) {
    for (int i = 0; i < g.m_TouchDown.Length(); ++i) {
        if (g.m_TouchDown[i] == 0) continue;
        if (std::fabs(g.m_TouchX[i] - cx) < half && std::fabs(g.m_TouchY[i] - cy) < half)
            return true;
    }
    return false;
}

void OpenOptions(c_MyApp& g) {
    g.m_OptionsOpen = 1;
    g.m_KeyUsed = 1;
    g.p_PlaySFX(sound::kClick, 1);
}

void TapPlate(c_MyApp& g, int k);

void WheelTouches(c_MyApp& g, float cx, float cy) {
    const bool onHub = TouchIn(g, cx, cy, 32);
    if (onHub && PressFree(g) && g.m_PanelB == 0 && g.m_OptionsOpen == 0) {
        OpenOptions(g);
        g.m_MenuCol = kColGear;
    } else if (!onHub && TouchIn(g, cx, cy, 250) && g.m_KeyUsed < 1) {
        g.m_MenuCol = kColWheel;
    }
}

void DrawWheel(c_MyApp& g, float h, float slide) {
    const float fit = qv_Vortan_HeightFit();
    const float cx = 38 + 12 * slide;
    const float cy = float(int(h - 64 * fit - 8 * slide));

    g.m_WheelAngle += (g.m_WheelTarget - g.m_WheelAngle) / 8;
    if (std::fabs(g.m_WheelTarget - g.m_WheelAngle) < 0.5f) g.m_WheelAngle = g.m_WheelTarget;

    g.p_SetCol(255, 255, 255, g.m_MenuCol == kColGear ? 0.8f : 0.25f);
    g.p_SetSize(0.5f * fit);
    g.p_DrawImg(picture::kCircles, cx, cy, frame::kHubDisc);

    g.p_SetCol(255, 255, 255, 1);
    g.p_SetSize(1.5f * fit);
    if (g.m_MenuCol == kColGear) g.m_GearAngle = std::fmod(g.m_GearAngle + 0.3f, 360.0f);
    const float gear = g.m_GearAngle;
    DrawGear(g, cx, cy, -gear, 2 * gear, -4 * gear);

    g.p_SetSize(1.5625f * fit);
    g.p_SetRot(-g.m_WheelAngle);
    g.p_Alpha(g.m_MenuCol == kColWheel ? 0.8f : 0.25f);
    g.p_DrawImg(picture::kCircles, cx, cy, frame::kWheelRim);

    WheelTouches(g, cx, cy);

    g.p_Alpha(g.m_MenuCol == kColWheel ? 1.0f : 0.3f);
    for (int k = 0; k < 3; ++k) {
        const float a = 32.0f * k + 48 + g.m_WheelAngle;
        const float off = std::fabs(a - 45);
        const float bulge = off <= 45 ? (45 - off) * 1.5f : 0;
        const float radius = (116 + bulge) * fit;
        const float x = cx + radius * SinDeg(a);
        const float y = cy - radius * CosDeg(a);
        const float size = (k == g.m_WheelSel ? 1.75f : 0.75f) * fit;
        g.p_SetRot(-(a - 55) * 0.5f);
        g.p_SetSize(size);
        g.p_DrawImg(picture::kButtons, x, y, float(frame::kEasyPlate + k));
        if (g.p_MouseIn_Centered(x, y, 64 * size, 56 * size)) TapPlate(g, k);
        g.p_SetSize(1.5f * size);
        g.p_Text(x, y, qv_Vortan_MenuSet[2 * k], 1, 1);
    }
    g.p_SetRot(0);
    g.p_SetSize(1);
    g.p_Alpha(1);
}

// The round starts at the wheel's difficulty in the next update.
void StartRound(c_MyApp& g) {
    bool keyboardAction = false;
    for (int code : kButtons) {
        keyboardAction = g.p_PlayKey(code, 0, kKeyboardAlone) == 1;
        if (keyboardAction) break;
    }
    g.m_InputKind = keyboardAction ? 0 : 1;
    g.m_KeyUsed = 1;
    g.m_Mode = mode::kRoundSetUp;
}

// A tap on a plate turns the wheel to it; on the chosen plate it starts the round.
void TapPlate(c_MyApp& g, int k) {
    if (!CanAct(g) || g.m_QuitAsked != 0) return;
    g.m_MenuCol = kColWheel;
    if (k == g.m_WheelSel) {
        g.p_PlaySFX(sound::kOpen, 1);
        g.m_AnyKeyHeld = 1;
        StartRound(g);
        return;
    }
    g.m_WheelSel = k;
    g.m_WheelTarget = -32.0f * k;
    TakePress(g);
    g.p_PlaySFX(sound::kClick, 1);
}

void ActivateColumn(c_MyApp& g) {
    switch (g.m_MenuCol) {
        case kColGear: OpenOptions(g); break;
        case kColWheel: StartRound(g); break;
        default:
            g.m_KeyUsed = 1;
            g.m_PanelB = 1;
            g.p_PlaySFX(sound::kClick, 1);
            break;
    }
}

// Up and down turn the wheel; held, they repeat ever faster down to every few updates.
void WheelKeys(c_MyApp& g, float h, float slide) {
    float& timer = RepeatTimer(g);
    float& delay = RepeatDelay(g);
    if (!Held(g, kUp) && !Held(g, kDown)) {
        timer = 0;
        delay = kFirstRepeat;
    } else if (g.m_OverTimer <= 0) {
        timer -= 1;
        if (timer < 0) g.m_AnyKeyHeld = 0;
    }
    if (g.m_MenuCol != kColWheel) return;
    if (qv_Vortan_jscrw > 600) {
        g.p_SetCol(255, 255, 255, 1);
        g.p_SetSize(1.5f);
        g.p_Text(240, h - 52 - 3 * slide, qv_Vortan_MenuSet[2 * g.m_WheelSel + 1], 0, 0);
    }
    if (!CanAct(g)) return;
    int step = 0;
    if (Held(g, kUp) && g.m_WheelSel > 0) {
        step = -1;
    } else if (Held(g, kDown) && g.m_WheelSel < 2) {
        step = 1;
    }
    if (step == 0) return;
    g.m_WheelSel += step;
    timer = delay;
    delay = std::max(delay - kRepeatStep, float(kFastestRepeat));
    TakePress(g);
    g.p_PlaySFX(sound::kClick, 1);
    g.m_WheelTarget = -32.0f * g.m_WheelSel;
}

void MenuKeys(c_MyApp& g, float h, float slide) {
    WheelKeys(g, h, slide);
    if (CanAct(g)) {
        if (Held(g, kLeft) && g.m_MenuCol > kColGear) {
            g.m_MenuCol -= 1;
            TakePress(g);
            g.p_PlaySFX(sound::kClick, 1);
        } else if (Held(g, kRight) && g.m_MenuCol < kColPanel) {
            g.m_MenuCol += 1;
            TakePress(g);
            g.p_PlaySFX(sound::kClick, 1);
        }
    }
    // A tap on the side panel's strip opens the panel.
    const bool stripTapped = g.p_MouseIn(qv_Vortan_jscrw - g.m_PanelW, 0, g.m_PanelW, h);
    if (CanAct(g) && stripTapped) g.m_MenuCol = kColPanel;
    if (CanAct(g) && (stripTapped || AnyPlayerHolds(g, kMenuActions))) {
        g.p_PlaySFX(sound::kOpen, 1);
        g.m_AnyKeyHeld = 1;
        ActivateColumn(g);
    }
    g.m_Difficulty = std::clamp(g.m_WheelSel + 1, 1, 3);
}

void DrawCredits(c_MyApp& g, float w, float h, float p) {
    g.m_CreditScroll -= 0.3f;
    if (AnyPlayerHolds(g, {kUp, kDown})) g.m_CreditScroll -= 1.5f;
    if (g.m_CreditScroll < -16) {
        g.m_CreditScroll += 16;
        g.m_CreditLine += 1;
    }
    const float s = g.m_CreditScroll;
    g.p_SetSize(1);
    for (int j = -3; j <= 4; ++j) {
        float alpha = 1, drop = 0;
        const float u = std::fabs(s + 16.0f * j) / 40 - 0.3f;
        if (u > 1) {
            alpha = 0;
            drop = 24;
        } else if (u >= 0) {
            alpha = 1 - u;
            drop = 24 * u;
        }
        const int line = ((j + g.m_CreditLine) % kCreditsShown + kCreditsShown) % kCreditsShown;
        g.p_SetCol(255, 255, 255, alpha);
        g.p_Text(2 * w - p - 160, h / 2 + 24 - drop + 16.0f * j + s, qv_Vortan_CreditText[line],
                 0.8f, 0.8f);
    }
}

void DrawStats(c_MyApp& g, float w, float h, float p) {
    const float x = 2 * w - p - 20;
    g.p_SetCol(255, 255, 255, 1);
    g.p_SetSize(1);
    g.p_Text(x, 16, "Debug Stats", 2, 1);
    g.p_Text(x, 32, "Engine", 2, 1);
    g.p_Text(x, 44, String(int(w)) + "x" + String(int(h)), 2, 1);
    g.p_Text(x, 60, "Screen", 2, 1);
    g.p_Text(x, 72, String(qv_app__devWidth) + "x" + String(qv_app__devHeight), 2, 1);
    g.p_Text(x, 88, "FPS", 2, 1);
    g.p_Text(x, 100, String(g.m_UpdFpsAvg) + " : " + String(g.m_RenderFpsAvg), 2, 1);
}

void DrawRing(c_MyApp& g, float w, float h, float p) {
    for (int i = 0; i <= 10; ++i) {
        const float a = (g.m_CreditLine - g.m_CreditScroll / 16 + 6.0f * i) * 4;
        g.p_Ink(i);
        g.p_Alpha(0.3f);
        g.p_Oval(2 * w - p - 150 + 100 * SinDeg(a), h / 2 - 100 * CosDeg(a), 32, 32);
    }
}

void DrawCodedIn(c_MyApp& g, float w, float h, float p) {
    const float x = w - p + 0.3f * w;
    g.p_SetCol(255, 255, 255, 1);
    g.p_SetSize(1);
    g.p_DrawImg(picture::kButtons, x, h - 64, frame::kCodedIn);
    g.p_Text(x + 32, h - 48, "Coded in", 0, 0);
    g.p_Text(x + 32, h - 36, "C++ on its own runtime", 0, 0);
}

void SidePanel(c_MyApp& g, float w, float h, float p) {
    DrawCredits(g, w, h, p);
    DrawStats(g, w, h, p);
    DrawRing(g, w, h, p);
    if (PressFree(g) &&
        (g.m_PointerDown > 0 || AnyPlayerHolds(g, {kJump, kStrike, kButtonX, kButtonY}))) {
        g.m_PanelB = 0;
        g.p_PlaySFX(sound::kClick, 1);
        TakePress(g);
    }
    DrawCodedIn(g, w, h, p);
}

// The pads whose Start is down, one bit per port.
int PadsOnStart(c_MyApp& g) {
    int pads = 0;
    for (int p = 0; p < pad::kPads; ++p) {
        if (g.p_PlayKey(kPadStart, 0, p) == 1) pads |= 1 << p;
    }
    return pads;
}

// Back on the plain title: a pad's Start begins a round and brings its player in, as A
// does on the wheel; any other back (a pad's Back, Escape and its kin) asks before the
// game ends, so a friend's press never ends everyone's game by surprise.
void BackOnTitle(c_MyApp& g) {
    TakePress(g);
    g.p_PlaySFX(sound::kOpen, 1);
    const int starters = PadsOnStart(g);
    if (starters != 0) {
        StartRound(g);
        g.m_StartJoiners = starters;
    } else {
        AskQuit(g);
    }
}

}  // namespace

int c_MyApp::p_Menu() {
    if (m_QuitAsked == 0 && PressFree(*this) && AnyPlayerHolds(*this, kBack)) BackOnTitle(*this);

    const float w = qv_Vortan_jscrw;
    const float h = qv_Vortan_jscrh;
    p_DoBG(0, 0, 30);
    DrawGrid(*this, w, h);

    if (m_MenuSlide < 0) m_MenuSlide = int(float(m_MenuSlide) + 0.25f);
    const float slide = float(m_MenuSlide);
    m_PanelW = m_PanelSlide + 140;
    const float p = m_PanelW;

    FlickerTitle(*this);
    DrawTitle(*this, w, p, slide);
    DrawPanelStrip(*this, w, h, p, slide);
    if (m_OptionsOpen == 0) DrawHighscores(*this, w, h, p, slide);
    const bool wheelShown = m_OptionsOpen == 0 && m_PanelB == 0;
    if (wheelShown) {
        DrawWheel(*this, h, slide);
        if (m_QuitAsked == 0) MenuKeys(*this, h, slide);
    }

    p_SetCol(255, 255, 255, 1);
    p_SetSize(m_MenuCol == kColPanel ? 0.35f : 0.25f);
    p_DrawImg(picture::kMakerLogo, w - p / 2, 32, 0);
    p_SetSize(1);

    if (m_PanelB == 1) SidePanel(*this, w, h, p);
    if (m_QuitAsked == 1) QuitQuestion(*this, w, h);
    p_ResetDraw();
    return 0;
}
