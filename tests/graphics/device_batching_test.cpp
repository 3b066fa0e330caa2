// How the render device groups primitives into batches and OpenGL calls, and the vertices
// it stores for each primitive.
#include <gtest/gtest.h>

#include <cstring>

#include "graphics/graphics_device.h"
#include "tests/graphics/gl_test_window.h"

namespace {

class DeviceBatching : public ::testing::Test {
protected:
    static void SetUpTestSuite() { windowOpen = gltest::OpenWindow(160, 120); }
    static void TearDownTestSuite() { gltest::CloseWindow(); }

    void SetUp() override {
        ASSERT_TRUE(windowOpen) << "no OpenGL window under Xvfb";
        device = new gxtkGraphics;
        device->BeginRender();
        device->SetMatrix(1, 0, 0, 1, 0, 0);
        device->SetColor(255, 255, 255);
        device->SetAlpha(1);
        device->Flush();
        flushes0 = device->flushCount;
        calls0 = device->drawCallCount;
    }

    int64_t Flushes() const { return device->flushCount - flushes0; }
    int64_t Calls() const { return device->drawCallCount - calls0; }

    static Array<float> Floats(int n) {
        Array<float> a(n);
        for (int i = 0; i < n; ++i) a[i] = static_cast<float>(i % 7 * 3);
        return a;
    }

