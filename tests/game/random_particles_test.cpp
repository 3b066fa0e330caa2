// The random generator, the particle pool and the star field.
#include <cmath>
#include <map>

#include "tests/game/game_fixture.h"

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

TEST_F(RandomTest, SeedRndAdvances21Times) {
    app->p_SeedRnd(42);
    uint32_t expected = 42;
    for (int i = 0; i < 21; ++i) expected = expected * 1664525u + 1013904223u;
    EXPECT_EQ(qv_random_Seed, expected);
}

TEST_F(RandomTest, SeedRndOfTheMarkerUsesTheClock) {
    AdvanceMs(5000);
    const int now = qv_app_Millisecs();
    app->p_SeedRnd(-37171650);
    uint32_t expected = uint32_t(now);
    for (int i = 0; i < 21; ++i) expected = expected * 1664525u + 1013904223u;
    EXPECT_EQ(qv_random_Seed, expected);
}

class ParticleTest : public GameFixture {
protected:
    int Live() const {
        int n = 0;
        for (int i = 0; i <= app->m_ParticleMax; ++i) n += app->m_Particle[10 * i] != 0;
        return n;
    }
};

TEST_F(ParticleTest, ThrowTakesTheLastFreeRecordAndFillsIt) {
    app->p_ThrowParticle(10, 20, 2, 4, 90, 5);
    const float* p = app->m_Particle.Data() + 10 * 250;
    EXPECT_EQ(p[0], 2);
    EXPECT_EQ(p[1], 10);
    EXPECT_EQ(p[2], 20);
    EXPECT_FLOAT_EQ(p[3], 5);  // angle 90 is to the right
    EXPECT_NEAR(p[4], 0, 1e-5);
    EXPECT_GE(p[5], 0);
    EXPECT_LT(p[5], 360);
    EXPECT_GE(p[6], -8);
    EXPECT_LT(p[6], 8);
    EXPECT_GE(p[7], 0.7f);
    EXPECT_LT(p[7], 1.3f);
    EXPECT_EQ(p[8], 4);
    EXPECT_EQ(p[9], std::floor(p[9]));
    app->p_ThrowParticle(0, 0, 1, 1, 0, 2);
    EXPECT_EQ(app->m_Particle[10 * 249], 1);
    EXPECT_NEAR(app->m_Particle[10 * 249 + 4], -2, 1e-6);  // angle 0 is straight up
}

TEST_F(ParticleTest, RandomAngleAndSpeedAreDrawnFirst) {
    qv_random_Seed = 99;
    app->p_ThrowParticle(0, 0, 1, 1);
    const float vx = app->m_Particle[10 * 250 + 3];
    const float vy = app->m_Particle[10 * 250 + 4];
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
    app->m_Font = 90;
    app->m_ImgSize[270] = 7;
    app->m_ImgSize[271] = 10;
    app->p_Gimme(250, 100, 200);
    const float* p = app->m_Particle.Data() + 10 * 250;
    EXPECT_EQ(p[0], 99);
    EXPECT_EQ(p[9], 250);
    EXPECT_EQ(p[8], 3);
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
    while (p[0] != 0 && updates < 200) {
        app->p_DoParticles(1);
        ++updates;
    }
    EXPECT_EQ(updates, 101);
    EXPECT_NEAR(p[2], 200 - 0.25f * 101, 0.01f);
}

TEST_F(ParticleTest, SparksMoveFadeAndUseTheCamera) {
    app->p_ThrowParticle(100, 100, 2, 6, 90, 4);
    float* p = app->m_Particle.Data() + 10 * 250;
    p[7] = 1.5f;
    app->m_CamX = 10;
    app->m_CamY = -5;
    app->p_CLS2D();
    app->p_DoParticles(2);
    auto cmds = Commands();
    ASSERT_EQ(cmds.size(), 1u);
    EXPECT_EQ(cmds[0].kind, 96);
    EXPECT_FLOAT_EQ(cmds[0].x, 104 - 10);
    EXPECT_FLOAT_EQ(cmds[0].y, 100 + 5);
    EXPECT_EQ(cmds[0].alpha, 1);  // life above 1 is drawn opaque
    EXPECT_EQ(cmds[0].a4, 2);
    EXPECT_FLOAT_EQ(cmds[0].b, 255);  // palette 6, blue
    EXPECT_FLOAT_EQ(p[3], 4 * 0.95f);  // drag
    EXPECT_FLOAT_EQ(p[4], 0.2f);       // gravity
    EXPECT_FLOAT_EQ(p[7], 1.49f);
    EXPECT_EQ(app->m_SizeX, 1);  // state reset afterwards
}

class StarTest : public GameFixture {};

TEST_F(StarTest, ResetLaysOutNPlusOneStarsInsideTheScreen) {
    app->p_ResetStars(20);
    EXPECT_EQ(app->m_StarCount, 20);
    for (int i = 0; i <= 20; ++i) {
        const float* s = app->m_Star.Data() + 10 * i;
        EXPECT_GE(s[1], -8);
        EXPECT_LT(s[1], 640 + 8);
        EXPECT_GE(s[2], -8);
        EXPECT_LT(s[2], 480 + 8);
        EXPECT_GE(s[3], 0.2f);
        EXPECT_LT(s[3], 0.8f);
        EXPECT_GE(s[6], -0.5f);
        EXPECT_LT(s[6], 0.5f);
    }
    EXPECT_EQ(app->m_Star[10 * 21 + 3], 0);  // star 21 untouched
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
    float* s0 = app->m_Star.Data();
    s0[1] = 100;
    s0[2] = 100;
    s0[3] = 0.5f;
    float* s1 = app->m_Star.Data() + 10;
    s1[1] = -15;
    s1[2] = 50;
    s1[3] = 0.8f;
    float* s2 = app->m_Star.Data() + 20;
    s2[1] = 300;
    s2[2] = 400;  // inside the bottom 128 units
    s2[3] = 0.4f;
    app->p_CLS2D();
    app->p_DoStars(-4, 2);
    EXPECT_FLOAT_EQ(s0[1], 98);
    EXPECT_FLOAT_EQ(s0[2], 101);
    EXPECT_FLOAT_EQ(s1[1], -15 - 3.2f + 640 + 32);  // wrapped to the right edge
    EXPECT_LT(s2[2], 400.8f - 100 + 0.01f);
    EXPECT_GE(s2[2], 400.8f - 200);
    auto cmds = Commands();
    ASSERT_EQ(cmds.size(), 4u);
    EXPECT_EQ(cmds[0].kind, 96);
    EXPECT_FLOAT_EQ(cmds[0].alpha, 0.5f);
    EXPECT_FLOAT_EQ(cmds[0].rot, -s0[5]);
}

}  // namespace
