// Asset slots: resolution sets, the staged loader's table and screen, sound effects over
// rotating channels and the tune by sound mode.
#include <AL/al.h>

#include <cmath>
#include <vector>

#include "graphics/graphics.h"
#include "tests/game/game_fixture.h"

using namespace picture;

namespace {

class LoaderTest : public GameFixture {};

TEST_F(LoaderTest, ResolutionSetFollowsTheDeviceSize) {
    struct Case {
        int w, h, res;
    };
    // Strictly above 630 on either side asks for the doubled set, so a 640x480 window does.
    for (Case c : {Case{600, 450, 1}, Case{640, 480, 2}, Case{630, 630, 1}, Case{800, 600, 2},
                   Case{631, 400, 2}, Case{1230, 700, 2}, Case{1280, 720, 4}, Case{900, 1231, 4}}) {
        SetDevice(c.w, c.h);
        app->p_ChooseImageSet();
        EXPECT_EQ(app->m_ImgRes, c.res) << c.w << "x" << c.h;
        EXPECT_FLOAT_EQ(app->m_ImgScale, 1.0f / c.res) << c.w << "x" << c.h;
    }
    qv_Vortan_UseHDImages = 0;
    app->p_ChooseImageSet();
    EXPECT_EQ(app->m_ImgRes, 1);
    EXPECT_EQ(app->m_ImgScale, 1);
}

// Cell sizes recorded per stage at each set, as the loader asks for them.
TEST_F(LoaderTest, StagesFillTheirSlotsWithCellsOfTheSet) {
    struct Slot {
        int stage, slot, cellW, cellH, frames;
    };
    const Slot slots[] = {{1, kIcons, 32, 32, 16},        {2, kButtons, 64, 64, 16},
                          {3, kDpad, 32, 32, 16},         {4, kMakerLogo, 256, 256, 1},
                          {6, kBackdrop, 256, 256, 4},    {6, kLogo, 256, 128, 1},
                          {7, kBadges, 64, 64, 64},       {7, kParts, 8, 8, 256},
                          {8, kCircles, 256, 256, 4},     {8, kGlows, 32, 32, 4},
                          {9, kFirstFighter, 36, 36, 9},  {13, kFirstOpponent, 36, 36, 9},
                          {17, kLastFighter, 36, 36, 9},  {18, kTitleTop, 256, 128, 1},
                          {19, kTitleBottom, 256, 128, 1}};
    for (int res : {1, 2, 4}) {
        SetDevice(res == 1 ? 600 : res == 2 ? 800 : 1280, res == 1 ? 450 : 600);
        for (int i = 0; i < app->m_ImgSize.Length(); ++i) app->m_ImgSize[i] = 0;
        for (int stage = 1; stage <= 25; ++stage) {
            app->m_LoadStage = stage;
            app->p_Loader();
            for (const Slot& s : slots) {
                const int cellW = CellWidth(*app, s.slot);
                if (s.stage > stage) {
                    EXPECT_EQ(cellW, 0) << "slot " << s.slot << " before stage " << s.stage;
                } else {
                    EXPECT_EQ(cellW, s.cellW * res) << "slot " << s.slot << " set " << res;
                    EXPECT_EQ(CellHeight(*app, s.slot), s.cellH * res) << "slot " << s.slot;
                    EXPECT_EQ(FrameCount(*app, s.slot), s.frames) << "slot " << s.slot;
                }
            }
        }
        // The blank surface and the font record their own units.
        EXPECT_EQ(CellWidth(*app, kSpareSurface), 2048);
        EXPECT_EQ(FrameCount(*app, kSpareSurface), 1);
        EXPECT_EQ(CellWidth(*app, kFont), 7);
        EXPECT_EQ(CellHeight(*app, kFont), 10);
        EXPECT_EQ(FrameCount(*app, kFont), 128);
        EXPECT_EQ(app->m_Font, kFont);
    }
}

TEST_F(LoaderTest, LoadingRuns25StagesThenStops) {
    Create();
    EXPECT_EQ(app->m_LoadStage, 1);
    int updates = 0;
    while (app->m_LoadStage != 0 && updates < 50) {
        Update();
        ++updates;
    }
    EXPECT_EQ(updates, 25);
    EXPECT_EQ(app->m_Mode, mode::kMenu);
}

TEST_F(LoaderTest, StartJinglePlaysOnceAtStage4) {
    Create();
    app->m_Sfx[sound::kJingle] = nullptr;
    gc_assign(app->m_Sfx[sound::kJingle], LoadTone("jingle.wav"));
    ASSERT_NE(app->m_Sfx[sound::kJingle], nullptr);
    app->m_LoadStage = 4;
    app->p_Loader();
    EXPECT_EQ(app->m_LogoSfxDone, 1);
    EXPECT_EQ(app->m_SfxChannel, 1);
    app->m_LoadStage = 4;
    app->p_Loader();
    EXPECT_EQ(app->m_SfxChannel, 1);  // not again
}

TEST_F(LoaderTest, LoadingScreenDrawsSpinnerLogoAndCaption) {
    Create();
    app->m_Font = kFont;
    Update();
    auto cmds = Commands();
    int blue = 0, orange = 0;
    bool logo = false;
    for (const DrawCmd& c : cmds) {
        if (c.kind == kCmdOval && c.r == 0 && c.g == 125 && c.b == 255) {
            ++blue;
            EXPECT_EQ(c.a4, 16);
            EXPECT_NEAR(std::hypot(c.x - 320, c.y - 240), 480 * 0.45f, 0.01f);
        }
        if (c.kind == kCmdOval && c.r == 255 && c.g == 125 && c.b == 0) ++orange;
        if (c.kind == kMakerLogo) {
            logo = true;
            EXPECT_EQ(c.x, 320);
            EXPECT_FLOAT_EQ(c.y, 480 * 0.48f);
            EXPECT_EQ(c.a4, 2);
        }
    }
    EXPECT_EQ(blue, 11);
    EXPECT_EQ(orange, 22);
    EXPECT_TRUE(logo);
    EXPECT_EQ(DrawnText(), "Loading...");
    EXPECT_EQ(app->m_Work, 480);
    EXPECT_EQ(app->m_ClsA, 1);
    const int angle = app->m_SpinAngle;
    Update();
    EXPECT_EQ(app->m_SpinAngle, angle + 3);
}

// A new window size reloads every slot at the set that fits it: each picture replaced
// gives up its pixels and file at once, every slot ends up drawable, and a surface that
// another slot still draws from is kept.
TEST_F(LoaderTest, ReloadForANewSizeGivesBackEachReplacedPictureAtOnce) {
    qv_graphics_SetGraphicsDevice(new gxtkGraphics);  // no window: pictures keep their pixels
    SetDevice(800, 600);
    Create();
    FinishLoading();
    std::vector<gxtkSurface*> replaced;
    for (int slot = 0; slot < kSlots; ++slot) {
        if (app->m_Img[slot]) replaced.push_back(app->m_Img[slot]->m_surface);
    }
    ASSERT_EQ(replaced.size(), 23u);  // every picture of the loader's table
    gxtkSurface* icons = app->m_Img[kIcons]->m_surface;
    gc_assign(app->m_Img[0], app->m_Img[kIcons]);  // a slot the loader leaves alone

    SetDevice(600, 450);
    FinishLoading();
    // No collection runs between updates here, so the old surfaces are still there to see.
    for (gxtkSurface* surface : replaced) {
        const bool kept = surface == icons;
        EXPECT_EQ(surface->discarded, !kept) << surface->width << "x" << surface->height;
        EXPECT_EQ(surface->file != nullptr || surface->data != nullptr, kept);
    }
    for (int slot = 1; slot < kSlots; ++slot) {
        if (!app->m_Img[slot]) continue;
        EXPECT_FALSE(app->m_Img[slot]->m_surface->discarded) << slot;
    }
    EXPECT_EQ(app->m_ImgRes, 1);
}

int BufferBytes(c_Sound* sound) {
    ALint bytes = -1;
    if (sound && sound->m_sample) alGetBufferi(sound->m_sample->buffer, AL_SIZE, &bytes);
    return bytes;
}

TEST_F(LoaderTest, SoundFileNamesHaveThreeDigits) {
    // The shipped effects differ in length, so the buffer size tells which file a slot holds.
    for (int n : {5, 96}) {
        const std::string file = n < 10 ? "sfx/00" + std::to_string(n) + ".wav"
                                        : "sfx/0" + std::to_string(n) + ".wav";
        c_Sound* direct = qv_audio_LoadSound(String(file.c_str()));
        ASSERT_NE(direct, nullptr) << file << " is part of the data folder";
        app->p_LoadSFX(n);
        EXPECT_EQ(BufferBytes(app->m_Sfx[n]), BufferBytes(direct)) << file;
    }
    EXPECT_NE(BufferBytes(app->m_Sfx[5]), BufferBytes(app->m_Sfx[96]));
    // A slot is emptied first, so a missing file leaves it null rather than stale.
    gc_assign(app->m_Sfx[50], LoadTone("old.wav"));
    app->p_LoadSFX(50);
    EXPECT_EQ(app->m_Sfx[50], nullptr);
    app->p_LoadSFX(-1);
    app->p_LoadSFX(123);  // beyond the slots: nothing to fill
}

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
