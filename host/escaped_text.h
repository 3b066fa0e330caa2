// Text from outside the program (a gamepad mapping line, a pad's name, an argument) made
// safe to echo on a terminal: control characters, C1 controls and bytes that are not
// UTF-8 are written as \xHH, and a backslash as two, so echoed text can neither move the
// cursor nor clear the screen, and reads back unambiguously. Printable UTF-8 stays as it is.
#pragma once

#include <string>

std::string QvEscapeControls(const std::string& text);
