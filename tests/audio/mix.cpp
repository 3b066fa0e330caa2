#include "tests/audio/mix.h"

#include <algorithm>
#include <cmath>

std::string MixConfig(const std::string& general, const std::string& mixPath) {
    return "[general]\n" + general +
           "channels = stereo\nsample-type = int16\nfrequency = 44100\n"
           "dither = false\nhrtf = false\n"
           "[wave]\nfile = " +
           mixPath + "\n";
}

double Mix::Rms(long w, int channel) const {
    double sum = 0;
    for (long i = w * kWindow; i < (w + 1) * kWindow; ++i) {
        double v = samples[size_t(2 * i + channel)];
        sum += v * v;
    }
    return std::sqrt(sum / kWindow);
}

double Mix::Level(long w) const { return std::max(Rms(w, 0), Rms(w, 1)); }

long Mix::LoudWindows() const {
    long n = 0;
    for (long w = 0; w < Windows(); ++w) n += Loud(w);
    return n;
}

bool Mix::QuietFrom(long from, long to) const {
    for (long w = from; w < to; ++w) {
        if (!Quiet(w)) return false;
    }
    return true;
}

std::vector<std::pair<long, long>> Mix::LoudStretches() const {
    std::vector<std::pair<long, long>> out;
    for (long w = 0; w < Windows(); ++w) {
        if (!Loud(w)) continue;
        if (!out.empty() && w - out.back().second <= 3) {
            out.back().second = w;
        } else {
            out.push_back({w, w});
        }
    }
    return out;
}

double Mix::Frequency(long from, long to, int channel) const {
    long crossings = 0;
    for (long i = from * kWindow + 1; i < to * kWindow; ++i) {
        bool now = samples[size_t(2 * i + channel)] >= 0;
        bool before = samples[size_t(2 * i - 2 + channel)] >= 0;
        crossings += now != before;
    }
    return crossings / 2.0 / (double((to - from) * kWindow) / kMixRate);
}

int Mix::LargestStep(long from, long to, int channel) const {
    int largest = 0;
    for (long i = from * kWindow + 1; i < to * kWindow; ++i) {
        int step = std::abs(samples[2 * i + channel] - samples[2 * (i - 1) + channel]);
        largest = std::max(largest, step);
    }
    return largest;
}

namespace {

uint32_t U32(const std::string& b, size_t at) {
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}

}  // namespace

bool ReadMix(const std::string& bytes, Mix* mix) {
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0) return false;
    size_t at = 12;
    while (at + 8 <= bytes.size()) {
        std::string tag = bytes.substr(at, 4);
        uint32_t size = U32(bytes, at + 4);
        if (tag == "fmt ") {
            if (at + 24 > bytes.size()) return false;
            int channels = uint8_t(bytes[at + 10]);
            uint32_t rate = U32(bytes, at + 12);
            int bits = uint8_t(bytes[at + 22]);
            if (channels != 2 || rate != kMixRate || bits != 16) return false;
        } else if (tag == "data") {
            size_t count = (bytes.size() - at - 8) / 2;
            mix->samples.resize(count);
            for (size_t i = 0; i < count; ++i) {
                size_t b = at + 8 + 2 * i;
                mix->samples[i] = int16_t(uint8_t(bytes[b]) | uint8_t(bytes[b + 1]) << 8);
            }
            return true;
        }
        at += 8 + size_t(size);
    }
    return false;
}
