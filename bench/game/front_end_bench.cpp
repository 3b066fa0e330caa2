// The front end's per-update and per-save costs: writing and reading the state string
// through the state file, one title-menu update with full highscore lists and with the
// side panel open, and one pause-panel update with its 202 trail lines.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "audio/audio_module.h"
#include "framework/app.h"
#include "framework/input.h"
#include "game/draw_command.h"
#include "game/my_app.h"
#include "graphics/graphics.h"
#include "host/game.h"
#include "host/startup.h"

namespace {

class Fixture {
public:
    Fixture() {
        static QvGame* host = new QvGame();
        host->SetStatePath(String(statePath.c_str()));
        qvInit();
        qv_app__game = host;
        qv_app__devWidth = 640;
        qv_app__devHeight = 480;
        input = (new c_InputDevice)->m_new();
        qv_input_SetInputDevice(input);
        app = (new c_MyApp)->m_new();
        gc_root(app);
        app->m_Font = 90;
        app->m_ImgSize[3 * 90] = 7;
        app->m_ImgSize[3 * 90 + 1] = 10;
        app->m_Mode = 1;
        app->m_Difficulty = 2;
        for (int i = 0; i < 60; ++i) app->m_HiScore[i] = 1000000 - 7919 * i;
        for (int i = 0; i < 25; ++i) app->m_Setting[i] = 10 + i;
        for (int b = 0; b < 256; b += 3) app->m_Badge[b] = true;
    }
    ~Fixture() { std::remove(statePath.c_str()); }

    std::string statePath = "/tmp/vortan_front_end_bench_state";
    c_InputDevice* input = nullptr;
    c_MyApp* app = nullptr;
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

void BM_MenuUpdate(benchmark::State& state) {
    c_MyApp* app = Shared().app;
    app->m_PanelB = 0;
    app->m_PanelSlide = 0;
    for (auto _ : state) {
        app->p_Menu();
        benchmark::DoNotOptimize(app->m_DrawLen);
    }
    state.counters["commands"] = float(app->m_DrawLen / kDrawCmdFloats);
}
BENCHMARK(BM_MenuUpdate);

void BM_MenuUpdateSidePanelOpen(benchmark::State& state) {
    c_MyApp* app = Shared().app;
    app->m_PanelB = 1;
    app->m_PanelSlide = 500;
    for (auto _ : state) {
        app->p_Menu();
        benchmark::DoNotOptimize(app->m_DrawLen);
    }
    state.counters["commands"] = float(app->m_DrawLen / kDrawCmdFloats);
    app->m_PanelB = 0;
}
BENCHMARK(BM_MenuUpdateSidePanelOpen);

void BM_PauseUpdate(benchmark::State& state) {
    c_MyApp* app = Shared().app;
    app->m_Mode = 10;
    app->m_Paused = 1;
    app->m_PauseSel = 1;
    app->m_AnyKeyHeld = 1;
    for (auto _ : state) {
        app->p_PauseMenu();
        benchmark::DoNotOptimize(app->m_DrawLen);
    }
    state.counters["commands"] = float(app->m_DrawLen / kDrawCmdFloats);
    app->m_Mode = 1;
}
BENCHMARK(BM_PauseUpdate);

}  // namespace

BENCHMARK_MAIN();
