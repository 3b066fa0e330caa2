#include "audio/audio_device.h"

#include <AL/al.h>

#include <cmath>
#include <cstdlib>

#include "host/game.h"
#include "host/unreadable_asset.h"
#include "runtime/errors.h"

gxtkAudio* gxtkAudio::audio = nullptr;

namespace {

// What OpenAL says the source is doing; a channel without a source is stopped.
ALint SourceState(ALuint source) {
    ALint state = AL_STOPPED;
    if (source != 0) alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

ALenum BufferFormat(int format, int channels) {
    if (format == 1 && channels == 1) return AL_FORMAT_MONO8;
    if (format == 1 && channels == 2) return AL_FORMAT_STEREO8;
    if (format == 2 && channels == 1) return AL_FORMAT_MONO16;
    if (format == 2 && channels == 2) return AL_FORMAT_STEREO16;
    return 0;
}

}  // namespace

gxtkAudio::gxtkAudio() {
    audio = this;
    alcDevice = alcOpenDevice(nullptr);
    if (!alcDevice) alcDevice = alcOpenDevice("Generic Hardware");
    if (!alcDevice) alcDevice = alcOpenDevice("Generic Software");
    qvPrint("opening openal device");
    if (alcDevice) {
        alcContext = alcCreateContext(alcDevice, nullptr);
        if (!alcContext) {
            qvPrint("OpenAl error: alcCreateContext failed");
        } else if (!alcMakeContextCurrent(alcContext)) {
            qvPrint("OpenAl error: alcMakeContextCurrent failed");
        }
    } else {
        qvPrint("OpenAl error: alcOpenDevice failed");
    }
    alDistanceModel(AL_NONE);
    Source(&channels[kMusicChannel]);
}

void gxtkAudio::Close() {
    music_.Close();  // its buffers and file go while the context still exists
    alcMakeContextCurrent(nullptr);
    if (alcContext) alcDestroyContext(alcContext);
    if (alcDevice) alcCloseDevice(alcDevice);
    alcContext = nullptr;
    alcDevice = nullptr;
}

// Outside 0..32 there is no channel: such calls do nothing.
gxtkChannel* gxtkAudio::Channel(int channel) {
    if (channel < 0 || channel >= kChannels) return nullptr;
    return &channels[channel];
}

unsigned int gxtkAudio::Source(gxtkChannel* chan) {
    if (chan->source != 0) return chan->source;
    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() == AL_NO_ERROR && source != 0) {
        chan->source = source;
        return source;
    }
    // Out of sources: take over the source of an effect channel that has finished.
    for (int i = 0; i < kEffectChannels; ++i) {
        gxtkChannel* other = &channels[i];
        if (other->source != 0 && ChannelState(i) == 0) {
            chan->source = other->source;
            other->source = 0;
            return chan->source;
        }
    }
    return 0;
}

unsigned int gxtkAudio::ChannelSource(int channel) {
    gxtkChannel* chan = Channel(channel);
    return chan ? Source(chan) : 0;
}

void gxtkAudio::FlushDiscarded() {
    std::vector<unsigned int>& discarded = gxtkDiscardedBuffers();
    if (discarded.empty()) return;
    // A stopped source still holds its buffer, and OpenAL refuses to delete a held buffer.
    for (gxtkChannel& chan : channels) {
        if (chan.source != 0 && SourceState(chan.source) == AL_STOPPED) {
            alSourcei(chan.source, AL_BUFFER, 0);
        }
    }
    std::vector<unsigned int> kept;
    for (unsigned int name : discarded) {
        alGetError();
        alDeleteBuffers(1, &name);
        // Still attached to a sounding source: try again at a later flush.
        if (alGetError() != AL_NO_ERROR) kept.push_back(name);
    }
    discarded.swap(kept);
}

void gxtkAudio::mark() {
    for (gxtkChannel& chan : channels) {
        if (chan.state != 0 && chan.sample && SourceState(chan.source) != AL_STOPPED) {
            gc_mark_q(chan.sample);
        }
    }
}

int gxtkAudio::Suspend() {
    for (gxtkChannel& chan : channels) {
        if (chan.state == 1 && SourceState(chan.source) == AL_PLAYING) alSourcePause(chan.source);
    }
    return 0;
}

int gxtkAudio::Resume() {
    for (gxtkChannel& chan : channels) {
        if (chan.state == 1 && SourceState(chan.source) == AL_PAUSED) alSourcePlay(chan.source);
    }
    return 0;
}

gxtkSample* gxtkAudio::LoadSample(String path) {
    FlushDiscarded();
    gxtkSample* sample = new gxtkSample();
    if (!LoadSample__UNSAFE__(sample, path)) return nullptr;
    return sample;
}

