// Round of play: set-up, one update of the round, placing fighters.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "game/codes.h"
#include "game/globals.h"
#include "game/joining.h"
#include "game/my_app.h"
#include "game/particle_records.h"
#include "game/player_tags.h"
#include "game/round_records.h"

using namespace round_records;

namespace {

constexpr float kGravity = 0.55f;
constexpr float kFallMax = 12.0f;
constexpr float kJumpSpeed = -12.0f;
constexpr float kWalkStep = 3.0f;
constexpr float kStickDeadZone = 0.3f;
// Picks one of the blow sounds, sound::kFirstBlow..kLastBlow, evenly.
constexpr float kBlowSpread = 6.99f;
constexpr int kItemHidden = 1200;
constexpr int kItemTries = 64;  // enough on any real screen; bounds the loop on a tiny one
constexpr float kItemReach = 24.0f;
constexpr int kKnockOutPoints = 100, kItemPoints = 50;
constexpr int kLayers = 17;
constexpr int kFirstWave = 240;     // updates from the set-up to the first wave
constexpr int kEmptyFieldPace = 8;  // how much faster a group's wave clock runs with no opponent up

float Rnd() { return qv_random_Rnd(); }
bool Chance(float p) { return qv_random_Rnd() < p; }
float Floor() { return qv_Vortan_jscrh - 32.0f; }

// Which of the four neighbouring floor cells a fighter may step into this update. Rows
// count down as the depth grows, so the deeper neighbour is the row below.
struct Openings {
    bool left, right, deeper, nearer;
};

// Claims the fighter's floor cell when it is near the floor and reports the open neighbours:
// a cell is open when free or the fighter's own, or when the fighter is high in the air.
Openings ClaimCell(c_MyApp& g, int r, const float* f) {
    float* grid = g.m_Grid.Data();
    int cell = GridCell(f);
    if (f[kY] > qv_Vortan_jscrh - 90.0f && (grid[cell] == 0 || grid[cell] == r)) {
        grid[cell] = float(r);
        grid[kTimerLayer + cell] = 3;
    }
    bool high = f[kY] < qv_Vortan_jscrh - 96.0f;
    auto open = [&](int at) { return high || grid[at] == 0 || grid[at] == r; };
    return {open(cell - 1), open(cell + 1), open(cell - kGridStride), open(cell + kGridStride)};
}

void AgeGridClaims(c_MyApp& g) {
    float* grid = g.m_Grid.Data();
    for (int cz = 0; cz < kGridRows; ++cz) {
        for (int cx = 0; cx < kGridCols; ++cx) {
            int cell = kGridStride * cz + cx;
            grid[kTimerLayer + cell] -= 1;
            if (grid[kTimerLayer + cell] < 1) grid[cell] = 0;
        }
    }
}

void Physics(float* f) {
    f[kX] += f[kVX];
    f[kY] += f[kVY];
    if (f[kVY] < kFallMax) f[kVY] += kGravity;
    f[kGround] = std::max(f[kGround] - 1, 0.0f);
    if (f[kY] > Floor()) {
        f[kY] = Floor();
        f[kVY] = 0;
        f[kGround] = 3;
    }
}

constexpr float kLeftBound = 40;  // the front rows keep this margin on the left

// Keeps the whole body on screen. Deeper rows are drawn further left (at x - depth / 2),
// so the bounds move with the depth. True when the fighter had to be moved.
bool KeepOnScreen(float* f) {
    const float shift = f[kDepth] / 2;
    const float left = std::max(kLeftBound, kBodyReach + shift);
    const float right = std::max(left, qv_Vortan_jscrw - kBodyReach + shift);
    const float x = std::clamp(f[kX], left, right);
    const bool moved = x != f[kX];
    f[kX] = x;
    return moved;
}

// A knocked-out body slides, hops a little while it slides fast, settles and counts down.
void UpdateKnockedOut(int r, float* f) {
    if (f[kX] > 32 && f[kX] < qv_Vortan_jscrw - 32) {
        f[kX] += f[kSlide];
        f[kSlide] *= 0.93f + 0.05f * Rnd();
    } else {
        f[kSlide] = 0;  // stopped by the edge; a body left sliding there would rise forever
    }
    if (KeepOnScreen(f)) f[kSlide] = 0;
    if (std::fabs(f[kSlide]) > 1) {
        f[kY] -= 0.3f;
    } else if (std::fabs(f[kSlide]) < 1 && f[kY] < Floor()) {
        f[kY] += 0.5f;
    }
    f[kHealth] -= 1;
    if (IsPlayerSide(r)) {
        f[kHealth] = std::max(f[kHealth], kPlayerFloorHealth);
    } else if (f[kHealth] < kOpponentGoneHealth) {
        f[kHealth] = 0;
    }
}

// How far an opponent is from a fighter by the gaps its chase closes: across and into
// the screen, height aside.
float ChaseGap(const float* f, const float* t) {
    return std::fabs(t[kX] - f[kX]) + std::fabs(t[kDepth] - f[kDepth]);
}

// The player up nearest to the opponent, the lower record on a tie; with nobody up the
// target stays as it is (record 1 while it is unset), since a body is never struck.
int NearestPlayerUp(c_MyApp& g, const float* f) {
    int nearest = f[kTarget] == 0 ? kFirstPlayer : int(f[kTarget]);
    float best = 0;
    bool found = false;
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) {
        const float* t = Record(g, p);
        if (t[kHealth] <= 0) continue;
        const float gap = ChaseGap(f, t);
        if (!found || gap < best) {
            nearest = p;
            best = gap;
            found = true;
        }
    }
    return nearest;
}

