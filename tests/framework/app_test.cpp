// The app module and the delegate's handling of the close and back keys.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "framework/app.h"
#include "framework/game_delegate.h"
#include "framework/input.h"
#include "host/display_mode.h"
#include "host/game.h"
#include "tests/host/collector_reset.h"
#include "tests/support/process.h"
#include "tests/support/scratch_dir.h"

namespace {

// A host listing a fixed set of modes and a window size the test sets.
class ModeHost : public QvGame {
public:
    std::vector<std::pair<int, int>> modes;
    bool hasDesktop = true;
    int width = 640, height = 480;
    std::vector<int> rates;

    Array<QvDisplayMode*> GetDisplayModes() override {
        Array<QvDisplayMode*> list(int(modes.size()));
        for (size_t i = 0; i < modes.size(); ++i) {
            auto* mode = new QvDisplayMode;
            mode->width = modes[i].first;
            mode->height = modes[i].second;
            gc_assign(list[int(i)], mode);
        }
        return list;
    }
    QvDisplayMode* GetDesktopMode() override {
        if (!hasDesktop) return nullptr;
        auto* mode = new QvDisplayMode;
        mode->width = 1920;
        mode->height = 1080;
        return mode;
    }
    int GetDeviceWidth() override { return width; }
    int GetDeviceHeight() override { return height; }
    void SetUpdateRate(int hertz) override {
        rates.push_back(hertz);
        QvGame::SetUpdateRate(hertz);
    }
};

class AppModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ReleaseCollectedObjects();
        qv_app__game = &host;
        qv_app__devWidth = qv_app__devHeight = 0;
        // The previous test's objects are gone: forget them before they become roots.
        qv_app__app = nullptr;
        qv_app__delegate = nullptr;
        qv_app__displayModes = Array<c_DisplayMode*>();
        qv_app__desktopMode = nullptr;
        qv_input_device = nullptr;
        gc_root(qv_app__displayModes);
        gc_root(qv_app__desktopMode);
    }
    void TearDown() override { ReleaseCollectedObjects(); }
    std::vector<std::pair<int, int>> Listed() {
        std::vector<std::pair<int, int>> sizes;
        for (int i = 0; i < qv_app__displayModes.Length(); ++i) {
            sizes.push_back({qv_app__displayModes[i]->m_width, qv_app__displayModes[i]->m_height});
        }
        return sizes;
    }
    ModeHost host;
};

TEST_F(AppModuleTest, DisplayModesAreListedOncePerSizeWhereFirstSeen) {
    host.modes = {{640, 480}, {800, 600}, {640, 480}, {1024, 768}, {800, 600}, {480, 640}};
    qv_app_EnumDisplayModes();
    EXPECT_EQ(Listed(),
              (std::vector<std::pair<int, int>>{{640, 480}, {800, 600}, {1024, 768}, {480, 640}}));
    EXPECT_EQ(qv_app__desktopMode->m_width, 1920);
    EXPECT_EQ(qv_app__desktopMode->m_height, 1080);
    gc_collect_all();
    gc_collect_all();
    EXPECT_EQ(Listed().size(), 4u);
}

TEST_F(AppModuleTest, NoModesAndNoDesktopFallBackToTheDeviceSize) {
    host.hasDesktop = false;
    host.width = 800;
    host.height = 500;
    qv_app_ValidateDeviceWindow(false);
    qv_app_EnumDisplayModes();
    EXPECT_TRUE(Listed().empty());
    EXPECT_EQ(qv_app__desktopMode->m_width, 800);
    EXPECT_EQ(qv_app__desktopMode->m_height, 500);
}

TEST_F(AppModuleTest, DeviceSizeFollowsTheWindow) {
    qv_app_ValidateDeviceWindow(false);
    EXPECT_EQ(qv_app_DeviceWidth(), 640);
    EXPECT_EQ(qv_app_DeviceHeight(), 480);
    host.width = 1024;
    EXPECT_EQ(qv_app_DeviceWidth(), 640);
    qv_app_ValidateDeviceWindow(false);
    EXPECT_EQ(qv_app_DeviceWidth(), 1024);
    EXPECT_EQ(qv_app_DeviceHeight(), 480);
}

