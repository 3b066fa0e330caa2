#include "host/web_picture_sets.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/glfw_game.h"
#include "host/web_drawing_scale.h"

namespace {

// A drawing scale that has settled has held this long.
constexpr double kSettled = 2.0;
// A set is worth fetching where the buffer shows clearly more pixels than the set below has.
constexpr double kClearly = 1.05;

// The page fetches a set once, however often it is asked, and lists the sets it has.
EM_JS(void, AskForPictureSet, (int scale), {
    if (Module.fetchPictureSet) Module.fetchPictureSet(scale);
});
EM_JS(int, PictureSetsHere, (), { return Module.pictureSetsHere ? Module.pictureSetsHere() : 1; });

const char* Suffix(int scale) { return scale == 4 ? "-hd2.png" : scale == 2 ? "-hd.png" : ".png"; }

// The set a picture file belongs to, by its name's ending.
int ScaleOf(const String& path) {
    for (int scale : {4, 2}) {
        if (path.EndsWith(String(Suffix(scale)))) return scale;
    }
    return 1;
}

String InSet(const String& path, int scale) {
    const int base = path.Length() - String(Suffix(ScaleOf(path))).Length();
    return path.Slice(0, base) + String(Suffix(scale));
}

// A stand-in: this tag, the picture's set, the length of its path, then the path.
constexpr char kTag[8] = {'s', 't', 'a', 'n', 'd', '-', 'i', 'n'};
struct Header {
    char tag[8];
    int scale;
    int pathBytes;
};

const Header* HeaderOf(const unsigned char* bytes, int length) {
    if (!bytes || length < int(sizeof(Header)) || std::memcmp(bytes, kTag, sizeof kTag) != 0) {
        return nullptr;
    }
    return reinterpret_cast<const Header*>(bytes);
}

}  // namespace

void QvPictureSets::Tick(int drawingWidth, int drawingHeight, double seconds) {
    _here = PictureSetsHere();
    const double pixelsPerUnit = QvPixelsPerUnit(drawingWidth, drawingHeight);
    const int wanted = pixelsPerUnit > 2 * kClearly ? 4 : pixelsPerUnit > kClearly ? 2 : 1;
    _wantedFor = wanted == _wanted ? _wantedFor + seconds : 0.0;
    _wanted = wanted;
    if (_wantedFor >= kSettled && !(_here & wanted) && !(_asked & wanted)) {
        _asked |= wanted;
        AskForPictureSet(wanted);
    }
}

int QvPictureSets::Source(int scale) const {
    while (!(_here & scale)) scale /= 2;
    return scale;
}

unsigned char* QvPictureSets::StandIn(const String& path, int* length) const {
    const int scale = ScaleOf(path);
    if (scale == 1) return nullptr;
    const std::string name = path.ToUtf8();
    Header header = {{}, scale, int(name.size())};
    std::memcpy(header.tag, kTag, sizeof kTag);
    *length = int(sizeof header + name.size());
    auto* bytes = static_cast<unsigned char*>(std::malloc(size_t(*length)));
    std::memcpy(bytes, &header, sizeof header);
    std::memcpy(bytes + sizeof header, name.data(), name.size());
    return bytes;
}

int QvPictureSets::StandInScale(const unsigned char* bytes, int length) const {
    const Header* header = HeaderOf(bytes, length);
    return header ? header->scale / Source(header->scale) : 0;
}

unsigned char* QvPictureSets::Decode(QvGlfwGame& host, const unsigned char* bytes, int length,
                                     int* width, int* height, int* depth) const {
    const Header* header = HeaderOf(bytes, length);
    if (!header) return nullptr;
    const String path = String::FromBytes(bytes + sizeof(Header), header->pathBytes);
    int fileLength = 0;
    unsigned char* file = host.QvGame::LoadData(InSet(path, Source(header->scale)), &fileLength);
    if (!file) return nullptr;
    unsigned char* pixels = host.QvGlfwGame::DecodeImageData(file, fileLength, width, height,
                                                             depth);
    std::free(file);
    return pixels;
}
