// Ogg Vorbis reader: decodes the whole stream into interleaved 16-bit samples, growing the
// block by doubling so long tunes cost few reallocations.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "audio/sound_file.h"
#include "audio/vorbis_decoder.h"

namespace {

constexpr int kFrameRoom = 4096;

// Doubles the block of `*capacity` values; false (block untouched) when that fails.
bool Grow(short** samples, long* capacity) {
    if (*capacity > LONG_MAX / 2 / long(sizeof(short))) return false;
    short* bigger = static_cast<short*>(realloc(*samples, size_t(*capacity) * 2 * sizeof(short)));
    if (!bigger) return false;
    *samples = bigger;
    *capacity *= 2;
    return true;
}

}  // namespace

unsigned char* LoadOGG(FILE* f, int* length, int* channels, int* format, int* hertz) {
    VorbisDecoder decoder;
    if (!decoder.Open(f)) return nullptr;
    const int c = decoder.Channels();
    const int rate = decoder.Rate();
    const long room = long(c) * kFrameRoom;
    long capacity = room;
    long used = 0;
    short* samples = static_cast<short*>(malloc(size_t(capacity) * sizeof(short)));
    bool ok = samples != nullptr;
    while (ok) {
        long roomFrames = std::min<long>((capacity - used) / c, INT_MAX / c);
        long frames = decoder.Read(samples + used, int(roomFrames));
        if (frames == 0) break;
        used += frames * c;
        if (capacity - used < room) ok = Grow(&samples, &capacity);
        // A frame count must fit the int the caller receives.
        if (used / c > INT_MAX) ok = false;
    }
    if (!ok) {
        free(samples);
        return nullptr;
    }
    // Shrink to what was decoded; keep the larger block if the shrink fails.
    short* exact = static_cast<short*>(
        realloc(samples, size_t(used > 0 ? used : 1) * sizeof(short)));
    if (exact) samples = exact;
    *length = int(used / c);
    *channels = c;
    *format = 2;
    *hertz = rate;
    return reinterpret_cast<unsigned char*>(samples);
}
