// The real game as players install and run it: from folders whose names are not plain
// UTF-8, with its state file behind a link, a FIFO or a device, and ending by each
// ordinary way out (F4, the window's close button, back on the title) without OpenAL
// complaining of a device left open.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "tests/game/program/program_fixture.h"
#include "tests/support/state_fields.h"
#include "tests/support/window_close.h"

// Last: Xlib defines macros (None, Bool) that clash with names in the headers above.
#include <X11/Xlib.h>

namespace {

constexpr const char* kOpenDeviceComplaint = "device not closed";
// Far above what the game holds, far below what a read without end reaches in seconds.
constexpr long kMemoryLimitKilobytes = 2L * 1024 * 1024;

// The title menu as loaded pictures draw it, in a 640 x 480 window (without pictures
// only the grid lines show).
bool ShowsTitleWithPictures(const ScreenCapture& c) {
    return c.width == 640 && c.height == 480 && ShowsMenu(c);
}

// Samples of the wave writer's file louder than a faint hiss (its header is skipped
// whatever it says, so a file whose writer was never finished still reads).
long LoudSamples(const std::string& wave) {
    const size_t data = wave.find("data");
    if (data == std::string::npos) return 0;
    long loud = 0;
    for (size_t i = data + 8; i + 1 < wave.size(); i += 2) {
        const int16_t v = int16_t(uint8_t(wave[i]) | uint8_t(wave[i + 1]) << 8);
        loud += std::abs(int(v)) > 2000;
    }
    return loud;
}

mode_t Mode(const std::string& path) {
    struct stat info = {};
    lstat(path.c_str(), &info);
    return info.st_mode;
}

std::string LinkTarget(const std::string& link) {
    char buffer[4096];
    const ssize_t n = readlink(link.c_str(), buffer, sizeof buffer);
    return n < 0 ? std::string("(not a link)") : std::string(buffer, size_t(n));
}

// No window has the keyboard: the game loses its focus, suspends and saves.
bool DropFocus(const XvfbServer& xvfb) {
    Display* dpy = XOpenDisplay(xvfb.Display().c_str());
    if (!dpy) return false;
    XSetInputFocus(dpy, None, RevertToNone, CurrentTime);
    XCloseDisplay(dpy);
    return true;
}

class HomeFoldersProgramTest : public GameProgramTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(xvfb.Ok());
        ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
        root.Write(
            "alsoft.conf",
            "[general]\ndrivers = wave\nchannels = stereo\nsample-type = int16\nfrequency = 44100\n"
            "[wave]\nfile = " +
                root.File("mix.wav") + "\n");
    }

    // A copy of the program in a folder of the given name, with its data linked beside it.
    std::string Install(const std::string& folderName) {
        const std::string bin = BuiltProgram("vortan");
        const std::string folder = root.File(folderName);
        EXPECT_EQ(mkdir(folder.c_str(), 0755), 0);
        EXPECT_EQ(RunProcess({"/bin/cp", bin, folder + "/vortan"}).exitCode, 0);
        EXPECT_EQ(symlink((bin.substr(0, bin.rfind('/')) + "/data").c_str(),
                          (folder + "/data").c_str()),
                  0);
        return folder + "/vortan";
    }

    // The game run in the working folder, its sound into the wave writer's file.
    void Start(const std::string& program = BuiltProgram("vortan"), ProcessOptions options = {}) {
        options.workDir = folder;
        options.env["ALSOFT_CONF"] = root.File("alsoft.conf");
        Launch(options, program);
        if (HasFatalFailure()) return;
        Focus();
    }

    // Waits for the title menu with its pictures while the game's memory stays bounded.
    bool ReachesTitle(double seconds = 30) {
        bool reached = false;
        PollUntil(
            [&] {
                const long kilobytes = ResidentKilobytes(game->Pid());
                if (kilobytes > kMemoryLimitKilobytes) {
                    ADD_FAILURE() << "the game holds " << kilobytes / 1024 << " MiB";
                    game->Signal(SIGKILL);
                    return true;
                }
                reached = shot.Take(xvfb, window) && ShowsTitleWithPictures(shot);
                return reached || !game->Running();
            },
            seconds, 0.1);
        return reached;
    }

    // Focus away and back: the game saves when it is suspended.
    void SuspendAndResume() {
        ASSERT_TRUE(DropFocus(xvfb));
        SleepSeconds(1);
        Focus();
        SleepSeconds(0.5);
    }

    static bool WaitUntil(const std::function<bool()>& test) { return PollUntil(test, 10, 0.1); }

    // Ends the game one ordinary way: "F4", "Escape" (back on the title, then Return to
    // its "Quit?") or "close".
    void End(const std::string& how) {
        Focus();
        if (how == "close") {
            ASSERT_TRUE(RequestClose(xvfb, window));
        } else {
            Press(how);
            if (how == "Escape") Press("Return");
        }
        const ProcessResult result = game->Wait(20);
        EXPECT_FALSE(result.timedOut) << how;
        EXPECT_EQ(result.exitCode, 0) << how << "\n" << result.out << result.err;
        EXPECT_EQ(result.err.find(kOpenDeviceComplaint), std::string::npos) << how << "\n"
                                                                            << result.err;
        output = result.out;
    }

    static bool IsWholeState(const std::string& state) {
        return StateFields(state).size() == kStateFields;
    }

    ScratchDir root;
    // The working folder: only the state file goes here.
    const std::string folder = root.File("work");
    std::string output;
};

