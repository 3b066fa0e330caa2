#include "host/web_picture_sets.h"

#include <emscripten.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/glfw_game.h"

namespace {

// The page fetches a set once, however often it is asked.
EM_JS(void, AskForPictureSet, (int scale), {
    if (Module.fetchPictureSet) Module.fetchPictureSet(scale);
});
EM_JS(int, PictureSetHere, (int scale),
      { return Module.pictureSetHere && Module.pictureSetHere(scale) ? 1 : 0; });

bool Here(int scale) { return scale == 1 || PictureSetHere(scale); }

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

// A stand-in file: this tag, the picture's set, the set it stands in as, the length of the
// picture's path, the path, then the file of the set it stands in as.
constexpr char kTag[8] = {'s', 't', 'a', 'n', 'd', '-', 'i', 'n'};
struct Header {
    char tag[8];
    int scale;
    int source;
    int pathBytes;
};

const Header* HeaderOf(const unsigned char* bytes, int length) {
    if (!bytes || length < int(sizeof(Header)) || std::memcmp(bytes, kTag, sizeof kTag) != 0) {
        return nullptr;
    }
    return reinterpret_cast<const Header*>(bytes);
}

}  // namespace

void QvPictureSets::SetWindow(int width, int height) {
    // The game's virtual screen: 640 x 480 units, half as much again in a portrait window.
    const double units = height > width ? 1.5 : 1.0;
    const double pixelsPerUnit = std::max(width / (640 * units), height / (480 * units));
    _windowScale = pixelsPerUnit > 2 ? 4 : pixelsPerUnit > 1 ? 2 : 1;
}

int QvPictureSets::Source(int scale) const {
    int source = std::min(scale, _windowScale);
    while (!Here(source)) source /= 2;
    return source;
}

unsigned char* QvPictureSets::StandIn(QvGlfwGame& host, const String& path, int* length) const {
    const int scale = ScaleOf(path);
    if (scale == 1) return nullptr;
    if (std::min(scale, _windowScale) > 1) AskForPictureSet(std::min(scale, _windowScale));
    const int source = Source(scale);
    int sourceLength = 0;
    unsigned char* sourceBytes = host.QvGame::LoadData(InSet(path, source), &sourceLength);
    if (!sourceBytes) return nullptr;
    const std::string name = path.ToUtf8();
    Header header = {{}, scale, source, int(name.size())};
    std::memcpy(header.tag, kTag, sizeof kTag);
    *length = int(sizeof header + name.size()) + sourceLength;
    auto* bytes = static_cast<unsigned char*>(std::malloc(size_t(*length)));
    std::memcpy(bytes, &header, sizeof header);
    std::memcpy(bytes + sizeof header, name.data(), name.size());
    std::memcpy(bytes + sizeof header + name.size(), sourceBytes, size_t(sourceLength));
    std::free(sourceBytes);
    return bytes;
}

bool QvPictureSets::StandsIn(const unsigned char* bytes, int length) const {
    const Header* header = HeaderOf(bytes, length);
    return header && header->source < std::min(header->scale, _windowScale) &&
           Source(header->scale) == header->source;
}

unsigned char* QvPictureSets::Decode(QvGlfwGame& host, const unsigned char* bytes, int length,
                                     int* width, int* height, int* depth) const {
    const Header* header = HeaderOf(bytes, length);
    if (!header) return nullptr;
    const String path = String::FromBytes(bytes + sizeof(Header), header->pathBytes);
    const int source = Source(header->scale);
    unsigned char* pixels = nullptr;
    if (source == header->source) {
        const unsigned char* file = bytes + sizeof(Header) + header->pathBytes;
        pixels = host.QvGlfwGame::DecodeImageData(file, int(bytes + length - file), width, height,
                                                  depth);
    } else {
        int fileLength = 0;
        unsigned char* file = host.QvGame::LoadData(InSet(path, source), &fileLength);
        if (!file) return nullptr;
        pixels = host.QvGlfwGame::DecodeImageData(file, fileLength, width, height, depth);
        std::free(file);
    }
    const int enlargement = header->scale / source;
    if (!pixels || enlargement == 1) return pixels;
    unsigned char* enlarged = QvEnlargePixels(pixels, *width, *height, *depth, enlargement);
    std::free(pixels);
    *width *= enlargement;
    *height *= enlargement;
    gc_ext_malloced(*width * *height * *depth);
    return enlarged;
}

unsigned char* QvEnlargePixels(const unsigned char* pixels, int width, int height, int depth,
                               int scale) {
    const size_t from = size_t(width) * depth, row = from * scale;
    auto* out = static_cast<unsigned char*>(std::malloc(row * height * scale));
    for (int y = 0; y < height; ++y) {
        unsigned char* first = out + row * scale * y;
        const unsigned char* pixel = pixels + from * y;
        unsigned char* to = first;
        for (int x = 0; x < width; ++x, pixel += depth) {
            for (int k = 0; k < scale; ++k, to += depth) std::memcpy(to, pixel, size_t(depth));
        }
        for (int k = 1; k < scale; ++k) std::memcpy(first + row * k, first, row);
    }
    return out;
}
