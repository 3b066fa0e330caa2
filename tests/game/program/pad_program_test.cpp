// The real game under a private X server with pretend game pads (tests/support/
// pretend_pads.h) in place of GLFW's joystick functions: a pad's stick turns the title
// menu's wheel as the arrow keys do, pads plugged in and pulled out while the game runs
// are picked up and dropped (leaving nothing held), extra mappings come from the data
// folder and the environment, four friends pressing one after another join a round, and
// four friends play one through to its game-over panel.
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/game/program/program_fixture.h"
#include "tests/game/program/round_screen.h"
#include "tests/support/occurrences.h"
#include "tests/support/pretend_pads.h"

namespace {

// The white pixels of the wheel's two-line description under the title menu, which
// names the chosen difficulty ("Easiest mode", "Just right!", ...).
using Mask = std::vector<bool>;
constexpr int kTextX0 = 236, kTextX1 = 520, kTextY0 = 418, kTextY1 = 476;

Mask Description(const ScreenCapture& c) {
    Mask mask;
    for (int y = kTextY0; y < kTextY1; ++y) {
        for (int x = kTextX0; x < kTextX1; ++x) mask.push_back(White(c.At(x, y)));
    }
    return mask;
}

int Lit(const Mask& m) {
    int n = 0;
    for (bool b : m) n += b;
    return n;
}

// The same text: at most a few stray pixels apart.
bool Same(const Mask& a, const Mask& b) {
    int differ = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) differ += a[i] != b[i];
    return Lit(a) > 200 && differ * 20 < Lit(a);
}

// The options box's cursor row: rows 1-5 are bars at y = 130, 162, ...; the cursor's
// bar is light blue over the yellow panel, the others dark. 0 when none is lit.
int OptionsCursor(const ScreenCapture& c) {
    int row = 0;
    for (int k = 1; k <= 5; ++k) {
        const int y0 = 130 + 32 * (k - 1);
        if (c.Count(86, y0, 98, y0 + 18, [](Rgb p) { return p.g > 120 && p.b > 90; }) > 150)
            row = k;
    }
    return row;
}

// The options box's yellow panel rising from the bottom.
bool OptionsRising(const ScreenCapture& c) {
    int panel = 0;
    for (int y = 400; y < 470; y += 2) {
        for (int x = 60; x < 580; x += 2) {
            const Rgb p = c.At(x, y);
            panel += p.r > 100 && p.g > 100 && p.b < 70;
        }
    }
    return panel > 7000;
}

// The options box fully up: the first five rows' bars (blue over the yellow) in their places.
// Until then the box takes no control.
bool ShowsOptions(const ScreenCapture& c) {
    for (int k = 1; k <= 5; ++k) {
        const Rgb bar = c.At(90, 130 + 32 * (k - 1) + 8);
        if (bar.b <= bar.r) return false;
    }
    return OptionsRising(c);
}

// Player p's join prompt over where it enters (x = 128p - 16): the stripe along the top of
// its plate and its "Press A" in its colour, above the floor.
bool ShowsPrompt(const ScreenCapture& c, int player) {
    const int middle = 128 * player - 16;
    return c.Count(middle - 25, 340, middle + 25, 352,
                   [&](Rgb p) { return NearlyOpaque(p, PlayerColour(player)); }) > 60;
}

class PadProgramTest : public GameProgramTest {
protected:
    // The game copied beside a data folder of its own (which `adjustData` may add to),
    // run with the pretend pads and `env`, up to its title menu.
    void Start(const std::function<void(const std::string& dataDir)>& adjustData = nullptr,
               const std::map<std::string, std::string>& env = {}) {
        ProcessOptions options;
        options.timeoutSeconds = 240;
        for (const auto& [name, value] : pads.Environment()) options.env[name] = value;
        for (const auto& [name, value] : env) options.env[name] = value;
        Launch(options, CopyOfTheGame(adjustData));
        if (HasFatalFailure()) return;
        Focus();
        ASSERT_TRUE(WaitFor(ShowsMenu, 30)) << game->OutputSoFar();
    }

    // Pads 1..count plugged in, then the game started; true once it has reported the last.
    bool StartWithPads(int count) {
        for (int id = 0; id < count; ++id) pads.Plug(id);
        pads.Write();
        Start();
        return !HasFatalFailure() && game->WaitForOutput("Game pad " + std::to_string(count) +
                                                             " connected: Pretend Gamepad",
                                                         5);
    }