// Installed in a folder with an emoji in its name, or with one Latin-1 byte.
TEST_F(HomeFoldersProgramTest, FromUnusualFoldersTheGameFindsItsPicturesAndSounds) {
    // In the sanitizer build, started from a path with bytes above 127, the sanitizer
    // runtime's record of dynamic thread-local blocks goes wrong at random and its leak
    // check at exit crashes ("Tracer caught signal 11"), with or without the changes
    // these tests cover. Without that record the leak check still runs. Other builds
    // ignore the variable.
    ProcessOptions sanitizer;
    const char* asan = std::getenv("ASAN_OPTIONS");
    sanitizer.env["ASAN_OPTIONS"] = std::string(asan ? asan : "") + ":intercept_tls_get_addr=0";
    for (const std::string name : {"Games \xf0\x9f\x8e\xae", "caf\xe9"}) {
        SCOPED_TRACE(::testing::PrintToString(name));
        std::remove(root.File("mix.wav").c_str());
        Start(Install(name), sanitizer);
        EXPECT_TRUE(ReachesTitle()) << game->OutputSoFar();
        End("F4");
        EXPECT_GT(LoudSamples(root.Read("mix.wav")), 1000) << "no sound was played";
    }
}

TEST_F(HomeFoldersProgramTest, AStateFileBehindALinkIsLoadedAndSavedThroughIt) {
    // Dotfiles kept in a synced folder; the file there is made by the first save.
    ASSERT_EQ(mkdir(root.File("synced").c_str(), 0755), 0);
    ASSERT_EQ(symlink("../synced/vortan-state", (folder + "/.pellixstate").c_str()), 0);
    Start();
    ASSERT_TRUE(ReachesTitle()) << game->OutputSoFar();
    SuspendAndResume();
    EXPECT_TRUE(WaitUntil([&] { return IsWholeState(root.Read("synced/vortan-state")); }))
        << root.Read("synced/vortan-state");
    End("close");
    EXPECT_EQ(output.find("Settings Loaded"), std::string::npos) << output;

    // The second run reads the settings back through the link; its save keeps the
    // file's private permission bits.
    ASSERT_EQ(chmod(root.File("synced/vortan-state").c_str(), 0600), 0);
    Start();
    ASSERT_TRUE(ReachesTitle()) << game->OutputSoFar();
    EXPECT_NE(game->OutputSoFar().find("Settings Loaded"), std::string::npos)
        << game->OutputSoFar();
    ASSERT_EQ(truncate(root.File("synced/vortan-state").c_str(), 0), 0);
    SuspendAndResume();
    EXPECT_TRUE(WaitUntil([&] { return IsWholeState(root.Read("synced/vortan-state")); }));
    End("F4");

    EXPECT_EQ(LinkTarget(folder + "/.pellixstate"), "../synced/vortan-state");
    EXPECT_EQ(Mode(root.File("synced/vortan-state")) & 07777, 0600u);
    EXPECT_EQ(Entries(folder), std::set<std::string>{".pellixstate"});
    EXPECT_EQ(Entries(root.File("synced")), std::set<std::string>{"vortan-state"});
}

