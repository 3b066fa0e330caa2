// What the render device puts on screen: primitives, colours, blending, scissor, clearing
// and read-back, checked on real pixels under Xvfb with Mesa.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "graphics/graphics_device.h"
#include "tests/graphics/gl_test_window.h"

namespace {

constexpr int W = 128;
constexpr int H = 96;

class DevicePixels : public ::testing::Test {
protected:
    static void SetUpTestSuite() { windowOpen = gltest::OpenWindow(W, H); }
    static void TearDownTestSuite() { gltest::CloseWindow(); }

    void SetUp() override {
        ASSERT_TRUE(windowOpen) << "no OpenGL window under Xvfb";
        device = gltest::BeginPlainFrame();
        ASSERT_EQ(device->Width(), W);
        ASSERT_EQ(device->Height(), H);
    }

    uint32_t At(int x, int y) { return gltest::RgbAt(*device, x, y); }
    std::string WrongPixels(const std::vector<gltest::Pixel>& expected) {
        return gltest::WrongPixels(*device, expected);
    }

    // The whole window, top row first.
    Array<int> Window() {
        Array<int> pixels(W * H);
        device->ReadPixels(pixels, 0, 0, W, H, 0, W);
        return pixels;
    }

    // A surface whose every pixel differs from its neighbours.
    gxtkSurface* Sheet(int size, uint32_t tint) {
        gxtkSurface* surface = device->CreateSurface(size, size);
        Array<int> argb(size * size);
        for (int i = 0; i < argb.Length(); ++i) {
            argb[i] = static_cast<int>(0xff000000u | (tint ^ (i * 2654435761u & 0x00ffffff)));
        }
        device->WritePixels2(surface, argb, 0, 0, size, size, 0, size);
        return surface;
    }

