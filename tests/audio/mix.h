// Reading back what OpenAL Soft's wave writer recorded, in 20 ms windows.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

constexpr int kMixRate = 44100;
constexpr int kWindow = kMixRate / 50;  // 20 ms
constexpr double kLoud = 1000.0;        // RMS of a window that carries a test tone
constexpr double kQuiet = 30.0;         // RMS of a silent window

// An OpenAL Soft configuration: the given [general] lines, then 16-bit stereo at 44100 Hz,
// without dither or HRTF, written by the wave backend to `mixPath`.
std::string MixConfig(const std::string& general, const std::string& mixPath);

// The recorded mix: interleaved 16-bit stereo.
struct Mix {
    std::vector<int16_t> samples;

    long Frames() const { return long(samples.size() / 2); }
    long Windows() const { return Frames() / kWindow; }
    // RMS of one channel (0 left, 1 right) over window w.
    double Rms(long w, int channel) const;
    double Level(long w) const;
    bool Loud(long w) const { return Level(w) > kLoud; }
    bool Quiet(long w) const { return Level(w) < kQuiet; }
    long LoudWindows() const;
    bool QuietFrom(long from, long to) const;
    // The loud stretches as [first, last] window pairs; gaps of up to 2 windows are bridged.
    std::vector<std::pair<long, long>> LoudStretches() const;
    // Cycles per second of one channel over windows [from, to), from its sign changes.
    double Frequency(long from, long to, int channel) const;
    // The largest change between neighbouring samples of one channel over windows
    // [from, to): a tone that jumps (a gap, a restart out of phase) shows a large one.
    int LargestStep(long from, long to, int channel) const;
};

// Parses the writer's file. The data runs to the end of the file whatever the header says,
// so a file whose writer was killed still reads. False when it is not 16-bit stereo 44100.
bool ReadMix(const std::string& bytes, Mix* mix);
