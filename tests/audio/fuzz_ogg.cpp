// libFuzzer target: the Ogg Vorbis reader must give a sample or null for any bytes at all.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "audio/sound_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* f = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!f) return 0;
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* samples = LoadOGG(f, &length, &channels, &format, &hertz);
    fclose(f);
    if (!samples) return 0;
    if (length < 0 || channels <= 0 || format != 2 || hertz <= 0) abort();
    free(samples);
    return 0;
}
