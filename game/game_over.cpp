// Game-over panel with each player's knock-outs and points, badge texts and badge pop-ups.
#include <algorithm>

#include "audio/audio_module.h"
#include "game/codes.h"
#include "game/controls.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/round_records.h"

namespace {

constexpr int kBadgePictures = 64;  // badges from 64 on have a name only
constexpr int kPopupLines = 13;
// The round's score is recorded a second and a half into the panel, whatever happens
// next. The panel stands at least four seconds over the round, and then until a press
// that starts after that, so friends can read who did what.
constexpr int kRecordAt = 90;
constexpr int kLeastShown = 240;
constexpr int kMenuTimer = 75;
constexpr float kTableMargin = 6;  // below the table, and its plate around the rows
constexpr int kPopupStay = 230;
constexpr int kPopupGone = 240;

void DrawWords(c_MyApp& g, float w, float h, float reach) {
    const bool quit = g.m_QuitRound == -1;
    g.p_SetCol(255, 180, 180, 1);
    g.p_SetSize(4);
    g.p_Text(0.35f * w, reach, quit ? "Quit" : "GAME", 1, 1);
    g.p_Text(0.65f * w, h - reach, quit ? "Game" : "OVER", 1, 1);
}

void DrawPlacing(c_MyApp& g, float w, float h, float reach) {
    const String placing = g.p_MyNth();
    if (g.m_Loop < 1) return;
    g.p_SetCol(0, 125, 255, 0.5f);
    g.p_SetSize(1);
    g.p_Rect(0.35f * w, h - reach / 1.5f - 16, 0.3f * w, 32);
    g.p_SetCol(100, 255, 100, 1);
    g.p_SetSize(2);
    g.p_Text(0.5f * w, h - reach / 1.5f, String("New Highscore\\n           ") + placing, 0.5f, 2);
}

String PlayerLine(c_MyApp& g, int i) {
    const int knockOuts = g.m_KnockOuts[i];
    return String("P") + String(i + 1) + "  " + String(knockOuts) +
           (knockOuts == 1 ? " knockout  " : " knockouts  ") + String(g.m_PlayerPoints[i]) +
           " points";
}

// Each joined player's knock-outs and points, one row each in the player's colour, along
// the bottom below the highscore banner; smaller rows on a short screen.
void DrawPlayers(c_MyApp& g, float w, float h, float alpha) {
    using namespace round_records;
    int rows = 0;
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) rows += Record(g, p)[kHealth] != 0;
    if (rows == 0) return;
    const float room = 0.3f * h - 2 * font::kLineHeight - 2 * kTableMargin;
    const float size = room >= rows * (1.5f * font::kLineHeight + 4) ? 1.5f : 1.0f;
    const float rowH = size * font::kLineHeight + (size > 1 ? 4 : 3);
    float y = h - kTableMargin - rows * rowH;
    g.p_SetSize(size);
    float widest = 0;
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) {
        if (Record(g, p)[kHealth] != 0)
            widest = std::max(widest, float(g.p_TextWidth(PlayerLine(g, p - 1))));
    }
    const float left = (w - widest) / 2;
    g.p_SetSize(1);
    g.p_SetCol(0, 0, 0, 0.6f * alpha);
    g.p_Rect(left - kTableMargin, y - kTableMargin / 2, widest + 2 * kTableMargin,
             rows * rowH + kTableMargin / 2);
    g.p_SetSize(size);
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) {
        if (Record(g, p)[kHealth] == 0) continue;
        g.p_Ink(p, 1.3f);
        g.p_Alpha(alpha);
        g.p_TextByGlyphs(left, y + rowH / 2, PlayerLine(g, p - 1), 0, 1);
        y += rowH;
    }
}

// A round's panel goes back to the menu on a press after its least time: something must
// be let go after that time and then pressed.
bool PressedToLeave(c_MyApp& g, bool nothingHeld) {
    if (g.m_OverTimer <= kLeastShown) return false;
    if (nothingHeld) {
        g.m_OverArmed = 1;
        return false;
    }
    return g.m_OverArmed == 1 && AnyPlayerHolds(g, control::kHeld);
}

}  // namespace