    static ScreenTest Describes(const Mask& wanted) {
        return [wanted](const ScreenCapture& c) { return Same(Description(c), wanted); };
    }

    // A control pressed for a moment, again and again until its effect shows. The game
    // reads held controls once per update, and a screen takes a new one only once it
    // has seen every control let go, so a press may pass unseen on a slow sanitized
    // build or a loaded machine; a moment stays well short of the menus' key repeat, so
    // no press acts twice.
    bool TapUntil(const std::function<void()>& tap, const ScreenTest& effect) {
        for (int attempt = 0; attempt < 10; ++attempt) {
            tap();
            if (WaitFor(effect, 1.5)) return true;
        }
        return false;
    }
    // A key's press and release come from one xdotool, so starting a process on a loaded
    // machine cannot stretch the moment into the key repeat.
    void TapKey(const std::string& key) {
        xvfb.Run({"xdotool", "keydown", key, "sleep", "0.2", "keyup", key});
    }
    bool TapKeyUntil(const std::string& key, const ScreenTest& effect) {
        return TapUntil([&] { TapKey(key); }, effect);
    }
    // The same for pad `id`: `hold` changes it, and it goes back as it was afterwards.
    bool TapPadUntil(int id, const std::function<void(PretendPads::Pad&)>& hold,
                     const ScreenTest& effect) {
        const PretendPads::Pad before = pads[id];
        return TapUntil(
            [&] {
                hold(pads[id]);
                pads.Write();
                SleepSeconds(0.2);
                pads[id] = before;
                pads.Write();
            },
            effect);
    }
    // The left stick pushed, in GLFW's values (up and left -1).
    static std::function<void(PretendPads::Pad&)> LeftStick(float x, float y) {
        return [x, y](PretendPads::Pad& pad) {
            pad.axes[PretendPads::kLeftX] = x;
            pad.axes[PretendPads::kLeftY] = y;
        };
    }

    // The wheel's description for Normal, then for Easy as the Up key shows it; the Down
    // key turns the wheel back to Normal.
    void LearnWheelFromTheKeyboard() {
        normal = SettledDescription();
        ASSERT_TRUE(TapKeyUntil("Up", [&](const ScreenCapture& c) {
            return !Same(Description(c), normal);
        }));
        easy = SettledDescription();
        ASSERT_FALSE(Same(easy, normal));
        ASSERT_TRUE(TurnWheelToNormal());
    }
    // Down from Easy, tapped until the wheel shows Normal. A slow machine may let a tap run
    // into the key repeat, or tap again before a slow look shows the first, and step on
    // to Hard; Up comes back from there, so each tap goes the way the wheel now needs.
    bool TurnWheelToNormal() {
        for (int attempt = 0; attempt < 10; ++attempt) {
            const Mask shown = SettledDescription();
            if (Same(shown, normal)) return true;
            TapKey(Same(shown, easy) ? "Down" : "Up");
            WaitFor([&](const ScreenCapture& c) { return !Same(Description(c), shown); }, 1.5);
        }
        return false;
    }
    // The description once it stands still (the menu slides in, and the text with it)
    // over six looks: a loaded machine may show no new frame for a look or two mid-slide.
    Mask SettledDescription() {
        Mask last;
        int still = 0;
        for (int i = 0; i < 150; ++i) {
            SleepSeconds(0.1);
            if (!shot.Take(xvfb, window)) continue;
            Mask now = Description(shot);
            still = Same(now, last) ? still + 1 : 0;
            if (still == 6) return now;
            last = now;
        }
        ADD_FAILURE() << "the description never stands still";
        return last;
    }

    // How often the console has shown `line` so far.
    int Lines(const std::string& line) const { return Occurrences(game->OutputSoFar(), line); }
    bool WaitForLines(const std::string& line, int count, double seconds = 5) const {
        PollUntil([&] { return Lines(line) >= count; }, seconds);
        return Lines(line) == count;
    }

    void Quit() {
        xvfb.Run({"xdotool", "key", "F4"});
        ProcessResult result = game->Wait(20);
        EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    }

    // Pad `id`'s button held for a moment, until its effect shows.
    bool TapButtonUntil(int id, int button, const ScreenTest& effect) {
        return TapPadUntil(
            id, [button](PretendPads::Pad& p) { p.buttons[button] = 1; }, effect);
    }

