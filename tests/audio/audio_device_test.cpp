// The audio device and module playing real sound through OpenAL Soft's wave writer.
// Each case runs audio_probe in a process of its own with a configuration that sends the
// mix, as 16-bit stereo at 44100 Hz, to a file; the test reads that file back and checks
// what was heard, window by window, next to what the probe reported.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/audio/mix.h"
#include "tests/audio/wav_bytes.h"
#include "tests/support/process.h"
#include "tests/support/scratch_dir.h"

namespace {

struct ProbeRun {
    ProcessResult result;
    std::map<std::string, std::string> values;
    Mix mix;
    std::string Get(const std::string& key) const {
        auto it = values.find(key);
        return it == values.end() ? "<missing>" : it->second;
    }
    // One line for each of the expected "key=value" words, apart by spaces, that the
    // probe reported otherwise; empty when all are as expected.
    std::string Unexpected(const std::string& expected) const {
        std::string lines;
        std::istringstream words(expected);
        for (std::string word; words >> word;) {
            size_t eq = word.find('=');
            std::string key = word.substr(0, eq), value = word.substr(eq + 1);
            if (Get(key) != value) lines += key + " is " + Get(key) + ", not " + value + "\n";
        }
        return lines;
    }
    // Whether the last `windows` of the mix are silence.
    bool QuietAtEnd(long windows) const {
        return mix.QuietFrom(mix.Windows() - windows, mix.Windows());
    }
};

class AudioDeviceTest : public testing::Test {
protected:
    ScratchDir dir;

    // A mono 16-bit tone of 441 Hz (100 samples a period) at half scale.
    std::string Tone(const std::string& name, int frames) {
        std::string path = dir.File(name);
        EXPECT_TRUE(
            WriteFile(path, PcmWav(1, kMixRate, 16, Sine16(frames, 1, kMixRate, 441.0, 0.5))));
        return path;
    }

    std::string OggTone(const std::string& name, int frames) {
        std::string wav = Tone(name + ".wav", frames);
        std::string ogg = dir.File(name + ".ogg");
        ProcessResult r = RunProcess({"/usr/bin/oggenc", "-Q", "-o", ogg, wav});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return ogg;
    }

    std::string Config(const std::string& general) {
        std::string path = dir.File("alsoft.conf");
        EXPECT_TRUE(WriteFile(path, MixConfig(general, dir.File("mix.wav"))));
        return path;
    }

