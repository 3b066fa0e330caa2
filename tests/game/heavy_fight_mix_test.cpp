// Fights as a player hears them at the default levels, recorded by OpenAL's wave writer
// in real time: a minute of one player on Normal as the waves come, then three minutes of
// the heaviest fight, four players mashing strikes in a crowd held at its cap on Hard. The
// mix stays clear of full scale (so the writer's limiter never acts), every kind of fight
// sound is part of it, and in the ordinary fight the effects, at the level they are heard,
// are within 3 dB of the tune. The heaviest fight's effects stand higher, as four times as
// many sound at once; its figure is printed.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "game/round_records.h"
#include "tests/audio/mix.h"
#include "tests/game/game_fixture.h"

using namespace round_records;

namespace {

constexpr int kUpdatesPerSecond = 60;
constexpr int kOrdinarySeconds = 60, kFightSeconds = 180;
constexpr int kNormalDifficulty = 2, kHardDifficulty = 3;
constexpr int kStrikeButton = 1, kJoinButton = 0, kUpControl = 0;
constexpr int kEffectRotation = 24;
// Sound slots of the round: pick-up, hits 2..8 (3 is also the swing), a player hit,
// a player knocked out, an opponent knocked out.
constexpr int kPickUp = 1, kSwing = 3, kPlayerHit = 9, kPlayerDown = 10, kOpponentDown = 11;
// In each cycle of seconds a fight plays one second with the effects muted, then one with
// the tune muted, each measured from its middle, when what the muted side played has died
// away: the ordinary fight does nothing else, the heaviest plays three seconds of both first.
constexpr int kOrdinaryCycle = 2, kHeavyCycle = 5;
enum Heard { kBoth, kTuneAlone, kEffectsAlone };
struct Stretch {
    Heard heard;
    size_t from, to;  // bytes of the recording
};
constexpr double kSounding = 100;  // RMS of a window (of 32768) that holds an effect

double Db(double v) { return 20 * std::log10(std::max(v, 1e-9)); }

class HeavyFightMixTest : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        Create();
        FinishLoading();
        app->m_Setting[5] = 1;  // effects and music
        for (int n = 1; n <= kOpponentDown; ++n) ASSERT_NE(app->m_Sfx[n], nullptr) << "sound " << n;
        // Which way a stick reads as "up" is the controls' business; ask them.
        Stick(0, 0, 1);
        stickUp_ = app->p_PlayKey(kUpControl, 1, 0) ? 1.0f : -1.0f;
        Stick(0, 0, 0);
        start_ = std::filesystem::file_size(RecordedMixPath());
    }

    // Every empty opponent record filled at once, as waves at the cap would.
    void FillOpponents() {
        for (int r = kFirstOpponent; r <= kLastRecord; ++r) {
            if (Record(*app, r)[kHealth] == 0)
                app->p_AddPlayer(r, 32 + (qv_Vortan_jscrw - 64) * spawn_(rng_), -64);
        }
    }

    // Drives the players' pads the way players mash in a brawl: each walks up to the nearest
    // opponent and strikes again and again, each at its own pace; player 1 breaks off to
    // collect the bonus item while it shows. A knocked-out player drops back in a second later.
    void SteerPlayers(int update, int players) {
        for (int p = kFirstPlayer; p <= players; ++p) {
            float* me = Record(*app, p);
            if (me[kHealth] < -kUpdatesPerSecond) app->p_AddPlayer(p, me[kX], -64);
            const bool forItem = p == kFirstPlayer && app->m_ItemTimer <= 0;
            if (forItem) {
                const float drawX = me[kX] - me[kDepth] / 2, drawY = me[kY] - me[kDepth];
                // Up walks into the screen, which raises the drawing point.
                Stick(p - 1, Direction(app->m_ItemX - drawX, 2),
                      stickUp_ * Direction(drawY - app->m_ItemY, 4));
                PadUp(p - 1, kStrikeButton);
                continue;
            }
            Stick(p - 1, Direction(NearestOpponentX(me[kX]) - me[kX], 10), 0);
            const int period = 7 + p;  // 8..11 updates: between five and eight strikes a second
            if (update % period < period - 2) {
                PadDown(p - 1, kStrikeButton);
            } else {
                PadUp(p - 1, kStrikeButton);
            }
        }
    }

    static float Direction(float delta, float deadZone) {
        if (delta > deadZone) return 1;
        if (delta < -deadZone) return -1;
        return 0;
    }

    float NearestOpponentX(float x) {
        float best = x, bestDistance = 1e9f;
        for (int r = kFirstOpponent; r <= kLastRecord; ++r) {
            const float* q = Record(*app, r);
            if (q[kHealth] <= 0 || q[kY] < qv_Vortan_jscrh - 40) continue;
            if (std::fabs(q[kX] - x) < bestDistance) {
                bestDistance = std::fabs(q[kX] - x);
                best = q[kX];
            }
        }
        return best;
    }

    // Plays a round at the real rate, `players` mashing; the heaviest fight keeps the crowd at
    // its cap. Marks the stretches in which one side sounds alone.
    int Fight(int difficulty, int players, int seconds, int cycle, std::vector<Stretch>* alone) {
        app->m_Difficulty = difficulty;
        app->p_LoadGame();
        for (int p = kFirstPlayer; p <= players; ++p) PadDown(p - 1, kJoinButton);
        Update();
        for (int p = kFirstPlayer; p <= players; ++p) {
            PadUp(p - 1, kJoinButton);
            EXPECT_GT(Record(*app, p)[kHealth], 0) << "player " << p << " joined";
        }
        const int effectsLevel = app->m_EffectsLevel;
        int lastChannel = app->m_SfxChannel, effects = 0;
        size_t from = 0;
        const auto start = std::chrono::steady_clock::now();
        for (int update = 0; update < seconds * kUpdatesPerSecond; ++update) {
            std::this_thread::sleep_until(
                start + std::chrono::microseconds(1000000LL * update / kUpdatesPerSecond));
            // Mutes one side through the Effects level or the tune's channel, which keeps the
            // tune running where it is.
            const int second = update / kUpdatesPerSecond % cycle,
                      tick = update % kUpdatesPerSecond;
            const Heard heard = second == cycle - 2   ? kTuneAlone
                                : second == cycle - 1 ? kEffectsAlone
                                                      : kBoth;
            app->m_EffectsLevel = heard == kTuneAlone ? 0 : effectsLevel;
            if (tick == 0 && heard == kEffectsAlone) qv_audio_SetMusicVolume(0);
            if (tick == 0 && heard != kEffectsAlone) app->p_MusicLevelChanged();
            const size_t recorded = std::filesystem::file_size(RecordedMixPath());
            if (tick == kUpdatesPerSecond / 2) from = recorded;
            if (tick == kUpdatesPerSecond - 1 && heard != kBoth)
                alone->push_back({heard, from, recorded});
            if (players == kLastPlayer) FillOpponents();
            SteerPlayers(update, players);
            Audio()->Update();  // keeps the tune fed, as the framework does before each update
            Update();
            Render();
            for (int c = lastChannel; c != app->m_SfxChannel;) {
                c = (c + 1) % kEffectRotation;
                ++played_[SlotOn(app->m_ChannelMap[c])];
                ++effects;
            }
            lastChannel = app->m_SfxChannel;
        }
        app->m_EffectsLevel = effectsLevel;
        EXPECT_EQ(app->m_MusicOn, 1) << "the tune played to the end";
        EXPECT_EQ(app->m_RoundOver, 0);
        return effects;
    }

    // RMS over one side's stretches, counting only the windows in which it sounds; the
    // recording's samples begin `header` bytes into its file.
    static double LevelOf(const Mix& mix, size_t header, const std::vector<Stretch>& alone,
                          Heard heard) {
        double squares = 0, windows = 0;
        for (const Stretch& s : alone) {
            const long from = long(s.from - header) / 4 / kWindow,
                       to = long(s.to - header) / 4 / kWindow;
            for (long w = from; w < to && s.heard == heard; ++w) {
                const double left = mix.Rms(w, 0), right = mix.Rms(w, 1),
                             power = (left * left + right * right) / 2;
                if (power < kSounding * kSounding) continue;
                squares += power;
                windows += 1;
            }
        }
        return std::sqrt(squares / std::max(windows, 1.0));
    }

    // The sound slot whose sample channel c holds, 0 when none of the round's.
    int SlotOn(int channel) {
        gxtkSample* sample = Audio()->channels[channel].sample;
        for (int n = 1; n <= kOpponentDown; ++n) {
            if (sample && app->m_Sfx[n] && app->m_Sfx[n]->m_sample == sample) return n;
        }
        return 0;
    }

    std::map<int, int> played_;
    size_t start_ = 0;  // bytes of the recording before the fights
    float stickUp_ = 1;
    std::minstd_rand rng_{20261207};
    std::uniform_real_distribution<float> spawn_{0.0f, 1.0f};
};