    PretendPads pads{work.File("pads")};
    Mask normal, easy;
};

// Shadows on the floor band below the join prompts that were not there in `before` and lie
// away from the players, wherever their tags show them: opponents'.
int OpponentShadowPixels(const ScreenCapture& before, const ScreenCapture& now, int x0, int x1) {
    std::vector<int> players;
    for (int p = 1; p <= 4; ++p) {
        const Tag tag = PlayerTag(before, now, p);
        if (tag.x >= 0) players.push_back(tag.x);
    }
    int pixels = 0;
    for (int x = x0; x < x1; ++x) {
        bool byAPlayer = false;
        for (int player : players) byAPlayer = byAPlayer || std::abs(x - player) < 24;
        if (byAPlayer) continue;
        for (int y = 392; y < 456; ++y) pixels += Darkened(before.At(x, y), now.At(x, y));
    }
    return pixels;
}

// The game-over panel's words, "GAME" and "OVER", in their pink.
bool ShowsGameOver(const ScreenCapture& c) {
    return c.Count(100, 150, 540, 300, [](Rgb p) { return Near(p, 255, 180, 180, 30); }) > 300;
}

// The game-over panel's row for player p along the bottom, in its colour made brighter
// (the panel dims everything under it, the fighters and their tags too).
bool ListsPlayer(const ScreenCapture& c, int player) {
    const Rgb colour = PlayerColour(player);
    const auto bright = [](int v) { return std::min(255, v * 13 / 10); };
    return c.Count(0, 380, 640, 480, [&](Rgb p) {
        return Near(p, bright(colour.r), bright(colour.g), bright(colour.b), 40);
    }) > 40;
}

TEST_F(PadProgramTest, APadPluggedInIsPickedUpAndOnePulledOutLeavesNothingHeld) {
    Start();
    LearnWheelFromTheKeyboard();

    // A pad GLFW has no mapping for, plugged in while the game runs: the generic layout.
    PretendPads::Pad generic;
    generic.name = "Workshop Stick";
    generic.guid = "05000000000000000000000000000001";
    generic.axes.assign(6, 0);
    generic.buttons.assign(12, 0);
    generic.hats = {0};
    pads.Plug(0, generic);
    pads.Write();
    ASSERT_TRUE(game->WaitForOutput("Game pad 1 connected: Workshop Stick", 5))
        << game->OutputSoFar();
    EXPECT_TRUE(TapPadUntil(0, LeftStick(0, -1), Describes(easy)));

    // The options box: left to the gear (the wheel's description goes), Return.
    ASSERT_TRUE(
        TapKeyUntil("Left", [](const ScreenCapture& c) { return Lit(Description(c)) < 50; }));
    ASSERT_TRUE(TapKeyUntil("Return", OptionsRising));
    ASSERT_TRUE(WaitFor(ShowsOptions, 15));
    ASSERT_TRUE(WaitFor([](const ScreenCapture& c) { return OptionsCursor(c) == 0; }, 8));
    // The stick held down moves the cursor one row, and the box takes nothing more until
    // every control is let go. Pulled out while still held, the pad lets go of it.
    bool moved = false;
    for (int attempt = 0; attempt < 4 && !moved; ++attempt) {
        LeftStick(0, 1)(pads[0]);
        pads.Write();
        moved = WaitFor([](const ScreenCapture& c) { return OptionsCursor(c) == 1; }, 2);
        if (!moved) {
            LeftStick(0, 0)(pads[0]);
            pads.Write();
            SleepSeconds(0.3);
        }
    }
    ASSERT_TRUE(moved);
    pads.Unplug(0);
    pads.Write();
    ASSERT_TRUE(game->WaitForOutput("Game pad 1 disconnected", 5)) << game->OutputSoFar();
    EXPECT_TRUE(TapKeyUntil("Down", [](const ScreenCapture& c) { return OptionsCursor(c) == 2; }))
        << "the pulled-out pad still holds the stick down";

    // Plugged in again: the same port, and its stick acts at once.
    pads.Plug(0, generic);
    pads.Write();
    ASSERT_TRUE(WaitForLines("Game pad 1 connected: Workshop Stick", 2)) << game->OutputSoFar();
    EXPECT_TRUE(TapPadUntil(0, LeftStick(0, 1),
                            [](const ScreenCapture& c) { return OptionsCursor(c) == 3; }));
    EXPECT_TRUE(game->Running());
    Quit();
}

