// Tags of any clump: two to four plates wanted at random spots and heights near one
// another, on screens of two widths, never meet, stay on screen, keep their heights and
// move sideways no further than the row their clump makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "game/player_tags.h"

TEST(PlayerTags, AnyClumpsTagsStayApartOnScreenAndNearTheirFighters) {
    std::minstd_rand rng(34);
    auto in = [&](float a, float b) { return std::uniform_real_distribution<float>(a, b)(rng); };
    for (int trial = 0; trial < 20000 && !testing::Test::HasFailure(); ++trial) {
        const int n = 2 + trial % 3;
        const float w = trial % 2 ? 640 : 360, middle = in(0, w);
        TagPlate alone[4], plates[4];
        for (int i = 0; i < n; ++i) {
            const float x = std::clamp(middle + in(-30, 30), kTagW / 2, w - kTagW / 2);
            plates[i] = alone[i] = {i + 1, x, in(150, 190), x};
        }
        SpreadTags(plates, n, w);
        for (int i = 0; i < n; ++i) {
            const TagPlate &a = plates[i], &own = alone[a.player - 1];
            EXPECT_TRUE(a.x >= kTagW / 2 && a.x <= w - kTagW / 2 && a.top == own.top &&
                        std::fabs(a.x - own.x) <= (n - 1) * (kTagW + 2) + 0.01f)
                << "trial " << trial << ": P" << a.player << " at " << a.x << ", alone " << own.x;
            for (int j = i + 1; j < n; ++j) {
                EXPECT_TRUE(std::fabs(a.x - plates[j].x) >= kTagW ||
                            std::fabs(a.top - plates[j].top) >= kTagH)
                    << "trial " << trial << ": P" << a.player << " meets P" << plates[j].player;
            }
        }
    }
}