// Opponents drift towards the player up nearest to them with a random aim offset, rest
// now and then, and start a strike with a small chance each update.
void ChaseTarget(c_MyApp& g, float* f, Openings open) {
    f[kTarget] = float(NearestPlayerUp(g, f));
    if (Chance(1.0f / 60)) f[kAimDepth] = -32 + 64 * Rnd();
    if (Chance(1.0f / 60)) f[kAimX] = -64 + 128 * Rnd();
    f[kRest] -= 1;
    if (f[kRest] < -60 && Chance(1.0f / 60)) f[kRest] = 32 + 32 * Rnd();
    bool moving = f[kRest] <= 0;
    if (f[kAttack] < 1 || f[kAttack] > 16) {
        int target = std::clamp(int(f[kTarget]), 0, kLastRecord);
        const float* t = Record(g, target);
        float aimX = f[kX] + f[kAimX];
        if (t[kX] + 12 < aimX && moving && open.left) {
            f[kX] -= f[kSpeed];
            f[kFacing] = -1;
        }
        if (f[kX] + f[kAimX] < t[kX] - 12 && moving && open.right) {
            f[kX] += f[kSpeed];
            f[kFacing] = 1;
        }
        if (t[kDepth] + 6 < f[kDepth] + f[kAimDepth] && Chance(0.2f) && moving && open.nearer) {
            f[kDepth] -= f[kSpeed];
        }
        if (f[kDepth] + f[kAimDepth] < t[kDepth] - 6 && Chance(0.2f) && moving && open.deeper) {
            f[kDepth] += f[kSpeed];
        }
    }
    if (Chance(0.01f)) {
        f[kAttack] = 1;
        f[kStrikeKind] = float(g.p_Rand(1, 2));
    }
}

