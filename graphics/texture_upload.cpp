// Textures on the desktop's OpenGL, which may be old enough to take only power-of-two
// sizes: a rejected size is asked again at the powers of two at or above it, and the
// picture then fills the top-left corner.
#include "graphics/texture_upload.h"
#include "graphics/surface.h"

namespace {

// Errors left over from earlier calls must not be taken for a rejected size.
void ForgetErrors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

void Allocate(GLenum format, int width, int height) {
    glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, format, GL_UNSIGNED_BYTE, nullptr);
}

}  // namespace

gxtkTextureSize gxtkMakeTexture(GLenum format, int width, int height, const unsigned char* pixels) {
    ForgetErrors();
    gxtkTextureSize size{width, height};
    Allocate(format, width, height);
    if (glGetError() != GL_NO_ERROR) {
        size = {gxtkPowerOfTwoAtLeast(width), gxtkPowerOfTwoAtLeast(height)};
        Allocate(format, size.width, size.height);
    }
    if (pixels) {
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width, height, format, GL_UNSIGNED_BYTE, pixels);
    }
    return size;
}
