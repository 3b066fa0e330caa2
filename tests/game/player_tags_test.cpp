// The players' tags in a clump, as drawn: for clumps of two to four players thrown at
// random across the screen, standing, in the air or knocked out, no two plates overlap,
// each lies within the screen, and each keeps the height it has alone and moves sideways
// no further than the row its clump makes.
#include <cmath>
#include <random>
#include <vector>

#include "game/player_tags.h"
#include "game/round_records.h"
#include "tests/game/game_fixture.h"

using namespace round_records;

namespace {

constexpr float kStep = 22;  // a plate's width and the gap beside it

class PlayerTagsTest : public GameFixture {
protected:
    // The dark plates drawn for the players in play, in player order.
    std::vector<DrawCmd> Plates() {
        app->m_DrawLen = 0;
        DrawPlayerTags(*app);
        std::vector<DrawCmd> plates;
        for (const DrawCmd& c : Commands()) {
            if (c.kind == kCmdRect && c.Colour() == Quad{0, 0, 0, 0.65f}) plates.push_back(c);
        }
        return plates;
    }
    // Player p's plate when the others are out of the round.
    DrawCmd Alone(int p, int n) {
        float health[kLastPlayer + 1] = {};
        for (int q = kFirstPlayer; q <= n; ++q) std::swap(health[q], Record(*app, q)[kHealth]);
        std::swap(health[p], Record(*app, p)[kHealth]);
        const DrawCmd plate = Plates().at(0);
        std::swap(health[p], Record(*app, p)[kHealth]);
        for (int q = kFirstPlayer; q <= n; ++q) std::swap(health[q], Record(*app, q)[kHealth]);
        return plate;
    }
};

TEST_F(PlayerTagsTest, TagsOfAClumpNeverOverlapAndStayNearTheirFighters) {
    Create();
    std::minstd_rand rng(34);
    auto in = [&](float a, float b) { return std::uniform_real_distribution<float>(a, b)(rng); };
    for (int trial = 0; trial < 3000; ++trial) {
        qv_Vortan_jscrw = trial % 2 ? 640 : 400;
        const int n = 2 + trial % 3;
        const float middle = in(-20, qv_Vortan_jscrw + 20);
        for (int p = kFirstPlayer; p <= kLastPlayer; ++p) {
            float* f = Record(*app, p);
            f[kHealth] = 0;
            if (p > n) continue;
            const float lift = in(0, 1) < 0.3f ? in(0, 150) : 0;
            app->p_AddPlayer(p, middle + in(-16, 16), qv_Vortan_jscrh - 32 - lift);
            f[kDepth] = in(16, 96), f[kTilt] = in(-16, 16), f[kVY] = in(-12, 12);
            if (in(0, 1) < 0.2f) f[kHealth] = -1;
        }
        const std::vector<DrawCmd> plates = Plates();
        ASSERT_EQ(plates.size(), size_t(n));
        for (int i = 0; i < n; ++i) {
            const DrawCmd &a = plates[i], alone = Alone(kFirstPlayer + i, n);
            EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.x + a.a4 <= qv_Vortan_jscrw) << trial;
            EXPECT_EQ(a.y, alone.y) << trial;
            EXPECT_LE(std::fabs(a.x - alone.x), (n - 1) * kStep + 0.01f) << trial;
            for (int j = i + 1; j < n; ++j) {
                const DrawCmd& b = plates[j];
                EXPECT_TRUE(a.x + a.a4 <= b.x || b.x + b.a4 <= a.x || a.y + a.a5 <= b.y ||
                            b.y + b.a5 <= a.y)
                    << "trial " << trial << ": P" << i + 1 << " and P" << j + 1 << " overlap";
            }
        }
        if (HasFailure()) return;
    }
}

}  // namespace
