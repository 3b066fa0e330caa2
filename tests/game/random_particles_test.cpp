// The random generator, the particle pool and the star field.
#include <cmath>
#include <map>

#include "game/particle_records.h"
#include "game/star_records.h"
#include "tests/game/game_fixture.h"
#include "tests/support/headless_game.h"

namespace {

class RandomTest : public GameFixture {};

TEST_F(RandomTest, SequenceFromTheStartSeed) {
    EXPECT_EQ(qv_random_Seed, 1234u);
    const float first = qv_random_Rnd();
    EXPECT_EQ(qv_random_Seed, 3067928073u);
    EXPECT_EQ(first, 11984094.0f / 16777216.0f);
    // The next step follows the same recurrence from the new seed.
    const uint32_t next = 3067928073u * 1664525u + 1013904223u;
    EXPECT_EQ(qv_random_Rnd(), float(next >> 8) / 16777216.0f);
    EXPECT_EQ(qv_random_Seed, next);
}

TEST_F(RandomTest, RangesOfRndForms) {
    for (int i = 0; i < 5000; ++i) {
        const float r = qv_random_Rnd();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        const float r2 = qv_random_Rnd2(-3, 5);
        ASSERT_GE(r2, -3.0f);
        ASSERT_LT(r2, 5.0f);
        const float r3 = qv_random_Rnd3(10);
        ASSERT_GE(r3, 0.0f);
        ASSERT_LT(r3, 10.0f);
    }
}

TEST_F(RandomTest, RandCoversWholeNumbersEvenly) {
    std::map<int, int> twos, threes;
    for (int i = 0; i < 6000; ++i) {
        ++twos[app->p_Rand(1, 2)];
        ++threes[app->p_Rand(0, 2)];
    }
    ASSERT_EQ(twos.size(), 2u);
    EXPECT_NEAR(twos[1], 3000, 200);
    EXPECT_NEAR(twos[2], 3000, 200);
    ASSERT_EQ(threes.size(), 3u);
    for (int v = 0; v <= 2; ++v) EXPECT_NEAR(threes[v], 2000, 200) << v;
    // A fractional upper end can reach up to 0.99 above it, rounded down.
    for (int i = 0; i < 2000; ++i) {
        const int n = app->p_Rand(1, 1.5f);
        ASSERT_TRUE(n == 1 || n == 2);
    }
}

// Seeding advances the generator 21 times from the seed, or from the clock for the marker.
TEST_F(RandomTest, SeedRndAdvances21TimesFromTheSeedOrTheClock) {
    AdvanceMs(5000);
    const int now = qv_app_Millisecs();
    for (const auto& [seed, start] : {std::pair<int, int>{42, 42}, {-37171650, now}}) {
        app->p_SeedRnd(seed);
        uint32_t expected = uint32_t(start);
        for (int i = 0; i < 21; ++i) expected = expected * 1664525u + 1013904223u;
        EXPECT_EQ(qv_random_Seed, expected) << seed;
    }
}

namespace particles {

using namespace particle_records;

class ParticleTest : public GameFixture {
protected:
    int Live() const {
        int n = 0;
        for (int i = 0; i <= app->m_ParticleMax; ++i) n += Particle(*app, i)[kType] != kFree;
        return n;
    }
};

TEST_F(ParticleTest, ThrowTakesTheLastFreeRecordAndFillsIt) {
    app->p_ThrowParticle(10, 20, kFallingSpark, ink::kGreen, 90, 5);
    const float* p = Particle(*app, 250);
    EXPECT_EQ(p[kType], kFallingSpark);
    EXPECT_EQ(p[kX], 10);
    EXPECT_EQ(p[kY], 20);
    EXPECT_FLOAT_EQ(p[kVX], 5);  // angle 90 is to the right
    EXPECT_NEAR(p[kVY], 0, 1e-5);
    EXPECT_GE(p[kAngle], 0);
    EXPECT_LT(p[kAngle], 360);
    EXPECT_GE(p[kSpin], -8);
    EXPECT_LT(p[kSpin], 8);
    EXPECT_GE(p[kLife], 0.7f);
    EXPECT_LT(p[kLife], 1.3f);
    EXPECT_EQ(p[kColour], ink::kGreen);
    EXPECT_EQ(p[kFrame], std::floor(p[kFrame]));
    app->p_ThrowParticle(0, 0, kSpark, ink::kRed, 0, 2);
    EXPECT_EQ(Particle(*app, 249)[kType], kSpark);
    EXPECT_NEAR(Particle(*app, 249)[kVY], -2, 1e-6);  // angle 0 is straight up
}

TEST_F(ParticleTest, RandomAngleAndSpeedAreDrawnFirst) {
    qv_random_Seed = 99;
    app->p_ThrowParticle(0, 0, 1, 1);
    const float vx = Particle(*app, 250)[kVX];
    const float vy = Particle(*app, 250)[kVY];
    qv_random_Seed = 99;
    const float angle = 360 * qv_random_Rnd();
    const float speed = 3 + 5 * qv_random_Rnd();
    EXPECT_NEAR(vx, speed * std::sin(angle * M_PI / 180), 1e-4);
    EXPECT_NEAR(vy, -speed * std::cos(angle * M_PI / 180), 1e-4);
}

TEST_F(ParticleTest, FullPoolDropsNewParticlesButKeepsScore) {
    for (int i = 0; i < 251; ++i) app->p_ThrowParticle(0, 0, 1, 1, 0, 1);
    EXPECT_EQ(Live(), 251);
    const uint32_t seed = qv_random_Seed;
    app->p_ThrowParticle(0, 0, 2, 1, 0, 1);
    EXPECT_EQ(Live(), 251);
    EXPECT_EQ(qv_random_Seed, seed);  // nothing drawn for a particle that is not started
    app->m_Score = 10;
    app->p_Gimme(100, 5, 5);
    EXPECT_EQ(app->m_Score, 110);
    EXPECT_EQ(Live(), 251);
}

TEST_F(ParticleTest, FloatingNumberRisesAndEndsAfter100Updates) {
    SetFontMetrics(app);
    app->p_Gimme(250, 100, 200);
    const float* p = Particle(*app, 250);
    EXPECT_EQ(p[kType], kFloatingNumber);
    EXPECT_EQ(p[kFrame], 250);
    EXPECT_EQ(p[kColour], ink::kYellow);
    EXPECT_EQ(app->m_Score, 250);
    app->p_CLS2D();
    app->p_DoParticles(1);
    EXPECT_EQ(DrawnText(), "250");
    for (const DrawCmd& c : Commands()) {
        EXPECT_EQ(c.rot, 0);
        EXPECT_EQ(c.r, 255);  // yellow
        EXPECT_EQ(c.g, 255);
        EXPECT_FLOAT_EQ(c.b, 25.5f);
        EXPECT_FLOAT_EQ(c.y, 199.75f);
    }
    int updates = 1;
    while (p[kType] != kFree && updates < 200) {
        app->p_DoParticles(1);
        ++updates;
    }
    EXPECT_EQ(updates, 101);
    EXPECT_NEAR(p[kY], 200 - 0.25f * 101, 0.01f);
}

TEST_F(ParticleTest, SparksMoveFadeAndUseTheCamera) {
    app->p_ThrowParticle(100, 100, kFallingSpark, ink::kBlue, 90, 4);
    float* p = Particle(*app, 250);
    p[kLife] = 1.5f;
    app->m_CamX = 10;
    app->m_CamY = -5;
    app->p_CLS2D();
    app->p_DoParticles(2);
    auto cmds = Commands();
    ASSERT_EQ(cmds.size(), 1u);
    EXPECT_EQ(cmds[0].kind, picture::kParts);
    EXPECT_FLOAT_EQ(cmds[0].x, 104 - 10);
    EXPECT_FLOAT_EQ(cmds[0].y, 100 + 5);
    EXPECT_EQ(cmds[0].alpha, 1);  // life above 1 is drawn opaque
    EXPECT_EQ(cmds[0].a4, 2);
    EXPECT_FLOAT_EQ(cmds[0].b, 255);     // blue
    EXPECT_FLOAT_EQ(p[kVX], 4 * 0.95f);  // drag
    EXPECT_FLOAT_EQ(p[kVY], 0.2f);       // gravity
    EXPECT_FLOAT_EQ(p[kLife], 1.49f);
    EXPECT_EQ(app->m_SizeX, 1);  // state reset afterwards
}

}  // namespace particles

namespace stars {

using namespace star_records;

class StarTest : public GameFixture {};

TEST_F(StarTest, ResetLaysOutNPlusOneStarsInsideTheScreen) {
    app->p_ResetStars(20);
    EXPECT_EQ(app->m_StarCount, 20);
    for (int i = 0; i <= 20; ++i) {
        const float* s = Star(*app, i);
        EXPECT_GE(s[kX], -8);
        EXPECT_LT(s[kX], 640 + 8);
        EXPECT_GE(s[kY], -8);
        EXPECT_LT(s[kY], 480 + 8);
        EXPECT_GE(s[kNear], 0.2f);
        EXPECT_LT(s[kNear], 0.8f);
        EXPECT_GE(s[kSpin], -0.5f);
        EXPECT_LT(s[kSpin], 0.5f);
    }
    EXPECT_EQ(Star(*app, 21)[kNear], 0);  // star 21 untouched
}

TEST_F(StarTest, ResetOutsideTheLimitsKeepsTheCount) {
    app->p_ResetStars(30);
    app->p_ResetStars(0);
    EXPECT_EQ(app->m_StarCount, 30);
    app->p_ResetStars(500);
    EXPECT_EQ(app->m_StarCount, 30);
    app->p_ResetStars(499);
    EXPECT_EQ(app->m_StarCount, 499);
}

TEST_F(StarTest, StarsDriftByNearnessWrapAndKeepOffTheFloor) {
    app->p_ResetStars(3);
    // Star 2 starts inside the bottom 128 units.
    const float placed[3][3] = {{100, 100, 0.5f}, {-15, 50, 0.8f}, {300, 400, 0.4f}};
    for (int i = 0; i < 3; ++i) {
        Star(*app, i)[kX] = placed[i][0];
        Star(*app, i)[kY] = placed[i][1];
        Star(*app, i)[kNear] = placed[i][2];
    }
    const float *s0 = Star(*app, 0), *s1 = Star(*app, 1), *s2 = Star(*app, 2);
    app->p_CLS2D();
    app->p_DoStars(-4, 2);
    EXPECT_FLOAT_EQ(s0[kX], 98);
    EXPECT_FLOAT_EQ(s0[kY], 101);
    EXPECT_FLOAT_EQ(s1[kX], -15 - 3.2f + 640 + 32);  // wrapped to the right edge
    EXPECT_LT(s2[kY], 400.8f - 100 + 0.01f);
    EXPECT_GE(s2[kY], 400.8f - 200);
    auto cmds = Commands();
    ASSERT_EQ(cmds.size(), 4u);
    EXPECT_EQ(cmds[0].kind, picture::kParts);
    EXPECT_FLOAT_EQ(cmds[0].alpha, 0.5f);
    EXPECT_FLOAT_EQ(cmds[0].rot, -s0[kAngle]);
}

}  // namespace stars

}  // namespace
