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

// A saved state whose last ten on Hard (fields 78, 80, ... 96) are 7s, which no round
// scores; before them settings, badges and the other lists are 0s, each block with its sum.
std::string HardsLastTenAllSevens() {
    std::string state;
    for (int i = 0; i < 35; ++i) state += "0|";
    for (int group = 0; group < 8; ++group) {
        for (int j = 0; j < 10; ++j) state += group == 2 ? "0|7|" : "0|0|";
        state += group == 2 ? "665|" : "0|";  // the sum of (j + group + 3) x 7
    }
    return state;
}
bool RecordedOnce(const std::string& state) {  // one 7 pushed out
    const std::vector<std::string> f = StateFields(state);
    return f.size() > 203 && f[78] != "7" && f[80] == "7";
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
    // The game's windows (a switch makes a new one) seen while a key is held into its repeat.
    std::set<std::string> WindowsWhileHeld(const std::string& key) {
        const std::vector<std::string> search = {"xdotool", "search", "--onlyvisible", "--pid",
                                                 std::to_string(game->Pid())};
        std::set<std::string> seen;
        xvfb.Run({"xdotool", "keydown", key});
        for (int i = 0; i < 20; ++i, SleepSeconds(0.1)) seen.insert(xvfb.Run(search).out);
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

TEST_F(FrontEndProgramTest, FullScreenRowAndF11SwitchTheWindow) {
    Start();
    ASSERT_TRUE(WaitFor(ShowsMenu, 10)) << game->OutputSoFar();
    EXPECT_NE(Geometry().find("640x480"), std::string::npos) << Geometry();
    Press("Left");
    Press("Return");
    SleepSeconds(0.7);
    for (int i = 0; i < 3; ++i) Press("Down");
    EXPECT_EQ(WindowsWhileHeld("Return").size(), 1u);  // "Fullscreen": 800 x 600 once let go
    SleepSeconds(1);
    FindWindowOfGame();
    EXPECT_NE(Geometry().find("800x600"), std::string::npos) << Geometry();
    ASSERT_TRUE(game->Running()) << game->OutputSoFar();

    EXPECT_EQ(WindowsWhileHeld("F11").size(), 1u);  // back to a 640 x 480 window
    SleepSeconds(1);
    FindWindowOfGame();
    EXPECT_NE(Geometry().find("640x480"), std::string::npos) << Geometry();
    Press("F4");
    ProcessResult result = game->Wait(10);
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
}

// A round's score is recorded once, at the panel's second and a half or at an earlier way
// out: F4 or the close button as soon as the panel shows (after a round played to its end,
// or one quit from the pause panel), or the panel left standing, then left by a press.
TEST_F(FrontEndProgramTest, ARoundsScoreIsKeptHoweverTheGameIsLeft) {
    for (const std::string exit : {"F4", "quit, close", "idle, press"}) {
        SCOPED_TRACE(exit);
        work.Write(".pellixstate", HardsLastTenAllSevens());
        Start();
        ASSERT_TRUE(WaitFor(ShowsMenu, 10)) << game->OutputSoFar();
        Press("Down");  // Hard
        ASSERT_TRUE(HoldUntil(
            "Return", [](const ScreenCapture& c) { return !ShowsMenu(c); }, 15));
        Press("z");
        if (exit == "quit, close") {
            for (const char* key : {"Escape", "Up", "z"}) Press(key);
        }
        ASSERT_TRUE(WaitFor(ShowsGameOver, 60)) << game->OutputSoFar();  // no one fights back
        if (exit == "idle, press") {
            SleepSeconds(3);
            EXPECT_TRUE(RecordedOnce(State())) << State();
            ASSERT_TRUE(PressUntil("x", ShowsMenu));
        }
        exit == "quit, close" ? void(RequestClose(xvfb, window)) : Press("F4");
        EXPECT_EQ(game->Wait(10).exitCode, 0);
        EXPECT_TRUE(RecordedOnce(State())) << State();
    }
}

}  // namespace
