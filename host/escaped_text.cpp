#include "host/escaped_text.h"

namespace {

// The length of the well-formed UTF-8 sequence at `at` (shortest form, no surrogates, at
// most U+10FFFF), or 0 when the byte there starts none.
size_t SequenceLength(const std::string& s, size_t at) {
    const unsigned char lead = s[at];
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char least = 0x80, most = 0xbf;  // the range of the second byte
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        if (lead == 0xe0) least = 0xa0;
        if (lead == 0xed) most = 0x9f;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        if (lead == 0xf0) least = 0x90;
        if (lead == 0xf4) most = 0x8f;
    }
    if (length == 0 || s.size() - at < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = s[at + i];
        if (next < (i == 1 ? least : 0x80) || next > (i == 1 ? most : 0xbf)) return 0;
    }
    return length;
}

// C0 controls, DEL, and the C1 controls U+0080..U+009F (encoded C2 80..C2 9F).
bool IsControl(const std::string& s, size_t at, size_t length) {
    const unsigned char lead = s[at];
    if (length == 1) return lead < 0x20 || lead == 0x7f;
    return length == 2 && lead == 0xc2 && static_cast<unsigned char>(s[at + 1]) <= 0x9f;
}

void AppendHex(std::string& out, unsigned char byte) {
    static const char kDigits[] = "0123456789abcdef";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
}

}  // namespace

std::string QvEscapeControls(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        const size_t length = SequenceLength(text, at);
        if (length == 0) {
            AppendHex(out, static_cast<unsigned char>(text[at++]));
        } else if (IsControl(text, at, length)) {
            for (size_t end = at + length; at < end; ++at) {
                AppendHex(out, static_cast<unsigned char>(text[at]));
            }
        } else if (text[at] == '\\') {
            out += "\\\\";
            ++at;
        } else {
            out.append(text, at, length);
            at += length;
        }
    }
    return out;
}
