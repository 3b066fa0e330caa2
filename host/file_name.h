// File names as the file system holds them (bytes) and as the program holds them (16-bit
// strings), converted without loss.
//
// Decoding: every valid UTF-8 sequence becomes its character, one beyond the basic plane
// a surrogate pair. Every byte that is not part of a valid sequence (a Latin-1 byte, a
// stray continuation byte, an overlong form, an encoded surrogate) becomes the lone low
// surrogate U+DC00 + byte, so U+DC80..U+DCFF. Encoding turns such a lone surrogate back
// into its byte and a surrogate pair back into its four-byte sequence; everything else is
// UTF-8, one 16-bit unit at a time. So any byte string decodes and encodes back to itself,
// and names made of ordinary characters encode as plain UTF-8.
#pragma once

#include <string>

#include "runtime/string.h"

String QvDecodeFileName(const std::string& bytes);
std::string QvEncodeFileName(const String& name);