// Walking from the stick and the direction keys; up walks into the screen for both.
void WalkPlayer(c_MyApp& g, int port, float* f, Openings open, float& dx, float& dz) {
    float stickX = g.p_StickX(pad::kLeftStick, port);
    float stickY = g.p_StickY(pad::kLeftStick, port);
    if (std::fabs(stickX) > kStickDeadZone) dx = kWalkStep * stickX;
    // The stick reads negative when pushed up, like the up control.
    if (std::fabs(stickY) > kStickDeadZone) dz = -kWalkStep * stickY;
    if (g.p_PlayKey(control::kLeft, 0, port)) dx = -kWalkStep;
    if (g.p_PlayKey(control::kRight, 0, port)) dx = kWalkStep;
    if (g.p_PlayKey(control::kUp, 0, port)) dz = kWalkStep;
    if (g.p_PlayKey(control::kDown, 0, port)) dz = -kWalkStep;
    if ((dx < 0 && !open.left) || (dx > 0 && !open.right)) dx = 0;
    if ((dz < 0 && !open.nearer) || (dz > 0 && !open.deeper)) dz = 0;
    if (dx != 0) f[kFacing] = dx > 0 ? 1.0f : -1.0f;
    f[kX] += dx;
    f[kDepth] += dz;
}

void JumpPlayer(c_MyApp& g, int port, float* f) {
    if (!g.p_PlayKey(control::kJump, 0, port)) {
        f[kJumpLatch] = 0;
    } else if (f[kGround] > 0 && f[kJumpLatch] == 0) {
        f[kVY] = kJumpSpeed;
        f[kJumpLatch] = 1;
    }
}

// A strike starts when the button goes down and lasts while it is held;
// returns false once the button is up, which also cancels the strike.
bool HoldStrike(c_MyApp& g, int port, float* f) {
    if (!g.p_PlayKey(control::kStrike, 0, port)) {
        f[kAttack] = 0;
        return false;
    }
    if (f[kAttack] == 0) {
        f[kAttack] = 1;
        f[kStrikeKind] = float(g.p_Rand(1, 2));
        float rate = 1.2f + 0.4f * Rnd();
        g.p_PlaySFX(sound::kSwing, rate, 0.5f, 0);
    }
    return true;
}

void ThrowSparks(c_MyApp& g, const float* f, int victim) {
    float x = f[kX] - f[kDepth] / 2 + 12 * f[kFacing];
    float y = f[kY] - f[kDepth] - 8;
    for (int i = 0; i < 5; ++i) {
        float speed = 2 + Rnd();
        float angle = 360 * Rnd();
        int colour = int(ink::kRed + 8 * Rnd());  // red to pink
        // A straight or a falling spark.
        int type = int(std::floor(particle_records::kSpark + 1.99f * Rnd()));
        g.p_ThrowParticle(x, y, type, colour, angle, speed);
    }
    if (!IsPlayerSide(victim)) return;
    for (int i = 0; i < 10; ++i) {
        float speed = 5 + 3 * Rnd();
        float angle = -32 + 64 * Rnd();
        int type = int(std::floor(particle_records::kSpark + 1.99f * Rnd()));
        g.p_ThrowParticle(x, y, type, victim, angle, speed);
    }
}

// Each player's own share of the round's score, for the game-over panel.
void CreditPlayer(c_MyApp& g, int r, int points) {
    if (IsPlayer(r)) g.m_PlayerPoints[r - kFirstPlayer] += points;
}

// Striker r lands a blow on q: health, knock-out, score, sounds and sparks.
void Hit(c_MyApp& g, int r, float* f, int q, float* v) {
    bool byPlayer = IsPlayerSide(r);
    bool onPlayer = IsPlayerSide(q);
    v[kHealth] -= 1;
    if (v[kHealth] <= 0) {
        v[kHealth] = -1;
        v[kSlide] = f[kFacing] * (2 + 2 * Rnd());
        if (byPlayer) {
            g.p_Gimme(kKnockOutPoints, v[kX] - v[kDepth] / 2, f[kY] - f[kDepth] - 49);
            CreditPlayer(g, r, kKnockOutPoints);
            g.m_KnockOuts[r - kFirstPlayer] += 1;
            float rate = 0.7f + 0.6f * Rnd();
            g.p_PlaySFX(sound::kKnockOut, rate, 1, 0);
        }
        if (onPlayer) g.p_PlaySFX(sound::kPlayerDown, 1);
    }
    float rate = 0.7f + 0.6f * Rnd();
    int blow = int(std::floor(sound::kFirstBlow + kBlowSpread * Rnd()));
    g.p_PlaySFX(blow, rate, 1, 0);
    if (onPlayer) {
        float cry = 0.8f + 0.4f * Rnd();
        g.p_PlaySFX(sound::kPlayerHurt, cry, 1, 0);
    }
    f[kAttack] = 3;
    ThrowSparks(g, f, q);
}

