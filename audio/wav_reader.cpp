// RIFF WAVE reader: "fmt " must be the first chunk and describe uncompressed 8- or 16-bit
// PCM; other chunks before "data" are skipped. Sizes come from the file, so every size is
// checked against what is actually left in it before anything is allocated or skipped.
#include "audio/sound_file.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kPcm = 1;
constexpr long kFmtBaseSize = 16;

bool ReadTag(FILE* f, char tag[4]) {
    if (fread(tag, 1, 4, f) != 4) {
        memset(tag, 0, 4);
        return false;
    }
    return true;
}

bool TagIs(const char tag[4], const char* name) { return memcmp(tag, name, 4) == 0; }

int ReadShort(FILE* f) {
    unsigned char b[2];
    if (fread(b, 1, 2, f) != 2) return -1;
    return int16_t(b[0] | (b[1] << 8));
}

// Skips `count` bytes, refusing to move past the end of the file.
bool Skip(FILE* f, long count) {
    if (count < 0 || count > BytesLeft(f)) return false;
    return fseek(f, count, SEEK_CUR) == 0;
}

struct PcmFormat {
    int channels;
    int format;
    int hertz;
};

// Reads the "fmt " chunk after its tag; false when it is not usable PCM.
bool ReadFormatChunk(FILE* f, PcmFormat* pcm) {
    long size = readInt(f);
    if (size < kFmtBaseSize) return false;
    if (ReadShort(f) != kPcm) return false;
    pcm->channels = ReadShort(f);
    pcm->hertz = readInt(f);
    readInt(f);  // byte rate, implied by the rest
    const int blockAlign = ReadShort(f);
    const int bits = ReadShort(f);
    // Samples of 9 to 15 bits sit in 16-bit slots and would play as noise if taken for
    // 8-bit ones, so only whole bytes are taken, each frame exactly the size its block
    // alignment gives.
    if (bits != 8 && bits != 16) return false;
    pcm->format = bits / 8;
    if (blockAlign != pcm->channels * pcm->format) return false;
    // Also keeps a zero from dividing when the frames are counted.
    if (!PlayableLayout(pcm->channels, pcm->format, pcm->hertz)) return false;
    return Skip(f, size - kFmtBaseSize);
}

unsigned char* ReadDataChunk(FILE* f, long size) {
    if (size < 0 || size > BytesLeft(f)) return nullptr;
    // One spare byte so that an empty chunk still gives a block.
    unsigned char* data = static_cast<unsigned char*>(malloc(size_t(size) + 1));
    if (data && fread(data, 1, size_t(size), f) != size_t(size)) {
        free(data);
        return nullptr;
    }
    return data;
}

}  // namespace

int readInt(FILE* f) {
    unsigned char b[4];
    if (fread(b, 1, 4, f) != 4) return -1;
    return int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 |
                   uint32_t(b[3]) << 24);
}

long BytesLeft(FILE* f) {
    long here = ftell(f);
    if (here < 0 || fseek(f, 0, SEEK_END) != 0) return -1;
    long end = ftell(f);
    if (fseek(f, here, SEEK_SET) != 0 || end < here) return -1;
    return end - here;
}

unsigned char* LoadWAV(FILE* f, int* length, int* channels, int* format, int* hertz) {
    char tag[4];
    if (!ReadTag(f, tag) || !TagIs(tag, "RIFF")) return nullptr;
    readInt(f);  // RIFF size: the chunks themselves say how long they are
    if (!ReadTag(f, tag) || !TagIs(tag, "WAVE")) return nullptr;
    if (!ReadTag(f, tag) || !TagIs(tag, "fmt ")) return nullptr;
    PcmFormat pcm;
    if (!ReadFormatChunk(f, &pcm)) return nullptr;

    while (ReadTag(f, tag)) {
        // Sizes above 2 GiB read as negative and are refused below like any oversize chunk.
        long size = readInt(f);
        if (!TagIs(tag, "data")) {
            if (!Skip(f, size)) return nullptr;
            continue;
        }
        unsigned char* data = ReadDataChunk(f, size);
        if (!data) return nullptr;
        *length = int(size / (pcm.channels * pcm.format));
        *channels = pcm.channels;
        *format = pcm.format;
        *hertz = pcm.hertz;
        return data;
    }
    return nullptr;
}
