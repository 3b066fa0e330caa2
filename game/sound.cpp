// Playing sound effects over 24 rotating channels and the one music tune, by the sound
// mode setting and the Music and Effects levels. A level of 0 plays (and so decodes)
// nothing of its kind. Effects that sound together share a steady loudness, so a crowd's
// blows do not bury the tune.
#include <cmath>

#include "audio/audio_module.h"
#include "game/codes.h"
#include "game/globals.h"
#include "game/my_app.h"

namespace {

constexpr int kEffectChannels = 24;

bool EffectsOn(int mode) {
    return mode == sound_mode::kEffectsAndMusic || mode == sound_mode::kEffects;
}

bool MusicOn(int mode) {
    return mode == sound_mode::kEffectsAndMusic || mode == sound_mode::kMusic;
}

// Level 10 plays a sound as loud as it is; each step down takes a tenth of its amplitude.
float Gain(int level) { return float(level) / kLevelMax; }

// A lone player's loudest moment, a knock-out, sounds three effects at once (the swing,
// the thud and the cheer): up to that many play as loud as they are.
constexpr int kEffectsAtFullGain = 3;

// The share of its amplitude an effect keeps when it starts while `sounding` effects play,
// itself among them. Overlapping sounds add their power, so n that each keep
// sqrt(kEffectsAtFullGain / n) sound as loud as a knock-out: four players' blows in a crowd
// stay beside the tune instead of piling up over it.
float CrowdGain(int sounding) {
    if (sounding <= kEffectsAtFullGain) return 1.0f;
    return std::sqrt(float(kEffectsAtFullGain) / sounding);
}

// How many of the effect channels are playing a sound that has not ended.
int EffectsSounding(const Array<int>& channelMap) {
    int sounding = 0;
    for (int i = 0; i < kEffectChannels; ++i) sounding += qv_audio_ChannelState(channelMap[i]) == 1;
    return sounding;
}

}  // namespace

int c_MyApp::p_PlaySFX(int n, float rate, float volume, float pan) {
    if (!EffectsOn(m_Setting[setting::kSoundMode]) || m_EffectsLevel <= 0) return 0;
    if (n < 0 || n >= m_Sfx.Length() || !m_Sfx[n]) return 0;
    m_SfxChannel = (m_SfxChannel + 1) % kEffectChannels;
    const int channel = m_ChannelMap[m_SfxChannel];
    qv_audio_StopChannel(channel);
    const float crowd = CrowdGain(EffectsSounding(m_ChannelMap) + 1);
    qv_audio_PlaySound(m_Sfx[n], channel, 0);
    qv_audio_SetChannelRate(channel, rate);
    qv_audio_SetChannelVolume(channel, volume * Gain(m_EffectsLevel) * crowd);
    qv_audio_SetChannelPan(channel, pan);
    return 0;
}

int c_MyApp::p_PlaySFX(int n, float volume) { return p_PlaySFX(n, 1.0f, volume, 0.0f); }

int c_MyApp::p_PlayTune(String name, int flags) {
    if (qv_Vortan_HasMusicStream == 0) return 0;
    // "-1" restarts the tune last started; before any tune it names nothing.
    if (name == String("-1")) name = m_Music;
    if (name.Length() == 0) return 0;
    m_Music = name;
    const String file = String("sfx/") + name + String(".ogg");
    if (m_MusicOn == 1) {
        qv_audio_StopMusic();
        m_MusicOn = 0;
    }
    if (MusicOn(m_Setting[setting::kSoundMode]) && m_MusicLevel > 0) {
        qv_audio_PlayMusic(file, flags);
        qv_audio_SetMusicVolume(Gain(m_MusicLevel));
        m_MusicOn = 1;
    }
    return 0;
}

int c_MyApp::p_MusicLevelChanged() {
    if (m_MusicLevel <= 0) {
        if (m_MusicOn == 1) p_StopTune();
    } else if (m_MusicOn == 1) {
        qv_audio_SetMusicVolume(Gain(m_MusicLevel));
    } else if (mode::InRound(m_Mode)) {
        p_PlayTune("-1", 1);  // back from silence: the round's tune again
    }
    return 0;
}

int c_MyApp::p_StopTune() {
    qv_audio_StopMusic();
    m_MusicOn = 0;
    return 0;
}
