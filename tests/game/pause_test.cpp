// The pause panel of a round: its opening and closing, the trail toy and its keys, the
// three controls and their cursor, and quitting the round.
#include <string>
#include <vector>

#include "game/particle_records.h"
#include "game/round_records.h"
#include "tests/game/front_end_fixture.h"

namespace {

using high_scores::BestIndex;
using high_scores::LastIndex;

class PauseTest : public FrontEndFixture {
protected:
    void SetUp() override {
        FrontEndFixture::SetUp();
        EnterRound();
    }
    void Pause() {
        Press(vk::kEscape);
        ASSERT_EQ(app->m_Paused, 1);
    }
    void Press(int key) { Hold(key, 1); }
    std::optional<DrawCmd> Ring() const { return FindImage(picture::kIcons, frame::kRingIcon); }
    int Opponents() const {
        int count = 0;
        for (int r = round_records::kFirstOpponent; r <= round_records::kLastRecord; ++r) {
            count += round_records::Record(*app, r)[round_records::kHealth] != 0 ? 1 : 0;
        }
        return count;
    }
};

TEST_F(PauseTest, PanelOpensInStepsUnderADimAndResumingTakesTwelveUpdates) {
    Pause();
    EXPECT_EQ(app->m_PauseRow, pause_row::kResume);
    Update(20);
    EXPECT_GE(app->m_PauseSlide, 240);
    EXPECT_LT(app->m_PauseSlide, 240 + 24);
    EXPECT_TRUE(Shows("PAUSED"));
    // The dim follows the panel.
    int dims = 0;
    for (const DrawCmd& c : Commands()) {
        if (c.kind == kCmdRect && c.Place() == Quad{0, 0, 640, 480} && c.r == 0) {
            EXPECT_NEAR(c.alpha, app->m_PauseSlide / (0.8f * 480), 1e-5);
            ++dims;
        }
    }
    EXPECT_GT(dims, 0);
    KeyDown(vk::kEnter);
    Update();
    KeyUp(vk::kEnter);
    ASSERT_EQ(app->m_PauseSel, -1);
    int updates = 0;
    while (app->m_Paused == 1 && updates < 50) {
        Update();
        ++updates;
    }
    EXPECT_EQ(updates, 12);
    EXPECT_LT(app->m_PauseSlide, -32);
}

// Everything the round moves, ages or draws at random, copied.
struct RoundState {
    std::vector<float> fighters, particles, stars, grid;
    std::vector<int> numbers;
    explicit RoundState(c_MyApp& g)
        : fighters(g.m_Plr.Data(), g.m_Plr.Data() + g.m_Plr.Length()),
          particles(g.m_Particle.Data(), g.m_Particle.Data() + g.m_Particle.Length()),
          stars(g.m_Star.Data(), g.m_Star.Data() + g.m_Star.Length()),
          grid(g.m_Grid.Data(), g.m_Grid.Data() + g.m_Grid.Length()),
          numbers{g.m_Score,
                  g.m_ShownScore,
                  g.m_ItemTimer,
                  g.m_ItemX,
                  g.m_ItemY,
                  g.m_SpawnTimer,
                  g.m_RoundOver,
                  int(qv_random_Seed),
                  int(g.m_CamX * 1000),
                  int(g.m_SpawnMax * 1000)} {}
    bool operator==(const RoundState& o) const {
        return fighters == o.fighters && particles == o.particles && stars == o.stars &&
               grid == o.grid && numbers == o.numbers;
    }
};

TEST_F(PauseTest, PausedRoundIsDrawnFrozenUnderTheDim) {
    using namespace round_records;
    app->m_Backdrop = 1;  // the one with the star field
    for (int p = 0; p < 2; ++p) PadDown(p, pad::kA);
    Update();
    for (int p = 0; p < 2; ++p) PadUp(p, pad::kA);
    Update(300);  // players on the floor, a wave of opponents in
    for (int i = 0; i < 5; ++i)
        app->p_ThrowParticle(300, 300, particle_records::kSpark + i % 2, ink::kRed);
    app->p_Gimme(100, 300, 200);
    app->m_ItemTimer = -10;  // the bonus item shows
    Update();
    Pause();
    const RoundState frozen(*app);
    ASSERT_GT(Opponents(), 0);
    Hold(vk::kLeft, 30);  // the trail's keys act meanwhile
    Update(60);
    EXPECT_TRUE(RoundState(*app) == frozen)
        << "something in the paused round moved, aged or drew at random";

    // The field as it stands, under the dim: backdrop, stars, every fighter where it
    // stands, the bonus item and the score display, all before the dim rectangle.
    const std::vector<DrawCmd> list = Commands();
    size_t dim = list.size();
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].kind == kCmdRect && list[i].Place() == Quad{0, 0, 640, 480} && list[i].r == 0)
            dim = i;
    }
    ASSERT_LT(dim, list.size());
    const auto drawnBeforeDim = [&](int slot, float x, float y) {
        for (size_t i = 0; i < dim; ++i) {
            if (list[i].kind == float(slot) && list[i].x == x && list[i].y == y) return true;
        }
        return false;
    };
    EXPECT_TRUE(drawnBeforeDim(picture::kBackdrop, 320, 480 - 348));
    for (int r = 0; r <= kLastRecord; ++r) {
        const float* f = Record(*app, r);
        if (f[kHealth] <= 0) continue;
        EXPECT_TRUE(drawnBeforeDim(FighterSlot(r), f[kX] - f[kDepth] / 2, f[kY] - f[kDepth] - 5))
            << "fighter " << r;
    }
    EXPECT_TRUE(drawnBeforeDim(picture::kIcons, float(app->m_ItemX), float(app->m_ItemY)));
    // Parts: every star (records 0..m_StarCount) and every spark still flying.
    int parts = 0, sparks = 0;
    for (size_t i = 0; i < dim; ++i) parts += list[i].kind == picture::kParts ? 1 : 0;
    for (int i = 0; i <= app->m_ParticleMax; ++i) {
        const float type = particle_records::Particle(*app, i)[particle_records::kType];
        sparks += type >= particle_records::kSpark && type <= particle_records::kLastSpark ? 1 : 0;
    }
    EXPECT_GE(sparks, 5);  // and any the fight threw
    EXPECT_EQ(parts, app->m_StarCount + 1 + sparks);
    EXPECT_TRUE(Shows("100"));  // the points floating up
    EXPECT_TRUE(Shows(app->p_rstr(app->m_ShownScore, 8, "0").ToUtf8()));
}

