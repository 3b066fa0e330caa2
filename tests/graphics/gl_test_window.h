// An OpenGL window for graphics tests: a private Xvfb display per test program, one GLFW
// window whose context is current, and helpers to read back what was drawn.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/graphics_device.h"

namespace gltest {

// Opens a window of the given size (closing any earlier one) and counts it as a new
// OpenGL context in glfwGraphicsSeq, as the host does for each window it opens.
// False when no display or context could be had.
bool OpenWindow(int width, int height);
void CloseWindow();

// A new render device in a frame begun from the defaults: no transform, opaque white,
// alpha blending, no clipping, and the window cleared to black.
gxtkGraphics* BeginPlainFrame();

// The colour of window pixel (x, y) as 0xRRGGBB, read through the device.
uint32_t RgbAt(gxtkGraphics& device, int x, int y);

// A window pixel and the colour it should show, as 0xRRGGBB.
struct Pixel {
    int x, y;
    uint32_t rgb;
};
// One line for each pixel that shows another colour; empty when all are as expected.
std::string WrongPixels(gxtkGraphics& device, const std::vector<Pixel>& expected);

// Writes a w x h PNG of 4-channel pixels given as RGBA bytes; false on failure.
bool WritePng(const std::string& path, int w, int h, const std::vector<uint8_t>& rgba);

// A 0xRRGGBB value with each channel within `tolerance` of the expected one.
bool NearRgb(uint32_t actual, uint32_t expected, int tolerance);

}  // namespace gltest
