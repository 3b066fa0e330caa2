// gxtkSurface: a picture as an OpenGL texture, made lazily per OpenGL context. Whatever is
// needed to make the texture again after the host replaced the window and its context is
// kept in memory: the picture file's own bytes for a loaded picture (its premultiplied
// pixels exist only while the texture is made), the pixels themselves for a blank surface
// that was written to.
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
    // The picture file the pixels decode from (malloc'ed, owned), or null.
    unsigned char* file = nullptr;
    int fileLength = 0;
    bool discarded = false;  // Discard gave up pixels and texture for good
    // How many times smaller than the picture its pixels and texture are: more than 1 while
    // a smaller set's picture stands in for it (the texture coordinates scale to match).
    int textureScale = 1;
    // Number of glTexSubImage2D calls SetSubData has issued (lets tests see row uploads).
    int subDataUploads = 0;

    gxtkSurface() = default;
    ~gxtkSurface() override;

    // Releases the texture, the pixels and the file's bytes at once. The surface draws
    // nothing afterwards and never makes a texture again.
    virtual int Discard();
    virtual int Width();
    virtual int Height();
    virtual int Loaded();
    virtual void OnUnsafeLoadComplete();

    void Bind();
    // Makes the texture in the current OpenGL context if it has none, so that its size
    // (uscale, vscale) is known; false when the surface cannot be drawn (discarded, or no
    // context yet).
    bool Prepare();
    // Takes ownership of malloc'ed `data` (may be null) and premultiplies it in place.
    void SetData(unsigned char* data, int width, int height, int depth);
    // Takes ownership of the malloc'ed bytes of the picture file the data came from; the
    // pixels are then dropped once they are in a texture and decoded again when needed.
    // Bytes that stand in for a larger picture (QvGame::StandInScale) make the surface that
    // picture's size, its pixels and texture smaller by the scale.
    void KeepFile(unsigned char* bytes, int length);
    // A stand-in decodes to a larger set's picture once the host has that set; this makes
    // the texture of one such surface again, so the pictures change over one a frame.
    static void RenewOneStandIn();
    // Writes w x h ARGB pixels (row r starts at pixels[r * pitch]) at (x, y).
    void SetSubData(int x, int y, int w, int h, const uint32_t* pixels, int pitch);

private:
    void CreateTexture();
    void ReleaseTexture();
    // Decodes the kept file into `data` when the pixels are not at hand.
    void RestorePixels();
    void ForgetFile();
};

// Smallest power of two at or above `size` (1 for sizes up to 1).
int gxtkPowerOfTwoAtLeast(int size);
