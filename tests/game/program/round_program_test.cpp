// The real game under a private X server, played with real key presses: a round started
// from the title menu, a player joining with Z, walking and striking, and the screen
// showing the backdrop, the fighter with its shadow and the score display.
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "tests/game/program/program_fixture.h"

namespace {

bool Darkened(Rgb before, Rgb after) {
    // The shadow is black at alpha 0.35: every channel keeps about 65 percent.
    int channels[3][2] = {{before.r, after.r}, {before.g, after.g}, {before.b, after.b}};
    int bright = 0;
    for (auto& c : channels) {
        if (c[0] < 40) continue;
        ++bright;
        double kept = double(c[1]) / c[0];
        if (kept < 0.55 || kept > 0.75) return false;
    }
    return bright > 0;
}

int Distance(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
}

// Distinct colours over the play field: a backdrop picture has hundreds, a clear colour one.
size_t PlayFieldColours(const ScreenCapture& p) {
    std::set<int> colours;
    for (int y = 100; y < 380; y += 4) {
        for (int x = 0; x < 640; x += 4) {
            Rgb c = p.At(x, y);
            colours.insert(c.r << 16 | c.g << 8 | c.b);
        }
    }
    return colours.size();
}

// Player 1's health bar: nine points of red, 198 wide, under the score.
int HealthBarRed(const ScreenCapture& p) {
    int red = 0;
    for (int x = 225; x < 415; ++x) {
        Rgb c = p.At(x, 54);
        if (c.r > 200 && c.g < 70 && c.b < 70) ++red;
    }
    return red;
}

// A shadow on the floor band: a run of columns darkened to about 65 percent since `before`.
struct Shadow {
    int pixels = 0;
    int x = 0;  // mean column
};

// Every fighter casts one, opponents too, so the shadows are told apart by their columns.
std::vector<Shadow> FloorShadows(const ScreenCapture& before, const ScreenCapture& now) {
    std::vector<Shadow> shadows;
    Shadow current;
    long sum = 0;
    auto close = [&] {
        current.x = int(sum / current.pixels);
        if (current.pixels >= 20) shadows.push_back(current);
        current = Shadow();
        sum = 0;
    };
    int gap = 0;
    for (int x = 40; x < 600; ++x) {
        int column = 0;
        for (int y = 428; y < 437; ++y) column += Darkened(before.At(x, y), now.At(x, y)) ? 1 : 0;
        if (column > 0) {
            current.pixels += column;
            sum += long(x) * column;
            gap = 0;
        } else if (current.pixels > 0 && ++gap > 4) {
            close();
        }
    }
    if (current.pixels > 0) close();
    return shadows;
}

// The shadow nearest to column x, or none.
Shadow NearestShadow(const std::vector<Shadow>& shadows, int x) {
    Shadow nearest;
    for (const Shadow& s : shadows) {
        if (nearest.pixels == 0 || std::abs(s.x - x) < std::abs(nearest.x - x)) nearest = s;
    }
    return nearest;
}

class RoundProgramTest : public GameProgramTest {
protected:
    void SetUp() override {
        ProcessOptions options;
        work.Write("alsoft.conf", "drivers=wave\n[wave]\nfile=" + work.File("mix.wav") + "\n");
        options.env["ALSOFT_CONF"] = work.File("alsoft.conf");
        Launch(options);
        if (HasFatalFailure()) return;
        Focus();
        // The staged loader comes first; a sanitized build on a busy machine is slow.
        ASSERT_TRUE(WaitFor(ShowsMenu, 60)) << game->OutputSoFar();
    }
};

TEST_F(RoundProgramTest, PlayerJoinsWalksAndStrikesOnScreen) {
    // Normal is selected: Return starts the round, whose backdrop replaces the menu.
    auto inRound = [](const ScreenCapture& p) { return !ShowsMenu(p) && PlayFieldColours(p) > 200; };
    ASSERT_TRUE(HoldUntil("Return", inRound, 20)) << game->OutputSoFar();
    const ScreenCapture before = shot;
    ASSERT_EQ(before.width, 640);
    ASSERT_EQ(before.height, 480);

    // Return is also a jump button, so a Return held into the round's first update has
    // already brought player 1 in; Z joins otherwise. Either way the health bar shows.
    EXPECT_TRUE(HoldUntil("z", [](const ScreenCapture& p) { return HealthBarRed(p) > 180; }, 20)) << "health bar";

    // Walking right takes the player well beyond where it joined (x 128, shadow at 112).
    // Opponents dropping in cast shadows too, so the player's is followed from there, a
    // few updates' walk to the right at a time: a shadow farther away or to the left is an
    // opponent's, who walk toward the player.
    int playerX = 112;
    auto walkedRight = [&](const ScreenCapture& p) {
        Shadow s = NearestShadow(FloorShadows(before, p), playerX);
        if (s.pixels == 0 || s.x < playerX - 4 || s.x > playerX + 60) return false;
        playerX = s.x;
        return s.pixels > 60 && s.x > 160;
    };
    EXPECT_TRUE(HoldUntil("Right", walkedRight, 20)) << "walk";
    xvfb.Run({"xdotool", "keydown", "x"});
    SleepSeconds(0.3);
    xvfb.Run({"xdotool", "keyup", "x"});
    ASSERT_TRUE(game->Running()) << game->OutputSoFar();

    // A joining player drops in from above the screen and may still be falling after that
    // short walk on a fast machine, so the screen is watched until the fighter stands on
    // the floor: its picture over the shadow where it walked to (a patch darkened to about
    // 65 percent, still beyond where it joined).
    Shadow shadow;
    int changed = 0;
    auto standsOnItsShadow = [&](const ScreenCapture& p) {
        shadow = NearestShadow(FloorShadows(before, p), playerX);
        if (shadow.pixels <= 60) return false;
        changed = 0;
        for (int y = 395; y < 425; ++y) {
            for (int x = std::max(0, shadow.x - 18); x < std::min(p.width, shadow.x + 18); ++x) {
                if (Distance(before.At(x, y), p.At(x, y)) > 60) ++changed;
            }
        }
        return changed > 60;
    };
    EXPECT_TRUE(WaitFor(standsOnItsShadow, 10)) << "fighter over its shadow";
    const ScreenCapture& after = shot;
    EXPECT_GT(shadow.pixels, 60) << "shadow";
    EXPECT_GT(shadow.x, 160);
    EXPECT_GT(changed, 60) << "fighter";

    // The backdrop: a picture over the whole play field, not a flat clear colour.
    EXPECT_GT(PlayFieldColours(before), 200u);
    EXPECT_GT(HealthBarRed(after), 180) << "health bar";

    // The score line: green digits at the top centre.
    int green = 0;
    for (int y = 14; y < 44; ++y) {
        for (int x = 250; x < 390; ++x) {
            Rgb c = after.At(x, y);
            if (c.g > 150 && c.g > c.r + 50 && c.g > c.b + 50) ++green;
        }
    }
    EXPECT_GT(green, 40) << "score digits";

    game->Signal(SIGTERM);
}

}  // namespace
