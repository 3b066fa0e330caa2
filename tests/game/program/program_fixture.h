// The real game under a private X server, as the whole-program tests drive it: started in
// a scratch working folder (which receives ./.pellixstate), its window found, captures
// taken until a screen shows, and keys held as a player holds them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/process.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/screen_capture.h"
#include "tests/support/xvfb_server.h"

// The title menu in a 640 x 480 window: its dark blue and the two score tables. The
// blue is read from most of a corner patch, as the menu's drifting grid lines cross it.
inline bool ShowsMenu(const ScreenCapture& c) {
    const int blue = c.Count(0, 0, 8, 8, [](Rgb p) { return Near(p, 0, 0, 30, 10); });
    const int best = c.Count(510, 55, 640, 230, [](Rgb p) { return Near(p, 255, 200, 100, 40); });
    const int last = c.Count(510, 255, 640, 430, [](Rgb p) { return Near(p, 200, 255, 100, 40); });
    return blue > 32 && best > 60 && last > 60;
}

class GameProgramTest : public ::testing::Test {
protected:
    using ScreenTest = std::function<bool(const ScreenCapture&)>;

    explicit GameProgramTest(int screenWidth = 800, int screenHeight = 600)
        : xvfb(screenWidth, screenHeight) {}

    // Starts `program` with sound through OpenAL's null output (unless the options say
    // where it goes) and waits for its window.
    void Launch(ProcessOptions options = {}, const std::string& program = BuiltProgram("vortan")) {
        ASSERT_TRUE(xvfb.Ok());
        options = xvfb.Options(options);
        if (options.workDir.empty()) options.workDir = work.Path();
        if (!options.env.count("ALSOFT_CONF")) options.env["ALSOFT_DRIVERS"] = "null";
        options.timeoutSeconds = std::max(options.timeoutSeconds, 180.0);
        game = std::make_unique<RunningProcess>(std::vector<std::string>{program}, options);
        window = xvfb.WaitForWindow("Vortan Rally Run", 30);
        ASSERT_FALSE(window.empty()) << game->OutputSoFar();
    }
    void Focus() { xvfb.Run({"xdotool", "windowfocus", "--sync", window}); }
    // The game's visible window, found by its process: each switch makes a new one.
    void FindWindowOfGame() {
        window.clear();
        for (int i = 0; i < 50 && window.empty(); ++i) {
            ProcessResult r = xvfb.Run(
                {"xdotool", "search", "--onlyvisible", "--pid", std::to_string(game->Pid())});
            if (r.exitCode == 0 && !r.out.empty()) {
                std::string lines = r.out.substr(0, r.out.find_last_not_of('\n') + 1);
                window = lines.substr(lines.rfind('\n') + 1);
            } else {
                SleepSeconds(0.1);
            }
        }
        ASSERT_FALSE(window.empty()) << game->OutputSoFar();
        Focus();
    }
    // Keeps a capture (the last window capture when none is given) as `name`.png in
    // VORTAN_SCREENSHOT_DIR, for the documentation, when that is set.
    void Keep(const std::string& name, const ScreenCapture* capture = nullptr) const {
        const char* dir = std::getenv("VORTAN_SCREENSHOT_DIR");
        if (dir && *dir)
            (capture ? *capture : shot).SavePng(std::string(dir) + "/" + name + ".png");
    }

    // A copy of the game beside a data folder of its own, which `adjustData` may change;
    // returns the copy's path.
    std::string CopyOfTheGame(
        const std::function<void(const std::string& dataDir)>& adjustData = nullptr) {
        const std::string bin = BuiltProgram("vortan");
        EXPECT_EQ(RunProcess({"/bin/cp", bin, programDir.Path() + "/vortan"}).exitCode, 0);
        const std::string data = bin.substr(0, bin.rfind('/')) + "/data";
        EXPECT_EQ(RunProcess({"/bin/cp", "-r", data, programDir.Path()}).exitCode, 0);
        if (adjustData) adjustData(programDir.Path() + "/data");
        return programDir.Path() + "/vortan";
    }

    // Captures the game's window into `shot` until the test passes; false when the time is
    // up or the game has ended.
    bool WaitFor(const ScreenTest& test, double seconds) {
        return Watch(window, test, seconds, &shot);
    }
    // The same with the whole screen, into `into`.
    bool WaitForScreen(const ScreenTest& test, double seconds, ScreenCapture* into) {
        return Watch("", test, seconds, into);
    }

    // The game reads held keys once per update: a key is held long enough for a slow frame
    // of a sanitized build to see it, yet short of the menus' 30-update repeat.
    void Press(const std::string& key) {
        xvfb.Run({"xdotool", "keydown", key});
        SleepSeconds(0.25);
        xvfb.Run({"xdotool", "keyup", key});
        SleepSeconds(0.15);
    }
    // A key whose effect shows is held until it does; held keys act once, so this cannot
    // repeat it.
    bool HoldUntil(const std::string& key, const ScreenTest& test, double seconds) {
        xvfb.Run({"xdotool", "keydown", key});
        const bool seen = WaitFor(test, seconds);
        xvfb.Run({"xdotool", "keyup", key});
        return seen;
    }

    // A key pressed for a moment, again every two seconds until its effect shows: for a
    // press that counts only after some time of the game's, which runs slower than the
    // clock when frames are slow.
    bool PressUntil(const std::string& key, const ScreenTest& test, int tries = 8) {
        for (int i = 0; i < tries; ++i) {
            Press(key);
            if (WaitFor(test, 2)) return true;
        }
        return false;
    }

    XvfbServer xvfb;
    ScratchDir work;        // the game's working folder
    ScratchDir programDir;  // where CopyOfTheGame puts the copy
    std::unique_ptr<RunningProcess> game;
    std::string window;
    ScreenCapture shot;

private:
    bool Watch(const std::string& target, const ScreenTest& test, double seconds,
               ScreenCapture* into) {
        bool seen = false;
        PollUntil(
            [&] {
                seen = into->Take(xvfb, target) && test(*into);
                return seen || !game->Running();
            },
            seconds, 0.02);
        return seen;
    }
};