TEST_F(PadProgramTest, MappingsFromTheDataFolderAndTheEnvironmentMakePadsGamepads) {
    // Two pads no mapping knows yet. The first carries its left stick on axes 3 and 4,
    // where the generic layout reads none of it.
    const std::string fileGuid = "05000000000000000000000000000a01";
    const std::string variableGuid = "05000000000000000000000000000b02";
    PretendPads::Pad first;
    first.guid = fileGuid;
    first.axes.assign(6, 0);
    first.buttons.assign(4, 0);
    pads.Plug(0, first);
    PretendPads::Pad second = first;
    second.guid = variableGuid;
    pads.Plug(1, second);
    pads.Write();
    const std::string file = "# pads of the workshop\n" + fileGuid +
                             ",Workshop Twin Stick,a:b0,b:b1,leftx:a3,lefty:a4,platform:Linux,\n"
                             "not a mapping\n" +
                             fileGuid + ",Elsewhere,a:b0,platform:Windows,\n";
    const std::string variable = variableGuid + ",Variable Pad,a:b1,leftx:a0,lefty:a1,\n" +
                                 variableGuid + ",Broken,a:z9,\n";
    Start([&](const std::string& data) { std::ofstream(data + "/gamecontrollerdb.txt") << file; },
          {{"SDL_GAMECONTROLLERCONFIG", variable}});

    EXPECT_TRUE(game->WaitForOutput("Game pad 2 connected: Variable Pad", 5))
        << game->OutputSoFar();
    EXPECT_EQ(Lines("Game pad 1 connected: Workshop Twin Stick"), 1) << game->OutputSoFar();
    EXPECT_EQ(
        Lines(
            "Game pad mapping skipped (gamecontrollerdb.txt line 3): the GUID \"not a mapping\" is "
            "not 32 hexadecimal digits"),
        1)
        << game->OutputSoFar();
    EXPECT_EQ(
        Lines(
            "Game pad mapping skipped (SDL_GAMECONTROLLERCONFIG line 2): \"a:z9\" names no button, "
            "axis or hat"),
        1)
        << game->OutputSoFar();
    EXPECT_EQ(Lines("Game pad mapping skipped"), 2) << game->OutputSoFar();

    // Up on axis 4 is the first pad's left stick up, through its mapping.
    LearnWheelFromTheKeyboard();
    EXPECT_TRUE(TapPadUntil(
        0, [](PretendPads::Pad& p) { p.axes[4] = -1; }, Describes(easy)))
        << "the mapping from the data folder was not used";
    Quit();
}

