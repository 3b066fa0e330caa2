// The heaviest fight as a player hears it: four players mashing strikes in a crowd of
// opponents held at their cap on Hard, the tune playing, three minutes of updates at the
// real rate while OpenAL's wave writer records the mix. No recorded sample may reach full
// scale, and every kind of fight sound must have been part of it.
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

#include "game/round_records.h"
#include "tests/game/game_fixture.h"

using namespace round_records;

namespace {

constexpr int kUpdatesPerSecond = 60;
constexpr int kFightSeconds = 180;
constexpr int kHardDifficulty = 3;
constexpr int kStrikeButton = 1, kJoinButton = 0, kUpControl = 0;
constexpr int kEffectRotation = 24;
// Sound slots of the round: pick-up, hits 2..8 (3 is also the swing), a player hit,
// a player knocked out, an opponent knocked out.
constexpr int kPickUp = 1, kSwing = 3, kPlayerHit = 9, kPlayerDown = 10, kOpponentDown = 11;

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

    // Drives four pads the way players mash in a brawl: each walks up to the nearest
    // opponent and strikes again and again, each at its own pace; player 1 breaks off to
    // collect the bonus item while it shows. A knocked-out player drops back in a second later.
    void SteerPlayers(int update) {
        for (int p = kFirstPlayer; p <= kLastPlayer; ++p) {
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

TEST_F(HeavyFightMixTest, ThreeMinutesOfTheHeaviestFightNeverReachFullScale) {
    const std::string path = RecordingPath();
    ASSERT_FALSE(path.empty()) << "no wave writer recording open in this process";
    const size_t fightStarts = std::filesystem::file_size(path);

    app->m_Difficulty = kHardDifficulty;
    app->p_LoadGame();
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) PadDown(p - 1, kJoinButton);
    Update();
    Render();
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) {
        PadUp(p - 1, kJoinButton);
        ASSERT_GT(Record(*app, p)[kHealth], 0) << "player " << p << " joined";
    }

    std::map<int, int> played;
    int lastChannel = app->m_SfxChannel;
    const auto start = std::chrono::steady_clock::now();
    for (int update = 0; update < kFightSeconds * kUpdatesPerSecond; ++update) {
        std::this_thread::sleep_until(
            start + std::chrono::microseconds(1000000LL * update / kUpdatesPerSecond));
        FillOpponents();
        SteerPlayers(update);
        Update();
        Render();
        for (int c = lastChannel; c != app->m_SfxChannel;) {
            c = (c + 1) % kEffectRotation;
            ++played[SlotOn(app->m_ChannelMap[c])];
        }
        lastChannel = app->m_SfxChannel;
    }
    EXPECT_EQ(app->m_MusicOn, 1) << "the tune played to the end";
    EXPECT_EQ(app->m_RoundOver, 0);

    int effects = 0;
    for (const auto& [slot, count] : played) effects += count;
    for (int n : {kPickUp, kSwing, kPlayerHit, kPlayerDown, kOpponentDown}) {
        EXPECT_GT(played[n], 0) << "sound " << n << " never played";
    }
    EXPECT_GT(effects, 10 * kFightSeconds) << "not a heavy fight";

    const std::string bytes = ReadFile(path);
    Recording rec;
    ASSERT_TRUE(rec.Parse(bytes)) << path << " is not a 16-bit or float WAV";
    const size_t first = rec.Frames(fightStarts), last = rec.Frames(bytes.size());
    ASSERT_GE(last - first, size_t(rec.rate) * (kFightSeconds - 5)) << "the writer fell behind";
    long atFullScale = 0;
    float peak = 0;
    double sum = 0;
    for (size_t i = first * rec.channels; i < last * rec.channels; ++i) {
        const float v = std::fabs(rec.Sample(bytes, i));
        peak = std::max(peak, v);
        sum += double(v) * v;
        if (v >= 32767.0f / 32768.0f) ++atFullScale;
    }
    const double rms = std::sqrt(sum / double((last - first) * rec.channels));
    std::printf(
        "heavy fight: %d effects (%.1f a second), mix peak %.2f dBFS, RMS %.2f dBFS, "
        "%ld samples at full scale (%s)\n",
        effects, double(effects) / kFightSeconds, 20 * std::log10(std::max(peak, 1e-9f)),
        20 * std::log10(std::max(rms, 1e-9)), atFullScale, path.c_str());
    for (const auto& [slot, count] : played) std::printf("  sound %d: %d\n", slot, count);
    EXPECT_GT(rms, 0.02) << "the fight is nearly silent";
    EXPECT_EQ(atFullScale, 0) << "samples at full scale in the fight's mix; peak " << peak;
}

}  // namespace
