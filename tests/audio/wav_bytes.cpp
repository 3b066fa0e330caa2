#include "tests/audio/wav_bytes.h"

#include <cmath>
#include <cstdio>

std::string Le16(uint16_t value) { return std::string{char(value & 0xff), char(value >> 8)}; }

std::string Le32(uint32_t value) {
    return Le16(uint16_t(value & 0xffff)) + Le16(uint16_t(value >> 16));
}

std::string ChunkWithSize(const std::string& tag, uint32_t size, const std::string& body) {
    return tag + Le32(size) + body;
}

std::string Chunk(const std::string& tag, const std::string& body) {
    return ChunkWithSize(tag, uint32_t(body.size()), body);
}

std::string FmtChunk(int code, int channels, int hertz, int bits, int extra) {
    int block = channels * (bits / 8);
    std::string body = Le16(uint16_t(code)) + Le16(uint16_t(channels)) + Le32(uint32_t(hertz)) +
                       Le32(uint32_t(hertz * block)) + Le16(uint16_t(block)) + Le16(uint16_t(bits));
    return Chunk("fmt ", body + std::string(size_t(extra), '\0'));
}

std::string RiffWave(const std::vector<std::string>& chunks) {
    std::string body = "WAVE";
    for (const std::string& chunk : chunks) body += chunk;
    return "RIFF" + Le32(uint32_t(body.size())) + body;
}

std::string PcmWav(int channels, int hertz, int bits, const std::string& samples) {
    return RiffWave({FmtChunk(1, channels, hertz, bits), Chunk("data", samples)});
}

std::string Sine16(int frames, int channels, int hertz, double toneHz, double amplitude) {
    std::string out;
    out.reserve(size_t(frames) * size_t(channels) * 2);
    for (int i = 0; i < frames; ++i) {
        double v = amplitude * 32767.0 * std::sin(2.0 * M_PI * toneHz * i / hertz);
        for (int c = 0; c < channels; ++c) out += Le16(uint16_t(int16_t(std::lround(v))));
    }
    return out;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return fclose(f) == 0 && ok;
}
