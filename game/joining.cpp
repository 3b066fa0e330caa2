// Joining a round (see joining.h): the joining step and the prompts.
#include "game/joining.h"

#include <algorithm>
#include <cmath>

#include "game/bindings.h"
#include "game/codes.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/round_records.h"

using namespace round_records;

namespace {

constexpr int kRows = kLastPlayer;  // room for every prompt stacked at one place
constexpr float kTextSize = 1.5f;
constexpr float kMargin = 4;       // around the text, and between prompts and the edges
constexpr float kAboveFloor = 92;  // the plate's bottom: over the head of a player landed below
constexpr int kFadeUpdates = 30;   // the prompts fade over the window's last half second
// A late joiner's protection: about a second dropping in, then two on the floor; it blinks,
// dimmed for half of every eight updates.
constexpr int kProtection = 180, kBlinkUpdates = 8;
constexpr float kBlinkAlpha = 0.3f;

bool Presses(c_MyApp& g, int player) {
    return g.p_PlayKey(control::kJump, 0, player) || g.p_PlayKey(control::kStrike, 0, player);
}

// A player with keys of its own (player 1, and player 2 on a split keyboard) may also join
// with its jump key: Z by default, beside X's strike.
String OrJumpKey(c_MyApp& g, int p) {
    const String key = JumpKeyName(g, p - 1);
    return key.Length() == 0 ? String() : String(" or ") + key;
}

String Invitation(c_MyApp& g, int p) { return String("Press A") + OrJumpKey(g, p); }
constexpr const char* kToJoin = "to join";

constexpr float kLineHeight = font::kLineHeight * kTextSize;
constexpr float kPlateHeight = 2 * kLineHeight + 2 * kMargin;

// A little wider than the text: narrow letters take less than a full advance.
float PlateWidth(const String& invitation) {
    return float(invitation.Length() * font::kAdvance) * kTextSize + 2 * kMargin;
}

// Centred over where player p is drawn once it has landed, as far as the screen allows.
float PlateLeft(int p, float width) {
    const float entry = EntryX(p) - kStartDepth / 2;
    return std::max(kMargin, std::min(entry - width / 2, qv_Vortan_jscrw - kMargin - width));
}

// Prompts stand in rows above the floor; one that would overlap a prompt already placed
// goes a row higher. rowEnd holds each row's right end so far.
int TakeRow(float* rowEnd, float left, float width) {
    int row = 0;
    while (row + 1 < kRows && left < rowEnd[row] + kMargin) ++row;
    rowEnd[row] = left + width;
    return row;
}

void DrawPrompt(c_MyApp& g, int p, const String& invitation, float left, float top, float width,
                float alpha) {
    const float middle = left + width / 2;
    g.p_SetCol(0, 0, 0, 0.7f * alpha);
    g.p_Rect(left, top, width, kPlateHeight);
    g.p_Ink(p);
    g.p_Alpha(0.9f * alpha);
    g.p_Rect(left, top, width, 2);
    g.p_Ink(p, 1.3f);
    g.p_Alpha(alpha);
    g.p_TextByGlyphs(middle, top + kMargin + kLineHeight / 2, invitation, 1, 1);
    g.p_SetCol(255, 255, 255, alpha);
    g.p_TextByGlyphs(middle, top + kMargin + 1.5f * kLineHeight, kToJoin, 1, 1);
}

// Once the round is under way: one small line per empty player along the bottom edge,
// below the fighters' feet and shadows, left to right in player order.
constexpr float kEdgeMargin = 3, kEdgeGap = 6;
constexpr float kEdgeHeight = font::kLineHeight + 2 * kEdgeMargin;

String EdgeInvitation(c_MyApp& g, int p) {
    return String("P") + String(p) + " press A" + OrJumpKey(g, p);
}

void DrawEdgePrompts(c_MyApp& g) {
    const float top = qv_Vortan_jscrh - kEdgeHeight - 2;
    float left = kEdgeMargin;
    g.p_SetRot(0);
    g.p_SetSize(1);
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) {
        if (Record(g, p)[kHealth] != 0) continue;
        const String text = EdgeInvitation(g, p);
        // The text's span, a glyph's advance to spare for ink past the last one, margins.
        const float width = float(g.p_TextWidth(text) + font::kAdvance) + 2 * kEdgeMargin;
        g.p_SetCol(0, 0, 0, 0.5f);
        g.p_Rect(left, top, width, kEdgeHeight);
        g.p_Ink(p, 1.3f);
        g.p_Alpha(0.8f);
        g.p_TextByGlyphs(left + kEdgeMargin, top + kEdgeHeight / 2, text, 0, 1);
        left += width + kEdgeGap;
    }
    g.p_ResetDraw();
}

