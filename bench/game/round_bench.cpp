// The heaviest round: 4 players, 91 opponents, 251 live particles and 100 stars.
// Measures one p_Game update (and counts collected allocations per update), the replay of
// its draw list by p_OnRender on Mesa under a private Xvfb display, and whole frames of
// it (update and replay) with the draw calls they take.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench/game/game_render.h"
#include "framework/app.h"
#include "framework/input.h"
#include "game/codes.h"
#include "game/draw_command.h"
#include "game/particle_records.h"
#include "game/round_records.h"
#include "game/star_records.h"
#include "graphics/graphics.h"
#include "host/game.h"
#include "tests/support/headless_game.h"
#include "tests/support/heaviest_round.h"

using namespace round_records;

namespace {

constexpr int kRestoreEvery = 50;  // updates between restoring the heavy state

struct Snapshot {
    std::vector<float> plr, particle, star, grid;
    int spawnTimer, itemTimer;
};

// Blank pictures of the real cell sizes in the slots the round draws from.
void LoadBlankPictures(c_MyApp* app) {
    struct Slot {
        int slot, w, h, frames;
    };
    const Slot slots[] = {{picture::kFont, 16, 16, 128},
                          {picture::kParts, 8, 8, 256},
                          {picture::kIcons, 32, 32, 16},
                          {picture::kBackdrop, 256, 256, 4}};
    for (int fighter = picture::kFirstFighter; fighter < picture::kLastFighter; ++fighter) {
        gc_assign(app->m_Img[fighter], qv_graphics_CreateImage(36, 36, 9, c_Image::CentreHandle));
    }
    for (const Slot& s : slots) {
        gc_assign(app->m_Img[s.slot],
                  qv_graphics_CreateImage(s.w, s.h, s.frames, c_Image::CentreHandle));
    }
}

class HeavyRound {
public:
    HeavyRound() {
        // A plain host: its clock reads 0, so the stars' seeding is repeatable.
        const HeadlessGame game = StartHeadlessGame(new QvGame());
        app = game.app;
        input = game.input;
        device = InstallRenderDevice();
        if (device) LoadBlankPictures(app);
        SetFontMetrics(app);
        app->m_Difficulty = 3;
        app->m_ImgScale = 1;
        const BenchWindow window = BenchWindowSize();
        qv_app__devWidth = app->m_LastDevW = window.width;
        qv_app__devHeight = app->m_LastDevH = window.height;
        app->p_MapVirtualScreen(window.width, window.height);  // the round fits the window
        app->p_LoadGame();
        FillHeaviestRound(*app);
        Save();
    }

    void Save() {
        saved.plr.assign(app->m_Plr.Data(), app->m_Plr.Data() + kFields * (kLastRecord + 1));
        saved.particle.assign(app->m_Particle.Data(),
                              app->m_Particle.Data() +
                                  particle_records::kFields * (app->m_ParticleMax + 1));
        saved.star.assign(app->m_Star.Data(),
                          app->m_Star.Data() + star_records::kFields * (app->m_StarCount + 1));
        saved.grid.assign(app->m_Grid.Data(), app->m_Grid.Data() + app->m_Grid.Length());
        saved.spawnTimer = app->m_SpawnTimer;
        saved.itemTimer = app->m_ItemTimer;
    }

    void Restore() {
        std::copy(saved.plr.begin(), saved.plr.end(), app->m_Plr.Data());
        std::copy(saved.particle.begin(), saved.particle.end(), app->m_Particle.Data());
        std::copy(saved.star.begin(), saved.star.end(), app->m_Star.Data());
        std::copy(saved.grid.begin(), saved.grid.end(), app->m_Grid.Data());
        app->m_SpawnTimer = saved.spawnTimer;
        app->m_ItemTimer = saved.itemTimer;
    }

    // Everyone walks right and strikes in bursts (the keyboard answers for every player).
    void Controls(int update) {
        input->p_KeyEvent(update % 20 < 10 ? 1 : 2, 88);
        input->p_KeyEvent(update % 120 < 60 ? 1 : 2, 39);
    }

    // One update of the round, restoring the heavy state every kRestoreEvery updates
    // (untimed); returns the collected allocations the update made.
    int64_t Update(benchmark::State& state, int update) {
        if (update % kRestoreEvery == 0) {
            state.PauseTiming();
            Restore();
            state.ResumeTiming();
        }
        Controls(update);
        const int64_t before = gc_alloc_count;
        app->p_Game();
        const int64_t allocs = gc_alloc_count - before;
        input->p_EndUpdate();
        return allocs;
    }

    c_MyApp* app = nullptr;
    c_InputDevice* input = nullptr;
    gxtkGraphics* device = nullptr;
    Snapshot saved;
};

HeavyRound& Round() {
    static HeavyRound* round = new HeavyRound();
    return *round;
}

// The round's device, or null after marking the benchmark skipped.
HeavyRound* RoundWithDevice(benchmark::State& state) {
    HeavyRound& round = Round();
    if (round.device) return &round;
    state.SkipWithError("no OpenGL window under Xvfb");
    return nullptr;
}

void ReportPerUpdate(benchmark::State& state, int64_t allocs, int commands) {
    state.counters["gc_allocs_per_update"] = double(allocs) /
                                             std::max<int64_t>(1, state.iterations());
    state.counters["draw_commands"] = commands;
}

void BM_RoundUpdate(benchmark::State& state) {
    HeavyRound& round = Round();
    int update = 0;
    int64_t allocs = 0;
    int commands = 0;
    for (auto _ : state) {
        allocs += round.Update(state, update++);
        commands = std::max(commands, round.app->m_DrawLen / kDrawCmdFloats);
    }
    ReportPerUpdate(state, allocs, commands);
}
BENCHMARK(BM_RoundUpdate)->Unit(benchmark::kMicrosecond);

// The same draw list replayed over and over: the render's share of a frame.
void BM_RoundReplay(benchmark::State& state) {
    HeavyRound* round = RoundWithDevice(state);
    if (!round) return;
    round->Restore();
    round->Controls(0);
    round->app->p_Game();
    const DrawCallCounter drawCalls(round->device);
    for (auto _ : state) RenderGameFrame(round->device, round->app);
    drawCalls.Report(state);
    state.counters["draw_commands"] = round->app->m_DrawLen / kDrawCmdFloats;
}
BENCHMARK(BM_RoundReplay)->Unit(benchmark::kMicrosecond);

// Whole frames: one update of the round, then its replay.
void BM_RoundFrame(benchmark::State& state) {
    HeavyRound* round = RoundWithDevice(state);
    if (!round) return;
    const DrawCallCounter drawCalls(round->device);
    int update = 0;
    int64_t allocs = 0;
    int commands = 0;
    for (auto _ : state) {
        allocs += round->Update(state, update++);
        commands = std::max(commands, round->app->m_DrawLen / kDrawCmdFloats);
        RenderGameFrame(round->device, round->app);
    }
    ReportPerUpdate(state, allocs, commands);
    drawCalls.Report(state);
}
BENCHMARK(BM_RoundFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
