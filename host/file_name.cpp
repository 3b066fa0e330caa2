#include "host/file_name.h"

#include <vector>

namespace {

constexpr unsigned kByteEscape = 0xDC00;

bool IsHighSurrogate(unsigned c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(unsigned c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsByteEscape(unsigned c) { return c >= kByteEscape + 0x80 && c <= kByteEscape + 0xFF; }

bool InRange(const std::string& bytes, size_t i, unsigned low, unsigned high) {
    if (i >= bytes.size()) return false;
    unsigned b = static_cast<unsigned char>(bytes[i]);
    return b >= low && b <= high;
}

// The length of the well-formed UTF-8 sequence at `i` (shortest form, no surrogates,
// nothing above U+10FFFF), or 0.
size_t SequenceLength(const std::string& bytes, size_t i) {
    unsigned lead = static_cast<unsigned char>(bytes[i]);
    // The allowed range of the second byte after each lead; the rest are 80..BF.
    unsigned low = 0x80, high = 0xBF;
    size_t length = 0;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (!InRange(bytes, i + 1, low, high)) return 0;
    for (size_t k = 2; k < length; ++k) {
        if (!InRange(bytes, i + k, 0x80, 0xBF)) return 0;
    }
    return length;
}

void AppendCodePoint(unsigned c, std::vector<uint16_t>& out) {
    if (c < 0x10000) {
        out.push_back(uint16_t(c));
    } else {
        c -= 0x10000;
        out.push_back(uint16_t(0xD800 | c >> 10));
        out.push_back(uint16_t(0xDC00 | (c & 0x3FF)));
    }
}

void AppendFourBytes(unsigned c, std::string& out) {
    out += char(0xF0 | c >> 18);
    out += char(0x80 | (c >> 12 & 0x3F));
    out += char(0x80 | (c >> 6 & 0x3F));
    out += char(0x80 | (c & 0x3F));
}

}  // namespace

String QvDecodeFileName(const std::string& bytes) {
    static constexpr unsigned kLeadBits[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    std::vector<uint16_t> chars;
    chars.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) {
        size_t length = SequenceLength(bytes, i);
        if (length == 0) {
            chars.push_back(uint16_t(kByteEscape + static_cast<unsigned char>(bytes[i])));
            ++i;
            continue;
        }
        unsigned c = static_cast<unsigned char>(bytes[i]) & kLeadBits[length];
        for (size_t k = 1; k < length; ++k)
            c = c << 6 | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        AppendCodePoint(c, chars);
        i += length;
    }
    return String(chars.data(), int(chars.size()));
}

std::string QvEncodeFileName(const String& name) {
    std::string out;
    out.reserve(size_t(name.Length()));
    // Runs of ordinary characters go through the string's own UTF-8 writer.
    int plain = 0;
    auto flush = [&](int end) {
        if (end > plain) out += name.Slice(plain, end).ToUtf8();
    };
    for (int i = 0; i < name.Length(); ++i) {
        unsigned c = unsigned(name[i]);
        if (IsHighSurrogate(c) && i + 1 < name.Length() && IsLowSurrogate(unsigned(name[i + 1]))) {
            flush(i);
            AppendFourBytes(0x10000 + ((c - 0xD800) << 10 | (unsigned(name[i + 1]) - 0xDC00)), out);
            ++i;
            plain = i + 1;
        } else if (IsByteEscape(c)) {
            flush(i);
            out += char(c - kByteEscape);
            plain = i + 1;
        }
    }
    flush(name.Length());
    return out;
}