// The blow reaches 12 units ahead; depth is not compared. One hit per strike; a protected
// player is passed by.
void StrikeTest(c_MyApp& g, int r, float* f) {
    bool byPlayer = IsPlayerSide(r);
    float reachX = f[kX] + 12 * f[kFacing];
    for (int q = 0; q <= kLastRecord && f[kAttack] == 2; ++q) {
        float* v = Record(g, q);
        if (q == r || v[kHealth] <= 0 || IsPlayerSide(q) == byPlayer || Protected(g, q)) continue;
        if (std::fabs(v[kX] - reachX) < 18 && std::fabs(f[kY] - v[kY]) < 12) Hit(g, r, f, q, v);
    }
}

void Sway(c_MyApp& g, int r, float* f, float dx, float dz) {
    f[kSway] -= 1;
    if (f[kSway] < 1) {
        f[kSway] = 12;
        f[kTilt] = -16 + 32 * Rnd();
        f[kWalkFrame] = float(g.p_Rand(0, 3));
    }
    if (IsPlayer(r) && std::fabs(dx) + std::fabs(dz) < 1) f[kTilt] = 0;
}

void DrawShadow(c_MyApp& g, const float* f) {
    g.p_SetCol(0, 0, 0, 0.35f);
    g.p_Oval(f[kX] - f[kDepth] / 2, qv_Vortan_jscrh - f[kDepth] - 16, 16, 8);
}

void UpdateActive(c_MyApp& g, int r, float* f) {
    Physics(f);
    Openings open = ClaimCell(g, r, f);
    if (f[kAttack] > 0) f[kAttack] += 1;
    float dx = 0, dz = 0;
    bool mayStrike = true;
    if (IsOpponent(r)) {
        ChaseTarget(g, f, open);
    } else if (IsPlayer(r)) {
        int port = r - kFirstPlayer;  // player p plays with pad p - 1
        if (f[kAttack] == 0 || f[kAttack] > 16 || f[kGround] == 0)
            WalkPlayer(g, port, f, open, dx, dz);
        JumpPlayer(g, port, f);
        mayStrike = HoldStrike(g, port, f);
    }
    if (mayStrike && f[kAttack] == 2) StrikeTest(g, r, f);
    Sway(g, r, f, dx, dz);
    f[kDepth] = std::clamp(f[kDepth], 16.0f, 96.0f);
    KeepOnScreen(f);
    DrawShadow(g, f);
}

void UpdateFighters(c_MyApp& g) {
    for (int r = 0; r <= kLastRecord; ++r) {
        float* f = Record(g, r);
        if (f[kHealth] < 0) {
            UpdateKnockedOut(r, f);
        } else if (f[kHealth] > 0) {
            UpdateActive(g, r, f);
        }
    }
}

void PickUpItem(c_MyApp& g, int r, float* f, float drawX, float drawY) {
    if (g.m_ItemTimer >= 0) return;
    if (std::fabs(drawX - g.m_ItemX) >= kItemReach || std::fabs(drawY - g.m_ItemY) >= kItemReach)
        return;
    f[kHealth] = std::min(f[kHealth] + 2, kPlayerHealth);
    g.p_Gimme(kItemPoints, drawX, drawY - 32);
    CreditPlayer(g, r, kItemPoints);
    g.p_PlaySFX(sound::kItem, 1);
    g.m_ItemTimer = kItemHidden;
    g.m_ItemsTaken += 1;
    for (int i = 0; i < 21; ++i) {
        float speed = 3 + 2 * Rnd();
        float angle = -70 + 140 * Rnd();
        g.p_ThrowParticle(float(g.m_ItemX), float(g.m_ItemY), particle_records::kFallingSpark,
                          ink::kRed, angle, speed);
    }
}

