// gxtkSurface: a picture kept as premultiplied pixels in memory and as an OpenGL texture.
// The memory copy lives as long as the surface, so the texture can be rebuilt lazily
// whenever the host has replaced the window and its OpenGL context.
#pragma once

#include <cstdint>

#include "graphics/gl.h"
#include "runtime/object.h"

class gxtkSurface : public Object {
public:
    unsigned char* data = nullptr;  // rows top first, `depth` bytes per pixel, premultiplied
    int width = 0;
    int height = 0;
    int depth = 0;        // bytes per pixel, 1 to 4
    GLenum format = 0;    // texture format chosen from depth
    int seq = -1;         // glfwGraphicsSeq when the texture was made, -1 for none
    GLuint texture = 0;   // valid only while seq == glfwGraphicsSeq
    float uscale = 0.0f;  // 1 / allocated texture width
    float vscale = 0.0f;  // 1 / allocated texture height
    // Number of glTexSubImage2D calls SetSubData has issued (lets tests see row uploads).
    int subDataUploads = 0;

    gxtkSurface() = default;
    ~gxtkSurface() override;

    virtual int Discard();
    virtual int Width();
    virtual int Height();
    virtual int Loaded();
    virtual void OnUnsafeLoadComplete();

    void Bind();
    // Takes ownership of malloc'ed `data` (may be null) and premultiplies it in place.
    void SetData(unsigned char* data, int width, int height, int depth);
    // Writes w x h ARGB pixels (row r starts at pixels[r * pitch]) at (x, y).
    void SetSubData(int x, int y, int w, int h, const uint32_t* pixels, int pitch);

private:
    void CreateTexture();
    void ReleaseTexture();
};

// Smallest power of two at or above `size` (1 for sizes up to 1).
int gxtkPowerOfTwoAtLeast(int size);
