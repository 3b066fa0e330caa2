// Builds RIFF WAVE files byte by byte, so tests can make well-formed and broken files alike.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

std::string Le16(uint16_t value);
std::string Le32(uint32_t value);
// A chunk: tag, the given size (the body's own size unless overridden), body.
std::string Chunk(const std::string& tag, const std::string& body);
std::string ChunkWithSize(const std::string& tag, uint32_t size, const std::string& body);
// A "fmt " chunk; `extra` bytes of zeros follow the 16 standard bytes (size 16 + extra).
std::string FmtChunk(int code, int channels, int hertz, int bits, int extra = 0);
// "RIFF" size "WAVE" followed by the chunks.
std::string RiffWave(const std::vector<std::string>& chunks);
// A PCM WAV file of the given samples.
std::string PcmWav(int channels, int hertz, int bits, const std::string& samples);
// Interleaved 16-bit little-endian sine samples, the same tone on every channel.
std::string Sine16(int frames, int channels, int hertz, double toneHz, double amplitude);
// Writes bytes to a file; false on failure.
bool WriteFile(const std::string& path, const std::string& bytes);
