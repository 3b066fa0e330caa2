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
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "game/round_records.h"
#include "tests/game/game_fixture.h"

using namespace round_records;

namespace {

constexpr int kUpdatesPerSecond = 60;
constexpr int kFightSeconds = 180, kOrdinarySeconds = 60;
constexpr int kNormalDifficulty = 2, kHardDifficulty = 3;
constexpr int kStrikeButton = 1, kJoinButton = 0, kUpControl = 0;
constexpr int kEffectRotation = 24;
// Every five seconds the fight plays one second with the effects muted, then one with the
// tune muted; each such second is measured from its middle, when what the muted side
// played before has died away.
constexpr int kCycleSeconds = 5, kTuneAloneSecond = 3, kEffectsAloneSecond = 4;
enum Heard { kBoth, kTuneAlone, kEffectsAlone };
// A stretch of the recording, in bytes of its file, that holds one side alone.
struct Stretch {
    Heard heard;
    size_t from, to;
};
// A 20 ms window quieter than this holds no effect worth hearing.
constexpr double kSounding = 0.003;
// Sound slots of the round: pick-up, hits 2..8 (3 is also the swing), a player hit,
// a player knocked out, an opponent knocked out.
constexpr int kPickUp = 1, kSwing = 3, kPlayerHit = 9, kPlayerDown = 10, kOpponentDown = 11;

double Db(double v) { return 20 * std::log10(std::max(v, 1e-9)); }

uint32_t Le32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}
uint16_t Le16(const std::string& b, size_t at) {
    return uint16_t(uint8_t(b[at]) | uint8_t(b[at + 1]) << 8);
}

// The file the wave writer records into: the .wav this process holds open.
std::string RecordingPath() {
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        std::filesystem::path target = std::filesystem::read_symlink(fd.path(), ec);
        if (!ec && target.extension() == ".wav") return target.string();
    }
    return "";
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What the writer has recorded, as samples of -1..1; it writes 16-bit integers or 32-bit
// floats depending on its configuration. The data runs to the end of the file while the
// writer is still recording, whatever the header says.
struct Recording {
    int channels = 0, rate = 0, bits = 0;
    bool isFloat = false;
    size_t dataAt = 0;

