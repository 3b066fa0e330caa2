// Score display and the placing texts shared with the menu and the game-over panel.
#include <algorithm>
#include <cstdlib>

#include "game/codes.h"
#include "game/draw_command.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/round_records.h"
#include "game/table_layouts.h"

using namespace round_records;

namespace {

const char* const kOrdinals[] = {
    "1st",  "2nd",  "3rd",  "4th",  "5th",  "6th",  "7th",  "8th",  "9th",  "10th",
    "11th", "12th", "13th", "14th", "15th", "16th", "17th", "18th", "19th", "20th",
    "21st", "22nd", "23rd", "24th", "25th", "26th", "27th", "28th", "29th", "30th",
};
constexpr int kOrdinalCount = int(sizeof(kOrdinals) / sizeof(kOrdinals[0]));
using high_scores::kListLength;
constexpr int kScoreDigits = 8;
constexpr int kMaxIcons = 10;  // the longest row of item icons

// The ten best scores of the current difficulty, best first; 0 marks an empty entry.
const int* BestScores(c_MyApp& g) {
    return g.m_HiScore.Data() + high_scores::BestIndex(high_scores::GroupOf(g.m_Difficulty), 0);
}

// 1..10 for the first entry the score beats, 0 when it beats none.
int PlaceToTake(c_MyApp& g) {
    const int* best = BestScores(g);
    for (int k = 0; k < kListLength; ++k) {
        if (g.m_Score > best[k]) return k + 1;
    }
    return 0;
}

// Closes a sixth of the gap each update and snaps once less than 6 is left.
void EaseShownScore(c_MyApp& g) {
    int diff = g.m_ShownScore - g.m_Score;
    int step = -diff / 6;
    if (std::abs(diff + step) < 6) {
        g.m_ShownScore = g.m_Score;
    } else {
        g.m_ShownScore += step;
    }
}

// The placing to reach next and its score: every entry beaten (or empty) moves it up one.
String NextPlacing(c_MyApp& g) {
    const int* best = BestScores(g);
    int place = kListLength;
    g.m_NextScore = best[kListLength - 1];
    for (int k = kListLength - 1; k >= 1; --k) {
        if (best[k] < g.m_Score || best[k] == 0) {
            place = k - 1;
            g.m_NextScore = best[k - 1];
        }
    }
    return g.p_Nth(place + 1) + " " + g.p_rstr(g.m_NextScore, kScoreDigits, "0");
}

// "P1".."P4" just left of the bar, in the player's colour, as the tag over its fighter.
void DrawBarNumber(c_MyApp& g, int p, float barLeft, float middleY) {
    g.p_Ink(p, 1.3f);
    g.p_Alpha(0.9f);
    g.p_SetSize(1);
    g.p_TextByGlyphs(barLeft - 3, middleY, String("P") + String(p), 2, 1);
}

void DrawHealthBars(c_MyApp& g) {
    float middle = qv_Vortan_jscrw / 2;
    g.m_InPlay = 4;
    g.m_Alive = 0;
    g.m_Dead = 0;
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) {
        float health = Record(g, p)[kHealth];
        float top = 16.0f * p;
        if (health == 0) {
            g.m_InPlay -= 1;
            continue;
        }
        g.p_SetCol(80, 80, 0, 0.75f);
        g.p_Rect(middle - 100, top + 32, 200, 12);
        DrawBarNumber(g, p, middle - 100, top + 38);
        if (health < 0) {
            if (health < kDeadHealth) g.m_Dead += 1;
            g.p_Ink(p);
            g.p_Alpha(0.75f);
            g.p_SetSize(1.5f);
            g.p_Text(middle, top + 38, "-=-=- DEAD x( -=-=-", 1, 1);
            g.p_SetSize(1);
        } else {
            g.m_Alive += 1;
            g.p_Ink(p);
            g.p_Alpha(0.9f);
            g.p_Rect(middle - 99, top + 33, 22 * health, 10);
        }
    }
}

// One icon per bonus item picked up this round, as many as fit before the right edge.
void DrawItemRow(c_MyApp& g) {
    g.p_SetCol(255, 255, 255, 0.8f);
    g.p_SetSize(0.75f);
    const float first = qv_Vortan_jscrw / 2 + 80;
    const float half = 0.75f * float(CellWidth(g, picture::kIcons)) * g.m_ImgScale / 2;
    const int fit = int((qv_Vortan_jscrw - half - first) / 16) + 1;
    int icons = std::min({g.m_ItemsTaken, kMaxIcons, fit});
    for (int i = 0; i < icons; ++i) {
        g.p_DrawImg(picture::kIcons, first + 16.0f * i, 24, frame::kItemIcon);
    }
}

}  // namespace

int c_MyApp::p_ScoreDisplay() {
    EaseShownScore(*this);
    return p_DrawScoreDisplay();
}

int c_MyApp::p_DrawScoreDisplay() {
    if (m_HideHud == 1) return 0;
    p_SetRot(0);
    m_Blend = draw_command::kBlendNormal;
    p_SetCol(100, 255, 100, 0.8f);
    p_SetSize(2);
    p_Text(qv_Vortan_jscrw * 0.5f, 28, p_rstr(m_ShownScore, kScoreDigits, "0"), 1, 1);
    p_SetSize(1);
    p_SetCol(255, 255, 100, 0.8f);
    p_Text(qv_Vortan_jscrw * 0.5f, 10, NextPlacing(*this), 1, 1);
    DrawItemRow(*this);
    DrawHealthBars(*this);
    p_ResetDraw();
    return 0;
}

String c_MyApp::p_Nth(int n) {
    if (n < 1 || n > kOrdinalCount) return String();
    return String(kOrdinals[n - 1]);
}

// Once the score is recorded, the place it took; before, the place it will take: below
// every score at least as high, so a tie with the tenth takes none.
String c_MyApp::p_MyNth() {
    m_Loop = m_PlaceTaken >= 0 ? m_PlaceTaken : PlaceToTake(*this);
    if (m_Loop == 0) return String();
    return m_Loop == 1 ? String("1st!") : p_Nth(m_Loop);
}

String c_MyApp::p_rstr(int value, int width, String pad) {
    if (width <= 0) return String();
    String text;
    for (int i = 0; i < width; ++i) text += pad;
    text += String(value);
    return text.Slice(std::max(text.Length() - width, 0));
}
