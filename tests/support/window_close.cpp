// The window manager's close request (see window_close.h).
#include "tests/support/window_close.h"

#include <X11/Xlib.h>

bool RequestClose(const XvfbServer& xvfb, const std::string& window) {
    Display* dpy = XOpenDisplay(xvfb.Display().c_str());
    if (!dpy) return false;
    XEvent ev = {};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = std::stoul(window);
    ev.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = long(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, ev.xclient.window, False, NoEventMask, &ev);
    XCloseDisplay(dpy);
    return true;
}
