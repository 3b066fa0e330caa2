// gxtkMusicStream: an Ogg Vorbis tune played on one OpenAL source through a few small
// queued buffers, each decoded when the source has finished with it, so starting a tune
// costs a few buffers' decoding rather than the whole file's and its samples never sit in
// memory whole. Main thread only.
#pragma once

#include <cstdio>
#include <vector>

#include "audio/vorbis_decoder.h"

class gxtkMusicStream {
public:
    static constexpr int kBuffers = 4;
    // Each buffer holds this fraction of a second, so about a second is queued.
    static constexpr int kBuffersPerSecond = 4;
    // Buffers decoded as the tune starts; each update then adds one more until all are
    // queued, which keeps the start cheap.
    static constexpr int kBuffersAtStart = 2;

    gxtkMusicStream() = default;
    gxtkMusicStream(const gxtkMusicStream&) = delete;
    gxtkMusicStream& operator=(const gxtkMusicStream&) = delete;
    ~gxtkMusicStream() { Close(); }

    // Takes the open file, queues the first buffers on `source` and starts it; false (the
    // file closed, the source untouched) when the file is not a tune this reader decodes.
    bool Open(FILE* file, unsigned int source, bool loop);
    // Stops the source, takes the buffers off it and releases file, decoder and buffers.
    void Close();
    bool IsOpen() const { return file_ != nullptr; }
    // Queues a buffer not yet in use and refills those the source has finished with; a
    // source that ran dry because nobody called in time goes on. A paused source stays
    // paused.
    void Update();
    // Every sample of a tune that does not loop has been queued.
    bool Ended() const { return ended_; }

private:
    // Decodes the next piece into `buffer`, from the start again at the end of a looping
    // tune; false when nothing is left.
    bool Fill(unsigned int buffer);
    // Fills and queues up to `count` of the buffers not in use yet.
    void QueueUnused(int count);

    FILE* file_ = nullptr;
    VorbisDecoder decoder_;
    unsigned int source_ = 0;
    unsigned int buffers_[kBuffers] = {};
    int used_ = 0;  // buffers_[0 .. used_) have been queued
    std::vector<short> piece_;
    int framesPerBuffer_ = 0;
    bool loop_ = false;
    bool ended_ = false;
};
