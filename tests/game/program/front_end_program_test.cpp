// The real game under a private X server, driven with real key presses through the
// front end: the title menu and its side panel, a round paused and quit, the game-over
// panel, the options box writing the state file, a restart reading it back, the full
// screen switch (once per press, however long held), the close button, and a round's
// score kept whichever way the game is left. Each screen is checked on a window capture.
//
// With VORTAN_SCREENSHOT_DIR set, the captures of the menu, the side panel, the options
// box, the pause panel and the game-over panel are also written there as PNG files.
#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "tests/game/program/program_fixture.h"
#include "tests/support/state_fields.h"
#include "tests/support/window_close.h"

namespace {

bool Colourful(Rgb c) { return std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}) > 40; }

// A saved state whose last ten scores on Hard are all 7, which no round scores: each round
// recorded there pushes one 7 out. The controls block is left out (its defaults stand in).
std::string HardsLastTenAllSevens() {
    std::string state;
    const auto field = [&](long value) { state += std::to_string(value) + "|"; };
    for (int i = 0; i < 25; ++i) field(i == 5 ? 1 : 0);  // sound: effects and music
    field(5);                                            // sum of index times value
    for (int i = 0; i < 9; ++i) field(0);                // no badges, and their sum
    for (int group = 0; group < 8; ++group) {
        const int last = group == 2 ? 7 : 0;
        long sum = 0;
        for (int j = 0; j < 10; ++j) {
            field(0);  // best j
            field(last);
            sum += (j + group + 3) * last;
        }
        field(sum);
    }
    return state;
}

// How many rounds a state file has recorded on Hard since HardsLastTenAllSevens.
int RoundsRecordedOnHard(const std::string& state) {
    const std::vector<std::string> f = StateFields(state);
    int recorded = 0;
    while (recorded < 10 && f.size() > 203 && f[78 + 2 * recorded] != "7") ++recorded;
    return recorded;
}

class FrontEndProgramTest : public GameProgramTest {
protected:
    void Start() {
        Launch();
        Focus();
        SleepSeconds(3);  // the staged loader, then the title menu
    }
    // A panel that slides in for `settle` seconds shows then; kept under `name`.
    void ExpectSettled(const ScreenTest& test, double settle, const std::string& name) {
        SleepSeconds(settle);
        EXPECT_TRUE(WaitFor(test, 5)) << name;
        Keep(name);
    }
    std::string Geometry() { return xvfb.Run({"xdotool", "getwindowgeometry", window}).out; }
    // Holds a key for two seconds, well into the key repeat: the game's windows seen
    // meanwhile (each window switch makes a new one).
    std::set<std::string> WindowsWhileHeld(const std::string& key) {
        std::set<std::string> seen;
        xvfb.Run({"xdotool", "keydown", key});
        for (int i = 0; i < 20; ++i) {
            SleepSeconds(0.1);
            const ProcessResult r = xvfb.Run(
                {"xdotool", "search", "--onlyvisible", "--pid", std::to_string(game->Pid())});
            if (r.exitCode == 0) seen.insert(r.out);
        }
        xvfb.Run({"xdotool", "keyup", key});
        return seen;
    }
    std::string State() const { return work.Read(".pellixstate"); }

    // What each screen shows, in window pixels (the window is 640 x 480 virtual units).
    static bool ShowsSidePanel(const ScreenCapture& c) {
        const int stats = c.Count(520, 8, 626, 108, White);
        const int ring = c.Count(358, 108, 622, 372, Colourful);
        return stats > 150 && ring > 3000;
    }
    static bool ShowsOptions(const ScreenCapture& c) {
        // The yellow panel beside the rows' bars, on both sides, down to the bottom.
        const auto yellow = [](Rgb p) {
            return p.r > 100 && p.g > 100 && p.b < 70 && std::abs(p.r - p.g) < 30;
        };
        const int panel = c.Count(54, 120, 82, 470, yellow) + c.Count(558, 120, 586, 470, yellow);
        const int rows = c.Count(100, 130, 500, 310, White);
        return panel > 15000 && rows > 600;
    }
    static bool ShowsPause(const ScreenCapture& c) {
        return c.Count(330, 222, 505, 260, White) > 400;
    }
    // The game-over panel's two words ("GAME" / "OVER" or "Quit" / "Game") in their pink.
    static bool ShowsGameOver(const ScreenCapture& c) {
        auto pink = [](Rgb p) { return Near(p, 255, 180, 180, 35); };
        const int first = c.Count(160, 196, 290, 236, pink);
        const int second = c.Count(352, 244, 482, 284, pink);
        return first > 250 && second > 250;
    }
};

