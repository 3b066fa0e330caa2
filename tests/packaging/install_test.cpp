// The installed game as a player gets it: `cmake --install` into a scratch prefix gives a
// `vortan` command that starts from any folder and finds its data without the build tree,
// answers --help and --version without a window, and comes with a desktop entry, metainfo,
// icons and a manual page that their tools accept.
// With VORTAN_INSTALLED_PREFIX set (for example /usr, after installing the Debian package)
// the same checks run on that installation instead.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/support/process.h"
#include "tests/support/scratch_dir.h"
#include "tests/support/xvfb_server.h"
#include "tests/tools/png_reader.h"

namespace fs = std::filesystem;

namespace {

const int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
const std::string kDesktopEntry = std::string("share/applications/") + VORTAN_APP_ID + ".desktop";
const std::string kMetainfo = std::string("share/metainfo/") + VORTAN_APP_ID + ".metainfo.xml";

std::string Slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string IconPath(int size) {
    const std::string n = std::to_string(size);
    return "share/icons/hicolor/" + n + "x" + n + "/apps/vortan.png";
}

// Every file and link under `root`, relative to it.
std::set<std::string> EntriesUnder(const fs::path& root) {
    std::set<std::string> entries;
    for (const auto& e : fs::recursive_directory_iterator(root)) {
        if (!e.is_directory() || e.is_symlink())
            entries.insert(fs::relative(e.path(), root).generic_string());
    }
    return entries;
}

// The build tree's data folder, moved aside while the installed game runs so it cannot be
// what the game reads. Put back when the test ends however it ends; a copy left behind by a
// killed run is put back first (and a rebuild copies data/ again anyway).
class DataMovedAside {
public:
    explicit DataMovedAside(const fs::path& data)
        : data_(data), aside_(data.string() + ".moved-aside") {
        std::error_code ec;
        if (!fs::exists(data_) && fs::exists(aside_)) fs::rename(aside_, data_, ec);
        fs::rename(data_, aside_, ec);
        moved_ = !ec;
    }
    ~DataMovedAside() {
        std::error_code ec;
        if (moved_) fs::rename(aside_, data_, ec);
    }
    bool Moved() const { return moved_; }

private:
    fs::path data_, aside_;
    bool moved_ = false;
};

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* installed = std::getenv("VORTAN_INSTALLED_PREFIX");
        if (installed && *installed) {
            prefix = installed;
            return;
        }
        prefix = scratchPrefix.Path();
        ProcessResult r = RunProcess(
            {CMAKE_COMMAND, "--install", VORTAN_BUILD_DIR, "--prefix", prefix});
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    }
    bool OwnPrefix() const { return prefix == scratchPrefix.Path(); }
    std::string Command() const { return prefix + "/bin/vortan"; }

    // Runs the installed command with no display, so a window cannot open.
    ProcessResult RunWithoutDisplay(const std::vector<std::string>& args) const {
        std::vector<std::string> argv{Command()};
        argv.insert(argv.end(), args.begin(), args.end());
        ProcessOptions options;
        options.env["DISPLAY"] = "";
        options.workDir = workDir.Path();
        return RunProcess(argv, options);
    }

    ScratchDir scratchPrefix;
    ScratchDir workDir;
    std::string prefix;
};

