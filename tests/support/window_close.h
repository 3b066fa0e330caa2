// The close button of a window on a test's X server, which xdotool cannot press.
#pragma once

#include <string>

#include "tests/support/xvfb_server.h"

// Sends what a window manager sends when the user clicks the window's close button
// (an X window id in decimal); false when the display cannot be opened.
bool RequestClose(const XvfbServer& xvfb, const std::string& window);
