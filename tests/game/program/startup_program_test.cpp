// The real game under a private X server: the loading screen at start and after a
// resize (which loads the picture set that fits the new size), the debug line of F1,
// and the quiet ends by F4 and by the window's close button; and an unknown argument
// refused before any window opens.
#include <functional>
#include <string>

#include "tests/game/program/program_fixture.h"
#include "tests/support/window_close.h"

namespace {

// Where the loading screen puts things, in window pixels, for a virtual screen of w x h
// units drawn at scale s.
struct LoadingLayout {
    double w, h, s;
    int left = 0, top = 0;  // the window's place on the screen
    int CaptionY() const { return top + int((h - 32) * s); }
    int CentreX() const { return left + int(w * s / 2); }
    int LogoY() const { return top + int(h * 0.48 * s); }
};

class StartupProgramTest : public GameProgramTest {
protected:
    // On the whole 1280 x 1024 screen, so that a 1280 x 720 window fits.
    StartupProgramTest() : GameProgramTest(1280, 1024) {}

    // The game copied beside a data folder of its own (which `adjustData` may change).
    // `atStart` runs as soon as the window exists, while it is still centred on the screen.
    void Start(const std::function<void(const std::string& dataDir)>& adjustData = nullptr,
               const std::function<void()>& atStart = nullptr) {
        Launch({}, CopyOfTheGame(adjustData));
        if (HasFatalFailure()) return;
        if (atStart) atStart();
        // At the top left, so a 1280 x 720 window still fits the screen; with the input
        // focus (and the pointer) on it, or the game suspends and stops updating.
        ASSERT_TRUE(PollUntil(
            [&] {
                return xvfb.Run({"xwininfo", "-id", window}).out.find("IsViewable") !=
                       std::string::npos;
            },
            10))
            << "the window is never mapped";
        ASSERT_EQ(xvfb.Run({"xdotool", "windowmove", "--sync", window, "0", "0"}).exitCode, 0);
        ASSERT_EQ(xvfb.Run({"xdotool", "mousemove", "100", "100"}).exitCode, 0);
        ASSERT_TRUE(PollUntil(
            [&] {
                xvfb.Run({"xdotool", "windowfocus", window});
                const std::string focus = xvfb.Run({"xdotool", "getwindowfocus"}).out;
                return focus.substr(0, focus.find('\n')) == window;
            },
            10))
            << "the window never gets the focus";
    }