bool gxtkAudio::LoadSample__UNSAFE__(gxtkSample* sample, String path) {
    if (!QvGame::_game) return false;
    int length = 0, channelCount = 0, format = 0, hertz = 0;
    unsigned char* data = QvGame::_game->LoadAudioData(path, &length, &channelCount, &format,
                                                       &hertz);
    if (!data) return false;
    ALuint buffer = 0;
    alGenBuffers(1, &buffer);
    alBufferData(buffer, BufferFormat(format, channelCount), data, format * channelCount * length,
                 hertz);
    free(data);
    sample->SetBuffer(buffer);
    return true;
}

int gxtkAudio::PlaySample(gxtkSample* sample, int channel, int flags) {
    FlushDiscarded();
    gxtkChannel* chan = Channel(channel);
    if (!chan || !sample) return 0;
    ALuint source = Source(chan);
    if (source == 0) return 0;
    Stopped(chan);
    alSourceStop(source);
    alSourcei(source, AL_BUFFER, ALint(sample->buffer));
    alSourcei(source, AL_LOOPING, flags ? AL_TRUE : AL_FALSE);
    alSourcePlay(source);
    gc_assign(chan->sample, sample);
    chan->flags = flags;
    chan->state = 1;
    return 0;
}

int gxtkAudio::StopChannel(int channel) {
    gxtkChannel* chan = Channel(channel);
    if (!chan || chan->state == 0) return 0;
    alSourceStop(chan->source);
    Stopped(chan);
    return 0;
}

void gxtkAudio::Stopped(gxtkChannel* chan) {
    chan->state = 0;
    if (chan == &channels[kMusicChannel]) music_.Close();
}

bool gxtkAudio::RanOut(gxtkChannel* chan) {
    // A tune that ran dry between updates goes on rather than ending.
    if (chan == &channels[kMusicChannel]) music_.Update();
    return SourceState(chan->source) == AL_STOPPED;
}

int gxtkAudio::PauseChannel(int channel) {
    gxtkChannel* chan = Channel(channel);
    if (!chan || chan->state != 1) return 0;
    if (RanOut(chan)) {
        Stopped(chan);
    } else {
        alSourcePause(chan->source);
        chan->state = 2;
    }
    return 0;
}

int gxtkAudio::ResumeChannel(int channel) {
    gxtkChannel* chan = Channel(channel);
    if (!chan || chan->state != 2) return 0;
    alSourcePlay(chan->source);
    chan->state = 1;
    return 0;
}

int gxtkAudio::ChannelState(int channel) {
    gxtkChannel* chan = Channel(channel);
    if (!chan) return 0;
    if (chan->state != 1) return chan->state;
    if (RanOut(chan)) Stopped(chan);
    return chan->state;
}

int gxtkAudio::SetVolume(int channel, float volume) {
    if (ALuint source = ChannelSource(channel)) alSourcef(source, AL_GAIN, volume);
    return 0;
}

int gxtkAudio::SetPan(int channel, float pan) {
    if (ALuint source = ChannelSource(channel)) {
        alSource3f(source, AL_POSITION, sinf(pan), 0.0f, -cosf(pan));
    }
    return 0;
}

int gxtkAudio::SetRate(int channel, float rate) {
    if (ALuint source = ChannelSource(channel)) alSourcef(source, AL_PITCH, rate);
    return 0;
}

int gxtkAudio::PlayMusic(String path, int flags) {
    StopMusic();
    if (!path.ToLower().EndsWith(".ogg")) {
        gxtkSample* sample = LoadSample(path);
        if (!sample) return -1;
        PlaySample(sample, kMusicChannel, flags);
        return 0;
    }
    FlushDiscarded();
    FILE* file = QvGame::_game ? QvGame::_game->OpenFile(path, "rb") : nullptr;
    if (!file) return -1;
    gxtkChannel* chan = &channels[kMusicChannel];
    if (!music_.Open(file, Source(chan), flags != 0)) {
        QvReportUnreadable(QvAsset::kSound, path);
        return -1;
    }
    gc_assign(chan->sample, static_cast<gxtkSample*>(nullptr));
    chan->flags = flags;
    chan->state = 1;
    return 0;
}

void gxtkAudio::Update() { music_.Update(); }

int gxtkAudio::StopMusic() { return StopChannel(kMusicChannel); }
int gxtkAudio::PauseMusic() { return PauseChannel(kMusicChannel); }
int gxtkAudio::ResumeMusic() { return ResumeChannel(kMusicChannel); }
int gxtkAudio::MusicState() { return ChannelState(kMusicChannel); }
int gxtkAudio::SetMusicVolume(float volume) { return SetVolume(kMusicChannel, volume); }
