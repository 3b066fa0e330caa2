// What the render device asks of OpenGL besides the calls every platform shares (blending,
// clearing, the scissor, textures): the frame's projection and vertex arrays, texturing on
// or off, drawing a batch and reading pixels back. The desktop's OpenGL does these with
// its fixed-function pipeline; a browser's WebGL has none, and drawing through an
// emulation of it costs a dozen calls a batch, so the browser's build draws with a shader
// and buffers of its own. Each build chooses its file.
#pragma once

#include <cstdint>

struct gxtkVertex;

// A frame of a `width` x `height` window (pixels, origin top-left, y down) drawn into a
// `drawWidth` x `drawHeight` buffer from `vertices`, the device's vertex records.
void gxtkBeginFrame(int width, int height, int drawWidth, int drawHeight,
                    const gxtkVertex* vertices);
// Whether the bound texture multiplies the vertices' colours in the next batches.
void gxtkTexturing(bool on);
// Draws the first `count` vertices in a batch mode of the device: points, lines,
// triangles, quads (two triangles each, by `quadIndices`) or fans of `mode` vertices.
void gxtkDrawVertices(int mode, int count, const gxtkVertex* vertices, const uint16_t* quadIndices);
// Reads w x h pixels of the buffer, from (x, y) counted from its bottom-left corner, as
// ints holding the bytes blue, green, red and alpha; the bottom row first.
void gxtkReadPixels(int x, int y, int w, int h, int* pixels);