    ProbeRun Probe(const std::string& scenario, const std::vector<std::string>& files,
                   const std::string& general = "drivers = wave\n") {
        ProbeRun run;
        std::vector<std::string> argv = {BuiltProgram("audio_probe"), scenario};
        argv.insert(argv.end(), files.begin(), files.end());
        ProcessOptions options;
        options.env["ALSOFT_CONF"] = Config(general);
        options.timeoutSeconds = 20;
        run.result = RunProcess(argv, options);
        std::istringstream lines(run.result.out);
        for (std::string line; std::getline(lines, line);) {
            size_t eq = line.find('=');
            if (eq != std::string::npos) run.values[line.substr(0, eq)] = line.substr(eq + 1);
        }
        std::string bytes = dir.Read("mix.wav");
        if (!bytes.empty()) {
            EXPECT_TRUE(ReadMix(bytes, &run.mix)) << "unreadable mix";
        }
        EXPECT_EQ(run.result.exitCode, 0) << run.result.out << run.result.err;
        return run;
    }
};

TEST_F(AudioDeviceTest, WavEffectPlaysToItsEndAndTheChannelReportsStopped) {
    ProbeRun run = Probe("play-once", {Tone("blip.wav", kMixRate * 3 / 10)});
    EXPECT_NE(run.result.out.find("opening openal device"), std::string::npos);
    EXPECT_EQ(run.result.out.find("OpenAl error"), std::string::npos);
    EXPECT_EQ(run.Unexpected("loaded=1 started=1 after_end=0"), "");
    EXPECT_GE(std::stol(run.Get("finished_ms")), 0) << "the channel never reported the end";
    // 300 ms of tone are 15 windows; edges may split two more.
    EXPECT_GE(run.mix.LoudWindows(), 14);
    EXPECT_LE(run.mix.LoudWindows(), 17);
    auto loud = run.mix.LoudStretches();
    ASSERT_EQ(loud.size(), 1u);
    EXPECT_NEAR(run.mix.Frequency(loud[0].first + 1, loud[0].second, 0), 441.0, 15.0);
}

TEST_F(AudioDeviceTest, OggMusicPlaysToItsEnd) {
    ProbeRun run = Probe("music-once", {OggTone("tune", kMixRate * 3 / 10)});
    EXPECT_EQ(run.Unexpected("play_music=0 music_started=1 music_after_end=0"), "");
    EXPECT_GE(std::stol(run.Get("finished_ms")), 0);
    EXPECT_GE(run.mix.LoudWindows(), 14);
    EXPECT_LE(run.mix.LoudWindows(), 17);
}

// The tune streams from its file through a few queued buffers, and loops with neither a
// gap nor a jump in the tone.
TEST_F(AudioDeviceTest, StreamedTuneLoopsSeamlesslyFromAFewSmallBuffers) {
    const int frames = 66100;  // 1.5 s, a whole number of the tone's periods
    ProbeRun run = Probe("music-loops", {OggTone("tune", frames)});
    EXPECT_EQ(run.Unexpected("play_music=0 queued_buffers=4 playing=1/playing stopped=0/stopped"),
              "");
    auto loud = run.mix.LoudStretches();
    ASSERT_EQ(loud.size(), 1u);
    long first = loud[0].first + 1, last = loud[0].second;
    EXPECT_GE(last - first, 170) << "about 3.5 s: more than two loops";
    long gaps = 0;
    for (long w = first; w < last; ++w) gaps += !run.mix.Loud(w);
    EXPECT_EQ(gaps, 0);
    EXPECT_NEAR(run.mix.Frequency(first, last, 0), 441.0, 3.0);
    // The first 400 ms hold no loop point: the steps of the tone itself.
    int toneStep = run.mix.LargestStep(first, first + 20, 0);
    EXPECT_LT(run.mix.LargestStep(first, last, 0), toneStep * 3 / 2);
    EXPECT_TRUE(run.QuietAtEnd(15));
}

TEST_F(AudioDeviceTest, StreamedTunePausesAndSuspendsAndStops) {
    ProbeRun run = Probe("music-pauses", {OggTone("tune", 66100)});
    EXPECT_EQ(run.Unexpected(
                  "paused=2/paused resumed=1/playing suspended=1/paused unsuspended=1/playing"),
              "");
    auto loud = run.mix.LoudStretches();
    ASSERT_EQ(loud.size(), 3u);
    for (size_t i = 0; i + 1 < loud.size(); ++i) {
        long gap = loud[i + 1].first - loud[i].second - 1;
        EXPECT_GE(gap, 20);
        EXPECT_LE(gap, 30);
    }
    EXPECT_TRUE(run.QuietAtEnd(10));
}

// Left without updates for longer than what is queued, the tune falls silent and then
// goes on: none of it is lost and it ends once.
TEST_F(AudioDeviceTest, AStarvedTuneGoesOnWhereItStopped) {
    ProbeRun run = Probe("music-starved", {OggTone("tune", 2 * kMixRate)});
    EXPECT_EQ(run.Get("starved"), "1/playing");
    EXPECT_GE(std::stol(run.Get("finished_ms")), 0);
    auto loud = run.mix.LoudStretches();
    ASSERT_EQ(loud.size(), 2u);
    EXPECT_NEAR(run.mix.LoudWindows(), 100, 3) << "the whole 2 s tune, once";
}

TEST_F(AudioDeviceTest, StoppedLoopGoesSilent) {
    ProbeRun run = Probe("stop", {Tone("loop.wav", 4400)});
    EXPECT_EQ(run.Unexpected("before_stop=1/playing after_stop=0/stopped"), "");
    auto loud = run.mix.LoudStretches();
    ASSERT_EQ(loud.size(), 1u);
    EXPECT_GE(loud[0].second - loud[0].first + 1, 12) << "about 300 ms of loop before the stop";
    // The probe waits 500 ms after the stop: the last 400 ms must be silence.
    EXPECT_TRUE(run.QuietAtEnd(20));
}

TEST_F(AudioDeviceTest, SuspendAndResumeLeaveApplicationPausedChannelsPaused) {
    ProbeRun run = Probe("pause-suspend", {Tone("loop.wav", 4400)});
    // Suspending pauses the source only; the channel the application paused stays paused.
    EXPECT_EQ(run.Unexpected(
                  "app_paused=2/paused suspended_playing=1/paused suspended_app_paused=2/paused "
                  "resumed_playing=1/playing resumed_app_paused=2/paused app_resumed=1/playing"),
              "");
    // Heard: one channel, 500 ms of silence while suspended, both channels, then silence.
    auto loud = run.mix.LoudStretches();
    ASSERT_EQ(loud.size(), 2u);
    long gap = loud[1].first - loud[0].second - 1;
    EXPECT_GE(gap, 15);
    EXPECT_LE(gap, 45);
    EXPECT_TRUE(run.mix.QuietFrom(loud[0].second + 2, loud[1].first - 1));
    EXPECT_TRUE(run.QuietAtEnd(15));
}

TEST_F(AudioDeviceTest, MissingMusicReturnsFailureAndLeavesMusicStopped) {
    ProbeRun run = Probe("music-missing", {OggTone("tune", 4400), dir.File("missing.ogg")});
    EXPECT_EQ(run.Unexpected("first=0 first_state=1 second=-1 second_state=0"), "");
    auto loud = run.mix.LoudStretches();
    ASSERT_EQ(loud.size(), 1u) << "the first tune was heard, then nothing";
    EXPECT_TRUE(run.QuietAtEnd(20));
}

TEST_F(AudioDeviceTest, PanVolumeAndRateShapeWhatIsHeard) {
    ProbeRun run = Probe("shape", {Tone("loop.wav", 4400)});
    auto loud = run.mix.LoudStretches();
    ASSERT_EQ(loud.size(), 1u);
    // Windows leaning right belong to the first phase, leaning left to the second.
    long lastRight = -1, firstLeft = -1;
    for (long w = loud[0].first; w <= loud[0].second; ++w) {
        if (run.mix.Rms(w, 1) > 3 * run.mix.Rms(w, 0)) lastRight = w;
        if (firstLeft < 0 && run.mix.Rms(w, 0) > 3 * run.mix.Rms(w, 1)) firstLeft = w;
    }
    ASSERT_GT(lastRight, loud[0].first + 15) << "about 500 ms panned right";
    ASSERT_GT(firstLeft, lastRight);
    ASSERT_GT(loud[0].second, firstLeft + 15) << "about 500 ms panned left";
    long r0 = loud[0].first + 2, r1 = lastRight - 1, l0 = firstLeft + 1, l1 = loud[0].second - 1;
    EXPECT_NEAR(run.mix.Frequency(r0, r1, 1), 441.0, 15.0);
    EXPECT_NEAR(run.mix.Frequency(l0, l1, 0), 882.0, 30.0) << "rate 2 doubles the pitch";
    double right = 0, left = 0;
    for (long w = r0; w < r1; ++w) right += run.mix.Rms(w, 1) / (r1 - r0);
    for (long w = l0; w < l1; ++w) left += run.mix.Rms(w, 0) / (l1 - l0);
    EXPECT_NEAR(left / right, 0.25, 0.05) << "volume 0.25";
}

// Scenarios judged by what the device reports alone.
struct ReportedCase {
    const char* name;
    const char* scenario;
    int toneFrames;  // 0: the scenario takes no file
    bool thenMissingFile;
    const char* general;
    const char* expected;
};

void PrintTo(const ReportedCase& c, std::ostream* os) { *os << c.scenario; }

class AudioDeviceReports : public AudioDeviceTest,
                           public testing::WithParamInterface<ReportedCase> {};

TEST_P(AudioDeviceReports, AsExpected) {
    const ReportedCase& c = GetParam();
    std::vector<std::string> files;
    if (c.toneFrames > 0) files.push_back(Tone("tone.wav", c.toneFrames));
    if (c.thenMissingFile) files.push_back(dir.File("missing.wav"));
    EXPECT_EQ(Probe(c.scenario, files, c.general).Unexpected(c.expected), "");
}

const char kWave[] = "drivers = wave\n";

INSTANTIATE_TEST_SUITE_P(
    Scenarios, AudioDeviceReports,
    testing::Values(
        // Pausing a channel whose sample ran out stops it; the recorded state is still
        // playing, as nobody asked yet.
        ReportedCase{"PausingAnEndedChannelStopsIt", "pause-after-end", kMixRate / 10, false, kWave,
                     "recorded_state=1 after_pause=0/stopped after_resume=0/stopped"},
        ReportedCase{"PlayingOnABusyChannelRestartsItWithTheNewSample", "restart", 4400, true,
                     kWave,
                     "separate_buffers=1 plays_second=1 state=1 looping=0 play_null=0 null_state=0 "
                     "missing_sound=1"},
        // With no source free the play is skipped.
        ReportedCase{"WithFewSourcesAChannelTakesOverAStoppedOne", "steal", 4400, false,
                     "drivers = wave\nsources = 4\n",
                     "all_busy_state=0 all_busy_source=0 taken_state=1 took_stopped_source=1 "
                     "loser_source=0 music_kept_source=1 music_plays=0 music_state=1"},
        ReportedCase{"DiscardedBufferWaitsUntilItsChannelStops", "discard", 4400, false, kWave,
                     "parked=1 kept_while_playing=1 still_playing=1/playing deleted_after_stop=1"},
        ReportedCase{"CollectorSparesSamplesThatStillSound", "collect", 4400, false, kWave,
                     "idle_collected=1 playing_alive=1 still_playing=1/playing stopped_collected=1 "
                     "buffers_deleted=1"},
        ReportedCase{"GameFileNamesResolveToTheDataFolder", "data-paths", 0, false, kWave,
                     "bare_name=1 data_url=1 missing=1 other_ending=1 tune=0 tune_state=1"},
        ReportedCase{"EveryOperationWorksWithADevice", "anyway", 4400, false, kWave,
                     "music=0 survived=1"}),
    [](const testing::TestParamInfo<ReportedCase>& info) { return info.param.name; });

TEST_F(AudioDeviceTest, WithoutAnyDeviceEverythingRunsSilently) {
    ProbeRun run = Probe("anyway", {Tone("loop.wav", 4400)}, "drivers = no-such-backend\n");
    EXPECT_NE(run.result.out.find("opening openal device\nOpenAl error: alcOpenDevice failed\n"),
              std::string::npos)
        << run.result.out;
    EXPECT_EQ(run.Get("survived"), "1");
    EXPECT_TRUE(dir.Read("mix.wav").empty());
}

}  // namespace
