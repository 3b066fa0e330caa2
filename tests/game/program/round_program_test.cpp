// The real game under a private X server, played with real key presses: a round started
// from the title menu, a player joining with Z, walking and striking, and the screen
// showing the backdrop, the fighter with its shadow and the score display.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tests/support/process.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/xvfb_server.h"

namespace {

struct Rgb {
    int r, g, b;
};

// A window capture decoded through ImageMagick's plain PPM output.
class Picture {
public:
    bool Load(const XvfbServer& xvfb, const std::string& window, const std::string& stem) {
        std::string png = stem + ".png", ppm = stem + ".ppm";
        if (xvfb.Run({"import", "-window", window, png}, 30).exitCode != 0) return false;
        if (xvfb.Run({"convert", png, "-depth", "8", ppm}, 30).exitCode != 0) return false;
        std::ifstream in(ppm, std::ios::binary);
        std::string magic;
        int max = 0;
        in >> magic >> width >> height >> max;
        in.get();
        if (magic != "P6" || max != 255 || width <= 0 || height <= 0) return false;
        bytes.resize(size_t(width) * height * 3);
        in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
        return bool(in);
    }
    Rgb At(int x, int y) const {
        const unsigned char* p = &bytes[(size_t(y) * width + x) * 3];
        return {p[0], p[1], p[2]};
    }
    int width = 0, height = 0;
    std::vector<unsigned char> bytes;
};

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

class RoundProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(xvfb.Ok());
        scratch.Write("alsoft.conf", "drivers=wave\n[wave]\nfile=" + scratch.File("mix.wav") + "\n");
        ProcessOptions options = xvfb.Options();
        options.workDir = scratch.Path();  // the state file goes here
        options.env["ALSOFT_CONF"] = scratch.File("alsoft.conf");
        options.timeoutSeconds = 120;
        game = std::make_unique<RunningProcess>(std::vector<std::string>{BuiltProgram("vortan")}, options);
        window = xvfb.WaitForWindow("Vortan Rally Run", 30);
        ASSERT_FALSE(window.empty()) << game->OutputSoFar();
        xvfb.Run({"xdotool", "windowfocus", "--sync", window});
        SleepSeconds(3);  // the staged loader, then the title menu
    }
    void Key(const std::string& name) { xvfb.Run({"xdotool", "key", "--delay", "120", name}); }
    void Hold(const std::string& name, double seconds) {
        xvfb.Run({"xdotool", "keydown", name});
        SleepSeconds(seconds);
        xvfb.Run({"xdotool", "keyup", name});
    }

    XvfbServer xvfb{800, 600};
    ScratchDir scratch;
    std::unique_ptr<RunningProcess> game;
    std::string window;
};

TEST_F(RoundProgramTest, PlayerJoinsWalksAndStrikesOnScreen) {
    Key("Return");  // Normal is selected: the round starts
    SleepSeconds(0.7);
    Picture before;
    ASSERT_TRUE(before.Load(xvfb, window, scratch.File("before"))) << game->OutputSoFar();
    ASSERT_EQ(before.width, 640);
    ASSERT_EQ(before.height, 480);

    // Return is also a jump button, so a Return held into the round's first update has
    // already brought player 1 in; Z joins otherwise. Either way the player then walks.
    Key("z");
    SleepSeconds(0.5);
    Hold("Right", 0.6);
    Key("x");
    SleepSeconds(0.3);
    Picture after;
    ASSERT_TRUE(after.Load(xvfb, window, scratch.File("after")));
    ASSERT_TRUE(game->Running()) << game->OutputSoFar();

    // The backdrop: a picture over the whole play field, not a flat clear colour.
    std::set<int> colours;
    for (int y = 100; y < 380; y += 4) {
        for (int x = 0; x < 640; x += 4) {
            Rgb c = before.At(x, y);
            colours.insert(c.r << 16 | c.g << 8 | c.b);
        }
    }
    EXPECT_GT(colours.size(), 200u);

    // Player 1's health bar: nine points of red, 198 wide, under the score.
    int red = 0;
    for (int x = 225; x < 415; ++x) {
        Rgb c = after.At(x, 54);
        if (c.r > 200 && c.g < 70 && c.b < 70) ++red;
    }
    EXPECT_GT(red, 180) << "health bar";

    // The score line: green digits at the top centre.
    int green = 0;
    for (int y = 14; y < 44; ++y) {
        for (int x = 250; x < 390; ++x) {
            Rgb c = after.At(x, y);
            if (c.g > 150 && c.g > c.r + 50 && c.g > c.b + 50) ++green;
        }
    }
    EXPECT_GT(green, 40) << "score digits";

    // The shadow on the floor where the player has walked to: a patch darkened to about
    // 65 percent, below the fighter.
    int shadowPixels = 0, shadowX = 0;
    for (int y = 428; y < 437; ++y) {
        for (int x = 40; x < 600; ++x) {
            if (Darkened(before.At(x, y), after.At(x, y))) {
                ++shadowPixels;
                shadowX += x;
            }
        }
    }
    ASSERT_GT(shadowPixels, 60) << "shadow";
    shadowX /= shadowPixels;
    // Walking right took the player well beyond where it joined (x 128, shadow at 112).
    EXPECT_GT(shadowX, 160);

    // The fighter: its picture stands above the shadow.
    int changed = 0;
    for (int y = 395; y < 425; ++y) {
        for (int x = shadowX - 18; x < shadowX + 18; ++x) {
            if (Distance(before.At(x, y), after.At(x, y)) > 60) ++changed;
        }
    }
    EXPECT_GT(changed, 60) << "fighter";

    game->Signal(SIGTERM);
}

}  // namespace