// Where a player joining a fight drops in: one body inside the screen edge farther from
// the nearest opponent up, both measured where they are drawn.
float FarEdgeX(c_MyApp& g) {
    const float left = 2 * kBodyReach, right = qv_Vortan_jscrw - 2 * kBodyReach;
    float toLeft = 1e9f, toRight = 1e9f;
    for (int r = kFirstOpponent; r <= kLastRecord; ++r) {
        const float* f = Record(g, r);
        if (f[kHealth] <= 0) continue;
        const float drawX = f[kX] - f[kDepth] / 2;
        toLeft = std::min(toLeft, std::fabs(drawX - left));
        toRight = std::min(toRight, std::fabs(drawX - right));
    }
    return (toLeft >= toRight ? left : right) + kStartDepth / 2;
}

}  // namespace

// A player who has fallen keeps a record below zero health, so it never joins again.
bool JoiningOpen(const c_MyApp& g) { return g.m_RoundOver == 0; }

// Each player joins with its own controls: the keys bound to it or its pad. Into a fight
// it comes at the edge away from the crowd, protected for a moment.
void JoinPlayers(c_MyApp& g) {
    for (int& updates : g.m_Protection) updates = std::max(updates - 1, 0);
    if (!JoiningOpen(g)) return;
    if (g.m_JoinTimer > 0) g.m_JoinTimer -= 1;
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) {
        if (Presses(g, p - 1) && Record(g, p)[kHealth] == 0) JoinPlayer(g, p);
    }
}

void JoinPlayer(c_MyApp& g, int p) {
    const bool fightOn = CountUp(g, kFirstOpponent, kLastRecord) > 0;
    g.p_AddPlayer(p, fightOn ? FarEdgeX(g) : EntryX(p), kEntryY);
    g.m_Protection[p - kFirstPlayer] = fightOn ? kProtection : 0;
    if (g.m_Joined == 0) g.m_JoinTimer = kJoinWindow;
    g.m_Joined = 1;
}

bool Protected(const c_MyApp& g, int r) {
    return IsPlayer(r) && g.m_Protection[r - kFirstPlayer] > 0;
}

float ProtectionAlpha(const c_MyApp& g, int r) {
    if (!Protected(g, r)) return 1;
    return g.m_Protection[r - kFirstPlayer] / (kBlinkUpdates / 2) % 2 == 0 ? 1 : kBlinkAlpha;
}

void DrawJoinPrompts(c_MyApp& g) {
    if (!JoiningOpen(g) || g.m_HideHud == 1) return;
    if (g.m_Joined == 1 && g.m_JoinTimer == 0) {
        DrawEdgePrompts(g);
        return;
    }
    const float alpha = g.m_Joined == 0 ? 1.0f
                                        : std::min(1.0f, float(g.m_JoinTimer) / kFadeUpdates);
    const float bottom = qv_Vortan_jscrh - kAboveFloor;
    float rowEnd[kRows];
    std::fill(rowEnd, rowEnd + kRows, -1e9f);
    g.p_SetRot(0);
    g.p_SetSize(kTextSize);
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) {
        if (Record(g, p)[kHealth] != 0) continue;
        const String invitation = Invitation(g, p);
        const float width = PlateWidth(invitation);
        const float left = PlateLeft(p, width);
        const int row = TakeRow(rowEnd, left, width);
        DrawPrompt(g, p, invitation, left, bottom - (row + 1) * (kPlateHeight + kMargin), width,
                   alpha);
    }
    g.p_ResetDraw();
}
