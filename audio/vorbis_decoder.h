// An Ogg Vorbis stream decoded piece by piece: what the whole-file reader and the streamed
// tune share. The stream's comment header is checked before stb_vorbis sees it, the
// decoder keeps its tables in an arena of its own whose size follows the file's, only
// streams the audio device can play are opened, and stb_vorbis's float samples are turned
// into 16-bit ones here, where a damaged packet is caught before it plays.
#pragma once

#include <cstdio>
#include <memory>

struct stb_vorbis;

class VorbisDecoder {
public:
    VorbisDecoder() = default;
    VorbisDecoder(const VorbisDecoder&) = delete;
    VorbisDecoder& operator=(const VorbisDecoder&) = delete;
    ~VorbisDecoder() { Close(); }

    // Starts decoding the stream at the file's read position; false when it is not Ogg
    // Vorbis this reader accepts, or not a layout the device plays (see sound_file.h). The
    // file stays the caller's and must stay open.
    bool Open(FILE* file);
    void Close();
    bool IsOpen() const { return decoder_ != nullptr; }

    int Channels() const { return channels_; }
    int Rate() const { return rate_; }
    // Decodes up to `frames` frames of interleaved 16-bit samples; the number of frames
    // decoded, 0 at the end of the stream. A damaged packet (VorbisPacketDamaged) ends the
    // stream before it.
    int Read(short* samples, int frames);
    // The stream ended at a damaged packet rather than at its last one.
    bool Damaged() const { return damaged_; }
    // Back to the first sample; false when the stream cannot go back.
    bool Rewind();

private:
    // Decodes the next packet into packet_; false at the end of the stream or its damage.
    bool NextPacket();

    stb_vorbis* decoder_ = nullptr;
    std::unique_ptr<char[]> arena_;
    int channels_ = 0;
    int rate_ = 0;
    float** packet_ = nullptr;  // the decoded packet's values, one array per channel
    int packetFrames_ = 0;
    int packetAt_ = 0;  // frames of the packet already read
    bool damaged_ = false;
};

// Decoded values are floats where full scale is 1. Real streams overshoot it a little;
// a packet holding a value beyond kVorbisLoudest, or one that is not a number, comes from
// damaged data and would play as full-scale noise.
constexpr float kVorbisLoudest = 4.0f;
bool VorbisPacketDamaged(float* const* channels, int channelCount, int frames);
// One decoded value as a 16-bit sample: scaled, rounded and clamped to the sample's range,
// so no value can overflow it; not a number is silence.
short VorbisSample(float value);