// Opponents' bodies stay solid for 60 updates, then fade out over 122.
float BodyAlpha(int r, float health) {
    if (IsPlayerSide(r)) return 1;
    float fade = (health + 60) / 122 + 1;
    if (fade <= 0) return 0;
    return std::min(fade, 1.0f);
}

// A player standing on the shown bonus item picks it up.
void PickUp(c_MyApp& g, int r, float* f) {
    if (IsPlayer(r) && f[kHealth] > 0)
        PickUpItem(g, r, f, f[kX] - f[kDepth] / 2, f[kY] - f[kDepth]);
}

void DrawFighter(c_MyApp& g, int r, const float* f) {
    float drawX = f[kX] - f[kDepth] / 2;
    float drawY = f[kY] - f[kDepth];
    float mirror = f[kFacing] < 0 ? -1.0f : 1.0f;
    int slot = FighterSlot(r);
    g.p_SetCol(255, 255, 255);
    if (f[kHealth] < 0) {
        g.p_Alpha(BodyAlpha(r, f[kHealth]));
        g.p_SetSize(mirror, 0.5f);
        g.p_SetRot(0);
        g.p_DrawImg(slot, drawX, drawY + 8, kFrameKnockedOut);
        return;
    }
    float pose = f[kWalkFrame];
    float rotation = f[kTilt];
    if (f[kAttack] > 0 && f[kAttack] < 16) pose = kFrameStrike + f[kStrikeKind];
    if (f[kY] < qv_Vortan_jscrh - 64) {
        pose = kFrameInAir;
        rotation = mirror > 0 ? 4 * f[kVY] - 8 : 8 - 4 * f[kVY];
    }
    g.p_SetCol(255, 255, 255, ProtectionAlpha(g, r));
    g.p_SetSize(mirror, 1);
    g.p_SetRot(rotation);
    g.p_DrawImg(slot, drawX, drawY - 5, pose);
}

// Far layers first; within a layer, records in order. A live round lets players pick the
// bonus item up as they are drawn.
void DrawFighters(c_MyApp& g, bool live) {
    int layer[kLastRecord + 1];
    for (int r = 0; r <= kLastRecord; ++r) {
        const float* f = Record(g, r);
        layer[r] = f[kHealth] != 0 ? DrawLayer(f) : -1;
    }
    for (int l = 0; l < kLayers; ++l) {
        for (int r = 0; r <= kLastRecord; ++r) {
            if (layer[r] != l) continue;
            if (live) PickUp(g, r, Record(g, r));
            DrawFighter(g, r, Record(g, r));
        }
    }
    DrawPlayerTags(g);
}

int FirstFreeOpponent(c_MyApp& g) {
    for (int r = kFirstOpponent; r <= kLastRecord; ++r) {
        if (Record(g, r)[kHealth] == 0) return r;
    }
    return -1;
}

