// Opening and reopening the host's window on a private X server.
#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "host/glfw_game.h"
#include "tests/host/collector_reset.h"
#include "tests/host/recording_delegate.h"
#include "tests/support/xvfb_server.h"

// Last: Xlib defines macros (None, Bool) that clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xfixes.h>

namespace {

// Whether the X server draws a pointer where it is now: any pixel of the cursor image
// that is not fully transparent. -1 when the server cannot tell.
int PointerShown(const std::string& display) {
    Display* dpy = XOpenDisplay(display.c_str());
    if (!dpy) return -1;
    int shown = -1;
    if (XFixesCursorImage* image = XFixesGetCursorImage(dpy)) {
        shown = 0;
        for (int i = 0; i < image->width * image->height; ++i) {
            if ((image->pixels[i] >> 24) != 0) shown = 1;
        }
        XFree(image);
    }
    XCloseDisplay(dpy);
    return shown;
}

// The name (WM_NAME) of the window that has the keyboard, as the X server holds them;
// "(no window)" when the focus is on none or follows the pointer.
std::string FocusedWindowName(const std::string& display) {
    Display* dpy = XOpenDisplay(display.c_str());
    if (!dpy) return "(no display)";
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(dpy, &focus, &revert);
    XTextProperty name = {};
    std::string result = "(no window)";
    if (focus != None && focus != PointerRoot && XGetWMName(dpy, focus, &name) && name.value) {
        result.assign(reinterpret_cast<const char*>(name.value), name.nitems);
        XFree(name.value);
    }
    XCloseDisplay(dpy);
    return result;
}

class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        xvfb = new XvfbServer(1280, 1024);
        setenv("DISPLAY", xvfb->Display().c_str(), 1);
        glfwInitHint(GLFW_JOYSTICK_HAT_BUTTONS, GLFW_FALSE);
        initialised = glfwInit();
    }
    // GLFW stays initialised to the end of the process: terminating it unloads the GL
    // driver, whose lifetime allocations would then show up as leaks of no known module.
    static void TearDownTestSuite() { delete xvfb; }
    void SetUp() override {
        ASSERT_TRUE(initialised);
        ReleaseCollectedObjects();
        host = std::make_unique<QvGlfwGame>();
        delegate = new RecordingDelegate;
        host->SetDelegate(delegate);
        host->StartGame();
    }
    void TearDown() override {
        if (host && host->Window()) glfwDestroyWindow(host->Window());
        ReleaseCollectedObjects();
    }
    // Opens the host's 640x480 window and gives it the focus; its X window id.
    std::string OpenFocusedWindow() {
        host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
        std::string id = xvfb->WaitForWindow("Vortan Rally Run", 5);
        if (id.empty()) return id;
        xvfb->Run({"xdotool", "windowfocus", "--sync", id});
        return PumpWhile([&] { return !host->WindowActive(); }, 5) ? id : std::string();
    }
    // Processes window events until the delegate has heard `call` or time runs out.
    bool PumpUntil(const std::string& call, double seconds) {
        return PumpWhile([&] { return delegate->Count(call) == 0; }, seconds);
    }
    // Processes window events while `waiting` holds; false when time runs out first.
    bool PumpWhile(const std::function<bool()>& waiting, double seconds) {
        for (double waited = 0; waited < seconds; waited += 0.05) {
            glfwPollEvents();
            if (!waiting()) return true;
            SleepSeconds(0.05);
        }
        return false;
    }

    // The host's window has the keyboard and is called "Vortan Rally Run".
    void ExpectNamedAndFocused(const std::string& mode) {
        EXPECT_TRUE(PumpWhile([&] { return !host->WindowActive(); }, 5))
            << mode << " without the keyboard";
        EXPECT_EQ(FocusedWindowName(xvfb->Display()), "Vortan Rally Run") << mode;
    }

    // Processes window events until the pointer is shown (1) or hidden (0).
    bool PumpUntilPointer(int shown, double seconds) {
        return PumpWhile([&] { return PointerShown(xvfb->Display()) != shown; }, seconds);
    }

    static XvfbServer* xvfb;
    static bool initialised;
    std::unique_ptr<QvGlfwGame> host;
    RecordingDelegate* delegate = nullptr;
};
XvfbServer* WindowTest::xvfb = nullptr;
bool WindowTest::initialised = false;

