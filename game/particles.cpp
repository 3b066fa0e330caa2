// The particle pool: sparks, debris and floating score numbers in fixed records
// (particle_records.h).
#include <algorithm>
#include <cmath>

#include "game/codes.h"
#include "game/degrees.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/particle_records.h"

using namespace particle_records;

int c_MyApp::p_FreeParticle() {
    int found = -1;
    for (int i = 0; i <= m_ParticleMax; ++i) {
        if (Particle(*this, i)[kType] == kFree) found = i;
    }
    return found;
}

int c_MyApp::p_ThrowParticle(float x, float y, int type, int colour, float angle, float speed) {
    if (angle == kNotGiven) angle = 360 * qv_random_Rnd();
    if (speed == kNotGiven) speed = 3 + 5 * qv_random_Rnd();
    const int i = p_FreeParticle();
    if (i < 0) return 0;
    float* p = Particle(*this, i);
    p[kType] = float(type);
    p[kX] = x;
    p[kY] = y;
    p[kVX] = speed * SinDeg(angle);
    p[kVY] = -speed * CosDeg(angle);
    p[kAngle] = 360 * qv_random_Rnd();
    p[kSpin] = -8 + 16 * qv_random_Rnd();
    p[kLife] = 0.7f + 0.6f * qv_random_Rnd();
    p[kColour] = float(colour);
    p[kFrame] = std::floor(255.99f * qv_random_Rnd());
    return 0;
}

int c_MyApp::p_Gimme(int points, float x, float y) {
    m_Score += points;
    const int i = p_FreeParticle();
    if (i < 0) return 0;
    float* p = Particle(*this, i);
    p[kType] = kFloatingNumber;
    p[kX] = x;
    p[kY] = y;
    p[kVX] = 0;
    p[kVY] = -0.25f;
    p[kAngle] = std::floor(360.99f * qv_random_Rnd());
    p[kSpin] = -7 + 14 * qv_random_Rnd();
    p[kLife] = 1;
    p[kColour] = ink::kYellow;
    p[kFrame] = float(points);
    return 0;
}

namespace {

void Move(float* p) {
    p[kX] += p[kVX];
    p[kY] += p[kVY];
    p[kAngle] += p[kSpin];
    if (int(p[kType]) == kFallingSpark) {
        // Drag and gravity.
        p[kVX] *= 0.95f;
        p[kVY] += 0.2f;
    }
}

void Draw(c_MyApp& g, const float* p, float size) {
    const int type = int(p[kType]);
    g.p_SetRot(type == kFloatingNumber ? 0 : p[kAngle]);
    g.p_Alpha(std::min(1.0f, p[kLife]));
    g.p_SetSize(size);
    g.p_Ink(int(p[kColour]), 1);
    const float sx = p[kX] - g.m_CamX;
    const float sy = p[kY] - g.m_CamY;
    if (type >= kSpark && type <= kLastSpark) {
        g.p_DrawImg(picture::kParts, sx, sy, p[kFrame]);
    } else if (type == kFloatingNumber) {
        g.p_Text(sx, sy, String(int(p[kFrame])), 1, 1);
    }
}

}  // namespace

int c_MyApp::p_DoParticles(float size) {
    p_ResetDraw();
    for (int i = 0; i <= m_ParticleMax; ++i) {
        float* p = Particle(*this, i);
        if (int(p[kType]) <= kFree) continue;
        Move(p);
        Draw(*this, p, size);
        p[kLife] -= 0.01f;
        if (p[kLife] < 0) p[kType] = kFree;
    }
    p_ResetDraw();
    return 0;
}

int c_MyApp::p_DrawParticles(float size) {
    p_ResetDraw();
    for (int i = 0; i <= m_ParticleMax; ++i) {
        const float* p = Particle(*this, i);
        if (int(p[kType]) > kFree) Draw(*this, p, size);
    }
    p_ResetDraw();
    return 0;
}
