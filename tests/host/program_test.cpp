// The host driving a real program under a private X server: its window, the window
// manager's close request, focus changes and keys typed into it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/process.h"
#include "tests/support/window_close.h"
#include "tests/support/xvfb_server.h"

// Last: Xlib defines macros (None, Bool) that clash with names in the headers above.
#include <X11/Xlib.h>

namespace {

// A connection to the test's X server for the focus changes xdotool cannot make.
class XConnection {
public:
    explicit XConnection(const std::string& display) : dpy_(XOpenDisplay(display.c_str())) {}
    ~XConnection() {
        if (dpy_) XCloseDisplay(dpy_);
    }
    bool Ok() const { return dpy_ != nullptr; }

    // Another application's window, mapped and given the input focus.
    Window OpenFocusedWindow() {
        Window w = XCreateSimpleWindow(dpy_, DefaultRootWindow(dpy_), 0, 0, 200, 100, 0, 0, 0);
        XSelectInput(dpy_, w, StructureNotifyMask);
        XMapWindow(dpy_, w);
        XEvent ev;
        do XNextEvent(dpy_, &ev);
        while (ev.type != MapNotify);
        Focus(w);
        return w;
    }

    void FocusRoot() { Focus(DefaultRootWindow(dpy_)); }

    void Focus(Window w) {
        XSetInputFocus(dpy_, w, RevertToParent, CurrentTime);
        XSync(dpy_, False);
    }

private:
    Display* dpy_;
};

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(xvfb.Ok());
        ProcessOptions options = xvfb.Options();
        options.env["ALSOFT_DRIVERS"] = "null";
        app = std::make_unique<RunningProcess>(
            std::vector<std::string>{BuiltProgram("host_test_app")}, options);
        window = xvfb.WaitForWindow("Vortan Rally Run", 20);
        ASSERT_FALSE(window.empty()) << app->OutputSoFar();
        ASSERT_TRUE(app->WaitForOutput("created", 20)) << app->OutputSoFar();
    }
    Window Id() const { return Window(std::stoul(window)); }

    XvfbServer xvfb;
    std::unique_ptr<RunningProcess> app;
    std::string window;
};

TEST_F(ProgramTest, OpensATitledWindowOfSixHundredFortyByFourHundredEighty) {
    EXPECT_TRUE(app->WaitForOutput("created 640x480", 5)) << app->OutputSoFar();
    ProcessResult info = xvfb.Run({"xwininfo", "-id", window});
    EXPECT_NE(info.out.find("Width: 640"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Height: 480"), std::string::npos) << info.out;
    // Centred on the 1280x1024 screen.
    EXPECT_NE(info.out.find("Absolute upper-left X:  320"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("Absolute upper-left Y:  272"), std::string::npos) << info.out;
    // Frames and updates run: a second's worth of updates is reported.
    EXPECT_TRUE(app->WaitForOutput("updates 60", 10)) << app->OutputSoFar();
}

TEST_F(ProgramTest, TheWindowManagersCloseRequestEndsTheProgramNormally) {
    ASSERT_TRUE(RequestClose(xvfb, window));
    ProcessResult result = app->Wait(10);
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0) << result.out << result.err;
}

TEST_F(ProgramTest, LosingTheFocusSuspendsAndRegainingItResumes) {
    XConnection x(xvfb.Display());
    ASSERT_TRUE(x.Ok());
    x.Focus(Id());
    ASSERT_TRUE(app->WaitForOutput("updates 60", 10)) << app->OutputSoFar();
    Window other = x.OpenFocusedWindow();
    ASSERT_TRUE(app->WaitForOutput("suspend 1", 10)) << app->OutputSoFar();
    // Focus moving between other windows does not suspend again.
    x.FocusRoot();
    x.Focus(other);
    SleepSeconds(0.5);
    EXPECT_EQ(app->OutputSoFar().find("suspend 2"), std::string::npos);
    EXPECT_EQ(app->OutputSoFar().find("resume"), std::string::npos);
    x.Focus(Id());
    EXPECT_TRUE(app->WaitForOutput("resume 1", 10)) << app->OutputSoFar();
    EXPECT_TRUE(app->Running());
}

TEST_F(ProgramTest, TypedKeysArriveWithTheirKeyCodes) {
    XConnection x(xvfb.Display());
    ASSERT_TRUE(x.Ok());
    x.Focus(Id());
    xvfb.Run({"xdotool", "key", "a"});
    xvfb.Run({"xdotool", "key", "Left"});
    xvfb.Run({"xdotool", "key", "F1"});
    xvfb.Run({"xdotool", "key", "BackSpace"});
    EXPECT_TRUE(app->WaitForOutput("key 65\n", 10)) << app->OutputSoFar();
    EXPECT_TRUE(app->WaitForOutput("char 97\n", 10)) << app->OutputSoFar();
    EXPECT_TRUE(app->WaitForOutput("key 37\n", 10)) << app->OutputSoFar();
    EXPECT_TRUE(app->WaitForOutput("char 65573\n", 10)) << app->OutputSoFar();
    EXPECT_TRUE(app->WaitForOutput("key 112\n", 10)) << app->OutputSoFar();
    EXPECT_TRUE(app->WaitForOutput("key 8\n", 10)) << app->OutputSoFar();
    EXPECT_TRUE(app->WaitForOutput("char 8\n", 10)) << app->OutputSoFar();
    // Alt produces nothing, so nothing arrives between it and the next key.
    xvfb.Run({"xdotool", "key", "Alt_L"});
    xvfb.Run({"xdotool", "key", "z"});
    ASSERT_TRUE(app->WaitForOutput("key 90\n", 10)) << app->OutputSoFar();
    std::string out = app->OutputSoFar();
    std::string tail = out.substr(out.find("char 8"));
    EXPECT_EQ(tail.find("key 18"), std::string::npos) << tail;
}

TEST(ProgramStart, WithoutADisplayTheProgramStopsWithMinusOne) {
    ProcessOptions options;
    options.env["DISPLAY"] = ":9999";
    ProcessResult result = RunProcess({BuiltProgram("host_test_app")}, options);
    EXPECT_EQ(result.exitCode, 255);
    EXPECT_EQ(result.out, "glfwInit failed\n");
}

TEST(ProgramStart, AThrowableEscapingTheApplicationIsReportedAndEndsTheProgram) {
    XvfbServer xvfb;
    ASSERT_TRUE(xvfb.Ok());
    ProcessOptions options = xvfb.Options();
    options.env["ALSOFT_DRIVERS"] = "null";
    options.env["HOST_TEST_APP_THROW"] = "1";
    ProcessResult result = RunProcess({BuiltProgram("host_test_app")}, options);
    EXPECT_EQ(result.exitCode, 255);
    EXPECT_NE(result.out.find("created 640x480\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("Pellix Runtime Error : Uncaught Pellix Exception\n"),
              std::string::npos)
        << result.out;
}

}  // namespace
