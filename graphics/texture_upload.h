// Making a surface's texture in the bound texture name: the allocation at the picture's
// size (or whatever size the OpenGL in use takes) and the upload of its pixels. OpenGL
// differs here from one platform to the next, so each build chooses its own file.
#pragma once

#include "graphics/gl.h"

struct gxtkTextureSize {
    int width = 0;
    int height = 0;
};

// Allocates the bound texture for a `width` x `height` picture of `format` and uploads
// `pixels` (rows top first, tightly packed; null leaves the texture blank) into its
// top-left corner; returns the size allocated.
gxtkTextureSize gxtkMakeTexture(GLenum format, int width, int height, const unsigned char* pixels);