TEST_F(WindowTest, EveryOpeningMakesANewContextAndCountsIt) {
    int seq = glfwGraphicsSeq;
    host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    ASSERT_NE(host->Window(), nullptr);
    EXPECT_EQ(glfwGraphicsSeq, seq + 1);
    EXPECT_EQ(glfwGetCurrentContext(), host->Window());
    EXPECT_EQ(host->GetDeviceWidth(), 640);
    EXPECT_EQ(host->GetDeviceHeight(), 480);
    EXPECT_FALSE(xvfb->WaitForWindow("Vortan Rally Run", 5).empty());
    host->SetDeviceWindow(320, 200, 0);
    EXPECT_EQ(glfwGraphicsSeq, seq + 2);
    EXPECT_EQ(glfwGetCurrentContext(), host->Window());
    EXPECT_EQ(host->GetDeviceWidth(), 320);
    EXPECT_EQ(host->GetDeviceHeight(), 200);
    int x = 0, y = 0;
    glfwGetWindowPos(host->Window(), &x, &y);
    EXPECT_EQ(x, (1280 - 320) / 2);
    EXPECT_EQ(y, (1024 - 200) / 2);
}

// The pointer sits over the middle of the screen, where both the full screen and the
// centred window are. No window manager runs, as on a bare X server: each new window takes
// the keyboard itself, or the game would stay suspended.
TEST_F(WindowTest, FullScreenTakesTheMonitorAndHidesThePointerUntilBackInAWindow) {
    xvfb->Run({"xdotool", "mousemove", "640", "512"});
    QvGlfwVideoMode* desktop = host->GetGlfwDesktopMode();
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(desktop->width, 1280);
    EXPECT_EQ(desktop->height, 1024);
    EXPECT_GT(desktop->redBits, 0);
    for (int pass = 0; pass < 2; ++pass) {
        host->SetGlfwWindow(desktop->width, desktop->height, desktop->redBits, desktop->greenBits,
                            desktop->blueBits, 0, 0, 0, true);
        ASSERT_NE(host->Window(), nullptr);
        EXPECT_NE(glfwGetWindowMonitor(host->Window()), nullptr);
        EXPECT_TRUE(PumpUntilPointer(0, 5)) << "the pointer shows over the full screen";
        ExpectNamedAndFocused("full screen");
        host->SetDeviceWindow(640, 480, 0);
        EXPECT_EQ(glfwGetWindowMonitor(host->Window()), nullptr);
        EXPECT_TRUE(PumpUntilPointer(1, 5)) << "the pointer is hidden over the window";
        ExpectNamedAndFocused("window");
        EXPECT_EQ(host->GetDeviceWidth(), 640);
    }
}

TEST_F(WindowTest, AKeyHeldAcrossTheSwitchIsReleasedFirst) {
    ASSERT_FALSE(OpenFocusedWindow().empty());
    xvfb->Run({"xdotool", "keydown", "a"});
    ASSERT_TRUE(PumpUntil("key 1 65", 5));
    delegate->calls.clear();
    host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    xvfb->Run({"xdotool", "keyup", "a"});
    EXPECT_EQ(delegate->calls, std::vector<std::string>{"key 2 65"});
}

