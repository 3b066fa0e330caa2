// Player tags (see player_tags.h): a small plate in the player's colour with its number.
// Plates that would overlap in a clump are nudged apart sideways, keeping their order and
// their heights.
#include "game/player_tags.h"

#include <algorithm>
#include <cmath>

#include "game/codes.h"
#include "game/degrees.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/round_records.h"

using namespace round_records;

namespace {

constexpr float kHalfCell = 18;     // half a fighter's cell at size 1
constexpr float kDrawnAbove = 5;    // a standing fighter is drawn this far above its point
constexpr float kGap = 2;           // between the plate and the top of the fighter's cell
constexpr float kStep = kTagW + 2;  // between the middles of plates side by side
constexpr int kPlayers = kLastPlayer - kFirstPlayer + 1;

// The highest point the fighter's cell reaches as drawn: turned cells reach higher, and a
// body lies at half height a little below its point.
float CellTop(const float* f) {
    const float drawY = f[kY] - f[kDepth];
    if (f[kHealth] < 0) return drawY + 8 - kHalfCell / 2;
    float turn = f[kTilt];
    if (f[kY] < qv_Vortan_jscrh - 64) turn = 4 * f[kVY] - 8;
    const float reach = kHalfCell * (std::fabs(CosDeg(turn)) + std::fabs(SinDeg(turn)));
    return drawY - kDrawnAbove - reach;
}

// Sorts a handful of plates in place, keeping the order of equals.
template <class Before>
void SortPlates(TagPlate* p, int n, Before before) {
    for (int i = 1; i < n; ++i) {
        for (int j = i; j > 0 && before(p[j], p[j - 1]); --j) std::swap(p[j], p[j - 1]);
    }
}

// Spreads one row of plates, in the order of their wanted places, to the nearest places
// at least a step apart (neighbours that would overlap share their mean), then shifts the
// row in from whichever edge of the screen it crosses.
void SpreadRow(TagPlate* row, int n, float w) {
    float sum[kPlayers];
    int count[kPlayers], blocks = 0;
    for (int i = 0; i < n; ++i) {
        sum[blocks] = row[i].wanted - i * kStep;
        count[blocks++] = 1;
        // A block whose mean lies past its right neighbour's would overlap it: they merge.
        while (blocks > 1 &&
               sum[blocks - 2] * count[blocks - 1] > sum[blocks - 1] * count[blocks - 2]) {
            sum[blocks - 2] += sum[blocks - 1];
            count[blocks - 2] += count[blocks - 1];
            --blocks;
        }
    }
    for (int b = 0, i = 0; b < blocks; ++b) {
        for (int k = 0; k < count[b]; ++k, ++i) row[i].x = sum[b] / count[b] + i * kStep;
    }
    for (int i = 0; i < n; ++i) row[i].x = std::max(row[i].x, kTagW / 2 + i * kStep);
    for (int i = n - 1; i >= 0; --i)
        row[i].x = std::min(row[i].x, w - kTagW / 2 - (n - 1 - i) * kStep);
}

void DrawTag(c_MyApp& g, const TagPlate& plate) {
    const float x = plate.x, top = plate.top;
    g.p_SetCol(0, 0, 0, 0.65f);
    g.p_Rect(x - kTagW / 2, top, kTagW, kTagH);
    g.p_Ink(plate.player);
    g.p_Alpha(0.9f);
    g.p_Rect(x - kTagW / 2, top + kTagH - 2, kTagW, 2);
    g.p_Ink(plate.player, 1.3f);
    g.p_Alpha(1);
    g.p_TextByGlyphs(x, top + (kTagH - 2) / 2, String("P") + String(plate.player), 1, 1);
}

}  // namespace

// Plates at heights that meet, directly or through others, share a row.
void SpreadTags(TagPlate* plates, int n, float w) {
    SortPlates(plates, n, [](const TagPlate& a, const TagPlate& b) { return a.top < b.top; });
    for (int first = 0, end = 1; first < n; first = end++) {
        while (end < n && plates[end].top - plates[end - 1].top < kTagH) ++end;
        SortPlates(plates + first, end - first, [](const TagPlate& a, const TagPlate& b) {
            return a.wanted < b.wanted || (a.wanted == b.wanted && a.player < b.player);
        });
        SpreadRow(plates + first, end - first, w);
    }
}

void DrawPlayerTags(c_MyApp& g) {
    if (g.m_HideHud == 1) return;
    g.p_SetRot(0);
    g.p_SetSize(1);
    const float w = qv_Vortan_jscrw;
    TagPlate plates[kPlayers];
    int n = 0;
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) {
        const float* f = Record(g, p);
        if (f[kHealth] == 0) continue;
        const float x = std::clamp(f[kX] - f[kDepth] / 2, kTagW / 2, w - kTagW / 2);
        plates[n++] = {p, x, std::max(CellTop(f) - kGap - kTagH, 1.0f), x};
    }
    SpreadTags(plates, n, w);
    SortPlates(plates, n, [](const TagPlate& a, const TagPlate& b) { return a.player < b.player; });
    for (int i = 0; i < n; ++i) DrawTag(g, plates[i]);
    g.p_ResetDraw();
}
