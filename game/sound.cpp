// Playing sound effects over 24 rotating channels and the one music tune, by the sound
// mode setting and the Music and Effects levels. A level of 0 plays (and so decodes)
// nothing of its kind.
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

}  // namespace

int c_MyApp::p_PlaySFX(int n, float rate, float volume, float pan) {
    if (!EffectsOn(m_Setting[setting::kSoundMode]) || m_EffectsLevel <= 0) return 0;
    if (n < 0 || n >= m_Sfx.Length() || !m_Sfx[n]) return 0;
    m_SfxChannel = (m_SfxChannel + 1) % kEffectChannels;
    const int channel = m_ChannelMap[m_SfxChannel];
    qv_audio_StopChannel(channel);
    qv_audio_PlaySound(m_Sfx[n], channel, 0);
    qv_audio_SetChannelRate(channel, rate);
    qv_audio_SetChannelVolume(channel, volume * Gain(m_EffectsLevel));
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