    static bool windowOpen;
    gxtkGraphics* device = nullptr;
};

bool DevicePixels::windowOpen = false;

// Each primitive alone, in its colour, in a cleared window: the pixels it must light and
// the ones just beyond its edges that must stay black.
struct Primitive {
    const char* what;
    uint32_t rgb;
    std::function<void(gxtkGraphics&)> draw;
    std::vector<std::pair<int, int>> lit, dark;
};

TEST_F(DevicePixels, PrimitivesLightExactlyTheirPixels) {
    const Primitive primitives[] = {
        {"rectangle",
         0x00ff00,
         [](gxtkGraphics& d) { d.DrawRect(10, 20, 30, 15); },
         {{10, 20}, {39, 34}},
         {{9, 20}, {40, 20}, {10, 19}, {10, 35}}},
        {"a row and a column of lines",
         0xff0000,
         [](gxtkGraphics& d) { d.DrawLine(10, 50, 60, 50), d.DrawLine(70, 10, 70, 40); },
         {{30, 50}, {70, 25}},
         {{30, 49}, {30, 51}, {69, 25}, {71, 25}}},
        {"point",
         0x0000ff,
         [](gxtkGraphics& d) { d.DrawPoint(5, 7); },
         {{5, 7}},
         {{4, 7}, {6, 7}, {5, 6}, {5, 8}}},
        // Centre (40, 35), radii 20 and 15: the box's corners lie outside the ellipse.
        {"oval",
         0xffff00,
         [](gxtkGraphics& d) { d.DrawOval(20, 20, 40, 30); },
         {{40, 35}, {58, 35}, {22, 35}, {40, 22}, {40, 48}},
         {{21, 21}, {58, 48}, {62, 35}, {40, 18}}},
        // Through the matrix the rectangle covers (52, 13) to (62, 28).
        {"transformed rectangle",
         0xffffff,
         [](gxtkGraphics& d) { d.SetMatrix(2, 0, 0, 3, 50, 10), d.DrawRect(1, 1, 5, 5); },
         {{52, 13}, {61, 27}},
         {{51, 13}, {62, 27}, {61, 28}}},
    };
    for (const Primitive& p : primitives) {
        device = gltest::BeginPlainFrame();
        device->SetColor(p.rgb >> 16, p.rgb >> 8 & 0xff, p.rgb & 0xff);
        p.draw(*device);
        device->EndRender();
        std::vector<gltest::Pixel> expected;
        for (auto [x, y] : p.lit) expected.push_back({x, y, p.rgb});
        for (auto [x, y] : p.dark) expected.push_back({x, y, 0});
        EXPECT_EQ(WrongPixels(expected), "") << p.what;
    }
}

TEST_F(DevicePixels, TranslucentColourIsPremultiplied) {
    device->SetColor(255, 0, 0);
    device->SetAlpha(0.5f);
    device->DrawRect(0, 0, 10, 10);
    device->SetColor(255, 255, 255);
    device->SetAlpha(1);
    device->DrawRect(20, 0, 10, 10);
    device->SetColor(255, 0, 0);
    device->SetAlpha(0.5f);
    device->DrawRect(20, 0, 10, 10);
    device->EndRender();
    EXPECT_TRUE(gltest::NearRgb(At(5, 5), 0x7f0000, 1)) << std::hex << At(5, 5);
    EXPECT_TRUE(gltest::NearRgb(At(25, 5), 0xff8080, 1)) << std::hex << At(25, 5);
}

TEST_F(DevicePixels, AdditiveBlendingAddsAndZeroAlphaAddsNothing) {
    device->SetColor(100, 20, 0);
    device->DrawRect(0, 0, 10, 10);
    device->SetBlend(1);
    device->SetColor(50, 20, 10);
    device->DrawRect(0, 0, 10, 10);
    device->SetColor(255, 255, 255);
    device->SetAlpha(0);
    device->DrawRect(0, 0, 10, 10);
    device->EndRender();
    EXPECT_TRUE(gltest::NearRgb(At(5, 5), 0x96280a, 1)) << std::hex << At(5, 5);
}

TEST_F(DevicePixels, ScissorClipsWithRowsCountedFromTheTop) {
    device->SetScissor(10, 10, 20, 20);
    device->DrawRect(0, 0, W, H);
    device->SetScissor(0, 0, 8, 8);
    device->DrawRect(0, 0, W, H);
    device->EndRender();
    EXPECT_EQ(WrongPixels({{15, 15, 0xffffff}, {29, 29, 0xffffff}, {30, 30, 0}, {9, 15, 0}}), "");
    // The second box is the top-left corner, not the bottom-left.
    EXPECT_EQ(WrongPixels({{3, 3, 0xffffff}, {3, H - 3, 0}, {100, 80, 0}}), "");
}

TEST_F(DevicePixels, FullWindowScissorTurnsClippingOff) {
    device->SetScissor(0, 0, 8, 8);
    EXPECT_TRUE(glIsEnabled(GL_SCISSOR_TEST));
    device->SetScissor(0, 0, W, H);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    device->DrawRect(0, 0, W, H);
    device->EndRender();
    EXPECT_EQ(At(100, 80), 0xffffffu);
}

TEST_F(DevicePixels, ClsDropsWhatIsPendingAndObeysTheScissor) {
    device->DrawRect(0, 0, 50, 50);
    int64_t flushes = device->flushCount;
    device->Cls(0, 0, 255);
    device->SetScissor(60, 0, 10, 10);
    device->Cls(255, 0, 0);
    device->EndRender();
    EXPECT_EQ(device->flushCount, flushes);
    EXPECT_EQ(WrongPixels({{20, 20, 0x0000ff}, {65, 5, 0xff0000}, {75, 5, 0x0000ff}}), "");
}

TEST_F(DevicePixels, ReadPixelsGivesTopRowFirstAsArgb) {
    device->SetColor(255, 0, 0);
    device->DrawRect(0, 0, 2, 2);
    device->SetColor(0, 128, 255);
    device->DrawRect(0, 2, 2, 1);
    Array<int> pixels(10);
    device->ReadPixels(pixels, 0, 0, 2, 3, 1, 3);
    // Rows of two at offset 1 with a pitch of 3; the elements between them stay untouched.
    const uint32_t red = 0xffff0000u, blue = 0xff0080ffu;
    const uint32_t expected[10] = {0, red, red, 0, red, red, 0, blue, blue, 0};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(static_cast<uint32_t>(pixels[i]), expected[i]) << i;
}

TEST_F(DevicePixels, ReadPixelsRefusesABlockThatDoesNotFitTheArray) {
    device->DrawRect(0, 0, 10, 10);
    Array<int> pixels(5);
    device->ReadPixels(pixels, 0, 0, 3, 3, 0, 3);
    device->ReadPixels(pixels, 0, 0, 1, 1, -1, 1);
    for (int i = 0; i < pixels.Length(); ++i) EXPECT_EQ(pixels[i], 0) << i;
}

TEST_F(DevicePixels, SurfaceDrawsItsPremultipliedPixels) {
    gxtkSurface* surface = device->CreateSurface(4, 2);
    EXPECT_EQ(surface->seq, -1) << "a blank surface makes its texture when first drawn";
    Array<int> argb(8);
    const uint32_t source[8] = {0xffff0000, 0xff00ff00, 0xff0000ff, 0x80ffffff,
                                0x00ffffff, 0xff102030, 0xffffffff, 0x40800000};
    for (int i = 0; i < 8; ++i) argb[i] = static_cast<int>(source[i]);
    device->WritePixels2(surface, argb, 0, 0, 4, 2, 0, 4);
    device->DrawSurface(surface, 50, 60);
    device->DrawSurface2(surface, 80, 60, 1, 1, 2, 1);
    device->EndRender();
    const uint32_t expected[8] = {0xff0000, 0x00ff00, 0x0000ff, 0x808080,
                                  0x000000, 0x102030, 0xffffff, 0x200000};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(At(50 + i % 4, 60 + i / 4), expected[i]) << "pixel " << i;
    }
    EXPECT_EQ(WrongPixels(
                  {{54, 60, 0}, {80, 60, 0x102030}, {81, 60, 0xffffff}, {82, 60, 0}, {80, 61, 0}}),
              "");
}

