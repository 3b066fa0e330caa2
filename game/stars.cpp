// The background star field (star_records.h): stars drift with the camera, wrap around
// the screen and turn slowly.
#include <cmath>

#include "framework/app.h"
#include "game/codes.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/star_records.h"

using namespace star_records;

namespace {

// A star that wrapped comes back at a new place across its way (x or y), depth and picture.
void Reroll(float* s, int across, float screenSide) {
    s[across] = (screenSide + 16) * qv_random_Rnd() - 8;
    s[kNear] = 0.2f + 0.6f * qv_random_Rnd();
    s[kFrame] = std::floor(255.99f * qv_random_Rnd());
}

// Beyond the margin past either end of its way a star comes in again at the other end.
void Wrap(float* s, int along, float length, int across, float width, float margin, float span) {
    if (s[along] < -margin) {
        s[along] += length + span;
        Reroll(s, across, width);
    }
    if (s[along] > length + margin) {
        s[along] -= length + span;
        Reroll(s, across, width);
    }
}

}  // namespace

int c_MyApp::p_ResetStars(int n) {
    p_SeedRnd(qv_app_Millisecs());
    if (n >= 1 && n <= kMaxStars) {
        m_StarCount = n;
    } else {
        n = m_StarCount;
    }
    for (int i = 0; i <= n; ++i) {
        float* s = Star(*this, i);
        s[kFrame] = std::floor(255.99f * qv_random_Rnd());
        s[kX] = (qv_Vortan_jscrw + 16) * qv_random_Rnd() - 8;
        s[kY] = (qv_Vortan_jscrh + 16) * qv_random_Rnd() - 8;
        s[kNear] = 0.2f + 0.6f * qv_random_Rnd();
        s[kAngle] = 360 * qv_random_Rnd();
        s[kSpin] = qv_random_Rnd() - 0.5f;
    }
    return 0;
}

int c_MyApp::p_DoStars(float dx, float dy) {
    p_SeedRnd(qv_app_Millisecs());
    p_ResetDraw();
    const float o = qv_Vortan_overscan;
    const float margin = o + 16;
    const float span = 2 * o + 32;
    const float w = qv_Vortan_jscrw;
    const float h = qv_Vortan_jscrh;
    for (int i = 0; i <= m_StarCount; ++i) {
        float* s = Star(*this, i);
        s[kX] += dx * s[kNear];
        s[kY] += dy * s[kNear];
        Wrap(s, kX, w, kY, h, margin, span);
        Wrap(s, kY, h, kX, w, margin, span);
        // Stars keep out of the bottom, where the floor is.
        if (s[kY] > h - 128) s[kY] -= 100 + 100 * qv_random_Rnd();
        s[kAngle] += s[kSpin];
    }
    return p_DrawStars();
}

int c_MyApp::p_DrawStars() {
    p_ResetDraw();
    for (int i = 0; i <= m_StarCount; ++i) {
        const float* s = Star(*this, i);
        p_Alpha(s[kNear]);
        p_SetRot(s[kAngle]);
        p_SetSize(1);
        p_DrawImg(picture::kParts, s[kX], s[kY], s[kFrame]);
    }
    p_ResetDraw();
    return 0;
}