// Waves come once someone has joined: the clock of an empty round stops one join window
// short of its first wave, so whoever joins it late finds a fresh one, and friends joining
// together are in before any opponent. A lone player's waves grow after each one (Easy's
// stop at 2 and Normal's at 4, Hard's keep growing). A group (two or more joined) gets such
// a draw for every player up, so the pressure on each stays about a lone player's, and once
// under way its wave clock runs fast while no opponent is up, so no one waits long.
void SpawnWave(c_MyApp& g) {
    const bool underWay = g.m_Joined == 1 && g.m_JoinTimer == 0;
    const bool group = PlayersJoined(g) >= 2;
    const bool emptyField = CountUp(g, kFirstOpponent, kLastRecord) == 0;
    g.m_SpawnTimer -= underWay && group && emptyField ? kEmptyFieldPace : 1;
    if (g.m_Joined == 0) g.m_SpawnTimer = std::max(g.m_SpawnTimer, kJoinWindow);
    if (g.m_SpawnTimer >= 0) return;
    g.m_SpawnTimer = g.m_SpawnGap;
    const int draws = std::max(1, CountUp(g, kFirstPlayer, kLastPlayer));
    int count = 0;
    for (int i = 0; i < draws; ++i) count += g.p_Rand(1, g.m_SpawnMax);
    for (int i = 0; i < count; ++i) {
        int r = FirstFreeOpponent(g);
        if (r < 0) break;
        float x = std::trunc(32 + (qv_Vortan_jscrw - 64) * Rnd());
        g.p_AddPlayer(r, x, -64);
    }
    g.m_SpawnMax += 0.15f * g.m_Difficulty;
    if (g.m_Difficulty == 1) g.m_SpawnMax = std::min(g.m_SpawnMax, 2.0f);
    if (g.m_Difficulty == 2) g.m_SpawnMax = std::min(g.m_SpawnMax, 4.0f);
}

void CountPlayers(c_MyApp& g) {
    g.m_InPlay = 4;
    g.m_Dead = 0;
    g.m_Alive = 0;
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) {
        float health = Record(g, p)[kHealth];
        if (health == 0) g.m_InPlay -= 1;
        if (health < kDeadHealth) g.m_Dead += 1;
        if (health > 0) g.m_Alive += 1;
    }
}

void CheckRoundEnd(c_MyApp& g) {
    if (g.m_Dead >= g.m_InPlay && g.m_RoundOver == 0 && g.m_Joined == 1) {
        g.m_RoundOver = 1;
        g.p_StopTune();
    }
}

// A new spot, away from player 1, is picked every hidden update.
void PlaceItem(c_MyApp& g) {
    float player1X = Record(g, kFirstPlayer)[kX];
    for (int i = 0; i < kItemTries; ++i) {
        g.m_ItemX = int(std::floor(32 + (qv_Vortan_jscrw - 63.01f) * Rnd()));
        if (std::fabs(g.m_ItemX - player1X) > 64) break;
    }
    g.m_ItemY = g.p_Rand(qv_Vortan_jscrh - 96, qv_Vortan_jscrh - 32);
}

void DrawItem(c_MyApp& g, bool dimmed) {
    g.p_Alpha(dimmed ? 0.4f : 1);
    g.p_DrawImg(picture::kIcons, float(g.m_ItemX), float(g.m_ItemY), frame::kItemIcon);
}

// Hidden for about 1200 updates, then shown for about 640, dimmed for the last 140.
void BonusItem(c_MyApp& g) {
    if (g.m_RoundOver >= 1) g.m_ItemTimer = 100;
    if (g.m_ItemTimer > 0) {
        g.m_ItemTimer -= g.p_Rand(0, 2);
        PlaceItem(g);
        if (g.m_ItemTimer > 0) return;
    }
    g.m_ItemTimer -= g.p_Rand(0, 2);
    const bool dimmed = g.m_ItemTimer < -500;
    if (g.m_ItemTimer < -640) g.m_ItemTimer = kItemHidden;
    DrawItem(g, dimmed);
}

void DrawBackdrop(c_MyApp& g) {
    g.p_SetSize(3);
    g.p_DrawImg(picture::kBackdrop, qv_Vortan_jscrw * 0.5f, qv_Vortan_jscrh - 348,
                float(g.m_Backdrop));
}

void Backdrop(c_MyApp& g) {
    g.p_DoBG(0, 0, 80);
    g.m_CamDX = (g.m_CamX - g.m_CamTX) * 0.125f;
    g.m_CamDY = (g.m_CamY - g.m_CamTY) * 0.125f;
    g.m_CamX -= g.m_CamDX;
    g.m_CamY -= g.m_CamDY;
    DrawBackdrop(g);
    if (g.m_Backdrop == 1) g.p_DoStars(g.m_CamDX - 0.25f, g.m_CamDY);
}

}  // namespace