    static bool windowOpen;
    gxtkGraphics* device = nullptr;
    int64_t flushes0 = 0;
    int64_t calls0 = 0;
};

bool DeviceBatching::windowOpen = false;

TEST_F(DeviceBatching, ChangingTheTextureStartsANewBatch) {
    gxtkSurface* surface = device->CreateSurface(8, 8);
    device->DrawRect(0, 0, 4, 4);
    device->DrawRect(4, 0, 4, 4);
    device->DrawSurface(surface, 10, 10);
    device->DrawRect(8, 0, 4, 4);
    device->EndRender();
    EXPECT_EQ(Flushes(), 3);
    EXPECT_EQ(Calls(), 3);
}

TEST_F(DeviceBatching, QuadsShareOneCallUntilTheBufferIsFull) {
    for (int i = 0; i < 256; ++i) device->DrawRect(i % 16, i / 16, 1, 1);
    EXPECT_EQ(Flushes(), 0);
    EXPECT_EQ(device->vertexCount, 1024);
    device->DrawRect(0, 0, 1, 1);
    EXPECT_EQ(Flushes(), 1);
    EXPECT_EQ(Calls(), 1);
    EXPECT_EQ(device->vertexCount, 4);
    device->EndRender();
    EXPECT_EQ(Flushes(), 2);
    EXPECT_EQ(Calls(), 2);
}

TEST_F(DeviceBatching, ColourAndMatrixChangesDoNotFlush) {
    device->DrawRect(0, 0, 1, 1);
    device->SetColor(10, 20, 30);
    device->SetAlpha(0.5f);
    device->SetMatrix(2, 0, 0, 2, 5, 5);
    device->DrawRect(0, 0, 1, 1);
    EXPECT_EQ(Flushes(), 0);
    EXPECT_EQ(device->vertexCount, 8);
}

TEST_F(DeviceBatching, SettingTheBlendInForceKeepsTheBatch) {
    device->DrawRect(0, 0, 1, 1);
    device->SetBlend(0);  // alpha blending is in force from BeginRender
    device->DrawRect(0, 0, 1, 1);
    EXPECT_EQ(Flushes(), 0);
    EXPECT_EQ(device->vertexCount, 8);
    device->SetBlend(1);
    EXPECT_EQ(Flushes(), 1);
    device->DrawRect(0, 0, 1, 1);
    device->SetBlend(1);
    device->DrawRect(0, 0, 1, 1);
    EXPECT_EQ(Flushes(), 1);
    device->SetBlend(5);  // any mode but 1 is alpha blending
    EXPECT_EQ(Flushes(), 2);
    device->DrawRect(0, 0, 1, 1);
    device->SetBlend(0);
    device->EndRender();
    EXPECT_EQ(Flushes(), 3);
    EXPECT_EQ(Calls(), 3);
}

TEST_F(DeviceBatching, BlendScissorAndReadPixelsFlush) {
    device->DrawRect(0, 0, 1, 1);
    device->SetBlend(1);
    EXPECT_EQ(Flushes(), 1);
    device->DrawRect(0, 0, 1, 1);
    device->SetScissor(0, 0, 10, 10);
    EXPECT_EQ(Flushes(), 2);
    device->DrawRect(0, 0, 1, 1);
    Array<int> pixel(1);
    device->ReadPixels(pixel, 0, 0, 1, 1, 0, 1);
    EXPECT_EQ(Flushes(), 3);
    device->SetBlend(0);
    device->SetScissor(0, 0, device->Width(), device->Height());
    EXPECT_EQ(Flushes(), 3);  // nothing pending, nothing drawn
}

TEST_F(DeviceBatching, PointsThenALineFlushThePoints) {
    for (int i = 0; i < 255; ++i) device->DrawPoint(i % 100, 1);
    EXPECT_EQ(device->vertexCount, 255);
    device->DrawLine(0, 0, 10, 10);
    EXPECT_EQ(Flushes(), 1);
    EXPECT_EQ(device->batchMode, GXTK_LINES);
    EXPECT_EQ(device->vertexCount, 2);
}

TEST_F(DeviceBatching, PolygonSizeSelectsTheBatchMode) {
    device->DrawPoly(Floats(7));  // the odd float is ignored: a triangle
    EXPECT_EQ(device->batchMode, GXTK_TRIANGLES);
    EXPECT_EQ(device->vertexCount, 3);
    device->DrawPoly(Floats(2));
    EXPECT_EQ(device->batchMode, GXTK_POINTS);
    device->DrawPoly(Floats(14));
    device->DrawPoly(Floats(14));
    device->DrawPoly(Floats(14));
    EXPECT_EQ(device->batchMode, 7);
    EXPECT_EQ(device->vertexCount, 21);
    int64_t flushes = Flushes();
    device->DrawPoly(Floats(16));  // eight vertices never join a batch of sevens
    EXPECT_EQ(Flushes(), flushes + 1);
    EXPECT_EQ(Calls(), 3);  // the triangle, the point, and the three fans of seven together
    device->DrawPoly(Floats(2048));
    EXPECT_EQ(device->batchMode, 1024);
    EXPECT_EQ(device->vertexCount, 1024);
}

TEST_F(DeviceBatching, EmptyOrOversizedPolygonsLeaveTheBatchAlone) {
    device->DrawPoint(1, 1);
    device->DrawPoly(Floats(0));
    device->DrawPoly(Floats(1));
    device->DrawPoly(Floats(2050));
    EXPECT_EQ(Flushes(), 0);
    EXPECT_EQ(device->batchMode, GXTK_POINTS);
    EXPECT_EQ(device->vertexCount, 1);
}

TEST_F(DeviceBatching, OvalVertexCountFollowsItsSize) {
    struct Case {
        float w, h;
        int n;
    } cases[] = {{10, 10, 12},     {100, 60, 80}, {46, 46, 44},
                 {4000, 10, 1024}, {24, 0, 12},   {-30, -30, 28}};
    for (const Case& c : cases) {
        device->Flush();
        device->DrawOval(0, 0, c.w, c.h);
        EXPECT_EQ(device->batchMode, c.n) << c.w << "x" << c.h;
        EXPECT_EQ(device->vertexCount, c.n) << c.w << "x" << c.h;
    }
    device->Flush();
    device->SetMatrix(0, 3, -2, 0, 0, 0);  // a turn with scaling: radii 20*3 and 20*2
    device->DrawOval(0, 0, 40, 40);
    EXPECT_EQ(device->vertexCount, 100);
}

TEST_F(DeviceBatching, OvalStartsAtTheRightAndTurnsCounterClockwiseOnScreen) {
    device->DrawOval(10, 20, 40, 20);
    const gxtkVertex* v = device->vertices;
    int n = device->vertexCount;
    EXPECT_FLOAT_EQ(v[0].x, 50);
    EXPECT_FLOAT_EQ(v[0].y, 30);
    EXPECT_LT(v[1].y, 30);  // next vertex is above: counter-clockwise with y down
    EXPECT_NEAR(v[n / 4].x, 30, 1e-4);
    EXPECT_NEAR(v[n / 4].y, 20, 1e-4);
    EXPECT_NEAR(v[n / 2].x, 10, 1e-4);
}

TEST_F(DeviceBatching, PointsAndLinesSitOnPixelCentres) {
    device->SetMatrix(1, 0, 0, 1, 10, 20);
    device->DrawPoint(1, 2);
    EXPECT_FLOAT_EQ(device->vertices[0].x, 11.5f);
    EXPECT_FLOAT_EQ(device->vertices[0].y, 22.5f);
    device->DrawLine(0, 0, 4, 4);
    EXPECT_FLOAT_EQ(device->vertices[1].x, 14.5f);
    EXPECT_FLOAT_EQ(device->vertices[1].y, 24.5f);
    device->DrawRect(0, 0, 4, 4);
    EXPECT_FLOAT_EQ(device->vertices[0].x, 10);
    EXPECT_FLOAT_EQ(device->vertices[2].x, 14);
    EXPECT_FLOAT_EQ(device->vertices[2].y, 24);
}

TEST_F(DeviceBatching, ColourIsPackedPremultipliedInRgbaByteOrder) {
    device->SetColor(255, 0, 0);
    device->SetAlpha(0.5f);
    device->DrawRect(0, 0, 1, 1);
    unsigned char bytes[4];
    std::memcpy(bytes, &device->vertices[3].color, 4);
    EXPECT_EQ(bytes[0], 127);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[3], 127);
    device->SetColor(255, 255, 255);
    device->SetAlpha(0);
    EXPECT_EQ(device->packedColor, 0u);
    device->SetColor(10, 200, 30);
    device->SetAlpha(1);
    EXPECT_EQ(device->packedColor, 0xff1ec80au);
    // Out-of-range values stay inside their own byte instead of spilling into the next.
    device->SetColor(300, -20, 255);
    device->SetAlpha(1.5f);
    EXPECT_EQ(device->packedColor, 0xffff00ffu);
}

