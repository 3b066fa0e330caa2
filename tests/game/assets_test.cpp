// Asset slots: the resolution set a device size asks for, and the sound files the slots
// read.
#include <AL/al.h>

#include <string>

#include "tests/game/game_fixture.h"

namespace {

class AssetsTest : public GameFixture {};

TEST_F(AssetsTest, ResolutionSetFollowsTheDeviceSize) {
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

int BufferBytes(c_Sound* sound) {
    ALint bytes = -1;
    if (sound && sound->m_sample) alGetBufferi(sound->m_sample->buffer, AL_SIZE, &bytes);
    return bytes;
}

TEST_F(AssetsTest, SoundFileNamesHaveThreeDigits) {
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

}  // namespace
