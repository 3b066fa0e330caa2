// The game's tune with the damage bad-input trials found, made from the tune's own bytes so
// that no damaged copy is kept: an impossible sample rate, and a 200-byte file whose first
// codebook claims millions of entries.
#pragma once

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

// The whole file; "" when it cannot be read.
inline std::string BytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The stream with its identification header's sample rate set to `rate`: bytes 40 to 43,
// after the first page's 28 bytes and the header's type, "vorbis", version and channels.
inline std::string TuneWithRate(std::string ogg, uint32_t rate) {
    if (ogg.size() < 44) return "";
    for (int i = 0; i < 4; ++i) ogg[40 + i] = char(rate >> (8 * i));
    return ogg;
}

// The stream's first 200 bytes with its first codebook claiming 0x696272 (6.9 million)
// entries: the setup header's type and "vorbis", the codebook count, the sync "BCV", two
// bytes of dimensions, then three bytes of entries. "" when there is no setup header there.
inline std::string TuneHeaderClaimingAHugeCodebook(const std::string& ogg) {
    const size_t setup = ogg.find("\x05vorbis");
    const size_t entries = setup + 13;
    if (setup == std::string::npos || entries + 3 > 200 || ogg.compare(setup + 8, 3, "BCV") != 0)
        return "";
    return ogg.substr(0, entries) + "\x72\x62\x69" + ogg.substr(entries + 3, 200 - entries - 3);
}