// A scene with runs of equal ovals, two picture sheets, blend modes set again while in
// force, translucent colours, lines and points, drawn once with every primitive flushed on
// its own and once batched: the pixels must be the same.
TEST_F(DevicePixels, BatchingChangesNoPixel) {
    gxtkSurface* sheets[2] = {Sheet(16, 0x204060), Sheet(8, 0x906030)};
    auto scene = [&](bool flushEach) {
        auto done = [&] {
            if (flushEach) device->Flush();
        };
        device->Cls(10, 10, 30);
        for (int i = 0; i < 6; ++i) {
            float x = static_cast<float>(i * 20);
            device->SetBlend(i % 3 == 2 ? 1 : 0);
            device->SetColor(40.0f * i, 255 - 30.0f * i, 128);
            device->SetAlpha(0.4f + 0.1f * i);
            device->DrawOval(x, 2, 16, 10), done();
            device->DrawOval(x + 3, 8, 16, 10), done();
            device->SetBlend(i % 3 == 2 ? 1 : 0);
            device->SetColor(255, 255, 255);
            device->DrawSurface2(sheets[0], x, 20, i, i, 12, 12), done();
            device->DrawSurface(sheets[1], x + 8, 26), done();
            device->DrawSurface2(sheets[0], x + 4, 34, 0, 0, 16, 16), done();
            device->SetColor(200, 50, 20);
            device->DrawRect(x, 52, 14, 6), done();
            device->DrawLine(x, 62, x + 15, 70), done();
            device->DrawPoint(x + 2, 74), done();
        }
        device->SetBlend(0);
        device->SetAlpha(1);
        device->DrawSurface(sheets[1], 100, 84), done();
        device->SetColor(255, 255, 255);
        device->DrawRect(116, 84, 6, 6), done();  // untextured right after a picture
        device->EndRender();
    };
    int64_t calls0 = device->drawCallCount;
    scene(true);
    int64_t separateCalls = device->drawCallCount - calls0;
    Array<int> separate = Window();
    EXPECT_EQ(At(118, 86), 0xffffffu);

    calls0 = device->drawCallCount;
    scene(false);
    int64_t batchedCalls = device->drawCallCount - calls0;
    Array<int> batched = Window();
    int differing = 0;
    for (int i = 0; i < W * H; ++i) differing += separate[i] != batched[i];
    EXPECT_EQ(differing, 0);
    EXPECT_EQ(separateCalls, 6 * 8 + 2);
    EXPECT_EQ(batchedCalls, 6 * 7 + 2) << "each pair of ovals draws with one call";
}

}  // namespace