TEST_F(InstallTest, ThePrefixHoldsTheGameItsDataAndItsDesktopFilesOnly) {
    // The command is a relative link, so the prefix can move as a whole.
    std::error_code ec;
    EXPECT_EQ(fs::read_symlink(Command(), ec), "../lib/vortan/vortan");
    struct stat game = {};
    ASSERT_EQ(stat((prefix + "/lib/vortan/vortan").c_str(), &game), 0);
    EXPECT_TRUE(game.st_mode & S_IXOTH) << "the game must be executable by every user";

    std::set<std::string> expected{"bin/vortan", "lib/vortan/vortan", kDesktopEntry, kMetainfo,
                                   "share/man/man6/vortan.6.gz"};
    for (int size : kIconSizes) expected.insert(IconPath(size));
    const fs::path sourceData = fs::path(VORTAN_SOURCE_DIR) / "data";
    for (const std::string& f : EntriesUnder(sourceData)) {
        expected.insert("lib/vortan/data/" + f);
        EXPECT_TRUE(Slurp(sourceData / f) == Slurp(prefix + "/lib/vortan/data/" + f)) << f;
    }
    for (const std::string& f : expected)
        EXPECT_TRUE(fs::exists(prefix + "/" + f)) << f << " is not installed";
    // No tests, benchmarks or build files: only what a player needs.
    if (OwnPrefix()) {
        for (const std::string& f : EntriesUnder(prefix))
            EXPECT_TRUE(expected.count(f)) << f << " is installed too";
    }
}

TEST_F(InstallTest, DesktopEntryMetainfoIconsAndManualPassTheirChecks) {
    ProcessResult desktop = RunProcess({"desktop-file-validate", prefix + "/" + kDesktopEntry});
    EXPECT_EQ(desktop.exitCode, 0) << desktop.out << desktop.err;
    EXPECT_EQ(desktop.out + desktop.err, "");
    ProcessResult metainfo = RunProcess(
        {"appstreamcli", "validate", "--no-net", "--pedantic", prefix + "/" + kMetainfo});
    EXPECT_EQ(metainfo.exitCode, 0) << metainfo.out << metainfo.err;
    EXPECT_EQ(metainfo.out.find("P:"), std::string::npos) << metainfo.out;

    // They name each other and what is installed: the entry, its icon and its command.
    const std::string entry = Slurp(prefix + "/" + kDesktopEntry);
    EXPECT_NE(Slurp(prefix + "/" + kMetainfo)
                  .find(std::string(">") + VORTAN_APP_ID + ".desktop</launchable>"),
              std::string::npos);
    EXPECT_NE(entry.find("\nIcon=vortan\n"), std::string::npos);
    EXPECT_NE(entry.find("\nTryExec=vortan\n"), std::string::npos);
    // Started in the home folder, which receives the saved state.
    EXPECT_NE(entry.find("\nExec=sh -c \"cd && exec vortan\"\n"), std::string::npos) << entry;

    for (int size : kIconSizes) {
        Pixels icon = ReadPng(prefix + "/" + IconPath(size));
        ASSERT_TRUE(icon.Ok()) << size;
        EXPECT_EQ(icon.width, size);
        EXPECT_EQ(icon.height, size);
        // A rounded tile: clear corners, an opaque middle.
        EXPECT_EQ(icon.Alpha(0, 0), 0) << size;
        EXPECT_EQ(icon.Alpha(size / 2, size / 2), 255) << size;
    }

    ProcessResult manual = RunProcess(
        {"/bin/sh", "-c",
         "gzip -dc '" + prefix + "/share/man/man6/vortan.6.gz' | groff -man -Tutf8 -ww -z"});
    EXPECT_EQ(manual.exitCode, 0);
    EXPECT_EQ(manual.out + manual.err, "") << "groff warns about the manual page";
}

