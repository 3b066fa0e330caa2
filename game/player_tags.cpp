// Player tags (see player_tags.h): a small plate in the player's colour with its number.
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

constexpr float kHalfCell = 18;   // half a fighter's cell at size 1
constexpr float kDrawnAbove = 5;  // a standing fighter is drawn this far above its point
constexpr float kPlateW = 20, kPlateH = 13;
constexpr float kGap = 2;  // between the plate and the top of the fighter's cell

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

void DrawTag(c_MyApp& g, int p, const float* f) {
    const float w = qv_Vortan_jscrw;
    const float x = std::clamp(f[kX] - f[kDepth] / 2, kPlateW / 2, w - kPlateW / 2);
    const float top = std::max(CellTop(f) - kGap - kPlateH, 1.0f);
    g.p_SetCol(0, 0, 0, 0.65f);
    g.p_Rect(x - kPlateW / 2, top, kPlateW, kPlateH);
    g.p_Ink(p);
    g.p_Alpha(0.9f);
    g.p_Rect(x - kPlateW / 2, top + kPlateH - 2, kPlateW, 2);
    g.p_Ink(p, 1.3f);
    g.p_Alpha(1);
    g.p_TextByGlyphs(x, top + (kPlateH - 2) / 2, String("P") + String(p), 1, 1);
}

}  // namespace

void DrawPlayerTags(c_MyApp& g) {
    if (g.m_HideHud == 1) return;
    g.p_SetRot(0);
    g.p_SetSize(1);
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) {
        const float* f = Record(g, p);
        if (f[kHealth] != 0) DrawTag(g, p, f);
    }
    g.p_ResetDraw();
}
