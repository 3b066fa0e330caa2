// The game core's per-update costs: recording into the draw list, text layout, one
// loading-screen update (with the collected allocations it makes), a round's start with
// its tune, and the staged loader reading the real pictures and sounds at each resolution
// set.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>

#include "audio/audio_module.h"
#include "bench/game/game_render.h"
#include "framework/app.h"
#include "framework/input.h"
#include "game/codes.h"
#include "game/draw_command.h"
#include "game/my_app.h"
#include "graphics/graphics.h"
#include "host/glfw_game.h"
#include "tests/support/headless_game.h"

namespace {

// The game with its host (files, sounds and the clock), sound through OpenAL's null
// output, and the render device.
HeadlessGame StartGame() {
    setenv("ALSOFT_DRIVERS", "null", 1);
    const HeadlessGame game = StartHeadlessGame(new QvGlfwGame(), new gxtkAudio());
    InstallRenderDevice();
    SetFontMetrics(game.app);
    SetSoundsAsCreated(game.app);
    return game;
}

HeadlessGame& TheGame() {
    static HeadlessGame game = StartGame();
    return game;
}

void BM_RecordRectangles(benchmark::State& state) {
    c_MyApp* app = TheGame().app;
    for (auto _ : state) {
        app->p_CLS2D();
        for (int i = 0; i < 2500; ++i) app->p_Rect(float(i), 1, 2, 3);
        benchmark::DoNotOptimize(app->m_DrawList[37499]);
    }
    state.SetItemsProcessed(state.iterations() * 2500);
}
BENCHMARK(BM_RecordRectangles)->Unit(benchmark::kMicrosecond);

void BM_RecordTextLine(benchmark::State& state) {
    c_MyApp* app = TheGame().app;
    const String line("Maybe TOO hard!\\nIf you like it like that");
    for (auto _ : state) {
        app->p_CLS2D();
        app->p_SetSize(1.5f);
        app->p_Text(240, 400, line, 0, 0);
        benchmark::DoNotOptimize(app->m_DrawLen);
    }
    state.counters["glyphs"] = app->m_DrawLen / kDrawCmdFloats;
}
BENCHMARK(BM_RecordTextLine)->Unit(benchmark::kMicrosecond);

// The loading screen's last stage loads nothing: what is left is the update itself.
void BM_LoadingScreenUpdate(benchmark::State& state) {
    HeadlessGame& game = TheGame();
    int64_t allocs = 0;
    for (auto _ : state) {
        game.app->m_LoadStage = 25;
        const int64_t before = gc_alloc_count;
        game.app->p_OnUpdate();
        allocs += gc_alloc_count - before;
        game.input->p_EndUpdate();
    }
    state.counters["gc_allocs_per_update"] = double(allocs) /
                                             std::max<int64_t>(1, state.iterations());
    state.counters["draw_commands"] = game.app->m_DrawLen / kDrawCmdFloats;
}
BENCHMARK(BM_LoadingScreenUpdate)->Unit(benchmark::kMicrosecond);

// Milliseconds of CPU the calling thread has used.
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// A round started from the title menu, updates run as the framework runs them (the
// streamed tune fed, the game's update, a collector step) a sixtieth of a second apart:
// the set-up update starts the tune, and the second after it refills its buffers as they
// play. The longest update is what a player would feel as a hitch.
void BM_RoundStart(benchmark::State& state) {
    HeadlessGame& game = TheGame();
    c_MyApp* app = game.app;
    double longestWall = 0, longestCpu = 0;
    for (auto _ : state) {
        app->m_LoadStage = 0;
        app->m_Mode = mode::kRoundSetUp;
        for (int update = 0; update <= 60; ++update) {
            const auto wall = std::chrono::steady_clock::now();
            const double cpu = ThreadCpuMs();
            qv_audio_device->Update();
            game.input->p_BeginUpdate();
            app->p_OnUpdate();
            game.input->p_EndUpdate();
            QvGame::_game->gc_collect();
            longestCpu = std::max(longestCpu, ThreadCpuMs() - cpu);
            longestWall = std::max(longestWall, std::chrono::duration<double, std::milli>(
                                                    std::chrono::steady_clock::now() - wall)
                                                    .count());
            state.PauseTiming();
            std::this_thread::sleep_until(wall + std::chrono::microseconds(16667));
            state.ResumeTiming();
        }
        state.PauseTiming();
        app->p_StopTune();
        app->m_Mode = mode::kMenu;
        state.ResumeTiming();
    }
    state.counters["longest_update_ms"] = longestWall;
    state.counters["longest_update_cpu_ms"] = longestCpu;
}
BENCHMARK(BM_RoundStart)->Unit(benchmark::kMillisecond)->Iterations(5);

// All 25 stages reading the data folder at resolution set 1, 2 or 4 (by window size);
// the longest single stage is what the window's responsiveness depends on.
void BM_LoadAllStages(benchmark::State& state) {
    HeadlessGame& game = TheGame();
    if (!qv_graphics_device) {
        state.SkipWithError("no OpenGL window under Xvfb");
        return;
    }
    const int res = int(state.range(0));
    qv_app__devWidth = res == 1 ? 600 : res == 2 ? 800 : 1280;
    qv_app__devHeight = res == 1 ? 450 : 600;
    double longest = 0;
    for (auto _ : state) {
        for (int stage = 1; stage <= 25; ++stage) {
            const auto start = std::chrono::steady_clock::now();
            game.app->m_LoadStage = stage;
            game.app->p_Loader();
            longest = std::max(longest, std::chrono::duration<double, std::milli>(
                                            std::chrono::steady_clock::now() - start)
                                            .count());
        }
        state.PauseTiming();
        gc_collect_all();  // the replaced pictures
        state.ResumeTiming();
    }
    state.counters["longest_stage_ms"] = longest;
    state.counters["image_set"] = game.app->m_ImgRes;
    qv_app__devWidth = 640;
    qv_app__devHeight = 480;
}
BENCHMARK(BM_LoadAllStages)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
