// The front end's per-update and per-save costs: writing and reading the state string
// through the state file, one title-menu update with full highscore lists and with the
// side panel open, one pause-panel update with its 202 trail lines, and whole title-menu
// frames with the game's pictures, with the draw calls they take.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "audio/audio_module.h"
#include "bench/game/game_render.h"
#include "framework/input.h"
#include "game/codes.h"
#include "game/draw_command.h"
#include "game/my_app.h"
#include "host/glfw_game.h"
#include "tests/support/headless_game.h"

namespace {

class Fixture {
public:
    Fixture() {
        // The host that reads the data folder and keeps the time, as the game's own; sound
        // through OpenAL's null output.
        QvGame* host = new QvGlfwGame();
        host->SetStatePath(String(statePath.c_str()));
        setenv("ALSOFT_DRIVERS", "null", 1);
        const HeadlessGame game = StartHeadlessGame(host, new gxtkAudio());
        app = game.app;
        input = game.input;
        device = InstallRenderDevice();
        SetFontMetrics(app);
        app->m_Mode = mode::kMenu;
        app->m_Difficulty = 2;
        for (int i = 0; i < 60; ++i) app->m_HiScore[i] = 1000000 - 7919 * i;
        for (int i = 0; i < setting::kCount; ++i) app->m_Setting[i] = 10 + i;
        for (int b = 0; b < 256; b += 3) app->m_Badge[b] = true;
    }
    ~Fixture() { std::remove(statePath.c_str()); }

    // Every picture at the set the window asks for, as the staged loader reads them, and
    // the window's size as the last render saw it.
    void LoadPictures() {
        if (picturesLoaded) return;
        app->p_Reload();
        while (app->m_LoadStage != 0) app->p_Loader();
        app->m_LastDevW = 640;
        app->m_LastDevH = 480;
        picturesLoaded = true;
    }

    std::string statePath = "/tmp/vortan_front_end_bench_state";
    c_MyApp* app = nullptr;
    c_InputDevice* input = nullptr;
    gxtkGraphics* device = nullptr;
    bool picturesLoaded = false;
};

Fixture& Shared() {
    static Fixture* fixture = new Fixture();
    return *fixture;
}

void BM_SaveState(benchmark::State& state) {
    c_MyApp* app = Shared().app;
    for (auto _ : state) app->p_Save();
}
BENCHMARK(BM_SaveState);

// Loading prints its three status lines each time; they go to /dev/null here.
void BM_LoadState(benchmark::State& state) {
    c_MyApp* app = Shared().app;
    app->p_Save();
    std::fflush(stdout);
    const int console = dup(1);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    for (auto _ : state) app->p_Load();
    std::fflush(stdout);
    dup2(console, 1);
    close(null);
    close(console);
}
BENCHMARK(BM_LoadState);

// One screen's update, over and over; counts the commands it records.
void RunScreen(benchmark::State& state, int (c_MyApp::*screen)()) {
    c_MyApp* app = Shared().app;
    for (auto _ : state) {
        (app->*screen)();
        benchmark::DoNotOptimize(app->m_DrawLen);
    }
    state.counters["commands"] = float(app->m_DrawLen / kDrawCmdFloats);
}

void BM_MenuUpdate(benchmark::State& state) {
    c_MyApp* app = Shared().app;
    app->m_PanelB = 0;
    app->m_PanelSlide = 0;
    RunScreen(state, &c_MyApp::p_Menu);
}
BENCHMARK(BM_MenuUpdate);

void BM_MenuUpdateSidePanelOpen(benchmark::State& state) {
    c_MyApp* app = Shared().app;
    app->m_PanelB = 1;
    app->m_PanelSlide = 500;
    RunScreen(state, &c_MyApp::p_Menu);
    app->m_PanelB = 0;
}
BENCHMARK(BM_MenuUpdateSidePanelOpen);

void BM_PauseUpdate(benchmark::State& state) {
    c_MyApp* app = Shared().app;
    app->m_Mode = mode::kRound;
    app->m_Paused = 1;
    app->m_PauseSel = 1;
    app->m_AnyKeyHeld = 1;
    RunScreen(state, &c_MyApp::p_PauseMenu);
    app->m_Mode = mode::kMenu;
}
BENCHMARK(BM_PauseUpdate);

// The title menu as a player meets it at 640 x 480: one whole update and its render.
void BM_TitleMenuFrame(benchmark::State& state) {
    Fixture& fixture = Shared();
    if (!fixture.device) {
        state.SkipWithError("no OpenGL window under Xvfb");
        return;
    }
    fixture.LoadPictures();
    c_MyApp* app = fixture.app;
    app->m_PanelB = 0;
    app->m_PanelSlide = 0;
    const DrawCallCounter drawCalls(fixture.device);
    for (auto _ : state) {
        app->p_OnUpdate();
        fixture.input->p_EndUpdate();
        RenderGameFrame(fixture.device, app);
    }
    drawCalls.Report(state);
    state.counters["commands"] = float(app->m_DrawLen / kDrawCmdFloats);
}
BENCHMARK(BM_TitleMenuFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
