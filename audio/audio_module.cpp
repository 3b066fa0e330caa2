#include "audio/audio_module.h"

#include "host/data_path.h"

gxtkAudio* qv_audio_device = nullptr;

c_Sound* c_Sound::m_new(gxtkSample* sample) {
    gc_assign(m_sample, sample);
    return this;
}

c_Sound* c_Sound::m_new2() { return this; }

void c_Sound::mark() { gc_mark_q(m_sample); }

int qv_audio_SetAudioDevice(gxtkAudio* device) {
    gc_assign(qv_audio_device, device);
    return 0;
}

c_Sound* qv_audio_LoadSound(String path) {
    gxtkSample* sample = qv_audio_device->LoadSample(qv_data_FixDataPath(path));
    if (!sample) return nullptr;
    return (new c_Sound)->m_new(sample);
}

int qv_audio_PlaySound(c_Sound* sound, int channel, int flags) {
    if (sound && sound->m_sample) qv_audio_device->PlaySample(sound->m_sample, channel, flags);
    return 0;
}

int qv_audio_StopChannel(int channel) { return qv_audio_device->StopChannel(channel); }
int qv_audio_ChannelState(int channel) { return qv_audio_device->ChannelState(channel); }

int qv_audio_SetChannelVolume(int channel, float volume) {
    return qv_audio_device->SetVolume(channel, volume);
}

int qv_audio_SetChannelPan(int channel, float pan) { return qv_audio_device->SetPan(channel, pan); }

int qv_audio_SetChannelRate(int channel, float rate) {
    return qv_audio_device->SetRate(channel, rate);
}

int qv_audio_PlayMusic(String path, int flags) {
    return qv_audio_device->PlayMusic(qv_data_FixDataPath(path), flags);
}

int qv_audio_StopMusic() { return qv_audio_device->StopMusic(); }
int qv_audio_SetMusicVolume(float volume) { return qv_audio_device->SetMusicVolume(volume); }
int qv_audio_PauseMusic() { return qv_audio_device->PauseMusic(); }
int qv_audio_ResumeMusic() { return qv_audio_device->ResumeMusic(); }
