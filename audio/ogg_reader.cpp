// Ogg Vorbis reader: decodes the whole stream into interleaved 16-bit samples, growing the
// block by doubling so long tunes cost few reallocations.
#include "audio/sound_file.h"
#include "audio/vorbis_comments.h"

#include <climits>
#include <cstdlib>
#include <vector>

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

namespace {

constexpr int kFrameRoom = 4096;
// stb_vorbis keeps its tables in an arena of ours rather than in malloc'ed blocks: on some
// malformed setup headers it forgets to free its own blocks, and it may ask for absurd
// sizes. The arena grows until the stream's tables fit, up to a size no real tune needs.
constexpr int kFirstArena = 256 * 1024;
constexpr int kLastArena = 32 * 1024 * 1024;

stb_vorbis* OpenDecoder(FILE* f, std::vector<char>* arena) {
    long start = ftell(f);
    if (start < 0) return nullptr;
    for (int size = kFirstArena; size <= kLastArena; size *= 2) {
        std::vector<char>(size_t(size)).swap(*arena);
        stb_vorbis_alloc alloc{arena->data(), size};
        int error = 0;
        stb_vorbis* decoder = stb_vorbis_open_file(f, 0, &error, &alloc);
        if (decoder || error != VORBIS_outofmem || fseek(f, start, SEEK_SET) != 0) return decoder;
    }
    return nullptr;
}

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
    if (!VorbisCommentsFit(f)) return nullptr;
    std::vector<char> arena;
    stb_vorbis* decoder = OpenDecoder(f, &arena);
    if (!decoder) return nullptr;
    stb_vorbis_info info = stb_vorbis_get_info(decoder);
    const int c = info.channels;
    const long room = long(c) * kFrameRoom;
    long capacity = room;
    long used = 0;
    short* samples = c > 0 ? static_cast<short*>(malloc(size_t(capacity) * sizeof(short))) : nullptr;
    bool ok = samples != nullptr;
    while (ok) {
        long free_room = capacity - used;
        int frames = stb_vorbis_get_frame_short_interleaved(decoder, c, samples + used,
                                                            int(free_room < INT_MAX ? free_room : INT_MAX));
        if (frames == 0) break;
        used += long(frames) * c;
        if (capacity - used < room) ok = Grow(&samples, &capacity);
        // A frame count must fit the int the caller receives.
        if (used / c > INT_MAX) ok = false;
    }
    stb_vorbis_close(decoder);
    if (!ok) {
        free(samples);
        return nullptr;
    }
    // Shrink to what was decoded; keep the larger block if the shrink fails.
    short* exact = static_cast<short*>(realloc(samples, size_t(used > 0 ? used : 1) * sizeof(short)));
    if (exact) samples = exact;
    *length = int(used / c);
    *channels = c;
    *format = 2;
    *hertz = int(info.sample_rate);
    return reinterpret_cast<unsigned char*>(samples);
}