    bool Parse(const std::string& b) {
        if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0)
            return false;
        for (size_t at = 12; at + 8 <= b.size(); at += 8 + size_t(Le32(b, at + 4))) {
            if (b.compare(at, 4, "fmt ") == 0 && at + 24 <= b.size()) {
                int tag = Le16(b, at + 8);
                channels = Le16(b, at + 10);
                rate = int(Le32(b, at + 12));
                bits = Le16(b, at + 22);
                if (tag == 0xFFFE && at + 34 <= b.size())
                    tag = Le16(b, at + 32);  // extensible: sub-format
                isFloat = tag == 3;
            } else if (b.compare(at, 4, "data") == 0) {
                dataAt = at + 8;
                return channels > 0 && ((isFloat && bits == 32) || (!isFloat && bits == 16));
            }
        }
        return false;
    }
    size_t FrameBytes() const { return size_t(channels) * bits / 8; }
    // RMS over frames [from, to), all channels; the largest sample into `peak`.
    double Rms(const std::string& b, size_t from, size_t to, float* peak) const {
        double sum = 0;
        for (size_t i = from * channels; i < to * channels; ++i) {
            const float v = std::fabs(Sample(b, i));
            if (peak) *peak = std::max(*peak, v);
            sum += double(v) * v;
        }
        return to > from ? std::sqrt(sum / double((to - from) * channels)) : 0;
    }
    // RMS of one side over its stretches in 20 ms windows; gated, over the windows in
    // which it sounds only, so sparse effects count at the level they are heard.
    double Level(const std::string& b, const std::vector<Stretch>& stretches, Heard heard,
                 bool gated) const {
        const size_t window = size_t(rate) / 50;
        double squares = 0, windows = 0;
        for (const Stretch& s : stretches) {
            if (s.heard != heard) continue;
            for (size_t at = Frames(s.from); at + window <= Frames(s.to); at += window) {
                const double r = Rms(b, at, at + window, nullptr);
                if (gated && r < kSounding) continue;
                squares += r * r;
                windows += 1;
            }
        }
        return windows > 0 ? std::sqrt(squares / windows) : 0;
    }
    // Frames recorded so far in a file of `size` bytes.
    size_t Frames(size_t size) const { return size > dataAt ? (size - dataAt) / FrameBytes() : 0; }
    float Sample(const std::string& b, size_t index) const {
        size_t at = dataAt + index * (bits / 8);
        if (isFloat) {
            uint32_t raw = Le32(b, at);
            float v;
            std::memcpy(&v, &raw, sizeof v);
            return v;
        }
        return int16_t(Le16(b, at)) / 32768.0f;
    }
};

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

    static Heard HeardAt(int update) {
        const int second = update / kUpdatesPerSecond % kCycleSeconds;
        return second == kTuneAloneSecond      ? kTuneAlone
               : second == kEffectsAloneSecond ? kEffectsAlone
                                               : kBoth;
    }

    // Mutes one side through the game's Effects level or the tune's channel, which keeps
    // the tune running where it is.
    void Hear(Heard heard, int effectsLevel) {
        app->m_EffectsLevel = heard == kTuneAlone ? 0 : effectsLevel;
        if (heard == kEffectsAlone) {
            qv_audio_SetMusicVolume(0);
        } else {
            app->p_MusicLevelChanged();
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

    struct Fought {
        std::vector<Stretch> stretches;
        std::map<int, int> played;  // sound slot: times
        int effects = 0;
    };

    // Plays a round at the real rate with `players` mashing: the heaviest fight keeps the
    // crowd at its cap and mutes each side in turn; an ordinary one lets the waves come and
    // mutes the tune throughout.
    Fought Fight(const std::string& path, int difficulty, int players, int seconds, bool crowd) {
        app->m_Difficulty = difficulty;
        app->p_LoadGame();
        for (int p = kFirstPlayer; p <= players; ++p) PadDown(p - 1, kJoinButton);
        Update();
        Render();
        for (int p = kFirstPlayer; p <= players; ++p) {
            PadUp(p - 1, kJoinButton);
            EXPECT_GT(Record(*app, p)[kHealth], 0) << "player " << p << " joined";
        }
        Fought fought;
        int lastChannel = app->m_SfxChannel;
        const int effectsLevel = app->m_EffectsLevel;
        Heard heard = kBoth;
        const auto start = std::chrono::steady_clock::now();
        for (int update = 0; update < seconds * kUpdatesPerSecond; ++update) {
            std::this_thread::sleep_until(
                start + std::chrono::microseconds(1000000LL * update / kUpdatesPerSecond));
            const Heard now = crowd ? HeardAt(update) : kEffectsAlone;
            if (now != heard || update == 0) {
                heard = now;
                Hear(heard, effectsLevel);
                EndStretch(path, &fought.stretches);
            }
            const bool open = !fought.stretches.empty() && fought.stretches.back().to == 0;
            if (heard != kBoth && !open && update % kUpdatesPerSecond == kUpdatesPerSecond / 2)
                fought.stretches.push_back({heard, std::filesystem::file_size(path), 0});
            if (crowd) FillOpponents();
            SteerPlayers(update, players);
            Audio()->Update();  // keeps the tune fed, as the framework does before each update
            Update();
            Render();
            for (int c = lastChannel; c != app->m_SfxChannel;) {
                c = (c + 1) % kEffectRotation;
                ++fought.played[SlotOn(app->m_ChannelMap[c])];
                ++fought.effects;
            }
            lastChannel = app->m_SfxChannel;
        }
        EndStretch(path, &fought.stretches);
        app->m_EffectsLevel = effectsLevel;
        EXPECT_EQ(app->m_MusicOn, 1) << "the tune played to the end";
        EXPECT_EQ(app->m_RoundOver, 0);
        return fought;
    }

    static void EndStretch(const std::string& path, std::vector<Stretch>* stretches) {
        if (!stretches->empty() && stretches->back().to == 0)
            stretches->back().to = std::filesystem::file_size(path);
    }

    // The sound slot whose sample channel c holds, 0 when none of the round's.
    int SlotOn(int channel) {
        gxtkSample* sample = Audio()->channels[channel].sample;
        for (int n = 1; n <= kOpponentDown; ++n) {
            if (sample && app->m_Sfx[n] && app->m_Sfx[n]->m_sample == sample) return n;
        }
        return 0;
    }

    float stickUp_ = 1;
    std::minstd_rand rng_{20261207};
    std::uniform_real_distribution<float> spawn_{0.0f, 1.0f};
};

TEST_F(HeavyFightMixTest, FightsAtDefaultLevelsKeepHeadroomWithEffectsBesideTheTune) {
    const std::string path = RecordingPath();
    ASSERT_FALSE(path.empty()) << "no wave writer recording open in this process";
    const size_t recordingStarts = std::filesystem::file_size(path);

    Fought ordinary = Fight(path, kNormalDifficulty, 1, kOrdinarySeconds, false);
    Fought heavy = Fight(path, kHardDifficulty, kLastPlayer, kFightSeconds, true);
    for (int n : {kPickUp, kSwing, kPlayerHit, kPlayerDown, kOpponentDown}) {
        EXPECT_GT(heavy.played[n], 0) << "sound " << n << " never played";
    }
    EXPECT_GT(heavy.effects, 10 * kFightSeconds) << "not a heavy fight";

    const std::string bytes = ReadFile(path);
    Recording rec;
    ASSERT_TRUE(rec.Parse(bytes)) << path << " is not a 16-bit or float WAV";
    const size_t first = rec.Frames(recordingStarts), last = rec.Frames(bytes.size());
    ASSERT_GE(last - first, size_t(rec.rate) * (kOrdinarySeconds + kFightSeconds - 5))
        << "the writer fell behind";
    float peak = 0;
    const double rms = rec.Rms(bytes, first, last, &peak);
    const double tune = rec.Level(bytes, heavy.stretches, kTuneAlone, false);
    std::printf("tune alone RMS %.4f; mix peak %.2f dBFS, RMS %.4f (%s)\n", tune, Db(peak), rms,
                path.c_str());
    // Effects against the tune at the level they are heard, printed for each fight.
    auto against = [&](const char* name, const Fought& fight, int seconds) {
        const double heard = rec.Level(bytes, fight.stretches, kEffectsAlone, true);
        std::printf(
            "%s fight: %.1f effects a second, RMS %.4f while they sound (%.4f over all its "
            "time): %+.1f dB against the tune\n",
            name, double(fight.effects) / seconds, heard,
            rec.Level(bytes, fight.stretches, kEffectsAlone, false), Db(heard) - Db(tune));
        for (const auto& [slot, count] : fight.played) std::printf("  sound %d: %d\n", slot, count);
        return Db(heard) - Db(tune);
    };
    const double ordinaryToTune = against("ordinary", ordinary, kOrdinarySeconds);
    against("heaviest", heavy, kFightSeconds);
    EXPECT_GT(rms, 0.02) << "the fights are nearly silent";
    // The limiter holds what it touches just under full scale.
    EXPECT_LT(Db(peak), -0.5) << "the mix reaches the writer's limiter";
    EXPECT_LE(std::fabs(ordinaryToTune), 3.0) << "an ordinary fight's effects against the tune";
}

}  // namespace
