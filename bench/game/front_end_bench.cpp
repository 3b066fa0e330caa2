// The front end's per-update and per-save costs: writing and reading the state string
// through the state file, one title-menu update with full highscore lists and with the
// side panel open, and one pause-panel update with its 202 trail lines.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "game/codes.h"
#include "game/draw_command.h"
#include "game/my_app.h"
#include "host/game.h"
#include "tests/support/headless_game.h"

namespace {

class Fixture {
public:
    Fixture() {
        QvGame* host = new QvGame();
        host->SetStatePath(String(statePath.c_str()));
        app = StartHeadlessGame(host).app;
        SetFontMetrics(app);
        app->m_Mode = mode::kMenu;
        app->m_Difficulty = 2;
        for (int i = 0; i < 60; ++i) app->m_HiScore[i] = 1000000 - 7919 * i;
        for (int i = 0; i < setting::kCount; ++i) app->m_Setting[i] = 10 + i;
        for (int b = 0; b < 256; b += 3) app->m_Badge[b] = true;
    }
    ~Fixture() { std::remove(statePath.c_str()); }

    std::string statePath = "/tmp/vortan_front_end_bench_state";
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

}  // namespace

BENCHMARK_MAIN();
