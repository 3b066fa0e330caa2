// The real game under a private X server with pretend game pads (tests/support/
// pretend_pads.h) in place of GLFW's joystick functions: a pad's stick turns the title
// menu's wheel as the arrow keys do, pads plugged in and pulled out while the game runs
// are picked up and dropped (leaving nothing held), and extra mappings come from the
// data folder and the environment.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/pretend_pads.h"
#include "tests/support/process.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/xvfb_server.h"

namespace {

// A capture of the game's window, straight to binary PPM.
class Capture {
public:
    bool Take(const XvfbServer& xvfb, const std::string& window, const std::string& stem) {
        const std::string ppm = stem + ".ppm";
        if (xvfb.Run({"import", "-window", window, "-depth", "8", "ppm:" + ppm}, 30).exitCode != 0) return false;
        std::ifstream in(ppm, std::ios::binary);
        std::string magic;
        int max = 0;
        in >> magic >> width >> height >> max;
        in.get();
        if (magic != "P6" || max != 255 || width < 640 || height < 480) return false;
        bytes.assign(size_t(width) * height * 3, 0);
        in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
        return bool(in);
    }
    const unsigned char* At(int x, int y) const { return &bytes[(size_t(y) * width + x) * 3]; }
    bool White(int x, int y) const {
        const unsigned char* p = At(x, y);
        return p[0] > 200 && p[1] > 200 && p[2] > 200;
    }

