// libFuzzer target: the WAV reader must give a sample or null for any bytes at all.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "audio/sound_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!f) return 0;
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* samples = LoadWAV(f, &length, &channels, &format, &hertz);
    if (samples) {
        // The whole claimed block must be readable.
        volatile unsigned sum = 0;
        for (long i = 0; i < long(length) * channels * format; ++i) sum += samples[i];
        free(samples);
    }
    fclose(f);
    return 0;
}
