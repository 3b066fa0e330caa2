// The audio module: the application's interface to sound. Every function passes through
// to the installed audio device; file names are resolved as data paths.
#pragma once

#include "audio/audio_device.h"
#include "audio/sample.h"
#include "runtime/object.h"
#include "runtime/string.h"

// A collectable handle for one loaded sample; the sample lives at least as long as it.
class c_Sound : public Object {
public:
    gxtkSample* m_sample = nullptr;

    c_Sound* m_new(gxtkSample* sample);
    c_Sound* m_new2();
    void mark() override;
};

// The audio device; a collector root (registered with the other module globals).
extern gxtkAudio* qv_audio_device;

int qv_audio_SetAudioDevice(gxtkAudio* device);
// Null when the file cannot be found or decoded.
c_Sound* qv_audio_LoadSound(String path);
// Does nothing for a null sound or one without a sample. Non-zero flags loop.
int qv_audio_PlaySound(c_Sound* sound, int channel, int flags);
int qv_audio_StopChannel(int channel);
// 0 stopped (or its sound has ended), 1 playing, 2 paused.
int qv_audio_ChannelState(int channel);
int qv_audio_SetChannelVolume(int channel, float volume);
int qv_audio_SetChannelPan(int channel, float pan);
int qv_audio_SetChannelRate(int channel, float rate);
// 0 when the tune started, -1 when it could not be loaded.
int qv_audio_PlayMusic(String path, int flags);
int qv_audio_StopMusic();
int qv_audio_SetMusicVolume(float volume);
int qv_audio_PauseMusic();
int qv_audio_ResumeMusic();
