// Layout of the background stars m_Star: records of kFields floats; records
// 0 .. m_StarCount are in use.
#pragma once

#include "game/my_app.h"

namespace star_records {

enum Field {
    kFrame = 0,  // frame of picture::kParts
    kX,
    kY,
    kNear,  // 0.2..0.8: scales the drift and is the alpha
    kUnused,
    kAngle,  // degrees
    kSpin,   // degrees per update
    kFields = 10
};

constexpr int kMaxStars = 499;

inline float* Star(c_MyApp& g, int i) { return g.m_Star.Data() + i * kFields; }

}  // namespace star_records
