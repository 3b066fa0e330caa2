// gxtkGraphics: frame set-up, state, batching and flushing, pixel read-back.
#include "graphics/graphics_device.h"

#include <GLFW/glfw3.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "graphics/gl_pipeline.h"
#include "host/glfw_game.h"

namespace {

// One colour byte: the product truncated towards zero, kept inside a byte.
uint32_t ColorByte(float value) {
    if (!(value > 0.0f)) return 0;
    if (value >= 255.0f) return 255;
    return static_cast<uint32_t>(static_cast<int>(value));
}

}  // namespace

uint32_t gxtkPackColor(float red, float green, float blue, float alpha) {
    return ColorByte(alpha * 255.0f) << 24 | ColorByte(blue * alpha) << 16 |
           ColorByte(green * alpha) << 8 | ColorByte(red * alpha);
}

gxtkGraphics::gxtkGraphics() {
    std::memset(vertices, 0, sizeof vertices);
    for (int q = 0; q < GXTK_MAX_QUADS; ++q) {
        uint16_t b = static_cast<uint16_t>(q * 4);
        uint16_t* idx = &quadIndices[q * 6];
        idx[0] = b;
        idx[1] = b + 1;
        idx[2] = b + 2;
        idx[3] = b;
        idx[4] = b + 2;
        idx[5] = b + 3;
    }
    ReadWindowSize();
}

// The host keeps its window's size from GLFW's callbacks, so reading it costs no round
// trip to the window system; any other window is asked, and is drawn at its own size.
void gxtkGraphics::ReadWindowSize() {
    width = height = drawWidth = drawHeight = 0;
    GLFWwindow* window = glfwGetCurrentContext();
    if (!window) return;
    QvGlfwGame* host = QvGlfwGame::_glfwGame;
    if (host && host->Window() == window) {
        width = host->GetDeviceWidth();
        height = host->GetDeviceHeight();
        drawWidth = host->GetDrawingWidth();
        drawHeight = host->GetDrawingHeight();
        return;
    }
    glfwGetWindowSize(window, &width, &height);
    drawWidth = width;
    drawHeight = height;
}

int gxtkGraphics::Width() { return width; }
int gxtkGraphics::Height() { return height; }

int gxtkGraphics::BeginRender() {
    gxtkSurface::RenewOneStandIn();
    ReadWindowSize();
    gxtkBeginFrame(width, height, drawWidth, drawHeight, vertices);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    blend = 0;
    gxtkTexturing(false);
    texturing = false;
    vertexCount = 0;
    return 1;
}

void gxtkGraphics::EndRender() { Flush(); }

void gxtkGraphics::DiscardGraphics() {}

int gxtkGraphics::Cls(float r, float g, float b) {
    vertexCount = 0;
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return 0;
}

void gxtkGraphics::PackColor() { packedColor = gxtkPackColor(red, green, blue, alpha); }

int gxtkGraphics::SetAlpha(float a) {
    alpha = a;
    PackColor();
    return 0;
}

int gxtkGraphics::SetColor(float r, float g, float b) {
    red = r;
    green = g;
    blue = b;
    PackColor();
    return 0;
}

// Only a change of the blend function ends the batch: what is pending was drawn for the
// function already in force.
int gxtkGraphics::SetBlend(int mode) {
    int wanted = mode == 1 ? 1 : 0;
    if (wanted == blend) return 0;
    Flush();
    // Colours are premultiplied, so alpha blending takes the source as it is.
    glBlendFunc(GL_ONE, wanted == 1 ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    blend = wanted;
    return 0;
}

int gxtkGraphics::DrawnX(int x) const {
    return width == drawWidth ? x : int(std::lround(double(x) * drawWidth / width));
}

int gxtkGraphics::DrawnY(int y) const {
    return height == drawHeight ? y : int(std::lround(double(y) * drawHeight / height));
}

int gxtkGraphics::SetScissor(int x, int y, int w, int h) {
    Flush();
    if (x == 0 && y == 0 && w == Width() && h == Height()) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        glEnable(GL_SCISSOR_TEST);
        // In the buffer's pixels, whose rows OpenGL counts from the bottom.
        const int left = DrawnX(x), bottom = DrawnY(Height() - y - h);
        glScissor(left, bottom, DrawnX(x + w) - left, DrawnY(Height() - y) - bottom);
    }
    return 0;
}

int gxtkGraphics::SetMatrix(float a, float b, float c, float d, float tx, float ty) {
    ma = a;
    mb = b;
    mc = c;
    md = d;
    mtx = tx;
    mty = ty;
    transformed = !(a == 1 && b == 0 && c == 0 && d == 1 && tx == 0 && ty == 0);
    return 0;
}

gxtkVertex* gxtkGraphics::Begin(int mode, int count, gxtkSurface* surface) {
    if (mode != batchMode || surface != batchSurface) {
        if (vertexCount > 0) Flush();
        batchMode = mode;
        batchSurface = surface;
    } else if (vertexCount + count > GXTK_MAX_VERTICES) {
        Flush();
    }
    gxtkVertex* first = &vertices[vertexCount];
    vertexCount += count;
    return first;
}

void gxtkGraphics::Flush() {
    if (vertexCount == 0) return;
    if (batchSurface && batchSurface->discarded) {  // given up since its quads were stored
        vertexCount = 0;
        return;
    }
    // Texturing stays on from one textured batch to the next; only an untextured batch
    // turns it off.
    if (batchSurface) {
        if (!texturing) gxtkTexturing(true);
        texturing = true;
        batchSurface->Bind();
    } else if (texturing) {
        gxtkTexturing(false);
        texturing = false;
    }
    gxtkDrawVertices(batchMode, vertexCount, vertices, quadIndices);
    ++drawCallCount;
    vertexCount = 0;
    ++flushCount;
}

namespace {

// True when every row of a w x h block starting at `offset`, `pitch` apart, lies inside
// an array of `length` values.
bool RowsInside(int length, int w, int h, int offset, int pitch) {
    if (w <= 0 || h <= 0) return false;
    for (int r = 0; r < h; ++r) {
        long long start = static_cast<long long>(offset) + static_cast<long long>(r) * pitch;
        if (start < 0 || start + w > length) return false;
    }
    return true;
}

}  // namespace

int gxtkGraphics::ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch) {
    Flush();
    // A block that does not fit the array is refused rather than written past its end.
    if (!RowsInside(pixels.Length(), w, h, offset, pitch)) return 0;
    std::vector<int> buffer(static_cast<size_t>(w) * h);
    gxtkReadPixels(x, height - y - h, w, h, buffer.data());
    // OpenGL returns the bottom row first; the array wants the top row first.
    for (int r = 0; r < h; ++r) {
        std::memcpy(&pixels[offset + r * pitch], &buffer[static_cast<size_t>(h - 1 - r) * w],
                    sizeof(int) * w);
    }
    return 0;
}

int gxtkGraphics::WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h,
                               int offset, int pitch) {
    if (!surface || !RowsInside(pixels.Length(), w, h, offset, pitch)) return 0;
    surface->SetSubData(x, y, w, h, reinterpret_cast<const uint32_t*>(&pixels[offset]), pitch);
    return 0;
}
