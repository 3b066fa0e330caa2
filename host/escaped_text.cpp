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

// C0 controls, DEL, the C1 controls U+0080..U+009F (encoded C2 80..C2 9F), and the
// bidirectional embeddings and overrides U+202A..U+202E (E2 80 AA..AE) and isolates
// U+2066..U+2069 (E2 81 A6..A9), which reorder the text that follows them.
bool MustEscape(const std::string& s, size_t at, size_t length) {
    const unsigned char lead = s[at];
    if (length == 1) return lead < 0x20 || lead == 0x7f;
    const unsigned char second = s[at + 1];
    if (length == 2) return lead == 0xc2 && second <= 0x9f;
    const unsigned char third = s[at + 2];
    return length == 3 && lead == 0xe2 &&
           ((second == 0x80 && third >= 0xaa && third <= 0xae) ||
            (second == 0x81 && third >= 0xa6 && third <= 0xa9));
}

void AppendHex(std::string& out, unsigned char byte) {
    static const char kDigits[] = "0123456789abcdef";
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
}

// Appends how the character (or stray byte) at `at` is shown; the bytes it took.
size_t AppendShown(std::string& out, const std::string& text, size_t at) {
    const size_t length = SequenceLength(text, at);
    if (length == 0) {
        AppendHex(out, static_cast<unsigned char>(text[at]));
        return 1;
    }
    if (MustEscape(text, at, length)) {
        for (size_t i = 0; i < length; ++i)
            AppendHex(out, static_cast<unsigned char>(text[at + i]));
    } else if (text[at] == '\\') {
        out += "\\\\";
    } else {
        out.append(text, at, length);
    }
    return length;
}

// Characters on the screen: a printable UTF-8 sequence is one, an escape its length.
size_t Columns(const std::string& shown) {
    size_t columns = 0;
    for (unsigned char byte : shown) columns += (byte & 0xc0) != 0x80;
    return columns;
}

}  // namespace

std::string QvEscapeControls(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) at += AppendShown(out, text, at);
    return out;
}

std::string QvEscapeName(const std::string& text, size_t most) {
    static const std::string kCut = "...";
    std::string out, shown;
    size_t columns = 0, fits = 0;  // the output's length where "..." still fits after it
    for (size_t at = 0; at < text.size();) {
        shown.clear();
        at += AppendShown(shown, text, at);
        columns += Columns(shown);
        if (columns > most) return out.substr(0, fits) + kCut;
        out += shown;
        if (columns + kCut.size() <= most) fits = out.size();
    }
    return out;
}
