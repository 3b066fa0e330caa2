// Shows runtime strings as UTF-8 text in test failure messages.
#pragma once

#include <ostream>

#include "runtime/string.h"

inline void PrintTo(const String& text, std::ostream* out) { *out << '"' << text.ToUtf8() << '"'; }
