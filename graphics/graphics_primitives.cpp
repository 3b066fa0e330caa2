// gxtkGraphics drawing operations: each primitive's vertices, transformed on the CPU.
#include <cmath>

#include "graphics/graphics_device.h"

namespace {

// Radii products can be huge or not numbers; keep them inside the range that matters.
int SegmentEstimate(float value) {
    if (!(value < 2048.0f)) return 2048;
    if (!(value > -2048.0f)) return -2048;
    return static_cast<int>(value);
}

}  // namespace

int gxtkOvalSegments(float rx, float ry, bool transformed, float ma, float mb, float mc, float md) {
    int s;
    if (transformed) {
        s = SegmentEstimate(std::sqrt((rx * ma) * (rx * ma) + (rx * mb) * (rx * mb)) +
                            std::sqrt((ry * mc) * (ry * mc) + (ry * md) * (ry * md)));
    } else {
        s = std::abs(SegmentEstimate(rx)) + std::abs(SegmentEstimate(ry));
    }
    if (s <= 11) return 12;
    if (s > GXTK_MAX_VERTICES) return GXTK_MAX_VERTICES;
    return s & ~3;
}

void gxtkGraphics::Place(gxtkVertex& v, float x, float y) const {
    if (transformed) {
        v.x = ma * x + mc * y + mtx;
        v.y = mb * x + md * y + mty;
    } else {
        v.x = x;
        v.y = y;
    }
}

int gxtkGraphics::DrawPoint(float x, float y) {
    gxtkVertex* v = Begin(GXTK_POINTS, 1, nullptr);
    // Half a pixel puts the point on the centre of the pixel it names.
    Place(v[0], x, y);
    v[0].x += 0.5f;
    v[0].y += 0.5f;
    v[0].color = packedColor;
    return 0;
}

int gxtkGraphics::DrawLine(float x1, float y1, float x2, float y2) {
    gxtkVertex* v = Begin(GXTK_LINES, 2, nullptr);
    Place(v[0], x1, y1);
    Place(v[1], x2, y2);
    for (int i = 0; i < 2; ++i) {
        v[i].x += 0.5f;
        v[i].y += 0.5f;
        v[i].color = packedColor;
    }
    return 0;
}

int gxtkGraphics::DrawRect(float x, float y, float w, float h) {
    gxtkVertex* v = Begin(GXTK_QUADS, 4, nullptr);
    Place(v[0], x, y);
    Place(v[1], x + w, y);
    Place(v[2], x + w, y + h);
    Place(v[3], x, y + h);
    for (int i = 0; i < 4; ++i) v[i].color = packedColor;
    return 0;
}

int gxtkGraphics::DrawOval(float x, float y, float w, float h) {
    float rx = w * 0.5f;
    float ry = h * 0.5f;
    int n = gxtkOvalSegments(rx, ry, transformed, ma, mb, mc, md);
    gxtkVertex* v = Begin(n, n, nullptr);
    float cx = x + rx;
    float cy = y + ry;
    // From the rightmost point, counter-clockwise on screen (y runs down).
    for (int i = 0; i < n; ++i) {
        float theta = static_cast<float>(i) * 6.2831855f / static_cast<float>(n);
        Place(v[i], rx * std::cos(theta) + cx, cy - ry * std::sin(theta));
        v[i].color = packedColor;
    }
    return 0;
}

int gxtkGraphics::DrawPoly(Array<float> xy) {
    int n = xy.Length() / 2;
    if (n < 1 || n > GXTK_MAX_VERTICES) return 0;
    gxtkVertex* v = Begin(n, n, nullptr);
    for (int i = 0; i < n; ++i) {
        Place(v[i], xy[2 * i], xy[2 * i + 1]);
        v[i].color = packedColor;
    }
    return 0;
}

int gxtkGraphics::DrawPoly2(Array<float> xyuv, gxtkSurface* surface, int srcx, int srcy) {
    int n = xyuv.Length() / 4;
    if (!surface || n < 1 || n > GXTK_MAX_VERTICES || !surface->Prepare()) return 0;
    gxtkVertex* v = Begin(n, n, surface);
    for (int i = 0; i < n; ++i) {
        Place(v[i], xyuv[4 * i], xyuv[4 * i + 1]);
        v[i].u = (srcx + xyuv[4 * i + 2]) * surface->uscale;
        v[i].v = (srcy + xyuv[4 * i + 3]) * surface->vscale;
        v[i].color = packedColor;
    }
    return 0;
}

// A surface is made ready before its texture coordinates are worked out: they depend on
// the size its texture was given. A discarded surface draws nothing.
int gxtkGraphics::DrawSurface(gxtkSurface* surface, float x, float y) {
    if (!surface || !surface->Prepare()) return 0;
    float w = static_cast<float>(surface->Width());
    float h = static_cast<float>(surface->Height());
    gxtkVertex* v = Begin(GXTK_QUADS, 4, surface);
    float u1 = w * surface->uscale;
    float v1 = h * surface->vscale;
    Place(v[0], x, y);
    Place(v[1], x + w, y);
    Place(v[2], x + w, y + h);
    Place(v[3], x, y + h);
    v[0].u = 0.0f, v[0].v = 0.0f;
    v[1].u = u1, v[1].v = 0.0f;
    v[2].u = u1, v[2].v = v1;
    v[3].u = 0.0f, v[3].v = v1;
    for (int i = 0; i < 4; ++i) v[i].color = packedColor;
    return 0;
}

int gxtkGraphics::DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw,
                               int srch) {
    if (!surface || !surface->Prepare()) return 0;
    gxtkVertex* v = Begin(GXTK_QUADS, 4, surface);
    float u0 = srcx * surface->uscale;
    float v0 = srcy * surface->vscale;
    float u1 = (srcx + srcw) * surface->uscale;
    float v1 = (srcy + srch) * surface->vscale;
    Place(v[0], x, y);
    Place(v[1], x + srcw, y);
    Place(v[2], x + srcw, y + srch);
    Place(v[3], x, y + srch);
    v[0].u = u0, v[0].v = v0;
    v[1].u = u1, v[1].v = v0;
    v[2].u = u1, v[2].v = v1;
    v[3].u = u0, v[3].v = v1;
    for (int i = 0; i < 4; ++i) v[i].color = packedColor;
    return 0;
}
