#include "audio/vorbis_decoder.h"

#include <algorithm>
#include <cmath>

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
    packet_ = nullptr;
    packetFrames_ = packetAt_ = 0;
    damaged_ = false;
}

// The conversion is ours rather than stb_vorbis's: its own overflows a signed int on the
// huge values of a damaged packet.
int VorbisDecoder::Read(short* samples, int frames) {
    int done = 0;
    while (decoder_ && done < frames) {
        if (packetAt_ == packetFrames_ && !NextPacket()) break;
        const int count = std::min(frames - done, packetFrames_ - packetAt_);
        for (int end = packetAt_ + count; packetAt_ < end; ++packetAt_) {
            for (int c = 0; c < channels_; ++c) *samples++ = VorbisSample(packet_[c][packetAt_]);
        }
        done += count;
    }
    return done;
}

bool VorbisDecoder::NextPacket() {
    packetFrames_ = packetAt_ = 0;
    if (damaged_) return false;
    float** values = nullptr;
    const int frames = stb_vorbis_get_frame_float(decoder_, nullptr, &values);
    if (frames <= 0) return false;
    if (VorbisPacketDamaged(values, channels_, frames)) {
        damaged_ = true;
        return false;
    }
    packet_ = values;
    packetFrames_ = frames;
    return true;
}

bool VorbisDecoder::Rewind() {
    if (!decoder_ || !stb_vorbis_seek_start(decoder_)) return false;
    packetFrames_ = packetAt_ = 0;
    damaged_ = false;
    return true;
}

bool VorbisPacketDamaged(float* const* channels, int channelCount, int frames) {
    for (int c = 0; c < channelCount; ++c) {
        for (int i = 0; i < frames; ++i) {
            if (!(std::fabs(channels[c][i]) <= kVorbisLoudest)) return true;
        }
    }
    return false;
}

short VorbisSample(float value) {
    if (std::isnan(value)) return 0;
    const float scaled = value * 32768.0f;
    if (scaled >= 32767.0f) return 32767;
    if (scaled <= -32768.0f) return -32768;
    // Within the range now, so rounding half away from zero cannot leave it.
    return short(scaled < 0 ? scaled - 0.5f : scaled + 0.5f);
}
