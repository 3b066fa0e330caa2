#include "tests/graphics/gl_test_window.h"

#include <GLFW/glfw3.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>

#include "host/glfw_game.h"
#include "tests/support/xvfb_server.h"

namespace gltest {
namespace {

GLFWwindow* window = nullptr;

bool StartDisplay() {
    static std::unique_ptr<XvfbServer> server;
    static bool ready = false;
    if (ready) return true;
    server = std::make_unique<XvfbServer>(1024, 768);
    if (!server->Ok()) return false;
    setenv("DISPLAY", server->Display().c_str(), 1);
    ready = glfwInit() == GLFW_TRUE;
    return ready;
}

}  // namespace

bool OpenWindow(int width, int height) {
    if (!StartDisplay()) return false;
    CloseWindow();
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
    window = glfwCreateWindow(width, height, "graphics test", nullptr, nullptr);
    if (!window) return false;
    glfwMakeContextCurrent(window);
    ++glfwGraphicsSeq;
    return true;
}

void CloseWindow() {
    if (!window) return;
    glfwMakeContextCurrent(nullptr);
    glfwDestroyWindow(window);
    window = nullptr;
}

gxtkGraphics* BeginPlainFrame() {
    gxtkGraphics* device = new gxtkGraphics;
    device->BeginRender();
    device->SetMatrix(1, 0, 0, 1, 0, 0);
    device->SetColor(255, 255, 255);
    device->SetAlpha(1);
    device->SetBlend(0);
    device->SetScissor(0, 0, device->Width(), device->Height());
    device->Cls(0, 0, 0);
    return device;
}

uint32_t RgbAt(gxtkGraphics& device, int x, int y) {
    Array<int> pixel(1);
    device.ReadPixels(pixel, x, y, 1, 1, 0, 1);
    return static_cast<uint32_t>(pixel[0]) & 0xffffff;
}

std::string WrongPixels(gxtkGraphics& device, const std::vector<Pixel>& expected) {
    std::string wrong;
    for (const Pixel& p : expected) {
        uint32_t rgb = RgbAt(device, p.x, p.y);
        if (rgb == p.rgb) continue;
        char line[64];
        std::snprintf(line, sizeof line, "(%d, %d) is %06x, not %06x\n", p.x, p.y, rgb, p.rgb);
        wrong += line;
    }
    return wrong;
}

bool WritePng(const std::string& path, int w, int h, const std::vector<uint8_t>& rgba) {
    return stbi_write_png(path.c_str(), w, h, 4, rgba.data(), w * 4) != 0;
}

bool NearRgb(uint32_t actual, uint32_t expected, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        int a = static_cast<int>(actual >> shift & 0xff);
        int e = static_cast<int>(expected >> shift & 0xff);
        if (a - e > tolerance || e - a > tolerance) return false;
    }
    return true;
}

}  // namespace gltest
