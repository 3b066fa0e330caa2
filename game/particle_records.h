// Layout of the particle pool m_Particle: records of kFields floats; records
// 0 .. m_ParticleMax are in use.
#pragma once

#include "game/my_app.h"

namespace particle_records {

enum Field {
    kType = 0,  // see the types below
    kX,
    kY,
    kVX,  // per update
    kVY,
    kAngle,   // degrees
    kSpin,    // degrees per update
    kLife,    // also the alpha (at most 1); the particle ends below 0
    kColour,  // a palette number of p_Ink
    kFrame,   // frame of picture::kParts, or the number a floating number shows
    kFields
};

// Particle types.
constexpr int kFree = 0;
constexpr int kSpark = 1;            // flies straight
constexpr int kFallingSpark = 2;     // slowed by drag, pulled down by gravity
constexpr int kLastSpark = 9;        // types 1..9 draw a part
constexpr int kFloatingNumber = 99;  // points scored, rising

constexpr int kPoolSize = 250;  // m_ParticleMax at the start of a round

inline float* Particle(c_MyApp& g, int i) { return g.m_Particle.Data() + i * kFields; }

}  // namespace particle_records
