// Sound effects over rotating channels and the tune by sound mode.
#include <string>

#include "tests/game/game_fixture.h"

namespace {

class SoundTest : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        Create();
        for (int n : {1, 2, 3})
            gc_assign(app->m_Sfx[n], LoadTone("tone" + std::to_string(n) + ".wav"));
        ASSERT_NE(app->m_Sfx[1], nullptr);
    }
    gxtkChannel& Channel(int i) { return Audio()->channels[i]; }
};

TEST_F(SoundTest, EffectsRotateOver24ChannelsStartingAt1) {
    app->p_PlaySFX(1, 1);
    EXPECT_EQ(app->m_SfxChannel, 1);
    EXPECT_EQ(Channel(1).sample, app->m_Sfx[1]->m_sample);
    EXPECT_EQ(Channel(1).state, 1);
    for (int i = 2; i <= 23; ++i) app->p_PlaySFX(2, 1);
    EXPECT_EQ(app->m_SfxChannel, 23);
    app->p_PlaySFX(3, 1);  // the 24th effect
    EXPECT_EQ(app->m_SfxChannel, 0);
    EXPECT_EQ(Channel(0).sample, app->m_Sfx[3]->m_sample);
    app->p_PlaySFX(3, 1);  // the 25th cuts off the first
    EXPECT_EQ(app->m_SfxChannel, 1);
    EXPECT_EQ(Channel(1).sample, app->m_Sfx[3]->m_sample);
    for (int i = 24; i < 32; ++i) EXPECT_EQ(Channel(i).sample, nullptr) << i;
}

TEST_F(SoundTest, ChannelMapRedirectsChannels) {
    app->m_ChannelMap[1] = 30;
    app->p_PlaySFX(2, 1);
    EXPECT_EQ(Channel(30).sample, app->m_Sfx[2]->m_sample);
}

TEST_F(SoundTest, EmptySlotsAndSoundModesWithoutEffectsAreSilent) {
    app->p_PlaySFX(50, 1);
    EXPECT_EQ(app->m_SfxChannel, 0);
    for (int mode : {sound_mode::kOff, sound_mode::kMusic}) {
        app->m_Setting[setting::kSoundMode] = mode;
        app->p_PlaySFX(1, 1);
        EXPECT_EQ(app->m_SfxChannel, 0) << mode;
    }
    app->m_Setting[setting::kSoundMode] = sound_mode::kEffects;
    app->p_PlaySFX(1, 1);
    EXPECT_EQ(app->m_SfxChannel, 1);
}

TEST_F(SoundTest, TuneStartsOnlyInModesWithMusic) {
    for (int mode = 0; mode < sound_mode::kCount; ++mode) {
        app->m_Setting[setting::kSoundMode] = mode;
        app->m_MusicOn = 0;
        app->p_PlayTune(String("gale"), 1);
        const bool music = mode == sound_mode::kEffectsAndMusic || mode == sound_mode::kMusic;
        EXPECT_EQ(app->m_MusicOn, music ? 1 : 0) << mode;
        EXPECT_EQ(app->m_Music.ToUtf8(), "gale");
    }
}

TEST_F(SoundTest, StartingWithoutMusicStopsThePlayingTune) {
    app->p_PlayTune(String("gale"), 1);
    EXPECT_EQ(app->m_MusicOn, 1);
    app->m_Setting[setting::kSoundMode] = sound_mode::kEffects;
    app->p_PlayTune(String("other"), 1);
    EXPECT_EQ(app->m_MusicOn, 0);
    EXPECT_EQ(app->m_Music.ToUtf8(), "other");
}

TEST_F(SoundTest, MinusOneRestartsTheLastTune) {
    app->p_PlayTune(String("-1"), 1);
    EXPECT_EQ(app->m_MusicOn, 0);  // nothing started yet: nothing to restart
    EXPECT_EQ(app->m_Music.ToUtf8(), "");
    app->p_PlayTune(String("gale"), 1);
    app->p_StopTune();
    EXPECT_EQ(app->m_MusicOn, 0);
    app->p_PlayTune(String("-1"), 1);
    EXPECT_EQ(app->m_MusicOn, 1);
    EXPECT_EQ(app->m_Music.ToUtf8(), "gale");
}

TEST_F(SoundTest, NoMusicStreamMeansNoTune) {
    qv_Vortan_HasMusicStream = 0;
    app->p_PlayTune(String("gale"), 1);
    EXPECT_EQ(app->m_MusicOn, 0);
    EXPECT_EQ(app->m_Music.ToUtf8(), "");
}

}  // namespace