TEST_F(PadProgramTest, APadTurnsTheMenuWheelAsTheArrowKeysDoAndFourFriendsAllJoinTheRound) {
    ASSERT_TRUE(StartWithPads(4)) << game->OutputSoFar();
    EXPECT_EQ(Lines("Game pad 1 connected: Pretend Gamepad"), 1) << game->OutputSoFar();
    LearnWheelFromTheKeyboard();

    // Up, as GLFW reports it: -1.
    EXPECT_TRUE(TapPadUntil(0, LeftStick(0, -1), Describes(easy)))
        << "the wheel did not turn to Easy";
    // Down on the pad's d-pad (its hat): off Easy, towards Normal (where the keyboard
    // brings it should a slow machine let the tap step twice).
    EXPECT_TRUE(TapPadUntil(
        0, [](PretendPads::Pad& p) { p.hats = {PretendPads::kHatDown}; },
        [&](const ScreenCapture& c) { return !Same(Description(c), easy); }));
    ASSERT_TRUE(TurnWheelToNormal());

    // C acts on the title menu but joins no one: the round waits with a prompt for each.
    // The menu takes it only once it has seen the d-pad let go.
    SleepSeconds(0.5);
    auto everyPrompt = [](const ScreenCapture& c) {
        return !ShowsMenu(c) && PlayFieldColours(c) > 200 && ShowsPrompt(c, 1) &&
               ShowsPrompt(c, 2) && ShowsPrompt(c, 3) && ShowsPrompt(c, 4);
    };
    ASSERT_TRUE(HoldUntil("c", everyPrompt, 20)) << game->OutputSoFar();
    const ScreenCapture before = shot;
    for (int p = 1; p <= 4; ++p) ASSERT_LT(HealthBar(before, p), 20) << p;

    // A on pads 1 to 4, each held for a moment, 0.3 s apart.
    for (int id = 0; id < 4; ++id) {
        pads[id].buttons[PretendPads::kA] = 1;
        pads.Write();
        SleepSeconds(0.25);
        pads[id].buttons[PretendPads::kA] = 0;
        pads.Write();
        SleepSeconds(0.05);
    }
    // Four health bars under the score, and four fighters where they came in
    // (x = 128p - 16), each seen there by its tag before an opponent may shove it.
    EXPECT_TRUE(WaitFor(
        [](const ScreenCapture& c) {
            for (int p = 1; p <= 4; ++p) {
                if (HealthBar(c, p) < 180) return false;
            }
            return true;
        },
        10))
        << "health bars " << HealthBar(shot, 1) << " " << HealthBar(shot, 2) << " "
        << HealthBar(shot, 3) << " " << HealthBar(shot, 4);
    bool seen[5] = {};
    EXPECT_TRUE(WaitFor(
        [&](const ScreenCapture& c) {
            bool all = true;
            for (int p = 1; p <= 4; ++p) {
                seen[p] = seen[p] || std::abs(PlayerTag(before, c, p).x - (128 * p - 16)) <= 6;
                all = all && seen[p];
            }
            return all;
        },
        10))
        << "fighters' tags " << PlayerTag(before, shot, 1).x << " " << PlayerTag(before, shot, 2).x
        << " " << PlayerTag(before, shot, 3).x << " " << PlayerTag(before, shot, 4).x;
    // With everyone in, the prompts are gone.
    EXPECT_TRUE(WaitFor(
        [](const ScreenCapture& c) {
            return !ShowsPrompt(c, 1) && !ShowsPrompt(c, 2) && !ShowsPrompt(c, 3) &&
                   !ShowsPrompt(c, 4);
        },
        10))
        << "prompts";
    Quit();
}

// Player 1 on the keyboard, player 2 on a pad: an arrow key held on the keyboard for a
// second walks player 1's fighter and leaves player 2's where it stood, each found by its
// tag. On a slow machine an opponent may shove player 2 or hold player 1 up during that
// second, so the walk is tried again, back the other way: a keyboard that drives player 2,
// or not player 1, fails every try.
TEST_F(PadProgramTest, TheKeyboardWalksPlayerOneAndNotPlayerTwosPadFighter) {
    ASSERT_TRUE(StartWithPads(2)) << game->OutputSoFar();
    auto inRound = [](const ScreenCapture& c) {
        return !ShowsMenu(c) && PlayFieldColours(c) > 200 && ShowsPrompt(c, 2);
    };
    ASSERT_TRUE(HoldUntil("Return", inRound, 20)) << game->OutputSoFar();
    const ScreenCapture before = shot;
    // Player 1 joins from the keyboard, player 2 with pad 2's A.
    EXPECT_TRUE(HoldUntil(
        "z", [](const ScreenCapture& c) { return HealthBar(c, 1) > 180; }, 10));
    ASSERT_TRUE(TapButtonUntil(1, PretendPads::kA,
                               [](const ScreenCapture& c) { return HealthBar(c, 2) > 180; }));
    // Player 2 first walks clear of player 1's way with its d-pad, however long a busy
    // machine takes to play the steps.
    pads[1].hats = {PretendPads::kHatRight};
    pads.Write();
    EXPECT_TRUE(
        WaitFor([&](const ScreenCapture& c) { return PlayerTag(before, c, 2).x > 430; }, 10));
    pads[1].hats = {0};
    pads.Write();

    std::string tries;
    bool clean = false;
    for (int attempt = 0; attempt < 4 && !clean; ++attempt) {
        // Where the two stand once they have landed and stopped: the same in two looks at
        // least 0.3 s apart.
        Tag one, two, lastOne, lastTwo;
        auto standing = [&](const ScreenCapture& c) {
            one = PlayerTag(before, c, 1);
            two = PlayerTag(before, c, 2);
            const bool still = one.x >= 0 && two.x >= 0 && one == lastOne && two == lastTwo;
            lastOne = one;
            lastTwo = two;
            if (!still) SleepSeconds(0.3);
            return still;
        };
        if (!WaitFor(standing, 10)) {
            tries += "never both standing (" + std::to_string(one.x) + ", " +
                     std::to_string(two.x) + "); ";
            continue;
        }

        const std::string key = attempt % 2 == 0 ? "Right" : "Left";
        xvfb.Run({"xdotool", "keydown", key});
        SleepSeconds(1.0);
        xvfb.Run({"xdotool", "keyup", key});
        SleepSeconds(0.3);
        ASSERT_TRUE(shot.Take(xvfb, window));
        const int walked = (PlayerTag(before, shot, 1).x - one.x) * (key == "Right" ? 1 : -1);
        const int moved = PlayerTag(before, shot, 2).x - two.x;
        clean = walked >= 90 && std::abs(moved) <= 3;
        tries += key + ": player 1 walked " + std::to_string(walked) + " from " +
                 std::to_string(one.x) + ", player 2 moved " + std::to_string(moved) + " from " +
                 std::to_string(two.x) + "; ";
    }
    EXPECT_TRUE(clean) << tries;
    Quit();
}

}  // namespace

