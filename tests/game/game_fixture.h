// The whole game object without a window: the real input device fed with key, pad,
// stick and character events, sound through OpenAL's wave writer, a host whose clock
// the test moves, and the state file in a scratch folder. Tests drive c_MyApp update by
// update exactly as the framework does (p_OnUpdate, then the input device's end of
// update) and read its fields and draw list.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "audio/audio_module.h"
#include "framework/app.h"
#include "framework/input.h"
#include "game/codes.h"
#include "game/draw_command.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/table_layouts.h"
#include "host/frame_driver.h"
#include "host/glfw_game.h"
#include "tests/support/program_folder.h"
#include "tests/support/scratch_dir.h"

// The key codes the tests press (a letter's code is its capital, as in 'W').
namespace vk = key;

// Four numbers of a command, compared at once.
using Quad = std::array<float, 4>;

// One command of the draw list, unpacked.
struct DrawCmd {
    float kind;  // image slot, or kCmdRect / kCmdOval / kCmdLine
    float x, y, rot;
    float a4, a5;  // a picture's scales, a rectangle's size, an oval's radii, a line's second end
    float frame, alpha;
    float r, g, b;
    int blend;

    Quad Place() const { return {x, y, a4, a5}; }
    Quad Colour() const { return {r, g, b, alpha}; }
};

// A clock that moves only when the test says so; no window.
class SimClock : public QvFrameDriver {
public:
    double now = 1.0;
    double Now() override { return now; }
    void Sleep(double seconds) override { now += seconds; }
    bool WindowOpen() override { return false; }
    void SwapBuffers() override {}
    void ProcessEvents(bool) override {}
    bool WindowActive() override { return true; }
};

// The real host (files, sounds, state file) on the simulated clock, reading the data
// folder beside the test program.
class GameTestHost : public QvGlfwGame {
public:
    SimClock clock;
    bool touchPlay = false;  // what the host answers, as a page would
    bool TouchPlay() override { return touchPlay; }
    GameTestHost() {
        SetFrameDriver(&clock);
        _appDir = TestProgramFolder();
    }
};

class GameFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The window size the framework reports (qv_app__devWidth / qv_app__devHeight).
    void SetDevice(int width, int height);
    // p_OnCreate, as the framework calls it once the devices exist.
    void Create();
    // Runs updates: p_OnUpdate, then the input device's end of update; the clock moves
    // one sixtieth of a second per update.
    void Update(int count = 1);
    void Render();
    // Alternating updates and renders until the staged loader is done (at most 100).
    void FinishLoading();
    void AdvanceMs(int ms);

    void KeyDown(int key) { input->p_KeyEvent(1, key); }
    void KeyUp(int key) { input->p_KeyEvent(2, key); }
    // Pressed and released before the next update: one hit, not held.
    void Tap(int key) {
        KeyDown(key);
        KeyUp(key);
    }
    void PadDown(int port, int button) { KeyDown(PadKey(port, button)); }
    void PadUp(int port, int button) { KeyUp(PadKey(port, button)); }
    static int PadKey(int port, int button) {
        return kKeyJoystickBase + pad::kButtonsPerPad * port + button;
    }
    void Stick(int port, float x, float y);
    void Type(const std::string& chars);

    std::vector<DrawCmd> Commands() const;
    // The characters drawn with the font, in order (drawn glyphs only).
    std::string DrawnText() const;

    // A short 16-bit mono WAV file in the scratch folder; returns its path.
    std::string WriteTone(const std::string& name) const;
    c_Sound* LoadTone(const std::string& name) const;

    static gxtkAudio* Audio();
    // What the wave writer has recorded of this process's sound: 16-bit stereo at 44100 Hz,
    // and the file it writes.
    static std::string RecordedMix();
    static std::string RecordedMixPath();

    GameTestHost* host = nullptr;
    c_MyApp* app = nullptr;
    c_InputDevice* input = nullptr;
    std::unique_ptr<ScratchDir> scratch;
};
