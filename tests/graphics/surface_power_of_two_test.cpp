// Surfaces on an OpenGL that only accepts power-of-two texture sizes: Mesa with its
// non-power-of-two extension switched off and an OpenGL 1.4 version.
#include <gtest/gtest.h>

#include <cstdlib>

#include "graphics/graphics_device.h"
#include "tests/graphics/gl_test_window.h"

namespace {

// Mesa reads these when it makes its first context, so they are set before any test runs.
const bool mesaConfigured = [] {
    setenv("MESA_GL_VERSION_OVERRIDE", "1.4", 1);
    setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_texture_non_power_of_two", 1);
    return true;
}();

TEST(PowerOfTwoTextures, PictureFillsTheCornerOfALargerTextureAndStillDrawsExactly) {
    ASSERT_TRUE(mesaConfigured);
    ASSERT_TRUE(gltest::OpenWindow(160, 120));
    gxtkGraphics* device = gltest::BeginPlainFrame();

    gxtkSurface* surface = device->CreateSurface(100, 60);
    surface->Bind();
    EXPECT_FLOAT_EQ(surface->uscale, 1.0f / 128);
    EXPECT_FLOAT_EQ(surface->vscale, 1.0f / 64);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    Array<int> argb(100 * 60);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 100; ++x)
            argb[y * 100 + x] = static_cast<int>(0xff000000u | (x * 2) << 16 | (y * 4) << 8 | 0x40);
    }
    device->WritePixels2(surface, argb, 0, 0, 100, 60, 0, 100);
    device->DrawSurface(surface, 5, 7);
    device->EndRender();

    Array<int> got(100 * 60);
    device->ReadPixels(got, 5, 7, 100, 60, 0, 100);
    int bad = 0;
    for (int i = 0; i < got.Length(); ++i) {
        if ((got[i] & 0xffffff) != (argb[i] & 0xffffff)) ++bad;
    }
    EXPECT_EQ(bad, 0);
    // The unused area of the texture is not drawn.
    EXPECT_EQ(gltest::WrongPixels(*device, {{105, 7, 0}, {5, 67, 0}}), "");

    gxtkSurface* square = device->CreateSurface(64, 32);
    square->Bind();
    EXPECT_FLOAT_EQ(square->uscale, 1.0f / 64);
    EXPECT_FLOAT_EQ(square->vscale, 1.0f / 32);
    gltest::CloseWindow();
}

}  // namespace