namespace {

// Four friends on pads: pad 3's Start begins the round, player 1 leaves by pulling its pad,
// the opponents spread over players 2 to 4 (not one stands only by player 1), player 4 drops
// in five seconds after the first, the game-over panel lists every player, and back on the
// title asks before the game ends.
TEST_F(PadProgramTest, FourFriendsStartWithStartAreAllChasedAndListedAtTheEnd) {
    ASSERT_TRUE(StartWithPads(4)) << game->OutputSoFar();
    auto threeInvited = [](const ScreenCapture& c) {
        return !ShowsMenu(c) && PlayFieldColours(c) > 200 && ShowsPrompt(c, 1) &&
               ShowsPrompt(c, 2) && HealthBar(c, 3) > 180 && ShowsPrompt(c, 4);
    };
    ASSERT_TRUE(TapButtonUntil(2, PretendPads::kStart, threeInvited)) << game->OutputSoFar();
    const ScreenCapture empty = shot;

    for (int id = 0; id < 3; ++id) pads[id].buttons[PretendPads::kA] = 1;
    pads.Write();
    SleepSeconds(0.25);
    for (int id = 0; id < 3; ++id) pads[id].buttons[PretendPads::kA] = 0;
    pads.Write();
    ASSERT_TRUE(WaitFor(
        [](const ScreenCapture& c) {
            return HealthBar(c, 1) > 180 && HealthBar(c, 2) > 180 && HealthBar(c, 3) > 180;
        },
        10));
    pads.Unplug(0);
    pads.Write();
    ASSERT_TRUE(game->WaitForOutput("Game pad 1 disconnected", 5)) << game->OutputSoFar();

    // Five seconds after the first join, pad 4's A still brings player 4 in.
    SleepSeconds(4.5);
    EXPECT_TRUE(TapButtonUntil(3, PretendPads::kA,
                               [](const ScreenCapture& c) { return HealthBar(c, 4) > 180; }));

    // Opponents chasing only player 1 (drawn at x 112) would all stand left of x 200.
    EXPECT_TRUE(WaitFor(
        [&](const ScreenCapture& c) { return OpponentShadowPixels(empty, c, 210, 640) > 150; }, 20))
        << "no opponent near players 2 to 4: " << OpponentShadowPixels(empty, shot, 210, 640);
    Keep("friends");

    // Nobody presses: the opponents knock everyone down and the panel lists all four.
    EXPECT_TRUE(WaitFor(
        [](const ScreenCapture& c) {
            return ShowsGameOver(c) && ListsPlayer(c, 1) && ListsPlayer(c, 2) &&
                   ListsPlayer(c, 3) && ListsPlayer(c, 4);
        },
        120))
        << game->OutputSoFar();
    Keep("friends_game_over");

    // A press after four seconds goes to the title; there pad 2's Back asks, and its A quits.
    SleepSeconds(4);
    ASSERT_TRUE(TapButtonUntil(1, PretendPads::kB, ShowsMenu));
    ASSERT_TRUE(TapButtonUntil(1, PretendPads::kBack,
                               [](const ScreenCapture& c) { return !ShowsMenu(c); }));
    SleepSeconds(0.5);
    ASSERT_TRUE(game->Running());
    ASSERT_TRUE(shot.Take(xvfb, window));
    Keep("quit_question");
    pads[1].buttons[PretendPads::kA] = 1;
    pads.Write();
    ProcessResult result = game->Wait(20);
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
}

}  // namespace
