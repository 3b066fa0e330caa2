// libFuzzer target: the WAV reader must give a sample or null for any bytes at all, a
// sample only in a layout the audio device plays, and only bytes that were in the file.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tests/audio/sound_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReadSound s = ReadBytes(data, size, LoadWAV);
    if (!s.data) return 0;
    long bytes = long(s.length) * s.channels * s.format;
    if (s.length < 0 || !PlayableLayout(s.channels, s.format, s.hertz) || bytes > long(size)) {
        abort();
    }
    if (bytes > 0 && !memmem(data, size, s.data.get(), size_t(bytes))) abort();
    return 0;
}