TEST_F(DeviceBatching, SurfaceQuadsCarryTextureCoordinatesOfTheSourceRectangle) {
    gxtkSurface* surface = device->CreateSurface(10, 20);
    ASSERT_TRUE(surface->Prepare());
    surface->uscale = 1.0f / 16;  // as for a power-of-two texture
    surface->vscale = 1.0f / 32;
    device->DrawSurface2(surface, 5, 6, 2, 4, 6, 8);
    const gxtkVertex* v = device->vertices;
    EXPECT_FLOAT_EQ(v[0].u, 2.0f / 16);
    EXPECT_FLOAT_EQ(v[0].v, 4.0f / 32);
    EXPECT_FLOAT_EQ(v[2].u, 8.0f / 16);
    EXPECT_FLOAT_EQ(v[2].v, 12.0f / 32);
    EXPECT_FLOAT_EQ(v[2].x, 11);
    EXPECT_FLOAT_EQ(v[2].y, 14);
    device->DrawSurface(surface, 0, 0);
    EXPECT_FLOAT_EQ(v[6].u, 10.0f / 16);
    EXPECT_FLOAT_EQ(v[6].v, 20.0f / 32);
    EXPECT_EQ(device->vertexCount, 8);
    EXPECT_EQ(Flushes(), 0);
    Array<float> xyuv(12);
    const float tri[12] = {0, 0, 0, 0, 8, 0, 4, 0, 0, 8, 0, 8};
    for (int i = 0; i < 12; ++i) xyuv[i] = tri[i];
    device->DrawPoly2(xyuv, surface, 2, 2);
    EXPECT_EQ(device->batchMode, GXTK_TRIANGLES);
    EXPECT_FLOAT_EQ(v[1].u, 6.0f / 16);
    EXPECT_FLOAT_EQ(v[2].v, 10.0f / 32);
}

TEST(QuadIndices, TwoTrianglesPerQuadSharingTheFirstToThirdDiagonal) {
    gxtkGraphics* device = new gxtkGraphics;
    const uint16_t first[6] = {0, 1, 2, 0, 2, 3};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(device->quadIndices[i], first[i]);
    EXPECT_EQ(device->quadIndices[255 * 6 + 5], 1023);
    EXPECT_EQ(device->quadIndices[255 * 6 + 1], 1021);
}

}  // namespace