// A shared or managed folder the player may not write, holding a state file the player
// owns (here the player is the user nobody, the folder root's): the game, run as that
// player, saves into the file where it stands, which keeps its other name and its owner,
// and says so.
TEST_F(HomeFoldersProgramTest, InAFolderThePlayerMayNotWriteTheStateFileIsStillSaved) {
    ASSERT_EQ(geteuid(), 0u) << "needs root to run the game as another user";
    const std::string state = folder + "/.pellixstate";
    const std::string badges = "6|0|0|0|0|0|0|-2147483648|-2147483642|";  // 1, 2 and 255
    root.Write("work/.pellixstate", badges);
    ASSERT_EQ(chown(state.c_str(), 65534, 65534), 0);
    ASSERT_EQ(link(state.c_str(), root.File("other name").c_str()), 0);
    ASSERT_EQ(chmod(root.Path().c_str(), 0755), 0);
    root.Write("as-nobody",
               "#!/bin/sh\nexec setpriv --reuid=nobody --regid=nogroup "
               "--clear-groups " +
                   BuiltProgram("vortan") + "\n");
    ASSERT_EQ(chmod(root.File("as-nobody").c_str(), 0755), 0);
    ProcessOptions options;
    options.workDir = folder;
    Launch(options, root.File("as-nobody"));
    Focus();
    ASSERT_TRUE(ReachesTitle()) << game->OutputSoFar();
    SuspendAndResume();
    EXPECT_TRUE(WaitUntil([&] { return IsWholeState(root.Read("work/.pellixstate")); }))
        << root.Read("work/.pellixstate");
    End("F4");
    EXPECT_NE(output.find("Badges Loaded\n"), std::string::npos) << output;
    EXPECT_NE(output.find("Saving the state file in place: its folder allows no new file "
                          "(Permission denied)\n"),
              std::string::npos)
        << output;
    EXPECT_EQ(output.find("not saved"), std::string::npos) << output;
    EXPECT_NE(root.Read("work/.pellixstate").find("|1483|" + badges), std::string::npos);
    EXPECT_EQ(root.Read("other name"), root.Read("work/.pellixstate"));
    struct stat info = {};
    ASSERT_EQ(stat(state.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(Entries(folder), std::set<std::string>{".pellixstate"});
}

// A FIFO or a device where the state file should be is neither read nor written: the
// game starts with its defaults, and its saves leave the thing as it is. Between them
// the runs end by back on the title and by the window's close button.
TEST_F(HomeFoldersProgramTest, AFifoOrADeviceInPlaceOfTheStateFileIsLeftAlone) {
    const std::string state = folder + "/.pellixstate";
    for (const bool fifo : {true, false}) {
        SCOPED_TRACE(fifo ? "FIFO" : "device");
        ASSERT_EQ(fifo ? mkfifo(state.c_str(), 0644) : symlink("/dev/zero", state.c_str()), 0);
        Start();
        EXPECT_TRUE(ReachesTitle()) << game->OutputSoFar();
        SuspendAndResume();
        ASSERT_TRUE(game->Running()) << game->OutputSoFar();
        End(fifo ? "Escape" : "close");
        EXPECT_EQ(Entries(folder), std::set<std::string>{".pellixstate"});
        if (fifo) {
            EXPECT_TRUE(S_ISFIFO(Mode(state)));
            ASSERT_EQ(unlink(state.c_str()), 0);
        } else {
            EXPECT_EQ(LinkTarget(state), "/dev/zero");
        }
    }
}

}  // namespace
