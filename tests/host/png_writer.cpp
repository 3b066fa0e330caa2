#include "tests/host/png_writer.h"

#include <algorithm>

namespace {

uint32_t Crc32(const std::string& bytes) {
    uint32_t crc = 0xffffffffu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void PutBigEndian(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(char((v >> shift) & 0xff));
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBigEndian(out, uint32_t(data.size()));
    std::string body = std::string(type, 4) + data;
    out += body;
    PutBigEndian(out, Crc32(body));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string StoredZlib(const std::string& raw) {
    std::string out = "\x78\x01";
    size_t pos = 0;
    do {
        size_t n = std::min<size_t>(raw.size() - pos, 65535);
        bool last = pos + n == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(char(n & 0xff));
        out.push_back(char(n >> 8));
        out.push_back(char(~n & 0xff));
        out.push_back(char((~n >> 8) & 0xff));
        out += raw.substr(pos, n);
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(out, b << 16 | a);
    return out;
}

}  // namespace

std::string EncodePng(int width, int height, int channels, const std::vector<uint8_t>& pixels) {
    static const char kColourType[5] = {0, 0, 4, 2, 6};
    std::string out = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutBigEndian(header, uint32_t(width));
    PutBigEndian(header, uint32_t(height));
    header += std::string{8, kColourType[channels], 0, 0, 0};
    PutChunk(out, "IHDR", header);
    std::string raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // no filter
        raw.append(reinterpret_cast<const char*>(&pixels[size_t(y) * width * channels]),
                   size_t(width) * channels);
    }
    PutChunk(out, "IDAT", StoredZlib(raw));
    PutChunk(out, "IEND", "");
    return out;
}
