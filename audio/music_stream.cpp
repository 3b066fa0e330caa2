#include "audio/music_stream.h"

#include <AL/al.h>

bool gxtkMusicStream::Open(FILE* file, unsigned int source, bool loop) {
    Close();
    if (!decoder_.Open(file)) {
        fclose(file);
        return false;
    }
    file_ = file;
    source_ = source;
    loop_ = loop;
    ended_ = false;
    // The decoder's rate is one the device plays, so a buffer stays within 96000 frames;
    // rounded up, so a tune of a few samples a second still has a frame in each.
    framesPerBuffer_ = (decoder_.Rate() + kBuffersPerSecond - 1) / kBuffersPerSecond;
    piece_.assign(size_t(framesPerBuffer_) * decoder_.Channels(), 0);
    alGenBuffers(kBuffers, buffers_);
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
    alSourcei(source_, AL_LOOPING, AL_FALSE);  // the stream loops, not the queue
    used_ = 0;
    QueueUnused(kBuffersAtStart);
    alSourcePlay(source_);
    return true;
}

void gxtkMusicStream::Close() {
    if (!file_) return;
    alSourceStop(source_);
    alSourcei(source_, AL_BUFFER, 0);
    alDeleteBuffers(kBuffers, buffers_);
    for (unsigned int& buffer : buffers_) buffer = 0;
    decoder_.Close();
    fclose(file_);
    file_ = nullptr;
    std::vector<short>().swap(piece_);
}

void gxtkMusicStream::Update() {
    if (!file_) return;
    // A stopped source counts every buffer it holds as processed, so the played ones are
    // refilled before a new one joins them.
    ALint processed = 0;
    alGetSourcei(source_, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source_, 1, &buffer);
        if (Fill(buffer)) alSourceQueueBuffers(source_, 1, &buffer);
    }
    QueueUnused(1);
    ALint state = AL_STOPPED;
    alGetSourcei(source_, AL_SOURCE_STATE, &state);
    if (state != AL_STOPPED) return;
    // Stopped although not stopped by us: it ran dry before the buffers were refilled, or
    // its buffers were taken off it. Whatever is queued now has not been heard yet.
    ALint queued = 0;
    alGetSourcei(source_, AL_BUFFERS_QUEUED, &queued);
    if (queued == 0) {
        if (ended_) return;
        used_ = 0;  // none is on the source any more
        QueueUnused(kBuffers);
    }
    alSourcePlay(source_);
}

void gxtkMusicStream::QueueUnused(int count) {
    for (; count > 0 && used_ < kBuffers; --count) {
        if (!Fill(buffers_[used_])) return;
        alSourceQueueBuffers(source_, 1, &buffers_[used_++]);
    }
}

bool gxtkMusicStream::Fill(unsigned int buffer) {
    if (ended_) return false;
    int frames = 0;
    bool rewound = false;
    while (frames < framesPerBuffer_) {
        short* at = &piece_[size_t(frames) * decoder_.Channels()];
        int got = decoder_.Read(at, framesPerBuffer_ - frames);
        frames += got;
        if (got > 0) {
            rewound = false;
            continue;
        }
        // At the end: a looping tune goes on from its start within the same buffer, so
        // the loop has no gap; a stream that gives nothing even from its start has ended.
        if (!loop_ || rewound || !decoder_.Rewind()) {
            ended_ = true;
            break;
        }
        rewound = true;
    }
    if (frames == 0) return false;
    ALenum format = decoder_.Channels() == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
    ALsizei bytes = ALsizei(size_t(frames) * decoder_.Channels() * sizeof(short));
    alBufferData(buffer, format, piece_.data(), bytes, decoder_.Rate());
    return true;
}
