// Layout of the round's tables: fighter records in m_Plr and the floor grid in m_Grid.
#pragma once

#include <algorithm>

#include "game/codes.h"
#include "game/my_app.h"

namespace round_records {

// Fields of a fighter record; each record is kFields floats of m_Plr.
enum Field {
    kHealth = 0,  // > 0 health; 0 empty record; < 0 knocked out, counting down
    kX,
    kY,  // downward; the floor is at jscrh - 32
    kVX,
    kVY,
    kFacing,  // -1 left, +1 right
    kDepth,   // 16..96 into the screen
    kGround,  // 3 on the floor, counting down in the air
    kJumpLatch,
    kAttack,  // 0 idle, then counts up; the blow lands at 2
    kTarget,  // opponents: record chased
    kSpeed,
    kAimDepth,
    kAimX,
    kSlide,       // knocked-out body's horizontal speed
    kRest,        // opponents move only while <= 0
    kStrikeKind,  // 1 or 2
    kWalkFrame,
    kTilt,
    kSway,  // counts down; walk frame and tilt re-rolled below 1
    kFields
};

// Records 1..4 are the players (record p uses pad p - 1), 10..100 the opponents.
constexpr int kFirstPlayer = 1, kLastPlayer = 4;
constexpr int kFirstOpponent = 10, kLastRecord = 100;

constexpr float kPlayerHealth = 9;
constexpr float kOpponentHealth = 5;
constexpr float kDeadHealth = -90;           // a player below this is out of the round
constexpr float kPlayerFloorHealth = -250;   // a knocked-out player's count stops here
constexpr float kOpponentGoneHealth = -180;  // an opponent's body is removed below this

// Player p drops in from above the screen at x = 128p.
inline float EntryX(int p) { return 128.0f * p; }
constexpr float kEntryY = -64;
constexpr float kStartDepth = 32;  // every fighter starts at this depth
// Updates after the first player joins during which the prompts stand over the entry
// points, three seconds; later friends still join, prompted from the bottom edge.
constexpr int kJoinWindow = 180;

// A fighter's picture is 36 units square about its drawing point; turned by its tilt or
// by a jump it reaches at most half its diagonal from there.
constexpr float kBodyReach = 26;

// Frames of a fighter's picture: walking 0..3, striking kFrameStrike + strike kind, in
// the air, knocked out.
constexpr int kFrameStrike = 3, kFrameInAir = 6, kFrameKnockedOut = 8;

// Floor grid: an owner layer of 33 rows x 65 columns, rows 100 apart, and a timer layer
// 4000 further on holding how many updates each claim still lasts.
constexpr int kGridCols = 65, kGridRows = 33;
constexpr int kGridStride = 100, kTimerLayer = 4000;
// The grid ends with the timer layer's last row: it holds nothing more.
constexpr int kGridFloats = kTimerLayer + kGridStride * kGridRows;

inline float* Record(c_MyApp& g, int r) { return g.m_Plr.Data() + r * kFields; }
inline bool IsPlayerSide(int r) { return r < kFirstOpponent; }
inline bool IsPlayer(int r) { return r >= kFirstPlayer && r <= kLastPlayer; }
inline bool IsOpponent(int r) { return r >= kFirstOpponent; }

// Fighters up (health above 0) among records first..last.
inline int CountUp(c_MyApp& g, int first, int last) {
    int up = 0;
    for (int r = first; r <= last; ++r) up += Record(g, r)[kHealth] > 0;
    return up;
}
// Players in the round, fallen or not.
inline int PlayersJoined(c_MyApp& g) {
    int joined = 0;
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) joined += Record(g, p)[kHealth] != 0;
    return joined;
}
// Picture slot of a fighter record: players use slots 1..4, opponents take turns over
// slots 5..8, so no opponent ever wears player 4's picture.
inline int FighterSlot(int r) {
    return IsPlayerSide(r) ? picture::kFirstPlayer + r - kFirstPlayer
                           : picture::kFirstOpponent + r % picture::kOpponentLooks;
}

// Drawing layer, 0 far .. 16 near; also the fighter's grid row.
inline int DrawLayer(const float* f) { return int(16 - (f[kDepth] - 4) * 0.125f); }

// Owner-layer index of the fighter's floor cell. Columns stay inside the aged area,
// so a claim always expires.
inline int GridCell(const float* f) {
    int cx = std::clamp(int(f[kX] / 16 + 1), 1, kGridCols - 2);
    int cz = std::clamp(DrawLayer(f), 1, kGridRows - 1);
    return kGridStride * cz + cx;
}

}  // namespace round_records