TEST_F(InstallTest, HelpAndVersionAnswerWithoutAWindowAndAWrongArgumentExitsWithTwo) {
    ProcessResult help = RunWithoutDisplay({"--help"});
    EXPECT_EQ(help.exitCode, 0) << help.out << help.err;
    EXPECT_EQ(help.out.rfind("Usage: vortan [--help | --version]\n", 0), 0u) << help.out;
    EXPECT_NE(help.out.find(".pellixstate"), std::string::npos);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(RunWithoutDisplay({"-h"}).out, help.out);

    ProcessResult version = RunWithoutDisplay({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, std::string("Vortan Rally Run ") + VORTAN_VERSION + "\n");

    // Checked before anything acts, so a wrong word after --help is still an error.
    for (const auto& args :
         {std::vector<std::string>{"--fullscreen"}, {"--help", "--fullscreen"}}) {
        ProcessResult wrong = RunWithoutDisplay(args);
        EXPECT_EQ(wrong.exitCode, 2);
        EXPECT_EQ(wrong.out, "");
        EXPECT_EQ(wrong.err,
                  "vortan: unknown argument '--fullscreen'\nUsage: vortan [--help | --version]\n");
    }
    // No state file is written by a run that never starts the game.
    EXPECT_TRUE(fs::is_empty(workDir.Path()));
}

// The title menu in a 640 x 480 capture: the dark blue background and both score columns.
bool ShowsTitleMenu(const Pixels& shot) {
    auto near = [&](int x, int y, int r, int g, int b, int tolerance) {
        const uint8_t* p = &shot.rgba[(size_t(y) * shot.width + x) * 4];
        return std::abs(p[0] - r) <= tolerance && std::abs(p[1] - g) <= tolerance &&
               std::abs(p[2] - b) <= tolerance;
    };
    auto count = [&](int x0, int y0, int x1, int y1, int r, int g, int b) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) n += near(x, y, r, g, b, 40);
        return n;
    };
    return shot.Ok() && shot.width == 640 && shot.height == 480 && near(2, 2, 0, 0, 30, 10) &&
           count(510, 55, 640, 230, 255, 200, 100) > 60 &&
           count(510, 255, 640, 430, 200, 255, 100) > 60;
}

TEST_F(InstallTest,
       TheInstalledCommandStartsFromAnotherFolderWithoutTheBuildTreesDataAndSavesThere) {
    DataMovedAside aside(fs::path(VORTAN_BUILD_DIR) / "bin" / "data");
    ASSERT_TRUE(aside.Moved());
    // A screen the size of the window, which the game centres: the capture is the window.
    XvfbServer xvfb(640, 480);
    ASSERT_TRUE(xvfb.Ok());
    ProcessOptions options = xvfb.Options();
    options.env["ALSOFT_DRIVERS"] = "null";
    options.workDir = workDir.Path();
    RunningProcess game({Command()}, options);
    const std::string window = xvfb.WaitForWindow("Vortan Rally Run", 20);
    ASSERT_FALSE(window.empty()) << game.OutputSoFar();
    // The X11 class the desktop entry's StartupWMClass names.
    EXPECT_NE(xvfb.Run({"xprop", "-id", window, "WM_CLASS"}).out.find("\"vortan\", \"vortan\""),
              std::string::npos);

    // Without the focus the game suspends and stops updating.
    bool menu = false;
    PollUntil(
        [&] {
            xvfb.Run({"xdotool", "windowfocus", window});
            menu = xvfb.Screenshot(workDir.File("shot.png")) &&
                   ShowsTitleMenu(ReadPng(workDir.File("shot.png")));
            return menu || !game.Running();
        },
        40, 0.2);
    EXPECT_TRUE(menu) << game.OutputSoFar();

    // Losing the focus saves the state: into the folder the game started from, not beside
    // the program.
    const std::string root = xvfb.Run({"xwininfo", "-root", "-int"}).out;
    const size_t id = root.find("Window id: ");
    ASSERT_NE(id, std::string::npos) << root;
    xvfb.Run({"xdotool", "windowfocus", std::to_string(std::stoul(root.substr(id + 11)))});
    EXPECT_TRUE(PollUntil([&] { return fs::exists(workDir.File(".pellixstate")); }, 10, 0.1))
        << game.OutputSoFar();
    EXPECT_FALSE(fs::exists(prefix + "/lib/vortan/.pellixstate"));

    xvfb.Run({"xdotool", "windowfocus", "--sync", window});
    ASSERT_EQ(xvfb.Run({"xdotool", "key", "F4"}).exitCode, 0);
    ProcessResult result = game.Wait(15);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
}

}  // namespace
