// gxtkGraphics: the render device, the only object that issues OpenGL drawing commands.
// Primitives are transformed and coloured on the CPU into one fixed vertex buffer;
// consecutive primitives of one kind and one texture draw with a single OpenGL call.
#pragma once

#include <cstdint>

#include "graphics/gl.h"
#include "graphics/surface.h"
#include "runtime/object.h"

// One vertex as handed to OpenGL: 20 bytes, tightly packed.
struct gxtkVertex {
    float x, y;      // window pixels, origin top-left, y down
    float u, v;      // texture coordinates (unwritten for untextured primitives)
    uint32_t color;  // bytes red, green, blue, alpha in memory, premultiplied
};
static_assert(sizeof(gxtkVertex) == 20, "vertex layout is part of the OpenGL arrays");

constexpr int GXTK_MAX_VERTICES = 1024;
constexpr int GXTK_MAX_QUADS = GXTK_MAX_VERTICES / 4;
constexpr int GXTK_MAX_FANS = GXTK_MAX_VERTICES / 5;  // fans have at least 5 vertices

// Batch modes: 1 points, 2 lines, 3 triangles, 4 quads, n >= 5 fans of n vertices.
enum {
    GXTK_POINTS = 1,
    GXTK_LINES = 2,
    GXTK_TRIANGLES = 3,
    GXTK_QUADS = 4,
};

class gxtkGraphics : public Object {
public:
    int width = 0;
    int height = 0;
    // The buffer drawn into, which the window's width x height maps onto.
    int drawWidth = 0;
    int drawHeight = 0;
    uint32_t packedColor = 0;
    float red = 0.0f, green = 0.0f, blue = 0.0f;
    float alpha = 0.0f;
    float ma = 1.0f, mb = 0.0f, mc = 0.0f, md = 1.0f, mtx = 0.0f, mty = 0.0f;
    bool transformed = false;
    gxtkVertex vertices[GXTK_MAX_VERTICES];
    uint16_t quadIndices[GXTK_MAX_QUADS * 6];
    int batchMode = 0;
    int vertexCount = 0;
    gxtkSurface* batchSurface = nullptr;  // not owned; only used while vertices are pending
    int blend = -1;          // blend mode the OpenGL blend function is set for; -1 before any
    bool texturing = false;  // texturing is on (left on between textured batches)
    // Batches drawn and OpenGL draw calls issued since construction (tests, benchmarks).
    int64_t flushCount = 0;
    int64_t drawCallCount = 0;

    // Reads the size of the window whose OpenGL context is current; makes no OpenGL call.
    gxtkGraphics();

    virtual int Width();
    virtual int Height();
    virtual int BeginRender();
    virtual void EndRender();
    virtual void DiscardGraphics();
    virtual gxtkSurface* LoadSurface(String path);
    virtual gxtkSurface* CreateSurface(int width, int height);
    virtual bool LoadSurface__UNSAFE__(gxtkSurface* surface, String path);
    virtual int Cls(float r, float g, float b);
    virtual int SetAlpha(float alpha);
    virtual int SetColor(float r, float g, float b);
    virtual int SetBlend(int blend);
    virtual int SetScissor(int x, int y, int w, int h);
    virtual int SetMatrix(float ma, float mb, float mc, float md, float mtx, float mty);
    virtual int DrawPoint(float x, float y);
    virtual int DrawRect(float x, float y, float w, float h);
    virtual int DrawLine(float x1, float y1, float x2, float y2);
    virtual int DrawOval(float x, float y, float w, float h);
    virtual int DrawPoly(Array<float> xy);
    virtual int DrawPoly2(Array<float> xyuv, gxtkSurface* surface, int srcx, int srcy);
    virtual int DrawSurface(gxtkSurface* surface, float x, float y);
    virtual int DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw,
                             int srch);
    virtual int ReadPixels(Array<int> pixels, int x, int y, int w, int h, int offset, int pitch);
    virtual int WritePixels2(gxtkSurface* surface, Array<int> pixels, int x, int y, int w, int h,
                             int offset, int pitch);

    // Draws and empties the pending batch.
    void Flush();
    // Reserves `count` vertices of a primitive of `mode` drawn with `surface` (null for
    // none), flushing first when the batch changes or is full; returns the first record.
    gxtkVertex* Begin(int mode, int count, gxtkSurface* surface);

private:
    void ReadWindowSize();
    // A window position in the drawing buffer's pixels.
    int DrawnX(int x) const;
    int DrawnY(int y) const;
    void PackColor();
    // Stores (x, y) through the current matrix into v.
    void Place(gxtkVertex& v, float x, float y) const;
};

// Vertex count of the fan an oval of the given radii is drawn with: 12 to 1024.
int gxtkOvalSegments(float rx, float ry, bool transformed, float ma, float mb, float mc, float md);
// The premultiplied colour word: bytes red*alpha, green*alpha, blue*alpha, alpha*255.
uint32_t gxtkPackColor(float red, float green, float blue, float alpha);
