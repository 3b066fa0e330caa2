// The real game under a private X server, played with real key presses: a round started
// from the title menu, a player joining with Z, walking and striking, and the screen
// showing the backdrop, the fighter with its shadow and the score display.
#include <algorithm>
#include <csignal>
#include <string>
#include <vector>

#include "tests/game/program/program_fixture.h"
#include "tests/game/program/round_screen.h"

namespace {

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
    auto inRound = [](const ScreenCapture& p) {
        return !ShowsMenu(p) && PlayFieldColours(p) > 200;
    };
    ASSERT_TRUE(HoldUntil("Return", inRound, 20)) << game->OutputSoFar();
    const ScreenCapture before = shot;
    ASSERT_EQ(before.width, 640);
    ASSERT_EQ(before.height, 480);

    // Return is also a jump button, so a Return held into the round's first update has
    // already brought player 1 in; Z joins otherwise. Either way the health bar shows.
    EXPECT_TRUE(HoldUntil(
        "z", [](const ScreenCapture& p) { return HealthBar(p, 1) > 180; }, 20))
        << "health bar";

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
    EXPECT_GT(HealthBar(after, 1), 180) << "health bar";

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
