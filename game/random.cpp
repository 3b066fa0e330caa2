// The game's random generator: a 32-bit linear congruential sequence shared by the
// whole program.
#include <cmath>

#include "framework/app.h"
#include "game/globals.h"
#include "game/my_app.h"

uint32_t qv_random_Seed;  // 1234 from qv_Vortan_InitGlobals

float qv_random_Rnd() {
    qv_random_Seed = qv_random_Seed * 1664525u + 1013904223u;
    return float(qv_random_Seed >> 8) * (1.0f / 16777216.0f);
}

float qv_random_Rnd2(float low, float high) { return low + (high - low) * qv_random_Rnd(); }

float qv_random_Rnd3(float range) { return qv_random_Rnd() * range; }

int c_MyApp::p_Rand(float a, float b) {
    return int(std::floor(a + (b + 0.99f - a) * qv_random_Rnd()));
}

int c_MyApp::p_SeedRnd(int x) {
    // -37171650 asks for a seed from the clock.
    qv_random_Seed = uint32_t(x == -37171650 ? qv_app_Millisecs() : x);
    for (int i = 0; i < 21; ++i) qv_random_Rnd();
    return 0;
}
