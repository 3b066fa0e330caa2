// The sounds in the data folder: every effect slot the game loads is a 16-bit PCM WAV that
// the game's reader accepts, audible and ending in silence; effects and tune are centred
// with headroom; the tune decodes to 30..90 seconds and joins its end to its start without
// a jump; the fight sounds stand clear of the tune where they carry.
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
#include "tests/audio/sound_reading.h"

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
    int length = 0, channels = 0, hertz = 0;

    // Sample `i` of channel `c`.
    int At(int i, int c) const { return samples[size_t(i) * channels + c]; }
    double Seconds() const { return double(length) / hertz; }
};

// Decodes 16-bit sounds through the game's own readers; no samples for anything else.
Decoded Decode(const std::string& path, bool ogg) {
    ReadSound read = ReadFile(path, ogg ? LoadOGG : LoadWAV);
    Decoded d;
    if (!read.data || read.format != 2) return d;
    d.samples.assign(read.Samples(), read.Samples() + size_t(read.length) * read.channels);
    d.length = read.length;
    d.channels = read.channels;
    d.hertz = read.hertz;
    return d;
}

int Peak(const std::vector<int16_t>& s) {
    int peak = 0;
    for (int16_t v : s) peak = std::max(peak, std::abs(int(v)));
    return peak;
}

TEST(AssetSounds, EffectsAreMono16BitPcmThatTheGameReadsAndEndQuietly) {
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

        Decoded d = Decode(EffectFile(slot), false);
        ASSERT_FALSE(d.samples.empty()) << "the game's WAV reader refused it, or it is not 16-bit";
        EXPECT_EQ(d.channels, 1);
        EXPECT_GT(d.Seconds(), 0.03);
        EXPECT_LT(d.Seconds(), 2.5);
        // Whether a fight sound is heard over the tune is measured below; this only catches
        // an effect rendered silent.
        EXPECT_GT(Peak(d.samples), 32767 / 16) << "too quiet to hear";
        // The last samples are near silence, so the effect does not end in a click.
        for (size_t i = d.samples.size() - 4; i < d.samples.size(); ++i)
            EXPECT_LT(std::abs(int(d.samples[i])), 600) << "sample " << i;
    }
}

// Every effect and each channel of the tune averages zero, so sounds that overlap do not
// pile up an offset, and peaks at least 1 dB under full scale.
TEST(AssetSounds, EffectsAndTuneAreCentredWithHeadroom) {
    const int headroom = int(32767 * std::pow(10.0, -1.0 / 20));
    auto check = [&](const std::string& file, const Decoded& d) {
        ASSERT_FALSE(d.samples.empty()) << file;
        for (int c = 0; c < d.channels; ++c) {
            double sum = 0;
            int peak = 0;
            for (int i = 0; i < d.length; ++i) {
                int v = d.At(i, c);
                sum += v;
                peak = std::max(peak, std::abs(v));
            }
            EXPECT_LE(std::fabs(sum / d.length / 32768.0), 0.005)
                << file << " channel " << c << " is off centre";
            EXPECT_LE(peak, headroom) << file << " channel " << c << " peaks above -1 dBFS";
        }
    };
    for (int slot : kEffectSlots) check(EffectFile(slot), Decode(EffectFile(slot), false));
    check("data/sfx/gale.ogg", Decode("data/sfx/gale.ogg", true));
}

TEST(AssetSounds, TuneDecodesToALoopOfThirtyToNinetySeconds) {
    Decoded d = Decode("data/sfx/gale.ogg", true);
    ASSERT_FALSE(d.samples.empty()) << "data/sfx/gale.ogg did not decode";
    ASSERT_GE(d.channels, 1);
    ASSERT_LE(d.channels, 2);
    EXPECT_GE(d.Seconds(), 30.0);
    EXPECT_LE(d.Seconds(), 90.0);
    EXPECT_GT(Peak(d.samples), 32767 / 5);
    // Music all the way through: no second of the loop is (nearly) silent.
    for (int start = 0; start + d.hertz <= d.length; start += d.hertz) {
        double energy = 0;
        for (int i = start; i < start + d.hertz; ++i)
            for (int c = 0; c < d.channels; ++c) {
                double v = d.At(i, c) / 32768.0;
                energy += v * v;
            }
        EXPECT_GT(std::sqrt(energy / (double(d.hertz) * d.channels)), 0.03)
            << "second " << start / d.hertz;
    }
    // Looping jumps from the last frame to the first: that step must be no larger than the
    // steps the music itself takes almost everywhere (99th percentile), or it clicks.
    for (int c = 0; c < d.channels; ++c) {
        std::vector<int> steps;
        for (int i = 1; i < d.length; ++i) steps.push_back(std::abs(d.At(i, c) - d.At(i - 1, c)));
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 99 / 100, steps.end());
        int typical = steps[steps.size() * 99 / 100];
        int seam = std::abs(d.At(0, c) - d.At(d.length - 1, c));
        EXPECT_LE(seam, std::max(typical, 64)) << "channel " << c;
    }
}

