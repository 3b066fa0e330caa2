// The real game switched to full screen on a 1920 x 1080 desktop and on a 1080 x 1920 one
// (a monitor turned on its side), walked through every screen with real key presses: the
// loading screen the switch brings, the title menu in each column, the credits panel, the
// options box, a round, the pause panel over the frozen round and the game-over panel.
// Each screen is recognised on a capture of the whole screen, laid out on the virtual
// screen the desktop maps to.
//
// With VORTAN_SCREENSHOT_DIR set, every capture is kept there as <screen>.png;
// scripts/screenshots.sh retakes the documentation's set this way.
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

#include "tests/game/program/program_fixture.h"
#include "tests/game/program/round_screen.h"

namespace {

// A region of the virtual screen, in virtual units, and the device pixels it covers.
struct Region {
    float x0, y0, x1, y1;
};

class ScreensProgramTest : public GameProgramTest,
                           public ::testing::WithParamInterface<std::pair<int, int>> {
protected:
    ScreensProgramTest() : GameProgramTest(GetParam().first, GetParam().second) {}

    int Width() const { return GetParam().first; }
    int Height() const { return GetParam().second; }
    // Device pixels per virtual unit: the fitted axis is 640 units across in landscape,
    // 720 down in portrait.
    float Scale() const { return Height() > Width() ? Height() / 720.0f : Width() / 640.0f; }
    float VirtualW() const { return Width() / Scale(); }
    float VirtualH() const { return Height() / Scale(); }

    int Count(const ScreenCapture& c, Region r, const std::function<bool(Rgb)>& test) const {
        const float s = Scale();
        return c.Count(int(r.x0 * s), int(r.y0 * s), int(r.x1 * s), int(r.y1 * s), test);
    }
    // Share of a region's pixels that pass the test.
    float Share(const ScreenCapture& c, Region r, const std::function<bool(Rgb)>& test) const {
        const float s = Scale();
        const float area = std::max(1.0f, (r.x1 - r.x0) * s * (r.y1 - r.y0) * s);
        return float(Count(c, r, test)) / area;
    }

public:  // the screens' recognisers, named by pointer in the test
    bool ShowsLoading(const ScreenCapture& c) const {
        const float w = VirtualW(), h = VirtualH();
        const bool dark = Share(c, {0, 0, 20, 20}, [](Rgb p) { return p.r + p.g + p.b < 40; }) >
                          0.9f;
        return dark && Count(c, {w / 2 - 40, h - 38, w / 2 + 40, h - 26}, White) > 20;
    }
    bool ShowsMenu(const ScreenCapture& c) const {
        const float w = VirtualW(), h = VirtualH();
        const bool navy = Share(c, {0, 0, 8, 8}, [](Rgb p) { return Near(p, 0, 0, 30, 10); }) >
                          0.5f;
        const Region lists{w - 140, 50, w, h};
        const int best = Count(c, lists, [](Rgb p) { return Near(p, 255, 200, 100, 40); });
        const int last = Count(c, lists, [](Rgb p) { return Near(p, 200, 255, 100, 40); });
        return navy && best > 100 && last > 100;
    }
    bool ShowsCredits(const ScreenCapture& c) const {
        const float w = VirtualW(), h = VirtualH();
        const int stats = Count(c, {w - 120, 8, w, 108}, White);
        const int ring = Count(c, {w - 300, h / 2 - 140, w, h / 2 + 140}, [](Rgb p) {
            return std::max({p.r, p.g, p.b}) - std::min({p.r, p.g, p.b}) > 40;
        });
        return stats > 150 && ring > 3000;
    }
    bool ShowsOptions(const ScreenCapture& c) const {
        // The yellow panel left of the rows' bars, down to the bottom.
        const float h = VirtualH();
        return Share(c, {54, h / 2, 82, h}, [](Rgb p) {
                   return p.r > 100 && p.g > 100 && p.b < 70 && std::abs(p.r - p.g) < 30;
               }) > 0.5f;
    }
    // The score display: eight green digits at the top middle.
    int ScoreDigits(const ScreenCapture& c) const {
        const float w = VirtualW();
        return Count(c, {w / 2 - 60, 18, w / 2 + 60, 38},
                     [](Rgb p) { return p.g > 150 && p.r < 130 && p.b < 130; });
    }
    bool ShowsRound(const ScreenCapture& c) const { return ScoreDigits(c) > 200; }
    // "PAUSED" in large white letters, over the round.
    bool ShowsPause(const ScreenCapture& c) const {
        const float w = VirtualW(), h = VirtualH();
        const float cx = Height() > Width() ? w / 2 : w / 2 + 96;
        return Count(c, {cx - 84, h / 2 - 20, cx + 84, h / 2 + 20}, White) > 1500;
    }
    bool ShowsGameOver(const ScreenCapture& c) const {
        return Count(c, {0, 0, VirtualW(), VirtualH()},
                     [](Rgb p) { return Near(p, 255, 180, 180, 35); }) > 2000;
    }
    // The frozen round under the dim, where neither the trail nor the controls reach: the
    // backdrop's colours, not a cleared navy's one. The plainest backdrop shows about 40
    // there, most over 80.
    size_t FieldColoursUnderPause(const ScreenCapture& c) const {
        const float w = VirtualW(), h = VirtualH();
        const Region f = Height() > Width() ? Region{20, h - 200, w - 100, h - 20}
                                            : Region{100, h - 90, 240, h - 20};
        const float s = Scale();
        return DistinctColours(c, int(f.x0 * s), int(f.y0 * s), int(f.x1 * s), int(f.y1 * s), 3);
    }

protected:
    // Waits for a screen, keeps its capture as `name` (unless that is empty), and says
    // whether it showed.
    bool See(bool (ScreensProgramTest::*test)(const ScreenCapture&) const, const std::string& name,
             double seconds = 10) {
        const bool seen = WaitForScreen([&](const ScreenCapture& c) { return (this->*test)(c); },
                                        seconds, &screen);
        if (!name.empty()) Keep(name, &screen);
        return seen;
    }

    ScreenCapture screen;
};

TEST_P(ScreensProgramTest, EveryScreenFullScreen) {
    Launch();
    Focus();
    ASSERT_TRUE(WaitFor(::ShowsMenu, 15)) << game->OutputSoFar();

    // Full screen: the window reopens at the desktop's size and, once it has the focus,
    // everything loads again for 25 updates behind the loading screen.
    xvfb.Run({"xdotool", "key", "F11"});
    FindWindowOfGame();
    EXPECT_TRUE(See(&ScreensProgramTest::ShowsLoading, "loading", 5)) << "loading screen";
    SleepSeconds(2);  // the menu slides in
    ASSERT_TRUE(See(&ScreensProgramTest::ShowsMenu, "menu")) << game->OutputSoFar();
    EXPECT_EQ(screen.width, Width());
    EXPECT_EQ(screen.height, Height());

    Press("Right");
    EXPECT_TRUE(See(&ScreensProgramTest::ShowsMenu, "menu_credits_column"));
    Press("Return");
    SleepSeconds(1.5);
    EXPECT_TRUE(See(&ScreensProgramTest::ShowsCredits, "credits"));
    Press("Return");
    Press("Left");
    Press("Left");
    SleepSeconds(0.5);
    EXPECT_TRUE(See(&ScreensProgramTest::ShowsMenu, "menu_options_column"));
    Press("Return");
    SleepSeconds(1);
    EXPECT_TRUE(See(&ScreensProgramTest::ShowsOptions, "options"));
    Press("Escape");
    SleepSeconds(1);
    Press("Right");
    ASSERT_TRUE(See(&ScreensProgramTest::ShowsMenu, ""));

    // A round: joined with Z, then striking at whoever comes near, turning now and then,
    // until a knock-out changes the score's digits. Blows land now and then; the
    // documentation's run may play longer, so that the game-over panel shows "New
    // Highscore".
    ASSERT_TRUE(HoldUntil(
        "Return", [&](const ScreenCapture& c) { return !::ShowsMenu(c); }, 15));
    Press("z");
    ASSERT_TRUE(See(&ScreensProgramTest::ShowsRound, ""));
    const int unscored = ScoreDigits(screen);
    const char* keep = std::getenv("VORTAN_SCREENSHOT_DIR");
    const int strikes = keep && *keep ? 150 : 20;
    for (int i = 0; i < strikes; ++i) {
        Press(i % 8 == 7 ? (i % 16 == 7 ? "Left" : "Right") : "x");
        if (i % 4 == 3 && screen.Take(xvfb) && ShowsRound(screen) &&
            std::abs(ScoreDigits(screen) - unscored) > unscored / 40) {
            break;
        }
    }
    EXPECT_TRUE(See(&ScreensProgramTest::ShowsRound, "round"));

    // Paused: the frozen round stays visible under the dim.
    ASSERT_TRUE(HoldUntil(
        "Escape", [&](const ScreenCapture& c) { return ShowsPause(c); }, 10));
    SleepSeconds(1);
    ASSERT_TRUE(See(&ScreensProgramTest::ShowsPause, "pause"));
    EXPECT_GT(FieldColoursUnderPause(screen), 12u) << "the pause panel hides the round";

    // Quit from the pause panel: "Quit" / "Game", with "New Highscore" when a blow scored.
    Press("Up");
    Press("z");
    SleepSeconds(0.6);
    EXPECT_TRUE(See(&ScreensProgramTest::ShowsGameOver, "game_over", 3));
    // The panel's four seconds, then a press goes on to the menu.
    SleepSeconds(4);
    bool menu = false;
    for (int i = 0; i < 8 && !menu; ++i) {
        Press("x");
        menu = See(&ScreensProgramTest::ShowsMenu, "", 2);
    }
    EXPECT_TRUE(menu);

    ASSERT_TRUE(game->Running()) << game->OutputSoFar();
    Press("F4");
    const ProcessResult result = game->Wait(10);
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
}

INSTANTIATE_TEST_SUITE_P(Desktops, ScreensProgramTest,
                         ::testing::Values(std::make_pair(1920, 1080), std::make_pair(1080, 1920)),
                         [](const ::testing::TestParamInfo<std::pair<int, int>>& info) {
                             return std::to_string(info.param.first) + "x" +
                                    std::to_string(info.param.second);
                         });

}  // namespace
