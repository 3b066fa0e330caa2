// libFuzzer target: the Ogg Vorbis reader must give a sample or null for any bytes at all,
// and a sample only in a layout the audio device plays.
#include <cstdint>
#include <cstdlib>

#include "tests/audio/sound_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReadSound s = ReadBytes(data, size, LoadOGG);
    if (!s.data) return 0;
    if (s.length < 0 || s.format != 2 || !PlayableLayout(s.channels, s.format, s.hertz)) abort();
    return 0;
}