int c_MyApp::p_GameOver() {
    const float w = qv_Vortan_jscrw;
    const float h = qv_Vortan_jscrh;
    const int t = m_OverTimer;
    // The panel holds the keys while it is up; free ones mean nothing is held now.
    const bool nothingHeld = m_AnyKeyHeld == 0;
    if (t >= 1) {
        TakePress(*this);
        p_SetRot(0);
        p_SetCol(0, 0, 0, std::min(float(t) / 40, 0.7f));
        p_SetSize(1);
        p_Rect(-1, -1, w + 2, h + 2);
        const float reach = float(std::min(12 * t, int(0.45f * h)));
        p_SetCol(255, 255, 0, 0.5f);
        p_Rect(-1, 0.45f * h - 8, 2 * reach, 16);
        p_SetCol(255, 128, 0, 0.5f);
        p_Rect(w - 2 * reach, 0.55f * h - 8, 2 * reach + 1, 16);
        DrawWords(*this, w, h, reach);
        DrawPlacing(*this, w, h, reach);
        DrawPlayers(*this, w, h, std::min(float(t) / 40, 1.0f));
        p_ResetDraw();
    }

    if (m_Mode == mode::kRound) {
        m_OverTimer += 1;
        if (m_OverTimer >= kRecordAt) p_RecordRound();
        if (PressedToLeave(*this, nothingHeld)) {
            m_OverArmed = 0;
            m_Mode = mode::kBackFromRound;
            m_OverTimer = kMenuTimer;
            qv_audio_StopMusic();
            m_MusicOn = 0;
        }
    } else if (!mode::InRound(m_Mode)) {
        m_OverTimer = std::max(m_OverTimer - 2, 0);
    }
    return 0;
}

// A round's score is recorded once: p_LoadMenu leaves the place it took, 0 or more.
int c_MyApp::p_RecordRound() {
    if (m_RoundOver >= 1 && m_PlaceTaken < 0) p_LoadMenu();
    return 0;
}

String c_MyApp::p_BadgeID(int n) {
    if (n == 0) return "Test Badge|This is a Test Badge which has no purpose.";
    return "Odd Badge|This badge hasn't been defined!";
}

String c_MyApp::p_BadgeName(int n) {
    const String id = p_BadgeID(n);
    const int bar = id.Find("|");
    return bar < 0 ? id : id.Slice(0, bar);
}

String c_MyApp::p_BadgeDetail(int n) {
    const String id = p_BadgeID(n);
    const int bar = id.Find("|");
    return bar < 0 ? String() : id.Slice(bar + 1);
}

int c_MyApp::p_ShowBadges() {
    const float h = qv_Vortan_jscrh;
    p_ResetDraw();
    const int lines = std::min(kPopupLines, std::min(m_BadgeTimer.Length(), m_BadgeQueue.Length()));
    for (int i = 0; i < lines; ++i) {
        if (m_BadgeTimer[i] <= 0) continue;
        const int t = ++m_BadgeTimer[i];
        const float y = h - 34.0f * (i + 1);
        float x = t > kPopupStay ? 3680.0f - 16 * t : 16.0f * t - 160;
        x = std::min(x, 0.0f);
        if (t > kPopupGone) m_BadgeTimer[i] = 0;
        const int badge = m_BadgeQueue[i];
        p_SetCol(0, 0, 80, 0.8f);
        p_Rect(x, y, 160, 32);
        p_SetCol(255, 255, 255, 1);
        p_Text(x + 16, y + 4, p_BadgeName(badge), 0, 0);
        if (badge >= 0 && badge < kBadgePictures) {
            p_SetSize(0.5f);
            p_DrawImg(picture::kBadges, x + 144, y + 16, float(badge));
            p_SetSize(1);
        }
    }
    return 0;
}
