// The Music and Effects levels as a player hears them, measured in what OpenAL Soft's
// wave writer records in real time: every step down is quieter, level 5 lies a few
// decibels under level 10, and level 0 plays nothing while the tune loops at any other.
#include <unistd.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "tests/audio/mix.h"
#include "tests/audio/wav_bytes.h"
#include "tests/game/game_fixture.h"
#include "tests/support/process.h"

namespace {

class SoundLevelsTest : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        Create();
        app->m_Setting[setting::kSoundMode] = sound_mode::kEffectsAndMusic;
        SleepSeconds(0.3);  // whatever earlier tests played has ended
        start = Recorded().Windows();
    }
    void TearDown() override {
        app->p_StopTune();
        GameFixture::TearDown();
    }
    static Mix Recorded() {
        Mix mix;
        ReadMix(RecordedMix(), &mix);
        return mix;
    }
    // The loudest window of each sounding stretch since the test began.
    std::vector<double> Peaks() const {
        const Mix mix = Recorded();
        std::vector<double> peaks;
        bool sounding = false;
        for (long w = start; w < mix.Windows(); ++w) {
            const double level = mix.Level(w);
            if (level < kQuiet) {
                sounding = false;
                continue;
            }
            if (!sounding) peaks.push_back(0);
            sounding = true;
            peaks.back() = std::max(peaks.back(), level);
        }
        return peaks;
    }
    // Windows since `from` louder than silence.
    long SoundingSince(long from) const {
        const Mix mix = Recorded();
        long n = 0;
        for (long w = from; w < mix.Windows(); ++w) n += mix.Quiet(w) ? 0 : 1;
        return n;
    }
    // A quarter-second tune, named as p_PlayTune names tunes: from the data folder's sfx.
    std::string Tune() {
        const std::string wav = scratch->File("tune.wav");
        EXPECT_TRUE(
            WriteFile(wav, PcmWav(1, kMixRate, 16, Sine16(kMixRate / 4, 1, kMixRate, 441.0, 0.5))));
        const std::string ogg = scratch->File("tune.ogg");
        EXPECT_EQ(RunProcess({"/usr/bin/oggenc", "-Q", "-o", ogg, wav}).exitCode, 0);
        char exe[PATH_MAX] = {};
        EXPECT_GT(readlink("/proc/self/exe", exe, sizeof exe - 1), 0);
        std::string up = "../../";  // out of data/sfx
        for (const char* c = exe; *c; ++c) up += *c == '/' && c != exe ? "../" : "";
        return up + ogg.substr(1, ogg.size() - 5);
    }
    // Waits in real time while the tune streams, as the game's updates keep it fed.
    static void Listen(double seconds) {
        for (double t = 0; t < seconds; t += 0.02) {
            Audio()->Update();
            SleepSeconds(0.02);
        }
    }
    // The level of the last whole windows recorded.
    static double LevelNow() {
        const Mix mix = Recorded();
        double level = 0;
        for (long w = mix.Windows() - 5; w < mix.Windows() - 1; ++w) level += mix.Level(w) / 4;
        return level;
    }
    static double Decibels(double level, double reference) {
        return 20 * std::log10(level / reference);
    }
    // Level 5 against level 10: a few decibels quieter, not half as loud to the ear.
    static void ExpectFiveAFewDecibelsUnderTen(const char* what, double five, double ten) {
        const double db = Decibels(five, ten);
        EXPECT_LT(db, -4) << what << " 5 against 10";
        EXPECT_GT(db, -12) << what << " 5 against 10";
        std::printf("%s 5 is %.2f dB under 10\n", what, -db);
    }

    long start = 0;
};

TEST_F(SoundLevelsTest, EachEffectsStepDownIsQuieterAndLevel0PlaysNothing) {
    gc_assign(app->m_Sfx[sound::kItem], LoadTone("tone.wav"));
    for (int level = kLevelMax; level >= 0; --level) {
        app->m_EffectsLevel = level;
        const int channel = app->m_SfxChannel;
        app->p_PlaySFX(sound::kItem, 1);
        EXPECT_EQ(app->m_SfxChannel == channel, level == 0) << "level " << level;
        SleepSeconds(0.2);
    }
    SleepSeconds(0.2);
    const std::vector<double> peaks = Peaks();
    ASSERT_EQ(peaks.size(), size_t(kLevelMax)) << "one sound for each level but 0";
    for (size_t i = 1; i < peaks.size(); ++i) {
        EXPECT_LT(peaks[i], peaks[i - 1]) << "level " << kLevelMax - int(i);
    }
    ExpectFiveAFewDecibelsUnderTen("Effects", peaks[5], peaks[0]);
}

TEST_F(SoundLevelsTest, Music0IsSilentAndTheTuneLoopsAtAnyOtherLevel) {
    const std::string tune = Tune();
    app->m_MusicLevel = 0;
    app->p_PlayTune(tune.c_str(), 1);
    EXPECT_EQ(app->m_MusicOn, 0);
    EXPECT_EQ(Audio()->MusicState(), 0);  // nothing opened, so nothing decoded
    Listen(0.5);
    EXPECT_EQ(SoundingSince(start), 0);

    // Raised during a round, the tune starts at once and keeps looping past its length.
    app->m_Mode = mode::kRound;
    app->m_MusicLevel = kLevelMax;
    app->p_MusicLevelChanged();
    ASSERT_EQ(app->m_MusicOn, 1);
    const long full = Recorded().Windows();
    Listen(1.0);  // four times the tune's length
    EXPECT_GT(SoundingSince(full), 45) << "the tune stopped instead of looping";
    const double loud = LevelNow();

    app->m_MusicLevel = 5;
    app->p_MusicLevelChanged();
    Listen(0.3);
    ExpectFiveAFewDecibelsUnderTen("Music", LevelNow(), loud);

    app->m_MusicLevel = 0;
    app->p_MusicLevelChanged();
    EXPECT_EQ(app->m_MusicOn, 0);
    Listen(0.2);
    const long off = Recorded().Windows();
    Listen(0.3);
    EXPECT_EQ(SoundingSince(off), 0);
}

}  // namespace