    int width = 0, height = 0;
    std::vector<unsigned char> bytes;
};

// The white pixels of the wheel's two-line description under the title menu, which
// names the chosen difficulty ("Easiest mode", "Just right!", ...).
using Mask = std::vector<bool>;
constexpr int kTextX0 = 236, kTextX1 = 520, kTextY0 = 418, kTextY1 = 476;

Mask Description(const Capture& c) {
    Mask mask;
    for (int y = kTextY0; y < kTextY1; ++y) {
        for (int x = kTextX0; x < kTextX1; ++x) mask.push_back(c.White(x, y));
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

// The options box's cursor row: rows 1-5 are bars at y = 130, 170, ...; the cursor's
// bar is light blue over the yellow panel, the others dark. 0 when none is lit.
int OptionsCursor(const Capture& c) {
    int row = 0;
    for (int k = 1; k <= 5; ++k) {
        const int y0 = 130 + 40 * (k - 1);
        int bright = 0;
        for (int y = y0; y < y0 + 18; ++y) {
            for (int x = 86; x < 98; ++x) bright += c.At(x, y)[1] > 120 && c.At(x, y)[2] > 90;
        }
        if (bright > 150) row = k;
    }
    return row;
}

bool ShowsOptions(const Capture& c) {
    int panel = 0;
    for (int y = 330; y < 470; y += 2) {
        for (int x = 60; x < 580; x += 2) {
            const unsigned char* p = c.At(x, y);
            panel += p[0] > 100 && p[1] > 100 && p[2] < 70;
        }
    }
    return panel > 15000;
}

class PadProgramTest : public ::testing::Test {
protected:
    // The game copied beside a data folder of its own (which `adjustData` may add to),
    // run in a scratch folder with the pretend pads and `env`.
    void Start(const std::function<void(const std::string& dataDir)>& adjustData = nullptr,
               const std::map<std::string, std::string>& env = {}) {
        ASSERT_TRUE(xvfb.Ok());
        const std::string bin = BuiltProgram("vortan");
        ASSERT_EQ(RunProcess({"/bin/cp", bin, programDir.Path() + "/vortan"}).exitCode, 0);
        ASSERT_EQ(RunProcess({"/bin/cp", "-r", bin.substr(0, bin.rfind('/')) + "/data", programDir.Path()}).exitCode, 0);
        if (adjustData) adjustData(programDir.Path() + "/data");
        ProcessOptions options = xvfb.Options();
        options.workDir = work.Path();
        options.timeoutSeconds = 240;
        options.env["ALSOFT_DRIVERS"] = "null";
        for (const auto& [name, value] : pads.Environment()) options.env[name] = value;
        for (const auto& [name, value] : env) options.env[name] = value;
        game = std::make_unique<RunningProcess>(std::vector<std::string>{programDir.Path() + "/vortan"}, options);
        window = xvfb.WaitForWindow("Vortan Rally Run", 30);
        ASSERT_FALSE(window.empty()) << game->OutputSoFar();
        xvfb.Run({"xdotool", "windowfocus", "--sync", window});
        // The title menu, slid in: the description of Normal under the wheel.
        ASSERT_TRUE(WaitFor([](const Capture& c) { return Lit(Description(c)) > 200; }, 30)) << game->OutputSoFar();
        SleepSeconds(1);
    }

    // Captures the window until the test passes or the time is up.
    bool WaitFor(const std::function<bool(const Capture&)>& test, double seconds) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        do {
            if (shot.Take(xvfb, window, work.File("shot")) && test(shot)) return true;
            SleepSeconds(0.05);
        } while (std::chrono::steady_clock::now() < end);
        return false;
    }
    bool WaitForDescription(const Mask& wanted, double seconds = 8) {
        return WaitFor([&](const Capture& c) { return Same(Description(c), wanted); }, seconds);
    }

    // Held long enough for a slow sanitized frame to see it, yet short of the menus'
    // key repeat.
    void Press(const std::string& key) {
        xvfb.Run({"xdotool", "keydown", key});
        SleepSeconds(0.25);
        xvfb.Run({"xdotool", "keyup", key});
        SleepSeconds(0.15);
    }

    // The wheel's description for Normal, then for Easy as the Up key shows it; the Down
    // key turns the wheel back to Normal.
    void LearnWheelFromTheKeyboard() {
        ASSERT_TRUE(shot.Take(xvfb, window, work.File("normal")));
        normal = Description(shot);
        Press("Up");
        ASSERT_TRUE(WaitFor([&](const Capture& c) { return !Same(Description(c), normal); }, 8));
        SleepSeconds(0.3);
        ASSERT_TRUE(shot.Take(xvfb, window, work.File("easy")));
        easy = Description(shot);
        ASSERT_FALSE(Same(easy, normal));
        Press("Down");
        ASSERT_TRUE(WaitForDescription(normal));
    }

    // Pushes pad `id`'s left stick (values as GLFW reports them) until `effect` shows, then
    // lets go; false when it never shows.
    bool PushLeftStickUntil(int id, float x, float y, const std::function<bool(const Capture&)>& effect) {
        SetLeftStick(id, x, y);
        const bool seen = WaitFor(effect, 8);
        SetLeftStick(id, 0, 0);
        SleepSeconds(0.15);
        return seen;
    }
    void SetLeftStick(int id, float x, float y) {
        pads[id].axes[PretendPads::kLeftX] = x;
        pads[id].axes[PretendPads::kLeftY] = y;
        pads.Write();
    }

    // How often the console has shown `line` so far.
    int Lines(const std::string& line) const {
        const std::string out = game->OutputSoFar();
        int n = 0;
        for (size_t at = out.find(line); at != std::string::npos; at = out.find(line, at + 1)) ++n;
        return n;
    }

    bool WaitForLines(const std::string& line, int count, double seconds = 5) const {
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (Lines(line) < count && std::chrono::steady_clock::now() < end) SleepSeconds(0.05);
        return Lines(line) == count;
    }

    void Quit() {
        Press("F4");
        ProcessResult result = game->Wait(20);
        EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
    }

    XvfbServer xvfb{800, 600};
    ScratchDir work;
    ScratchDir programDir;
    PretendPads pads{work.File("pads")};
    std::unique_ptr<RunningProcess> game;
    std::string window;
    Capture shot;
    Mask normal, easy;
};

TEST_F(PadProgramTest, StickUpOnTheTitleMenuTurnsTheWheelToEasyAsTheUpKeyDoes) {
    pads.Plug(0);
    pads.Write();
    Start();
    EXPECT_TRUE(game->WaitForOutput("Game pad 1 connected: Pretend Gamepad", 5)) << game->OutputSoFar();
    LearnWheelFromTheKeyboard();

    // Up, as GLFW reports it: -1.
    EXPECT_TRUE(PushLeftStickUntil(0, 0, -1, [&](const Capture& c) { return Same(Description(c), easy); }))
        << "the wheel did not turn to Easy";
    // Down on the pad's d-pad (the hat): back to Normal.
    pads[0].hats = {PretendPads::kHatDown};
    pads.Write();
    EXPECT_TRUE(WaitForDescription(normal));
    pads[0].hats = {0};
    pads.Write();
    Quit();
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
    ASSERT_TRUE(game->WaitForOutput("Game pad 1 connected: Workshop Stick", 5)) << game->OutputSoFar();
    EXPECT_TRUE(PushLeftStickUntil(0, 0, -1, [&](const Capture& c) { return Same(Description(c), easy); }));

    // The options box: left to the gear, Return.
    Press("Left");
    Press("Return");
    ASSERT_TRUE(WaitFor(ShowsOptions, 8));
    ASSERT_TRUE(WaitFor([](const Capture& c) { return OptionsCursor(c) == 0; }, 5));
    // The stick held down moves the cursor one row, and the box takes nothing more until
    // every control is let go. Pulled out while still held, the pad lets go of it.
    SetLeftStick(0, 0, 1);
    ASSERT_TRUE(WaitFor([](const Capture& c) { return OptionsCursor(c) == 1; }, 8));
    pads.Unplug(0);
    pads.Write();
    ASSERT_TRUE(game->WaitForOutput("Game pad 1 disconnected", 5)) << game->OutputSoFar();
    Press("Down");
    EXPECT_TRUE(WaitFor([](const Capture& c) { return OptionsCursor(c) == 2; }, 5))
        << "the pulled-out pad still holds the stick down";

    // Plugged in again: the same port, and its stick acts at once.
    pads.Plug(0, generic);
    pads.Write();
    ASSERT_TRUE(WaitForLines("Game pad 1 connected: Workshop Stick", 2)) << game->OutputSoFar();
    EXPECT_TRUE(PushLeftStickUntil(0, 0, 1, [](const Capture& c) { return OptionsCursor(c) == 3; }));
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
    const std::string variable = variableGuid + ",Variable Pad,a:b1,leftx:a0,lefty:a1,\n" + variableGuid +
                                 ",Broken,a:z9,\n";
    Start([&](const std::string& data) { std::ofstream(data + "/gamecontrollerdb.txt") << file; },
          {{"SDL_GAMECONTROLLERCONFIG", variable}});

    EXPECT_TRUE(game->WaitForOutput("Game pad 2 connected: Variable Pad", 5)) << game->OutputSoFar();
    EXPECT_EQ(Lines("Game pad 1 connected: Workshop Twin Stick"), 1) << game->OutputSoFar();
    EXPECT_EQ(Lines("Game pad mapping skipped (gamecontrollerdb.txt line 3): the GUID \"not a mapping\" is "
                    "not 32 hexadecimal digits"),
              1)
        << game->OutputSoFar();
    EXPECT_EQ(Lines("Game pad mapping skipped (SDL_GAMECONTROLLERCONFIG line 2): \"a:z9\" names no button, "
                    "axis or hat"),
              1)
        << game->OutputSoFar();
    EXPECT_EQ(Lines("Game pad mapping skipped"), 2) << game->OutputSoFar();

    // Up on axis 4 is the first pad's left stick up, through its mapping.
    LearnWheelFromTheKeyboard();
    pads[0].axes[4] = -1;
    pads.Write();
    EXPECT_TRUE(WaitForDescription(easy)) << "the mapping from the data folder was not used";
    pads[0].axes[4] = 0;
    pads.Write();
    Quit();
}

}  // namespace
