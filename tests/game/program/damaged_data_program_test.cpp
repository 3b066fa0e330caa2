// The real game with damaged data: a tune whose header claims a rate no device plays (it
// once kept the round from ever drawing, its buffers growing by gigabytes), a truncated
// picture and an empty effect. Each damaged file is named once on the console, a missing
// file is not, and the game plays on: a round starts and F4 still quits.
#include <cstdio>
#include <string>

#include "tests/audio/damaged_tune.h"
#include "tests/audio/wav_bytes.h"
#include "tests/game/program/program_fixture.h"
#include "tests/game/program/round_screen.h"
#include "tests/support/occurrences.h"

namespace {

void DamageData(const std::string& data) {
    const std::string tune = data + "/sfx/gale.ogg";
    ASSERT_TRUE(WriteFile(tune, TuneWithRate(BytesOf(tune), 0x7fffffffu)));
    // The badge pictures of every resolution set, cut in half.
    for (const char* set : {"", "-hd", "-hd2"}) {
        const std::string badges = data + "/BadgesA" + set + ".png";
        const std::string bytes = BytesOf(badges);
        ASSERT_GT(bytes.size(), 1000u);
        ASSERT_TRUE(WriteFile(badges, bytes.substr(0, bytes.size() / 2)));
    }
    ASSERT_TRUE(WriteFile(data + "/sfx/005.wav", ""));
    ASSERT_EQ(std::remove((data + "/sfx/006.wav").c_str()), 0);
}

class DamagedDataProgramTest : public GameProgramTest {};

TEST_F(DamagedDataProgramTest, DamagedFilesAreNamedAndTheGameStillPlaysAndQuits) {
    Launch({}, CopyOfTheGame(DamageData));
    if (HasFatalFailure()) return;
    Focus();
    ASSERT_TRUE(WaitFor(ShowsMenu, 60)) << game->OutputSoFar();
    // The tune starts with the round.
    ASSERT_TRUE(HoldUntil(
        "Return", [](const ScreenCapture& p) { return !ShowsMenu(p) && PlayFieldColours(p) > 200; },
        20))
        << game->OutputSoFar();
    EXPECT_TRUE(game->WaitForOutput("Sound not readable: sfx/gale.ogg\n", 10))
        << game->OutputSoFar();
    ASSERT_EQ(xvfb.Run({"xdotool", "key", "F4"}).exitCode, 0);
    ProcessResult result = game->Wait(10);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0);
    const std::string& out = result.out;
    EXPECT_EQ(Occurrences(out, "Sound not readable: sfx/gale.ogg\n"), 1) << out;
    EXPECT_EQ(Occurrences(out, "Sound not readable: sfx/005.wav\n"), 1) << out;
    // At 640 x 480 the doubled set is read.
    EXPECT_EQ(Occurrences(out, "Picture not readable: BadgesA-hd.png\n"), 1) << out;
    EXPECT_EQ(Occurrences(out, "not readable"), 3) << "the missing sfx/006.wav is not named\n"
                                                   << out;
}

}  // namespace
