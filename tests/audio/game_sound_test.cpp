// The real program's sound: heard through the wave writer when there is a device, and a
// silent but running game when there is none.
#include <gtest/gtest.h>

#include <csignal>

#include "tests/audio/mix.h"
#include "tests/audio/wav_bytes.h"
#include "tests/support/process.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/xvfb_server.h"

namespace {

constexpr const char* kTitle = "Vortan Rally Run";

class GameSoundTest : public testing::Test {
protected:
    ScratchDir dir;
    XvfbServer xvfb;

    // Starts the game in the scratch folder (its state file goes there) with this audio setup.
    std::unique_ptr<RunningProcess> StartGame(const std::string& general) {
        std::string conf = dir.File("alsoft.conf");
        EXPECT_TRUE(WriteFile(conf, MixConfig(general, dir.File("mix.wav"))));
        ProcessOptions options;
        options.env["ALSOFT_CONF"] = conf;
        options.workDir = dir.Path();
        return std::make_unique<RunningProcess>(std::vector<std::string>{BuiltProgram("vortan")},
                                                xvfb.Options(options));
    }
};

TEST_F(GameSoundTest, LoadingJingleReachesTheOutput) {
    ASSERT_TRUE(xvfb.Ok());
    auto game = StartGame("drivers = wave\n");
    ASSERT_FALSE(xvfb.WaitForWindow(kTitle, 20).empty());
    // The writer records in real time; a slow start on a busy machine only delays the jingle.
    Mix mix;
    for (int i = 0; i < 300 && game->Running(); ++i) {
        if (ReadMix(dir.Read("mix.wav"), &mix) && mix.LoudWindows() > 5) break;
        SleepSeconds(0.1);
    }
    EXPECT_TRUE(game->Running());
    EXPECT_EQ(game->OutputSoFar().find("OpenAl error"), std::string::npos) << game->OutputSoFar();
    game->Signal(SIGKILL);
    game->Wait(10);
    ASSERT_TRUE(ReadMix(dir.Read("mix.wav"), &mix));
    EXPECT_GT(mix.LoudWindows(), 5) << "no sound in " << mix.Windows() << " windows";
}

TEST_F(GameSoundTest, WithoutAnAudioDeviceTheGameRunsSilently) {
    ASSERT_TRUE(xvfb.Ok());
    auto game = StartGame("drivers = no-such-backend\n");
    ASSERT_FALSE(xvfb.WaitForWindow(kTitle, 20).empty());
    EXPECT_TRUE(
        game->WaitForOutput("opening openal device\nOpenAl error: alcOpenDevice failed\n", 10))
        << game->OutputSoFar();
    // Past the loader, which plays its jingle, and into the title menu.
    SleepSeconds(3.0);
    EXPECT_TRUE(game->Running());
    ProcessResult result = game->Wait(0.1);
    EXPECT_EQ(result.out.find("Runtime Error"), std::string::npos) << result.out;
    EXPECT_TRUE(dir.Read("mix.wav").empty());
}

}  // namespace
