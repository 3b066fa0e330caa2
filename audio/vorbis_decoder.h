// An Ogg Vorbis stream decoded piece by piece: what the whole-file reader and the streamed
// tune share. The stream's comment header is checked before stb_vorbis sees it, the
// decoder keeps its tables in an arena of its own whose size follows the file's, and only
// streams the audio device can play are opened.
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
    // decoded, 0 at the end of the stream.
    int Read(short* samples, int frames);
    // Back to the first sample; false when the stream cannot go back.
    bool Rewind();

private:
    stb_vorbis* decoder_ = nullptr;
    std::unique_ptr<char[]> arena_;
    int channels_ = 0;
    int rate_ = 0;
};