// Size and focus are what GLFW's events last said: nothing asks the X server per call.
TEST_F(WindowTest, SizeAndFocusChangeWhenTheirEventsArrive) {
    std::string id = OpenFocusedWindow();
    ASSERT_FALSE(id.empty());

    glfwDefaultWindowHints();  // a visible window, which can take the focus
    GLFWwindow* other = glfwCreateWindow(100, 100, "other", nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    std::string otherId = xvfb->WaitForWindow("other", 5);
    xvfb->Run({"xdotool", "windowsize", "--sync", id, "800", "600"});
    xvfb->Run({"xdotool", "windowfocus", "--sync", otherId});
    EXPECT_EQ(host->GetDeviceWidth(), 640);
    EXPECT_TRUE(host->WindowActive());
    EXPECT_TRUE(
        PumpWhile([&] { return host->GetDeviceWidth() != 800 || host->WindowActive(); }, 5));
    EXPECT_EQ(host->GetDeviceWidth(), 800);
    EXPECT_EQ(host->GetDeviceHeight(), 600);
    EXPECT_FALSE(host->WindowActive());
    glfwDestroyWindow(other);
}

// The frame whose event processing hears of a resize already updates with the new size.
TEST_F(WindowTest, AResizeIsSeenByTheUpdateOfTheFrameThatHearsIt) {
    std::string id = OpenFocusedWindow();
    ASSERT_FALSE(id.empty());
    host->SetUpdateRate(0);  // one update per frame, right after its event processing
    std::vector<int> widths;
    delegate->onUpdate = [&] {
        widths.push_back(host->GetDeviceWidth());
        if (delegate->updates == 3)
            xvfb->Run({"xdotool", "windowsize", "--sync", id, "720", "400"});
        if (delegate->updates == 5) glfwSetWindowShouldClose(host->Window(), GLFW_TRUE);
    };
    host->RunFrames();
    EXPECT_EQ(widths, (std::vector<int>{640, 640, 640, 720, 720}));
    EXPECT_EQ(host->GetDeviceHeight(), 400);
}

TEST_F(WindowTest, DisplayModesListTheMonitorsModes) {
    Array<QvDisplayMode*> modes = host->GetDisplayModes();
    Array<QvGlfwVideoMode*> videoModes = host->GetGlfwVideoModes();
    ASSERT_GT(modes.Length(), 0);
    ASSERT_EQ(videoModes.Length(), modes.Length());
    bool desktopListed = false;
    for (int i = 0; i < modes.Length(); ++i) {
        EXPECT_EQ(modes[i]->width, videoModes[i]->width);
        EXPECT_EQ(modes[i]->height, videoModes[i]->height);
        EXPECT_EQ(modes[i]->format, 0);
        desktopListed |= modes[i]->width == 1280 && modes[i]->height == 1024;
    }
    EXPECT_TRUE(desktopListed);
    QvDisplayMode* desktop = host->GetDesktopMode();
    ASSERT_NE(desktop, nullptr);
    EXPECT_EQ(desktop->width, 1280);
    EXPECT_EQ(desktop->height, 1024);
}

TEST_F(WindowTest, AHiddenCursorStaysHiddenInTheNextWindow) {
    host->SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    host->SetMouseVisible(false);
    EXPECT_EQ(glfwGetInputMode(host->Window(), GLFW_CURSOR), GLFW_CURSOR_HIDDEN);
    host->SetDeviceWindow(640, 480, 0);
    EXPECT_EQ(glfwGetInputMode(host->Window(), GLFW_CURSOR), GLFW_CURSOR_HIDDEN);
    host->SetMouseVisible(true);
    EXPECT_EQ(glfwGetInputMode(host->Window(), GLFW_CURSOR), GLFW_CURSOR_NORMAL);
}

TEST_F(WindowTest, NoPadsMeansNoJoystick) {
    Array<float> x(2), y(2), z(2);
    Array<bool> buttons(32);
    x[0] = 0.5f;
    EXPECT_FALSE(host->PollJoystick(0, x, y, z, buttons));
    EXPECT_FALSE(host->PollJoystick(3, x, y, z, buttons));
    EXPECT_FLOAT_EQ(x[0], 0.5f);
}

}  // namespace
