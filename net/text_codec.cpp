#include "net/text_codec.h"

#include <vector>

std::string EncodeUtf8(const String& text) {
    std::string out;
    out.reserve(text.Length());
    for (int i = 0; i < text.Length(); ++i) {
        int u = text[i];
        if (u < 0x80) {
            out += char(u);
        } else if (u < 0x800) {
            out += char(0xC0 | (u >> 6));
            out += char(0x80 | (u & 0x3F));
        } else {
            out += char(0xE0 | (u >> 12));
            out += char(0x80 | ((u >> 6) & 0x3F));
            out += char(0x80 | (u & 0x3F));
        }
    }
    return out;
}

std::string EncodeAscii(const String& text) {
    std::string out(text.Length(), '\0');
    for (int i = 0; i < text.Length(); ++i) out[i] = char(text[i] & 0xFF);
    return out;
}

String DecodeAscii(const uint8_t* bytes, int count) {
    if (count <= 0) return String();
    std::vector<uint16_t> chars(bytes, bytes + count);
    return String(chars.data(), count);
}

namespace {

bool IsContinuation(uint8_t b) { return (b & 0xC0) == 0x80; }

}  // namespace

String DecodeUtf8(const uint8_t* bytes, int count) {
    if (count <= 0) return String();
    std::vector<uint16_t> chars;
    chars.reserve(count);
    int i = 0;
    while (i < count) {
        uint8_t b0 = bytes[i];
        if (b0 < 0x80) {
            chars.push_back(b0);
            i += 1;
        } else if ((b0 & 0xE0) == 0xC0 && i + 1 < count && IsContinuation(bytes[i + 1])) {
            chars.push_back(uint16_t(((b0 & 0x1F) << 6) | (bytes[i + 1] & 0x3F)));
            i += 2;
        } else if ((b0 & 0xF0) == 0xE0 && i + 2 < count && IsContinuation(bytes[i + 1]) &&
                   IsContinuation(bytes[i + 2])) {
            chars.push_back(uint16_t(((b0 & 0x0F) << 12) | ((bytes[i + 1] & 0x3F) << 6) |
                                     (bytes[i + 2] & 0x3F)));
            i += 3;
        } else {
            return DecodeAscii(bytes, count);
        }
    }
    return String(chars.data(), int(chars.size()));
}
