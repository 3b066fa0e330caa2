// Text from outside the program (a gamepad mapping line, a pad's name, an argument) made
// safe to echo on a terminal: control characters, C1 controls, the bidirectional
// embeddings, overrides and isolates (U+202A to U+202E, U+2066 to U+2069) and bytes that
// are not UTF-8 are written as \xHH, and a backslash as two, so echoed text can neither
// move the cursor, clear the screen nor turn the rest of its line around, and reads back
// unambiguously. Printable UTF-8 stays as it is.
#pragma once

#include <string>

std::string QvEscapeControls(const std::string& text);

// Room for a name or a quoted field on a console line, beside the line's own words.
constexpr size_t kEscapedNameMost = 56;
// The escaped text cut to at most `most` characters (an escape counts by its length): a
// longer one keeps what fits before "..." and never half an escape or half a character.
std::string QvEscapeName(const std::string& text, size_t most = kEscapedNameMost);
