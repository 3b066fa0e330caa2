// How long a round lasts, in seconds of game time (updates / 60), per difficulty and number
// of players, when every player is the same bot that fights: it walks toward the nearest
// opponent up, turns to face it and strikes while it is close, as a player on a pad would.
// Each run plays one round from each of 32 seeds to its end (fewer leave Easy's mean to
// chance) and reports the mean, the shortest and the longest, with the opponents up on
// average, each player's knock-outs a minute and the seconds in which players were up with
// no opponent up to fight (the wait for the first wave included).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "audio/audio_module.h"
#include "framework/input.h"
#include "game/codes.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/round_records.h"
#include "host/game.h"
#include "tests/support/headless_game.h"

using namespace round_records;

namespace {

constexpr int kSeeds = 32;
constexpr int kUpdatesPerSecond = 60;
constexpr int kLongestRound = 30 * 60 * kUpdatesPerSecond;  // a bot that never falls
constexpr float kStopWithin = 14;    // close enough: the blow reaches 12 ahead, 18 wide
constexpr float kStrikeWithin = 40;  // swings while an opponent is about this close
constexpr int kStrikeRhythm = 12;    // held half of it, released the other half

struct Totals {
    double seconds = 0, shortest = 1e9, longest = 0;
    double opponentUpdates = 0, playedUpdates = 0, idleUpdates = 0, knockOuts = 0;
};

class Table {
public:
    Table() {
        // A plain host (its clock reads 0) and sound through OpenAL's null output.
        setenv("ALSOFT_DRIVERS", "null", 1);
        const HeadlessGame game = StartHeadlessGame(new QvGame(), new gxtkAudio());
        app = game.app;
        input = game.input;
        SetFontMetrics(app);
    }

    // Plays one round to its end; adds what it measured to the totals.
    void PlayRound(int difficulty, int players, uint32_t seed, Totals& totals) {
        app->m_Difficulty = difficulty;
        app->p_LoadGame();
        app->m_Backdrop = 0;  // the star field reseeds the generator from the clock
        qv_random_Seed = seed;
        for (int port = 0; port < players; ++port) Press(port, pad::kA, true);
        int updates = 0;
        for (; app->m_RoundOver == 0 && updates < kLongestRound; ++updates) {
            app->p_Game();
            input->p_EndUpdate();
            if (updates == 0) {
                for (int port = 0; port < players; ++port) Press(port, pad::kA, false);
            }
            Count(totals);
            for (int port = 0; port < players; ++port) Steer(port, updates);
        }
        for (int port = 0; port < players; ++port) ReleaseAll(port);
        const double seconds = double(updates) / kUpdatesPerSecond;
        totals.seconds += seconds;
        totals.shortest = std::min(totals.shortest, seconds);
        totals.longest = std::max(totals.longest, seconds);
        for (int p = 0; p < players; ++p) totals.knockOuts += app->m_KnockOuts[p];
    }

private:
    void Press(int port, int button, bool down) {
        input->p_KeyEvent(down ? 1 : 2, key_space::JoystickKey(port, button));
    }
    void ReleaseAll(int port) {
        for (int button : {pad::kA, pad::kB, pad::kLeft, pad::kRight}) Press(port, button, false);
    }

    // The signed gap across the screen to the nearest opponent up; none when far off.
    float GapToNearest(const float* f) {
        float gap = 1e9f;
        for (int r = kFirstOpponent; r <= kLastRecord; ++r) {
            const float* o = Record(*app, r);
            const float d = o[kX] - f[kX];
            if (o[kHealth] > 0 && std::fabs(d) < std::fabs(gap)) gap = d;
        }
        return gap;
    }

    // Holds the pad's arrow toward the nearest opponent until close and facing it, and
    // strikes in a steady rhythm while it is near.
    void Steer(int port, int update) {
        const float* f = Record(*app, kFirstPlayer + port);
        ReleaseAll(port);
        if (f[kHealth] <= 0) return;
        const float gap = GapToNearest(f);
        if (gap == 1e9f) return;
        const float side = gap < 0 ? -1.0f : 1.0f;
        if (std::fabs(gap) > kStopWithin || f[kFacing] != side)
            Press(port, side < 0 ? pad::kLeft : pad::kRight, true);
        if (std::fabs(gap) < kStrikeWithin && update % kStrikeRhythm < kStrikeRhythm / 2)
            Press(port, pad::kB, true);
    }

    // Opponents up while a player is, and updates in which a player up had none to fight.
    void Count(Totals& totals) {
        if (app->m_Alive == 0) return;
        int up = 0;
        for (int r = kFirstOpponent; r <= kLastRecord; ++r) up += Record(*app, r)[kHealth] > 0;
        totals.playedUpdates += 1;
        totals.opponentUpdates += up;
        if (up == 0) totals.idleUpdates += 1;
    }

    c_MyApp* app = nullptr;
    c_InputDevice* input = nullptr;
};

Table& TheTable() {
    static Table* table = new Table();
    return *table;
}

// Arguments: difficulty (1 Easy, 2 Normal, 3 Hard) and players.
void BM_RoundLength(benchmark::State& state) {
    const int difficulty = int(state.range(0)), players = int(state.range(1));
    Totals totals;
    for (auto _ : state) {
        totals = Totals();
        for (int seed = 1; seed <= kSeeds; ++seed)
            TheTable().PlayRound(difficulty, players, 20261207u + 7919u * seed, totals);
    }
    const double minutes = totals.seconds / 60;
    state.counters["round_s"] = totals.seconds / kSeeds;
    state.counters["shortest_s"] = totals.shortest;
    state.counters["longest_s"] = totals.longest;
    state.counters["opponents_up"] = totals.opponentUpdates / std::max(1.0, totals.playedUpdates);
    state.counters["kos_per_player_min"] = totals.knockOuts / players / std::max(minutes, 1e-9);
    state.counters["idle_s"] = totals.idleUpdates / kUpdatesPerSecond / kSeeds;
}
BENCHMARK(BM_RoundLength)
    ->ArgNames({"difficulty", "players"})
    ->ArgsProduct({{1, 2, 3}, {1, 2, 3, 4}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
