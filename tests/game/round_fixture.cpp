// Round set-up helpers for the round and score tests (see round_fixture.h).
#include "tests/game/round_fixture.h"

#include <cmath>

#include "tests/support/headless_game.h"

using namespace round_records;

void RoundFixture::SetUp() {
    GameFixture::SetUp();
    SetFontMetrics(app);
    SetSoundsAsCreated(app);
    app->m_Difficulty = 2;
    app->p_ResetDraw();
}

void RoundFixture::StartRound(int difficulty) {
    app->m_Difficulty = difficulty;
    app->p_LoadGame();
    app->m_Backdrop = 0;
    qv_random_Seed = kSeed;
}

void RoundFixture::Play(int count) {
    for (int i = 0; i < count; ++i) {
        app->p_Game();
        input->p_EndUpdate();
    }
}

void RoundFixture::JoinAndLand(int p) {
    PadDown(p - 1, pad::kA);
    Play();
    PadUp(p - 1, pad::kA);
    ASSERT_EQ(Fighter(p)[kHealth], kPlayerHealth);
    for (int i = 0; i < 120 && Fighter(p)[kY] < FloorY(); ++i) Play();
    ASSERT_EQ(Fighter(p)[kY], FloorY());
}

void RoundFixture::PlaceOpponent(int r, float x, float facing) {
    app->p_AddPlayer(r, x, FloorY());
    float* f = Fighter(r);
    f[kFacing] = facing;
    f[kRest] = 100000;
    f[kAttack] = 0;
    f[kAimX] = 0;
    f[kAimDepth] = 0;
}

int RoundFixture::Opponents() {
    int count = 0;
    for (int r = kFirstOpponent; r <= kLastRecord; ++r) {
        if (Fighter(r)[kHealth] != 0) ++count;
    }
    return count;
}

std::string RoundFixture::TextAt(float y) const {
    std::string text;
    for (const DrawCmd& c : Commands()) {
        if (c.kind == float(app->m_Font) && std::fabs(c.y - y) < 0.5f)
            text += char(int(c.frame) + 32);
    }
    return text;
}
