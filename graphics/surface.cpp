// gxtkSurface: a lazily made texture per OpenGL context, and what it is made from.
#include "graphics/surface.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "graphics/texture_upload.h"
#include "host/glfw_game.h"

int gxtkPowerOfTwoAtLeast(int size) {
    int p = 1;
    while (p < size && p < (1 << 30)) p *= 2;
    return p;
}

namespace {

// value * alpha / 255 with integer truncation.
unsigned char Premultiply(unsigned value, unsigned alpha) {
    return static_cast<unsigned char>(value * alpha / 255);
}

// Multiplies the colour bytes of `count` pixels of `depth` bytes by the alpha byte that
// ends each pixel.
void PremultiplyPixels(unsigned char* pixels, long long count, int depth) {
    for (long long i = 0; i < count; ++i) {
        unsigned char* p = pixels + i * depth;
        for (int c = 0; c < depth - 1; ++c) p[c] = Premultiply(p[c], p[depth - 1]);
    }
}

// Surfaces whose kept file stands in for a picture still on its way.
std::vector<gxtkSurface*>& StandIns() {
    static std::vector<gxtkSurface*> surfaces;
    return surfaces;
}

}  // namespace

gxtkSurface::~gxtkSurface() {
    ReleaseTexture();
    std::free(data);
    ForgetFile();
}

int gxtkSurface::Discard() {
    ReleaseTexture();
    std::free(data);
    data = nullptr;
    ForgetFile();
    discarded = true;
    return 0;
}

void gxtkSurface::ReleaseTexture() {
    // A texture of an earlier context died with it and must not be deleted.
    if (seq == glfwGraphicsSeq) {
        glDeleteTextures(1, &texture);
        seq = -1;
    }
}

int gxtkSurface::Width() { return width; }
int gxtkSurface::Height() { return height; }
int gxtkSurface::Loaded() { return 1; }
void gxtkSurface::OnUnsafeLoadComplete() { Bind(); }

void gxtkSurface::SetData(unsigned char* pixels, int w, int h, int d) {
    width = w;
    height = h;
    data = pixels;
    depth = d;
    static const GLenum kFormats[] = {GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA};
    if (d < 1 || d > 4) return;
    format = kFormats[d - 1];
    // Grey with alpha and RGBA end each pixel in its alpha.
    if (pixels && d % 2 == 0) PremultiplyPixels(data, static_cast<long long>(w) * h, d);
}

namespace {

// How many times smaller than its picture a kept file decodes now (1 for the picture's own).
int FileScale(const unsigned char* file, int length) {
    return file && QvGame::_game ? std::max(1, QvGame::_game->StandInScale(file, length)) : 1;
}

}  // namespace

void gxtkSurface::KeepFile(unsigned char* bytes, int length) {
    ForgetFile();
    file = bytes;
    fileLength = length;
    textureScale = FileScale(bytes, length);
    width *= textureScale;
    height *= textureScale;
    if (textureScale > 1) StandIns().push_back(this);
}

void gxtkSurface::ForgetFile() {
    auto& standIns = StandIns();
    standIns.erase(std::remove(standIns.begin(), standIns.end(), this), standIns.end());
    std::free(file);
    file = nullptr;
    fileLength = 0;
}

void gxtkSurface::RenewOneStandIn() {
    auto& standIns = StandIns();
    for (auto s = standIns.begin(); s != standIns.end(); ++s) {
        gxtkSurface* surface = *s;
        const int scale = FileScale(surface->file, surface->fileLength);
        if (scale == surface->textureScale) continue;
        if (scale == 1) standIns.erase(s);  // the picture itself from now on
        surface->ReleaseTexture();          // made again from the file when next drawn
        return;
    }
}

void gxtkSurface::RestorePixels() {
    if (data || !file || !QvGame::_game) return;
    const int scale = FileScale(file, fileLength);
    int w = 0, h = 0, d = 0;
    unsigned char* pixels = QvGame::_game->DecodeImageData(file, fileLength, &w, &h, &d);
    if (!pixels) return;
    // Not the picture this surface was made from.
    if (w * scale != width || h * scale != height || d != depth) {
        std::free(pixels);
        return;
    }
    SetData(pixels, w, h, d);
    width *= scale;
    height *= scale;
    textureScale = scale;
}

void gxtkSurface::Bind() {
    if (discarded || glfwGraphicsSeq == 0) return;  // nothing to draw, or no context yet
    if (seq == glfwGraphicsSeq) {
        glBindTexture(GL_TEXTURE_2D, texture);
        return;
    }
    CreateTexture();
}

bool gxtkSurface::Prepare() {
    if (discarded || glfwGraphicsSeq == 0) return false;
    if (seq != glfwGraphicsSeq) CreateTexture();
    return true;
}

void gxtkSurface::CreateTexture() {
    seq = glfwGraphicsSeq;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    RestorePixels();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const gxtkTextureSize size = gxtkMakeTexture(format, width / textureScale,
                                                 height / textureScale, data);
    uscale = 1.0f / static_cast<float>(size.width * textureScale);
    vscale = 1.0f / static_cast<float>(size.height * textureScale);
    // With the file at hand the pixels are decoded again for the next context instead.
    if (file) {
        std::free(data);
        data = nullptr;
    }
}

void gxtkSurface::SetSubData(int x, int y, int w, int h, const uint32_t* pixels, int pitch) {
    // A picture standing in at a smaller size is not written to: it will be replaced.
    if (discarded || format != GL_RGBA || textureScale != 1) return;
    // Only the part of the rectangle inside the surface is written.
    if (x < 0) pixels -= x, w += x, x = 0;
    if (y < 0) pixels -= static_cast<long long>(y) * pitch, h += y, y = 0;
    if (x + w > width) w = width - x;
    if (y + h > height) h = height - y;
    if (w <= 0 || h <= 0) return;

    // Written pixels are no longer the file's: from now on the pixels themselves are kept.
    RestorePixels();
    ForgetFile();
    if (!data)
        data = static_cast<unsigned char*>(std::malloc(static_cast<size_t>(width) * height * 4));
    for (int r = 0; r < h; ++r) {
        const uint32_t* src = pixels + static_cast<long long>(r) * pitch;
        unsigned char* dst = data + (static_cast<size_t>(y + r) * width + x) * 4;
        for (int k = 0; k < w; ++k, dst += 4) {
            uint32_t argb = src[k];
            unsigned a = argb >> 24;
            dst[0] = Premultiply(argb >> 16 & 0xff, a);
            dst[1] = Premultiply(argb >> 8 & 0xff, a);
            dst[2] = Premultiply(argb & 0xff, a);
            dst[3] = static_cast<unsigned char>(a);
        }
    }
    if (seq != glfwGraphicsSeq) return;  // rebuilt from the data at the next Bind

    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (w == width) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, format, GL_UNSIGNED_BYTE,
                        data + static_cast<size_t>(y) * width * 4);
        ++subDataUploads;
        return;
    }
    for (int r = 0; r < h; ++r) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, x, y + r, w, 1, format, GL_UNSIGNED_BYTE,
                        data + (static_cast<size_t>(y + r) * width + x) * 4);
        ++subDataUploads;
    }
}
