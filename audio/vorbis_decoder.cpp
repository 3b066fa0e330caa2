#include "audio/vorbis_decoder.h"

#include <algorithm>

#include "audio/sound_file.h"
#include "audio/vorbis_comments.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb/stb_vorbis.h>

namespace {

// stb_vorbis keeps its tables in an arena of ours rather than in malloc'ed blocks: on some
// malformed setup headers it forgets to free its own blocks, and it may ask for absurd
// sizes. The arena is sized once, by the file: real streams need under 256 KiB for their
// sample buffers and well under 64 bytes per byte of file for their tables, so a header
// that claims tables its file cannot describe runs out of arena at its first oversized
// table instead of filling megabytes first. The arena is not cleared, so the pages
// stb_vorbis never touches cost nothing.
constexpr long kArenaBase = 256 * 1024;
constexpr long kArenaPerFileByte = 256;
constexpr long kArenaMost = 32 * 1024 * 1024;

long ArenaSize(long fileBytes) {
    return std::min(kArenaMost, kArenaBase + std::min(fileBytes, kArenaMost) * kArenaPerFileByte);
}

}  // namespace

bool VorbisDecoder::Open(FILE* f) {
    Close();
    if (!VorbisCommentsFit(f)) return false;
    const long fileBytes = BytesLeft(f);
    if (fileBytes < 0) return false;
    const int size = int(ArenaSize(fileBytes));
    arena_.reset(new char[size_t(size)]);
    stb_vorbis_alloc alloc{arena_.get(), size};
    int error = 0;
    decoder_ = stb_vorbis_open_file(f, 0, &error, &alloc);
    if (!decoder_) {
        arena_.reset();
        return false;
    }
    const stb_vorbis_info info = stb_vorbis_get_info(decoder_);
    if (!PlayableLayout(info.channels, 2, long(info.sample_rate))) {
        Close();
        return false;
    }
    channels_ = info.channels;
    rate_ = int(info.sample_rate);
    return true;
}

void VorbisDecoder::Close() {
    if (decoder_) stb_vorbis_close(decoder_);
    decoder_ = nullptr;
    arena_.reset();
    channels_ = 0;
    rate_ = 0;
}

int VorbisDecoder::Read(short* samples, int frames) {
    if (!decoder_ || frames <= 0) return 0;
    return stb_vorbis_get_samples_short_interleaved(decoder_, channels_, samples,
                                                    frames * channels_);
}

bool VorbisDecoder::Rewind() { return decoder_ && stb_vorbis_seek_start(decoder_) != 0; }