TEST_F(HeavyFightMixTest, FightsAtDefaultLevelsKeepHeadroomWithEffectsBesideTheTune) {
    std::vector<Stretch> ordinary, heavy;
    const int ordinaryEffects = Fight(kNormalDifficulty, 1, kOrdinarySeconds, kOrdinaryCycle,
                                      &ordinary);
    const int heavyEffects = Fight(kHardDifficulty, kLastPlayer, kFightSeconds, kHeavyCycle,
                                   &heavy);
    for (int n : {kPickUp, kSwing, kPlayerHit, kPlayerDown, kOpponentDown}) {
        EXPECT_GT(played_[n], 0) << "sound " << n << " never played";
    }
    EXPECT_GT(heavyEffects, 10 * kFightSeconds) << "not a heavy fight";

    Mix mix;
    const std::string bytes = RecordedMix();
    ASSERT_TRUE(ReadMix(bytes, &mix)) << RecordedMixPath() << " is not 16-bit stereo";
    const size_t header = bytes.size() - 2 * mix.samples.size(),
                 first = (std::max(start_, header) - header) / 2;
    ASSERT_GE(mix.samples.size() - first,
              size_t(2 * kMixRate) * (kOrdinarySeconds + kFightSeconds - 5))
        << "the writer fell behind";
    int peak = 0;
    for (size_t i = first; i < mix.samples.size(); ++i)
        peak = std::max(peak, std::abs(int(mix.samples[i])));
    const double tune = LevelOf(mix, header, heavy, kTuneAlone);
    const double ordinaryDb = Db(LevelOf(mix, header, ordinary, kEffectsAlone)) - Db(tune);
    std::printf(
        "mix peak %.2f dBFS (%s); effects against the tune: ordinary fight (%d effects) "
        "%+.1f dB, heaviest (%d effects) %+.1f dB\n",
        Db(peak / 32768.0), RecordedMixPath().c_str(), ordinaryEffects, ordinaryDb, heavyEffects,
        Db(LevelOf(mix, header, heavy, kEffectsAlone)) - Db(tune));
    for (const auto& [slot, count] : played_) std::printf("  sound %d: %d\n", slot, count);
    // The limiter holds what it touches just under full scale.
    EXPECT_LT(Db(peak / 32768.0), -0.5) << "the mix reaches the writer's limiter";
    EXPECT_LE(std::fabs(ordinaryDb), 3.0) << "an ordinary fight's effects against the tune";
}

}  // namespace
