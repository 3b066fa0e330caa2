// Sine and cosine of angles in degrees, exact at multiples of 90 so that unrotated
// layout lands on whole units.
#pragma once

#include <cmath>

inline float SinDeg(float degrees) {
    float d = std::fmod(degrees, 360.0f);
    if (d < 0) d += 360.0f;
    if (d == 0.0f || d == 180.0f) return 0.0f;
    if (d == 90.0f) return 1.0f;
    if (d == 270.0f) return -1.0f;
    return float(std::sin(double(d) * M_PI / 180.0));
}

inline float CosDeg(float degrees) { return SinDeg(degrees + 90.0f); }