    // The loading screen: blue and orange spinner dots, the maker's logo in the middle
    // and the white caption near the bottom.
    bool ShowsLoadingScreen(const ScreenCapture& s, LoadingLayout l) const {
        const int x0 = l.left, y0 = l.top, x1 = l.left + int(l.w * l.s),
                  y1 = l.top + int(l.h * l.s);
        const int blue = s.Count(x0, y0, x1, y1, [](Rgb c) { return Near(c, 0, 125, 255, 20); });
        const int orange = s.Count(x0, y0, x1, y1, [](Rgb c) { return Near(c, 255, 125, 0, 20); });
        const int caption = s.Count(l.CentreX() - 60 * l.s, l.CaptionY() - 8 * l.s,
                                    l.CentreX() + 60 * l.s, l.CaptionY() + 8 * l.s, White);
        const int logo = s.Count(l.CentreX() - 40 * l.s, l.LogoY() - 40 * l.s,
                                 l.CentreX() + 40 * l.s, l.LogoY() + 40 * l.s,
                                 [](Rgb c) { return c.r + c.g + c.b > 60; });
        return blue > 20 * l.s && orange > 20 * l.s && caption > 20 && logo > 400 * l.s * l.s;
    }
};

TEST_F(StartupProgramTest, ShowsTheLoadingScreenThenTheTitleMenu) {
    ScreenCapture screen;
    bool loading = false;
    // Looked for at once: loading takes 25 updates, well under a second. The window is
    // still centred on the 1280 x 1024 screen then.
    Start(nullptr, [&] {
        LoadingLayout centred{640, 480, 1};
        centred.left = 320;
        centred.top = 272;
        loading = WaitForScreen(
            [&](const ScreenCapture& s) { return ShowsLoadingScreen(s, centred); }, 10, &screen);
    });
    EXPECT_TRUE(loading) << game->OutputSoFar();
    // Then the title menu, which eases its background toward dark blue (0, 0, 30).
    EXPECT_TRUE(WaitForScreen([&](const ScreenCapture& s) { return Near(s.At(2, 2), 0, 0, 30, 6); },
                              30, &screen))
        << "corner " << screen.At(2, 2).r << "," << screen.At(2, 2).g << "," << screen.At(2, 2).b;
    EXPECT_FALSE(ShowsLoadingScreen(screen, LoadingLayout{640, 480, 1}));
    EXPECT_TRUE(game->Running());
}

TEST_F(StartupProgramTest, AResizeReloadsThePictureSetThatFits) {
    // Each resolution set's maker's logo is a plain square of its own colour in the middle
    // of a clear cell here (the spinner stays visible around it): which colour the
    // loading screen shows tells which file was read.
    Start([this](const std::string& data) {
        struct Logo {
            std::string file;
            int cell;
            std::string colour;
        };
        for (const Logo& logo :
             {Logo{"DorpLogo.png", 256, "#0000ff"}, Logo{"DorpLogo-hd.png", 512, "#00ff00"},
              Logo{"DorpLogo-hd2.png", 1024, "#ff0000"}}) {
            const int half = logo.cell / 10;
            const std::string box = "rectangle " + std::to_string(logo.cell / 2 - half) + "," +
                                    std::to_string(logo.cell / 2 - half) + " " +
                                    std::to_string(logo.cell / 2 + half) + "," +
                                    std::to_string(logo.cell / 2 + half);
            const std::string size = std::to_string(logo.cell) + "x" + std::to_string(logo.cell);
            ASSERT_EQ(xvfb.Run({"convert", "-size", size, "xc:none", "-fill", logo.colour, "-draw",
                                box, "PNG32:" + data + "/common/" + logo.file})
                          .exitCode,
                      0);
        }
    });
    ScreenCapture screen;
    auto logoIs = [](const ScreenCapture& s, int cx, int cy, int r, int g, int b) {
        return s.Count(cx - 20, cy - 20, cx + 20, cy + 20,
                       [&](Rgb c) { return Near(c, r, g, b, 30); }) > 1000;
    };
    // 640 wide is above 630: the doubled set ("-hd"), green.
    ASSERT_TRUE(
        WaitForScreen([&](const ScreenCapture& s) { return logoIs(s, 320, 230, 0, 255, 0); }, 10,
                      &screen));

    ASSERT_EQ(xvfb.Run({"xdotool", "windowsize", "--sync", window, "1280", "720"}).exitCode, 0);
    // 1280 wide asks for the "-hd2" files: the red logo, on the loading screen at scale 2.
    const LoadingLayout wide{640, 360, 2};
    EXPECT_TRUE(WaitForScreen(
        [&](const ScreenCapture& s) {
            return logoIs(s, 640, int(360 * 0.48 * 2), 255, 0, 0) && ShowsLoadingScreen(s, wide);
        },
        15, &screen))
        << game->OutputSoFar();
    EXPECT_TRUE(game->Running());
}

TEST_F(StartupProgramTest, F1ShowsTheDebugLine) {
    Start();
    auto band = [](const ScreenCapture& s) { return s.Count(16, 458, 140, 478, White); };
    ScreenCapture before;
    // Past the loading screen: the title menu's dark blue has settled.
    ASSERT_TRUE(WaitForScreen([&](const ScreenCapture& s) { return Near(s.At(2, 2), 0, 0, 30, 6); },
                              30, &before))
        << game->OutputSoFar();
    ASSERT_EQ(xvfb.Run({"xdotool", "key", "F1"}).exitCode, 0);
    ScreenCapture after;
    // "60:1.0,1.0": about ten white glyphs at the bottom left.
    EXPECT_TRUE(WaitForScreen([&](const ScreenCapture& s) { return band(s) > band(before) + 60; },
                              5, &after))
        << band(before) << " -> " << band(after);
    ASSERT_EQ(xvfb.Run({"xdotool", "key", "F1"}).exitCode, 0);
    EXPECT_TRUE(WaitForScreen([&](const ScreenCapture& s) { return band(s) <= band(before) + 10; },
                              5, &after))
        << band(before) << " -> " << band(after);
}

TEST_F(StartupProgramTest, F4AndTheCloseButtonEndTheProgramWithExitCodeZero) {
    for (const bool byKey : {true, false}) {
        SCOPED_TRACE(byKey ? "F4" : "close button");
        Start();
        SleepSeconds(1);
        if (byKey) {
            ASSERT_EQ(xvfb.Run({"xdotool", "key", "F4"}).exitCode, 0);
        } else {
            ASSERT_TRUE(RequestClose(xvfb, window));
        }
        ProcessResult result = game->Wait(10);
        EXPECT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    }
}

// An argument is echoed on the terminal that gave it, so its control characters are
// escaped: this one would clear the screen.
TEST(CommandLineProgramTest, AnUnknownArgumentIsEchoedWithItsControlCharactersEscaped) {
    ProcessResult r = RunProcess({BuiltProgram("vortan"), "\x1b[2J"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "vortan: unknown argument '\\x1b[2J'\nUsage: vortan [--help | --version]\n");
}

}  // namespace