// Levels as a player hears them. OpenAL Soft mixes a mono effect placed straight ahead
// into each of two speakers 4.5 dB down (measured through its wave writer), while each
// channel of the stereo tune reaches its own speaker whole.
constexpr double kCentreGain = 0.596;
constexpr double kOnsetSeconds = 0.05, kOnsetSearchSeconds = 0.2, kShortTermSeconds = 3.0;
const double kBands[] = {125, 250, 500, 1000, 2000, 4000, 8000};

double Db(double v) { return 20 * std::log10(std::max(v, 1e-9)); }

std::vector<double> ChannelOf(const Decoded& d, int c) {
    std::vector<double> out(size_t(d.length));
    for (int i = 0; i < d.length; ++i) out[size_t(i)] = d.At(i, c) / 32768.0;
    return out;
}

// A second-order Butterworth section (high- or low-pass at `corner` Hz) run over x.
std::vector<double> Butterworth(const std::vector<double>& x, int rate, double corner,
                                bool highPass) {
    const double w = 2 * M_PI * corner / rate, alpha = std::sin(w) / std::sqrt(2.0),
                 c = std::cos(w);
    const double a0 = 1 + alpha, a1 = -2 * c / a0, a2 = (1 - alpha) / a0;
    const double b1 = (highPass ? -(1 + c) : 1 - c) / a0, b0 = std::fabs(b1) / 2, b2 = b0;
    std::vector<double> y(x.size());
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        y[i] = b0 * x[i] + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1, x1 = x[i], y2 = y1, y1 = y[i];
    }
    return y;
}

// The octave around `centre` Hz, with skirts falling 24 dB an octave on either side.
std::vector<double> Octave(std::vector<double> x, int rate, double centre) {
    for (int i = 0; i < 2; ++i) x = Butterworth(x, rate, centre / std::sqrt(2.0), true);
    for (int i = 0; i < 2; ++i) x = Butterworth(x, rate, centre * std::sqrt(2.0), false);
    return x;
}

// The loudest RMS over windows of `window` samples that start before `searchEnd`, in steps
// of a tenth of a window.
double LoudestWindow(const std::vector<double>& x, size_t window, size_t searchEnd) {
    double loudest = 0;
    const size_t step = std::max<size_t>(1, window / 10);
    for (size_t at = 0; at < searchEnd && at < x.size(); at += step) {
        double sum = 0;
        size_t end = std::min(x.size(), at + window);
        for (size_t i = at; i < end; ++i) sum += x[i] * x[i];
        loudest = std::max(loudest, std::sqrt(sum / double(window)));
    }
    return loudest;
}

TEST(AssetSounds, FightSoundsStandAboveTheTuneWhereTheyCarry) {
    Decoded tune = Decode("data/sfx/gale.ogg", true);
    ASSERT_FALSE(tune.samples.empty());
    std::vector<std::vector<double>> tuneChannels;
    for (int c = 0; c < tune.channels; ++c) tuneChannels.push_back(ChannelOf(tune, c));
    // The tune's short-term level in each octave: its loudest three seconds in either speaker.
    std::vector<double> tuneLevel;
    for (double centre : kBands) {
        double level = 0;
        for (const auto& ch : tuneChannels) {
            const size_t window = size_t(kShortTermSeconds * tune.hertz);
            level = std::max(level,
                             LoudestWindow(Octave(ch, tune.hertz, centre), window, ch.size()));
        }
        tuneLevel.push_back(level);
    }
    // Pick-up, hits (3 is also the swing, played at half volume), player hit and both knock-outs.
    for (int slot : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}) {
        Decoded d = Decode(EffectFile(slot), false);
        ASSERT_FALSE(d.samples.empty()) << slot;
        const std::vector<double> x = ChannelOf(d, 0);
        const double gain = kCentreGain * (slot == 3 ? 0.5 : 1.0);
        // The octave where the effect's onset carries most of its energy.
        size_t best = 0;
        double onset = 0;
        for (size_t b = 0; b < std::size(kBands); ++b) {
            double level = gain * LoudestWindow(Octave(x, d.hertz, kBands[b]),
                                                size_t(kOnsetSeconds * d.hertz),
                                                size_t(kOnsetSearchSeconds * d.hertz));
            if (level > onset) onset = level, best = b;
        }
        const double margin = Db(onset) - Db(tuneLevel[best]);
        std::printf("sound %2d: onset %6.1f dB at %5.0f Hz, tune %6.1f dB there: %+5.1f dB\n", slot,
                    Db(onset), kBands[best], Db(tuneLevel[best]), margin);
        EXPECT_GE(margin, 6.0) << "sound " << slot << " is masked by the tune around "
                               << kBands[best] << " Hz";
    }
}

}  // namespace