TEST_F(PauseTest, ReadoutStartsAt25And25AndSpeedStopsAtBothEnds) {
    Pause();
    EXPECT_TRUE(Shows("25:25"));
    Hold(vk::kLeft, 150);
    EXPECT_EQ(app->m_TrailSpeed, 0);
    EXPECT_TRUE(Shows("25:0"));
    Hold(vk::kRight, 600);
    EXPECT_EQ(app->m_TrailSpeed, 128);
    EXPECT_TRUE(Shows("25:128"));
}

TEST_F(PauseTest, HoldingUpMovesToQuitOnceAndShrinksTheTrailToZero) {
    Pause();
    KeyDown(vk::kUp);
    Update(40);
    EXPECT_EQ(app->m_PauseRow, pause_row::kQuit);
    EXPECT_EQ(app->m_TrailRadius, 0);
    EXPECT_TRUE(Shows("0:25"));
    KeyUp(vk::kUp);
    Update();
    Press(vk::kDown);
    EXPECT_EQ(app->m_PauseRow, pause_row::kResume);
    Press(vk::kDown);
    EXPECT_EQ(app->m_PauseRow, pause_row::kOptions);
    Press(vk::kDown);
    EXPECT_EQ(app->m_PauseRow, pause_row::kControls);
    Press(vk::kDown);  // nothing below the Controls entry
    EXPECT_EQ(app->m_PauseRow, pause_row::kControls);
    EXPECT_EQ(app->m_TrailRadius, 4);
}

