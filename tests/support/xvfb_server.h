// A private Xvfb display for one test, so tests that move focus or resize windows do
// not disturb each other.
#pragma once

#include <string>

#include "tests/support/process.h"

class XvfbServer {
public:
    explicit XvfbServer(int width = 1280, int height = 1024);
    ~XvfbServer();
    bool Ok() const { return pid_ > 0; }
    const std::string& Display() const { return display_; }  // ":N"
    // Environment for children: DISPLAY set to this server.
    ProcessOptions Options(ProcessOptions base = {}) const;
    // Runs a helper command (xdotool, xwininfo, import...) against this display.
    ProcessResult Run(const std::vector<std::string>& argv, double timeoutSeconds = 10) const;
    // Finds a window by exact title, polling up to the timeout; "" when none.
    std::string WaitForWindow(const std::string& title, double timeoutSeconds) const;
    // Saves a PNG screenshot of the whole screen (ImageMagick import); false on failure.
    bool Screenshot(const std::string& pngPath) const;

private:
    int pid_ = -1;
    std::string display_;
};
