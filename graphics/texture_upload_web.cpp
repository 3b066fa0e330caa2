// Textures in a browser: WebGL takes any size for a texture without mipmaps and with
// clamped edges, which is how every surface is made, so the texture is made at the
// picture's size with its pixels in one call. Nothing asks WebGL for its errors: each
// such question waits for the browser's GPU process, a long stall per picture.
#include "graphics/texture_upload.h"

gxtkTextureSize gxtkMakeTexture(GLenum format, int width, int height, const unsigned char* pixels) {
    glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, format, GL_UNSIGNED_BYTE, pixels);
    return {width, height};
}