TEST_F(PauseTest, TrailKeepsTheLast102TipsAndGrowsBrighterTowardTheTip) {
    Pause();
    Update(120);
    int lines = 0;
    float firstRed = -1, lastBright = 0;
    for (const DrawCmd& c : Commands()) {
        if (c.kind != kCmdLine) continue;
        if (firstRed < 0) firstRed = c.r + c.g + c.b;
        lastBright = c.r + c.g + c.b;
        ++lines;
    }
    EXPECT_EQ(lines, 2 * 101);
    EXPECT_EQ(firstRed, 0);
    EXPECT_GT(lastBright, 100);
    // Every kept point lies on the two-circle curve: within R of the centre.
    const float* t = app->m_Trail.Data();
    const float big = 0.45f * 480;
    for (int j = 0; j < 101; ++j) {
        const float dx = t[2 * j] - (320 + 96), dy = t[2 * j + 1] - 240;
        EXPECT_LE(dx * dx + dy * dy, big * big + 1) << j;
    }
}

TEST_F(PauseTest, CursorRingMarksTheSelectedControl) {
    Pause();
    Update(20);
    std::optional<DrawCmd> ring = Ring();
    ASSERT_TRUE(ring);
    // The controls stand at s - H/2 + 64: 64 once the panel is exactly half way up.
    EXPECT_EQ(ring->x, app->m_PauseSlide - 240 + 64);
    EXPECT_EQ(ring->y, 196);
    Press(vk::kUp);
    ring = Ring();
    ASSERT_TRUE(ring);
    EXPECT_EQ(ring->y, 96);
    Press(vk::kDown);
    Press(vk::kDown);
    ring = Ring();
    ASSERT_TRUE(ring);
    EXPECT_EQ(ring->y, 296);
}

TEST_F(PauseTest, OptionsOpenOverThePanelAndOwnTheKeys) {
    Pause();
    Update(20);
    Press(vk::kDown);
    Press(vk::kEnter);
    EXPECT_EQ(app->m_OptionsOpen, 1);
    EXPECT_EQ(app->m_Paused, 1);
    Update(30);
    Press(vk::kUp);  // moves the options' cursor, not the pause panel's
    EXPECT_EQ(app->m_PauseRow, pause_row::kOptions);
    Press(vk::kEscape);
    EXPECT_EQ(app->m_OptionsOpen, 0);
    EXPECT_EQ(app->m_Paused, 1);
}

TEST_F(PauseTest, BackResumesAndPausingAgainStartsOnResume) {
    Pause();
    Update(20);
    Press(vk::kDown);
    ASSERT_EQ(app->m_PauseRow, pause_row::kOptions);
    Press(vk::kEscape);
    EXPECT_EQ(app->m_PauseSel, -1);
    Update(12);
    ASSERT_EQ(app->m_Paused, 0);
    Pause();
    EXPECT_EQ(app->m_PauseRow, pause_row::kResume);
}

TEST_F(PauseTest, QuitEndsTheRoundAndRecordsTheScore) {
    for (int i = 0; i < 10; ++i) app->m_HiScore[BestIndex(1, i)] = 1000 - 100 * i;
    app->m_Score = 550;
    Pause();
    ASSERT_EQ(app->m_MusicOn, 1);
    Update(20);
    Press(vk::kUp);
    KeyDown(vk::kEnter);
    Update();
    KeyUp(vk::kEnter);
    EXPECT_EQ(app->m_Paused, 0);
    EXPECT_EQ(app->m_RoundOver, 1);
    EXPECT_EQ(app->m_QuitRound, -1);
    EXPECT_EQ(app->m_PauseSlide, -64);
    EXPECT_EQ(app->m_MusicOn, 0);  // the tune stops as at a round's own end
    Update(30);
    EXPECT_TRUE(Shows("Quit"));
    EXPECT_TRUE(Shows("Game"));
    EXPECT_TRUE(Shows("New Highscore"));
    EXPECT_TRUE(Shows("6th"));
    LeaveGameOver();
    ASSERT_EQ(app->m_Mode, mode::kMenu);
    EXPECT_EQ(app->m_HiScore[BestIndex(1, 5)], 550);
    EXPECT_EQ(app->m_HiScore[BestIndex(1, 9)], 200);
    EXPECT_EQ(app->m_HiScore[LastIndex(1, 0)], 550);
    EXPECT_EQ(SplitFields(Stored())[56 + 10], "550");
}

}  // namespace
