// Ogg Vorbis reader: decodes the whole stream into interleaved 16-bit samples, growing the
// block by doubling so long tunes cost few reallocations.
#include <algorithm>
#include <climits>
#include <cstdlib>

#include "audio/sound_file.h"
#include "audio/vorbis_decoder.h"

namespace {

constexpr int kFrameRoom = 4096;
// A sound's size in bytes must fit the int that the device and the collector's count take;
// a stream that decodes to more is refused rather than grown into gigabytes.
constexpr long kMostValues = INT_MAX / long(sizeof(short));

// Doubles the block of `*capacity` values, up to kMostValues; false (block untouched) when
// it cannot grow.
bool Grow(short** samples, long* capacity) {
    const long bigger = std::min(*capacity * 2, kMostValues);
    if (bigger <= *capacity) return false;
    short* block = static_cast<short*>(realloc(*samples, size_t(bigger) * sizeof(short)));
    if (!block) return false;
    *samples = block;
    *capacity = bigger;
    return true;
}

}  // namespace

unsigned char* LoadOGG(FILE* f, int* length, int* channels, int* format, int* hertz) {
    VorbisDecoder decoder;
    if (!decoder.Open(f)) return nullptr;
    const int c = decoder.Channels();
    const long room = long(c) * kFrameRoom;
    long capacity = room;
    long used = 0;
    short* samples = static_cast<short*>(malloc(size_t(capacity) * sizeof(short)));
    bool ok = samples != nullptr;
    while (ok) {
        long frames = decoder.Read(samples + used, int((capacity - used) / c));
        if (frames == 0) break;
        used += frames * c;
        if (capacity - used < room) ok = Grow(&samples, &capacity);
    }
    // A damaged stream is refused whole, so the file is named rather than cut short
    // without a word.
    if (decoder.Damaged()) ok = false;
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
    *hertz = decoder.Rate();
    return reinterpret_cast<unsigned char*>(samples);
}
