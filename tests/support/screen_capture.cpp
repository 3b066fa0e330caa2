// Window captures through Xlib (see screen_capture.h).
#include "tests/support/screen_capture.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "tests/support/process.h"

// Last: Xlib defines macros (None, Bool) that clash with names in the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

// A window not mapped yet cannot be read: the capture fails and the caller polls again,
// rather than Xlib ending the test.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

int Channel(unsigned long pixel, unsigned long mask) {
    return int((pixel & mask) >> __builtin_ctzl(mask));
}

}  // namespace

bool Near(Rgb c, int r, int g, int b, int tolerance) {
    return std::abs(c.r - r) <= tolerance && std::abs(c.g - g) <= tolerance &&
           std::abs(c.b - b) <= tolerance;
}

bool White(Rgb c) { return c.r > 200 && c.g > 200 && c.b > 200; }

bool ScreenCapture::Take(const XvfbServer& xvfb, const std::string& window) {
    Display* dpy = XOpenDisplay(xvfb.Display().c_str());
    if (!dpy) return false;
    XSetErrorHandler(IgnoreXError);
    const Window id = window.empty() ? DefaultRootWindow(dpy) : Window(std::stoul(window));
    XWindowAttributes attributes;
    XImage* image = nullptr;
    if (XGetWindowAttributes(dpy, id, &attributes)) {
        image = XGetImage(dpy, id, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    }
    const bool ok = image != nullptr && image->width > 0 && image->height > 0;
    if (ok) {
        width = image->width;
        height = image->height;
        bytes.resize(size_t(width) * height * 3);
        unsigned char* out = bytes.data();
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                *out++ = Channel(pixel, image->red_mask);
                *out++ = Channel(pixel, image->green_mask);
                *out++ = Channel(pixel, image->blue_mask);
            }
        }
    }
    if (image) XDestroyImage(image);
    XCloseDisplay(dpy);
    return ok;
}

Rgb ScreenCapture::At(int x, int y) const {
    const unsigned char* p = &bytes[(size_t(y) * width + x) * 3];
    return {p[0], p[1], p[2]};
}

int ScreenCapture::Count(int x0, int y0, int x1, int y1,
                         const std::function<bool(Rgb)>& test) const {
    int n = 0;
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y) {
        for (int x = std::max(0, x0); x < std::min(width, x1); ++x) n += test(At(x, y)) ? 1 : 0;
    }
    return n;
}

bool ScreenCapture::SavePng(const std::string& path) const {
    const std::string ppm = path + ".ppm";
    {
        std::ofstream out(ppm, std::ios::binary);
        out << "P6\n" << width << " " << height << "\n255\n";
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        if (!out) return false;
    }
    const bool converted = RunProcess({"convert", ppm, "PNG24:" + path}).exitCode == 0;
    std::remove(ppm.c_str());
    return converted;
}