int c_MyApp::p_LoadGame() {
    m_Mode = mode::kRound;
    p_PlayTune("gale", 1);
    std::fill(m_Grid.Data(), m_Grid.Data() + m_Grid.Length(), 0.0f);
    std::fill(m_Plr.Data(), m_Plr.Data() + 5001, 0.0f);
    p_ResetStars(100);
    m_ParticleMax = particle_records::kPoolSize;
    for (int i = 0; i <= m_ParticleMax; ++i) {
        particle_records::Particle(*this, i)[particle_records::kType] = particle_records::kFree;
    }
    m_Paused = 0;
    m_Score = 0;
    m_ShownScore = 0;
    m_RoundOver = 0;
    m_OverTimer = 0;
    m_OverArmed = 0;
    m_QuitRound = 0;
    m_PlaceTaken = -1;
    m_CamX = m_CamY = m_CamTX = m_CamTY = 0;
    m_Backdrop = int(std::floor(qv_random_Rnd() * 3.99f));
    m_SpawnTimer = kFirstWave;
    m_SpawnMax = 1;
    m_ItemTimer = kItemHidden;
    m_Joined = 0;
    m_JoinTimer = 0;
    m_SpawnGap = 290 - 50 * m_Difficulty;
    m_ItemsTaken = 0;
    std::fill(std::begin(m_KnockOuts), std::end(m_KnockOuts), 0);
    std::fill(std::begin(m_PlayerPoints), std::end(m_PlayerPoints), 0);
    std::fill(std::begin(m_Protection), std::end(m_Protection), 0);
    return 0;
}

int c_MyApp::p_Game() {
    Backdrop(*this);
    p_AnalogueControl();
    JoinPlayers(*this);
    AgeGridClaims(*this);
    UpdateFighters(*this);
    DrawFighters(*this, true);
    SpawnWave(*this);
    p_DoParticles(1);
    CountPlayers(*this);
    CheckRoundEnd(*this);
    BonusItem(*this);
    DrawJoinPrompts(*this);
    p_ScoreDisplay();
    return 0;
}

int c_MyApp::p_DrawRound() {
    DrawBackdrop(*this);
    if (m_Backdrop == 1) p_DrawStars();
    p_ResetDraw();
    for (int r = 0; r <= kLastRecord; ++r) {
        if (Record(*this, r)[kHealth] > 0) DrawShadow(*this, Record(*this, r));
    }
    DrawFighters(*this, false);
    p_DrawParticles(1);
    if (m_ItemTimer <= 0) DrawItem(*this, m_ItemTimer < -500);
    DrawJoinPrompts(*this);
    p_DrawScoreDisplay();
    return 0;
}

int c_MyApp::p_RoundResized(float oldH) {
    const float rise = qv_Vortan_jscrh - oldH;
    for (int r = 0; r <= kLastRecord; ++r) {
        float* f = Record(*this, r);
        if (f[kHealth] == 0) continue;
        f[kY] = std::min(f[kY] + rise, Floor());
        KeepOnScreen(f);
    }
    m_ItemY = int(float(m_ItemY) + rise);
    m_ItemX = std::min(m_ItemX, int(qv_Vortan_jscrw) - 32);
    for (int i = 0; i <= m_ParticleMax; ++i)
        particle_records::Particle(*this, i)[particle_records::kY] += rise;
    return 0;
}

int c_MyApp::p_AddPlayer(int r, float x, float y) {
    if (r < 0 || r >= m_Plr.Length() / kFields) return 0;
    float* f = Record(*this, r);
    f[kHealth] = IsPlayerSide(r) ? kPlayerHealth : kOpponentHealth;
    f[kX] = x;
    f[kY] = y;
    f[kVX] = 0;
    f[kVY] = 0;
    f[kFacing] = 1;
    f[kDepth] = kStartDepth;
    f[kSpeed] = 1.5f;
    return 0;
}
