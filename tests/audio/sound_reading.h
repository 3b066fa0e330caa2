// Runs one of the game's sound readers (LoadWAV, LoadOGG) over a stream, a file or bytes in
// memory, and keeps what it gave.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "audio/sound_file.h"

using SoundReader = unsigned char* (*)(FILE* f, int* length, int* channels, int* format,
                                       int* hertz);

struct ReadSound {
    // Null when the reader refused the sound.
    std::unique_ptr<unsigned char, decltype(&std::free)> data{nullptr, &std::free};
    // -7 where the reader left them unset.
    int length = -7, channels = -7, format = -7, hertz = -7;

    // The sample's bytes as the reader stored them.
    std::string Bytes() const {
        return std::string(reinterpret_cast<const char*>(data.get()),
                           size_t(length) * size_t(channels) * size_t(format));
    }
    // The samples of a 16-bit sound, interleaved.
    const int16_t* Samples() const { return reinterpret_cast<const int16_t*>(data.get()); }
};

// Reads from the stream's current position and leaves the stream open.
inline ReadSound ReadStream(FILE* f, SoundReader reader) {
    ReadSound sound;
    sound.data.reset(reader(f, &sound.length, &sound.channels, &sound.format, &sound.hertz));
    return sound;
}

// Reads a whole file; nothing when it cannot be opened.
inline ReadSound ReadFile(const std::string& path, SoundReader reader) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return ReadSound();
    ReadSound sound = ReadStream(f, reader);
    std::fclose(f);
    return sound;
}

// Reads bytes in memory as if they were a file.
inline ReadSound ReadBytes(const uint8_t* bytes, size_t size, SoundReader reader) {
    FILE* f = fmemopen(const_cast<uint8_t*>(bytes), size, "rb");
    if (!f) return ReadSound();
    ReadSound sound = ReadStream(f, reader);
    std::fclose(f);
    return sound;
}