TEST_F(AppModuleTest, UpdateRateIsRememberedAndPassedToTheHost) {
    qv_app_SetUpdateRate(60);
    qv_app_SetUpdateRate(5);
    EXPECT_EQ(qv_app__updateRate, 5);
    EXPECT_EQ(host.rates, (std::vector<int>{60, 5}));
    EXPECT_EQ(host.UpdateRate(), 5);
}

TEST_F(AppModuleTest, StateGoesThroughTheHostsFile) {
    char dir[] = "/tmp/vortan-app-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string path = std::string(dir) + "/.pellixstate";
    host.SetStatePath(String(path.c_str()));
    EXPECT_TRUE(qv_app_LoadState().IsEmpty());
    qv_app_SaveState("level=3");
    EXPECT_EQ(qv_app_LoadState().ToUtf8(), "level=3");
    unlink(path.c_str());
    rmdir(dir);
}

// A full disk: the save through a temporary file, and the rewrite in place that a folder
// the player may not write falls back to, both fail before the old file is touched, and
// each failing save says why once.
TEST_F(AppModuleTest, ASaveOnAFullDiskSaysWhyAndKeepsTheOldFile) {
    ScratchDir dir;
    const std::string path = dir.File(".pellixstate");
    host.SetStatePath(String(path.c_str()));
    // Longer than the page the old file holds, so a rewrite in place needs room too.
    const String longer(std::string(5000, '7').c_str());
    const auto saveTwice = [&] {
        testing::internal::CaptureStdout();
        qv_app_SaveState(longer);
        qv_app_SaveState(longer);
        return testing::internal::GetCapturedStdout() + "kept \"" + dir.Read(".pellixstate") +
               "\"\n";
    };
    const std::string report = InChild([&] {
        if (!MountPrivateTmpfs(dir.Path(), 64)) return std::string("no tmpfs");
        dir.Write(".pellixstate", "old state");
        FillFolder(dir.Path());
        std::string r = saveTwice();
        if (chown(path.c_str(), 65534, 65534) != 0 || chmod(dir.Path().c_str(), 0755) != 0 ||
            !DropRootToNobody()) {
            return r + "cannot hand the file to nobody";
        }
        return r + saveTwice();
    });
    const std::string full = "Settings not saved: No space left on device\n";
    EXPECT_EQ(report, full + full + "kept \"old state\"\n" +
                          "Saving the state file in place: its folder allows no new file "
                          "(Permission denied)\n" +
                          full + full + "kept \"old state\"\n");
}

// An application and its delegate without devices: only the input device is needed to
// feed keys.
class DelegateKeysTest : public AppModuleTest {
protected:
    void SetUp() override {
        AppModuleTest::SetUp();
        gc_root(qv_app__app);
        gc_root(qv_app__delegate);
        gc_root(qv_input_device);
        (new c_App)->m_new();
        gc_assign(qv_app__delegate->m__input, (new c_InputDevice)->m_new());
        qv_input_SetInputDevice(qv_app__delegate->m__input);
    }
};

TEST_F(DelegateKeysTest, CreatingTheAppRegistersItsDelegateWithTheHost) {
    EXPECT_NE(qv_app__app, nullptr);
    EXPECT_EQ(host.Delegate(), qv_app__delegate);
}

// Death tests run in a fresh process: objects left over by earlier tests would count as
// leaks at the child's exit.
TEST_F(DelegateKeysTest, ASecondAppIsARuntimeError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT((new c_App)->m_new(), ::testing::ExitedWithCode(255), "");
}

TEST_F(DelegateKeysTest, TheCloseAndBackKeysEndTheProgramAtTheirKeyDown) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    qv_app__delegate->KeyEvent(2, 432);
    qv_app__delegate->KeyEvent(1, 65);
    EXPECT_TRUE(qv_input_KeyDown(65));
    EXPECT_EXIT(qv_app__delegate->KeyEvent(1, 432), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(qv_app__delegate->KeyEvent(1, 416), ::testing::ExitedWithCode(0), "");
}

}  // namespace
