// What a whole-program test sees on its private X server: a window's pixels (or the whole
// screen's), read straight from the server, quick enough to poll every few updates.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tests/support/xvfb_server.h"

struct Rgb {
    int r, g, b;
};

// Each channel within `tolerance` of (r, g, b).
bool Near(Rgb c, int r, int g, int b, int tolerance);
bool White(Rgb c);

class ScreenCapture {
public:
    // The window's pixels (an X window id in decimal), or the whole screen's when
    // `window` is empty. False, keeping the last capture, while the window cannot be
    // read (not mapped yet, or gone).
    bool Take(const XvfbServer& xvfb, const std::string& window = "");
    Rgb At(int x, int y) const;
    // Pixels in [x0, x1) x [y0, y1), clipped to the capture, that pass the test.
    int Count(int x0, int y0, int x1, int y1, const std::function<bool(Rgb)>& test) const;
    // Writes the capture as a PNG file (through ImageMagick).
    bool SavePng(const std::string& path) const;

    int width = 0, height = 0;
    std::vector<unsigned char> bytes;  // RGB, row by row
};
