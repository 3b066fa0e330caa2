#include "audio/vorbis_comments.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr int kPageHeaderSize = 27;
constexpr int kCommentPacket = 1;  // packets in stream order: identification, comments, setup
constexpr unsigned char kCommentType = 3;

class PacketReader {
public:
    explicit PacketReader(const std::vector<unsigned char>& packet) : packet_(packet) {}
    bool Skip(size_t count) {
        if (count > packet_.size() - at_) return false;
        at_ += count;
        return true;
    }
    bool Read32(uint32_t* value) {
        if (packet_.size() - at_ < 4) return false;
        const unsigned char* b = &packet_[at_];
        *value = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
        at_ += 4;
        return true;
    }
    // A 32-bit length followed by that many bytes.
    bool SkipCounted() {
        uint32_t length = 0;
        return Read32(&length) && Skip(length);
    }
    bool AtEnd() const { return at_ == packet_.size(); }

private:
    const std::vector<unsigned char>& packet_;
    size_t at_ = 0;
};

bool CommentsFit(const std::vector<unsigned char>& packet) {
    if (packet.size() < 7 || packet[0] != kCommentType || memcmp(&packet[1], "vorbis", 6) != 0) {
        return false;
    }
    PacketReader reader(packet);
    reader.Skip(7);
    uint32_t count = 0;
    if (!reader.SkipCounted() || !reader.Read32(&count)) return false;
    // Each comment takes at least its 4-byte length, so a false count runs out quickly.
    for (uint32_t i = 0; i < count; ++i) {
        if (!reader.SkipCounted()) return false;
    }
    return !reader.AtEnd();  // the framing byte follows
}

// Collects the comment packet from the pages that carry it; false when the file ends first.
bool ReadCommentPacket(FILE* f, std::vector<unsigned char>* packet) {
    int index = 0;
    unsigned char header[kPageHeaderSize];
    unsigned char lacing[255];
    while (fread(header, 1, kPageHeaderSize, f) == size_t(kPageHeaderSize)) {
        if (memcmp(header, "OggS", 4) != 0) return false;
        size_t segments = header[26];
        if (fread(lacing, 1, segments, f) != segments) return false;
        for (size_t s = 0; s < segments; ++s) {
            size_t length = lacing[s];
            if (index == kCommentPacket) {
                size_t old = packet->size();
                packet->resize(old + length);
                if (fread(packet->data() + old, 1, length, f) != length) return false;
            } else if (fseek(f, long(length), SEEK_CUR) != 0) {
                return false;
            }
            // A segment shorter than 255 bytes ends its packet.
            if (length < 255 && index++ == kCommentPacket) return true;
        }
    }
    return false;
}

}  // namespace

bool VorbisCommentsFit(FILE* f) {
    long start = ftell(f);
    if (start < 0) return false;
    std::vector<unsigned char> packet;
    bool fits = ReadCommentPacket(f, &packet) && CommentsFit(packet);
    return fseek(f, start, SEEK_SET) == 0 && fits;
}