TEST_F(FrontEndProgramTest, MenuRoundPauseQuitOptionsAndRestart) {
    Start();
    ASSERT_TRUE(WaitFor(ShowsMenu, 10)) << game->OutputSoFar();
    ASSERT_EQ(shot.width, 640);
    Keep("menu");

    // The side panel: right to its column, an action opens it, another closes it.
    Press("Right");
    Press("Return");
    ExpectSettled(ShowsSidePanel, 1.2, "side_panel");
    Press("Return");
    Press("Left");
    EXPECT_TRUE(WaitFor(ShowsMenu, 5));

    // A Normal round: joined with Z, paused with Escape.
    ASSERT_TRUE(HoldUntil(
        "Return", [](const ScreenCapture& c) { return !ShowsMenu(c); }, 15));
    Press("z");
    EXPECT_TRUE(HoldUntil("Escape", ShowsPause, 10));
    ExpectSettled(ShowsPause, 0.5, "pause");  // fully open, with the trail drawn
    ASSERT_TRUE(game->Running()) << game->OutputSoFar();

    // Up to the quit control, Z to quit: "Quit" / "Game", then the menu again, and the
    // round's score recorded in the state file.
    Press("Up");
    Press("z");
    EXPECT_TRUE(WaitFor(ShowsGameOver, 3));
    Keep("game_over");
    // The panel stands four seconds, then a press goes on to the menu.
    SleepSeconds(4);
    EXPECT_TRUE(PressUntil("x", ShowsMenu));
    const std::vector<std::string> afterRound = StateFields(State());
    ASSERT_EQ(afterRound.size(), kStateFields) << State();
    EXPECT_EQ(afterRound[5], "1");

    // Left twice and Return open the options; down to the sound row, change it, close.
    Press("Left");
    Press("Left");
    Press("Return");
    ExpectSettled(ShowsOptions, 0.8, "options");
    Press("Down");
    Press("Return");
    Press("Escape");
    SleepSeconds(0.3);
    const std::vector<std::string> f = StateFields(State());
    ASSERT_EQ(f.size(), kStateFields) << State();
    EXPECT_EQ(f[5], "2");  // effects only
    long sum = 0;
    for (int i = 0; i < 25; ++i) sum += i * std::stol(f[i]);
    EXPECT_EQ(f[25], std::to_string(sum));
    EXPECT_TRUE(WaitFor(ShowsMenu, 5));
    ASSERT_TRUE(game->Running()) << game->OutputSoFar();

    ASSERT_TRUE(RequestClose(xvfb, window));
    ProcessResult first = game->Wait(10);
    EXPECT_FALSE(first.timedOut);
    EXPECT_EQ(first.exitCode, 0) << first.out << first.err;
    EXPECT_EQ(first.out.find("Settings Loaded"), std::string::npos) << first.out;

    // A restart in the same folder reads everything back.
    Start();
    EXPECT_TRUE(game->WaitForOutput("Highscores Loaded", 10)) << game->OutputSoFar();
    const std::string out = game->OutputSoFar();
    EXPECT_NE(out.find("Settings Loaded"), std::string::npos) << out;
    EXPECT_NE(out.find("Badges Loaded"), std::string::npos) << out;
    EXPECT_EQ(out.find("Invalid"), std::string::npos) << out;
    ASSERT_TRUE(RequestClose(xvfb, window));
    ProcessResult second = game->Wait(10);
    EXPECT_FALSE(second.timedOut);
    EXPECT_EQ(second.exitCode, 0) << second.out << second.err;
}

// Each press switches once, however long the key is held: the key repeat of a key held
// over the switch must not switch again.
TEST_F(FrontEndProgramTest, FullScreenRowAndF11SwitchTheWindow) {
    Start();
    ASSERT_TRUE(WaitFor(ShowsMenu, 10)) << game->OutputSoFar();
    EXPECT_NE(Geometry().find("640x480"), std::string::npos) << Geometry();
    Press("Left");
    Press("Return");
    SleepSeconds(0.7);
    for (int i = 0; i < 3; ++i) Press("Down");
    // "Fullscreen": the desktop mode of the 800 x 600 screen, once the key is let go.
    EXPECT_EQ(WindowsWhileHeld("Return").size(), 1u);
    SleepSeconds(1);
    FindWindowOfGame();
    EXPECT_NE(Geometry().find("800x600"), std::string::npos) << Geometry();
    ASSERT_TRUE(game->Running()) << game->OutputSoFar();

    // Back to a 640 x 480 window.
    EXPECT_EQ(WindowsWhileHeld("F11").size(), 1u);
    SleepSeconds(1);
    FindWindowOfGame();
    EXPECT_NE(Geometry().find("640x480"), std::string::npos) << Geometry();
    Press("F4");
    ProcessResult result = game->Wait(10);
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
}

// A round's score is recorded a second and a half into the game-over panel, or sooner if
// the game is left sooner, and only once: left by F4 or the close button as soon as the
// panel shows (after a round played to its end, and after one quit from the pause panel),
// or kept standing and then left by a press.
TEST_F(FrontEndProgramTest, ARoundsScoreIsKeptHoweverTheGameIsLeft) {
    enum Exit { kF4, kCloseAfterQuit, kIdleThenPress };
    for (const Exit exit : {kF4, kCloseAfterQuit, kIdleThenPress}) {
        SCOPED_TRACE(exit);
        work.Write(".pellixstate", HardsLastTenAllSevens());
        Start();
        ASSERT_TRUE(WaitFor(ShowsMenu, 10)) << game->OutputSoFar();
        Press("Down");  // Hard
        ASSERT_TRUE(HoldUntil(
            "Return", [](const ScreenCapture& c) { return !ShowsMenu(c); }, 15));
        Press("z");
        if (exit == kCloseAfterQuit) {
            ASSERT_TRUE(HoldUntil("Escape", ShowsPause, 10));
            SleepSeconds(0.5);
            Press("Up");
            Press("z");
        }
        // Nobody fights back: Hard's opponents end the round within half a minute.
        ASSERT_TRUE(WaitFor(ShowsGameOver, 60)) << game->OutputSoFar();
        if (exit == kF4) {
            Press("F4");
        } else if (exit == kCloseAfterQuit) {
            ASSERT_TRUE(RequestClose(xvfb, window));
        } else {
            SleepSeconds(3);
            EXPECT_EQ(RoundsRecordedOnHard(State()), 1) << State();
            ASSERT_TRUE(PressUntil("x", ShowsMenu));
            Press("F4");
        }
        const ProcessResult result = game->Wait(10);
        EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
        EXPECT_EQ(RoundsRecordedOnHard(State()), 1) << State();
    }
}

}  // namespace
