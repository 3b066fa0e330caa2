// The sounds in the data folder: every effect slot the game loads is a 16-bit PCM WAV that
// the game's reader accepts, audible and ending in silence; the tune decodes to 30..90
// seconds and joins its end to its start without a jump.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/sound_file.h"

namespace {

const int kEffectSlots[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 95, 96, 98, 99};

std::string EffectFile(int slot) {
    char name[32];
    std::snprintf(name, sizeof name, "data/sfx/%03d.wav", slot);
    return name;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t Le16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

struct Decoded {
    std::vector<int16_t> samples;  // interleaved
    int length = 0, channels = 0, format = 0, hertz = 0;
};

// Decodes through the game's own readers.
Decoded Decode(const std::string& path, bool ogg) {
    Decoded d;
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return d;
    unsigned char* data = ogg ? LoadOGG(f, &d.length, &d.channels, &d.format, &d.hertz)
                              : LoadWAV(f, &d.length, &d.channels, &d.format, &d.hertz);
    std::fclose(f);
    if (!data) return d;
    if (d.format == 2) {
        const int16_t* s = reinterpret_cast<const int16_t*>(data);
        d.samples.assign(s, s + size_t(d.length) * d.channels);
    }
    std::free(data);
    return d;
}

int Peak(const std::vector<int16_t>& s) {
    int peak = 0;
    for (int16_t v : s) peak = std::max(peak, std::abs(int(v)));
    return peak;
}

TEST(AssetSounds, EffectsAreMono16BitPcmWithTheFormatChunkFirst) {
    for (int slot : kEffectSlots) {
        SCOPED_TRACE(EffectFile(slot));
        std::vector<uint8_t> b = ReadBytes(EffectFile(slot));
        ASSERT_GE(b.size(), 44u) << "missing or truncated";
        EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
        EXPECT_EQ(Le32(b, 4), b.size() - 8);
        EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
        EXPECT_EQ(Le16(b, 20), 1) << "not PCM";
        // Mono, so that the game's pan (a source position) moves the sound.
        EXPECT_EQ(Le16(b, 22), 1);
        EXPECT_EQ(Le16(b, 34), 16);
        uint32_t rate = Le32(b, 24);
        EXPECT_TRUE(rate == 22050 || rate == 32000 || rate == 44100) << rate;
        EXPECT_EQ(Le32(b, 28), rate * 2) << "byte rate";
    }
}

TEST(AssetSounds, EffectsLoadThroughTheGameReaderAndEndQuietly) {
    for (int slot : kEffectSlots) {
        SCOPED_TRACE(EffectFile(slot));
        Decoded d = Decode(EffectFile(slot), false);
        ASSERT_FALSE(d.samples.empty()) << "the game's WAV reader refused it";
        EXPECT_EQ(d.channels, 1);
        EXPECT_EQ(d.format, 2);
        double seconds = double(d.length) / d.hertz;
        EXPECT_GT(seconds, 0.03);
        EXPECT_LT(seconds, 2.5);
        EXPECT_GT(Peak(d.samples), 32767 / 8) << "too quiet to hear";
        int clipped = int(std::count_if(d.samples.begin(), d.samples.end(),
                                        [](int16_t v) { return v == 32767 || v == -32767 || v == -32768; }));
        EXPECT_LT(clipped, 8) << "clipped samples";
        // The last samples are near silence, so the effect does not end in a click.
        for (size_t i = d.samples.size() - 4; i < d.samples.size(); ++i)
            EXPECT_LT(std::abs(int(d.samples[i])), 600) << "sample " << i;
    }
}

TEST(AssetSounds, TuneDecodesToALoopOfThirtyToNinetySeconds) {
    Decoded d = Decode("data/sfx/gale.ogg", true);
    ASSERT_FALSE(d.samples.empty()) << "data/sfx/gale.ogg did not decode";
    ASSERT_GE(d.channels, 1);
    ASSERT_LE(d.channels, 2);
    double seconds = double(d.length) / d.hertz;
    EXPECT_GE(seconds, 30.0);
    EXPECT_LE(seconds, 90.0);
    EXPECT_GT(Peak(d.samples), 32767 / 3);
    // Music all the way through: no second of the loop is (nearly) silent.
    for (int start = 0; start + d.hertz <= d.length; start += d.hertz) {
        double energy = 0;
        for (int i = start; i < start + d.hertz; ++i)
            for (int c = 0; c < d.channels; ++c) {
                double v = d.samples[size_t(i) * d.channels + c] / 32768.0;
                energy += v * v;
            }
        EXPECT_GT(std::sqrt(energy / (double(d.hertz) * d.channels)), 0.03) << "second " << start / d.hertz;
    }
    // Looping jumps from the last frame to the first: that step must be no larger than the
    // steps the music itself takes almost everywhere (99th percentile), or it clicks.
    for (int c = 0; c < d.channels; ++c) {
        std::vector<int> steps;
        for (int i = 1; i < d.length; ++i)
            steps.push_back(std::abs(d.samples[size_t(i) * d.channels + c] - d.samples[size_t(i - 1) * d.channels + c]));
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
        int typical = steps[steps.size() * 99 / 100];
        int seam = std::abs(d.samples[c] - d.samples[size_t(d.length - 1) * d.channels + c]);
        EXPECT_LE(seam, std::max(typical, 64)) << "channel " << c;
    }
}

}  // namespace
