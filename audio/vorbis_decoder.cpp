#include "audio/vorbis_decoder.h"

#include "audio/vorbis_comments.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

namespace {

// stb_vorbis keeps its tables in an arena of ours rather than in malloc'ed blocks: on some
// malformed setup headers it forgets to free its own blocks, and it may ask for absurd
// sizes. The arena grows until the stream's tables fit, up to a size no real tune needs.
constexpr int kFirstArena = 256 * 1024;
constexpr int kLastArena = 32 * 1024 * 1024;

}  // namespace

bool VorbisDecoder::Open(FILE* f) {
    Close();
    if (!VorbisCommentsFit(f)) return false;
    long start = ftell(f);
    if (start < 0) return false;
    for (int size = kFirstArena; size <= kLastArena && !decoder_; size *= 2) {
        std::vector<char>(size_t(size)).swap(arena_);
        stb_vorbis_alloc alloc{arena_.data(), size};
        int error = 0;
        decoder_ = stb_vorbis_open_file(f, 0, &error, &alloc);
        if (!decoder_ && (error != VORBIS_outofmem || fseek(f, start, SEEK_SET) != 0)) break;
    }
    if (!decoder_) {
        std::vector<char>().swap(arena_);
        return false;
    }
    stb_vorbis_info info = stb_vorbis_get_info(decoder_);
    channels_ = info.channels;
    rate_ = int(info.sample_rate);
    if (channels_ > 0) return true;
    Close();
    return false;
}

void VorbisDecoder::Close() {
    if (decoder_) stb_vorbis_close(decoder_);
    decoder_ = nullptr;
    std::vector<char>().swap(arena_);
    channels_ = 0;
    rate_ = 0;
}

int VorbisDecoder::Read(short* samples, int frames) {
    if (!decoder_ || frames <= 0) return 0;
    return stb_vorbis_get_samples_short_interleaved(decoder_, channels_, samples,
                                                    frames * channels_);
}

bool VorbisDecoder::Rewind() { return decoder_ && stb_vorbis_seek_start(decoder_) != 0; }
