// Byte encodings of 16-bit strings shared by data buffers and the HTTP client.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/string.h"

// UTF-8 with every 16-bit character encoded on its own (one to three bytes; a surrogate
// pair becomes two three-byte sequences).
std::string EncodeUtf8(const String& text);
// One byte per character: the low 8 bits.
std::string EncodeAscii(const String& text);
// Every byte one character 0..255.
String DecodeAscii(const uint8_t* bytes, int count);
// Decodes one- to three-byte sequences. Anything else (a stray continuation byte, a
// four-byte lead, a cut sequence) makes the whole range decode as DecodeAscii.
String DecodeUtf8(const uint8_t* bytes, int count);
