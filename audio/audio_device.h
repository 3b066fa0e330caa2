// gxtkAudio: the OpenAL audio device. It owns 32 sound-effect channels and one music
// channel (32), turns decoded sound files into samples, and plays, pauses, stops and shapes
// what each channel plays. An Ogg Vorbis tune streams from its file on the music channel
// (Update keeps it fed); any other tune plays as an ordinary sample. Everything runs on
// the main thread.
#pragma once

#include <AL/alc.h>

#include "audio/music_stream.h"
#include "audio/sample.h"
#include "runtime/object.h"
#include "runtime/string.h"

// One playback channel: a plain record inside the device.
struct gxtkChannel {
    unsigned int source = 0;       // OpenAL source, created on first need (may be taken over)
    gxtkSample* sample = nullptr;  // last sample started here; traced while it sounds
    int flags = 0;                 // non-zero: looping
    int state = 0;                 // 0 stopped, 1 playing, 2 paused
};

class gxtkAudio : public Object {
public:
    static constexpr int kEffectChannels = 32;
    static constexpr int kMusicChannel = 32;
    static constexpr int kChannels = 33;

    ALCdevice* alcDevice = nullptr;
    ALCcontext* alcContext = nullptr;
    gxtkChannel channels[kChannels];

    // The one device; set by the constructor.
    static gxtkAudio* audio;

    // Opens the default device (falling back to the generic ones); without a device the
    // program goes on silently after printing why.
    gxtkAudio();

    void mark() override;

    // Focus lost: pauses what sounds, leaving the channel states alone.
    virtual int Suspend();
    // Focus regained: restarts what Suspend paused; application-paused channels stay paused.
    virtual int Resume();

    virtual gxtkSample* LoadSample(String path);
    virtual bool LoadSample__UNSAFE__(gxtkSample* sample, String path);
    virtual int PlaySample(gxtkSample* sample, int channel, int flags);
    virtual int StopChannel(int channel);
    virtual int PauseChannel(int channel);
    virtual int ResumeChannel(int channel);
    // 0 stopped, 1 playing, 2 paused; notices samples that have run out.
    virtual int ChannelState(int channel);
    virtual int SetVolume(int channel, float volume);
    // pan is an angle in radians: 0 straight ahead, positive to the right.
    virtual int SetPan(int channel, float pan);
    virtual int SetRate(int channel, float rate);

    // 0 when the tune started, -1 when the file could not be loaded.
    virtual int PlayMusic(String path, int flags);
    virtual int StopMusic();
    virtual int PauseMusic();
    virtual int ResumeMusic();
    virtual int MusicState();
    virtual int SetMusicVolume(float volume);

    // Decodes the next pieces of a streamed tune into the buffers it has played; called
    // once per update (about a second of the tune is queued ahead).
    void Update();

    // Closes the context and the device when the program quits; silent from then on.
    void Close();

private:
    gxtkChannel* Channel(int channel);
    // The channel's source, created or taken from a stopped effect channel; 0 when none.
    unsigned int Source(gxtkChannel* channel);
    // The source of the numbered channel, made if need be; 0 for no channel or no source.
    unsigned int ChannelSource(int channel);
    void FlushDiscarded();
    // The channel's sound has run out: its source stopped with nothing more to come.
    bool RanOut(gxtkChannel* channel);
    // The channel is stopped: it forgets a streamed tune it was playing.
    void Stopped(gxtkChannel* channel);

    gxtkMusicStream music_;
};
