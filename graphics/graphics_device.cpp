// gxtkGraphics: frame set-up, state, batching and flushing, pixel read-back.
#include "graphics/graphics_device.h"

#include <GLFW/glfw3.h>

#include <cstdlib>
#include <cstring>
#include <vector>

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
// trip to the window system; any other window is asked.
void gxtkGraphics::ReadWindowSize() {
    width = 0;
    height = 0;
    GLFWwindow* window = glfwGetCurrentContext();
    if (!window) return;
    QvGlfwGame* host = QvGlfwGame::_glfwGame;
    if (host && host->Window() == window) {
        width = host->GetDeviceWidth();
        height = host->GetDeviceHeight();
        return;
    }
    glfwGetWindowSize(window, &width, &height);
}

int gxtkGraphics::Width() { return width; }
int gxtkGraphics::Height() { return height; }

int gxtkGraphics::BeginRender() {
    ReadWindowSize();
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertices[0].x);
    glTexCoordPointer(2, GL_FLOAT, sizeof(gxtkVertex), &vertices[0].u);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(gxtkVertex), &vertices[0].color);

    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    blend = 0;
    glDisable(GL_TEXTURE_2D);
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

int gxtkGraphics::SetScissor(int x, int y, int w, int h) {
    Flush();
    if (x == 0 && y == 0 && w == Width() && h == Height()) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, Height() - y - h, w, h);  // OpenGL counts rows from the bottom
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
        if (!texturing) glEnable(GL_TEXTURE_2D);
        texturing = true;
        batchSurface->Bind();
    } else if (texturing) {
        glDisable(GL_TEXTURE_2D);
        texturing = false;
    }
    DrawBatch();
    vertexCount = 0;
    ++flushCount;
}

void gxtkGraphics::DrawBatch() {
    switch (batchMode) {
        case GXTK_POINTS:
            glDrawArrays(GL_POINTS, 0, vertexCount);
            ++drawCallCount;
            return;
        case GXTK_LINES:
            glDrawArrays(GL_LINES, 0, vertexCount);
            ++drawCallCount;
            return;
        case GXTK_TRIANGLES:
            glDrawArrays(GL_TRIANGLES, 0, vertexCount);
            ++drawCallCount;
            return;
        case GXTK_QUADS:
            glDrawElements(GL_TRIANGLES, vertexCount / 4 * 6, GL_UNSIGNED_SHORT, quadIndices);
            ++drawCallCount;
            return;
        default: {
#if defined(__EMSCRIPTEN__)
            // The browser's fixed-function emulation draws nothing for a multi-draw: every
            // fan of the batch goes out as its triangles in one indexed call.
            static uint16_t fanIndices[GXTK_MAX_VERTICES * 3];
            int count = 0;
            for (int first = 0; first < vertexCount; first += batchMode) {
                for (int i = 1; i + 1 < batchMode; ++i) {
                    fanIndices[count++] = uint16_t(first);
                    fanIndices[count++] = uint16_t(first + i);
                    fanIndices[count++] = uint16_t(first + i + 1);
                }
            }
            glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_SHORT, fanIndices);
#else
            // Every fan of the batch in one call.
            int fans = 0;
            for (int first = 0; first < vertexCount; first += batchMode, ++fans) {
                fanFirsts[fans] = first;
                fanCounts[fans] = batchMode;
            }
            glMultiDrawArrays(GL_TRIANGLE_FAN, fanFirsts, fanCounts, fans);
#endif
            ++drawCallCount;
        }
    }
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
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
#if defined(__EMSCRIPTEN__)
    // WebGL reads only RGBA bytes: red and blue swap places to give the BGRA bytes of
    // each pixel's int.
    glReadPixels(x, height - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, buffer.data());
    for (int& pixel : buffer) {
        const unsigned p = unsigned(pixel);
        pixel = int((p & 0xFF00FF00u) | (p & 0xFFu) << 16 | (p >> 16 & 0xFFu));
    }
#else
    glReadPixels(x, height - y - h, w, h, GL_BGRA, GL_UNSIGNED_BYTE, buffer.data());
#endif
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
