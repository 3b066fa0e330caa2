// libFuzzer target: the WAV reader must give a sample or null for any bytes at all, and a
// sample can only be bytes that were in the file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/sound_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!f) return 0;
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* samples = LoadWAV(f, &length, &channels, &format, &hertz);
    fclose(f);
    if (!samples) return 0;
    long bytes = long(length) * channels * format;
    if (length < 0 || channels <= 0 || format <= 0 || hertz <= 0 || bytes > long(size)) abort();
    if (bytes > 0 && !memmem(data, size, samples, size_t(bytes))) abort();
    free(samples);
    return 0;
}
