// The graphics module on a live device: frame set-up, lazy matrix hand-over, images with
// handles, rotation and scale, image loading and the default font.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/graphics.h"
#include "host/glfw_game.h"
#include "tests/graphics/gl_test_window.h"
#include "tests/support/scratch_dir.h"

namespace {

constexpr int W = 128;
constexpr int H = 96;

// The GLFW host with its data folder moved into a scratch folder.
class ScratchDataHost : public QvGlfwGame {
public:
    std::string dataDir;
    String PathToFilePath(String path) override {
        String prefix("pellix://data/");
        if (path.StartsWith(prefix))
            return String(dataDir.c_str()) + "/" + path.Slice(prefix.Length());
        return QvGlfwGame::PathToFilePath(path);
    }
};

// A render device that also counts which surface operation images draw through.
class CountingDevice : public gxtkGraphics {
public:
    int whole = 0;
    int parts = 0;
    int DrawSurface(gxtkSurface* surface, float x, float y) override {
        ++whole;
        return gxtkGraphics::DrawSurface(surface, x, y);
    }
    int DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw,
                     int srch) override {
        ++parts;
        return gxtkGraphics::DrawSurface2(surface, x, y, srcx, srcy, srcw, srch);
    }
};

class GraphicsModule : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        host = new ScratchDataHost;
        windowOpen = gltest::OpenWindow(W, H);
    }
    static void TearDownTestSuite() { gltest::CloseWindow(); }

    void SetUp() override {
        ASSERT_TRUE(windowOpen) << "no OpenGL window under Xvfb";
        host->dataDir = scratch.Path();
        gc_assign(qv_graphics_context, (new c_GraphicsContext)->m_new());
        device = new CountingDevice;
        qv_graphics_SetGraphicsDevice(device);
        ASSERT_EQ(device->BeginRender(), 1);
        qv_graphics_BeginRender();
        device->Cls(0, 0, 0);
    }
    void TearDown() override { qv_graphics_EndRender(); }

    std::string WrongPixels(std::initializer_list<gltest::Pixel> expected) {
        return gltest::WrongPixels(*device, expected);
    }

    // A w x h image of one colour per row, written through the device.
    c_Image* RowsImage(int w, int h, const std::vector<uint32_t>& rowColours, int frames,
                       int flags) {
        c_Image* image = qv_graphics_CreateImage(w, h, frames, flags);
        int fullWidth = w * frames;
        Array<int> argb(fullWidth * h);
        for (int i = 0; i < argb.Length(); ++i)
            argb[i] = static_cast<int>(rowColours[i / fullWidth]);
        device->WritePixels2(image->m_surface, argb, 0, 0, fullWidth, h, 0, fullWidth);
        return image;
    }

    static ScratchDataHost* host;
    static bool windowOpen;
    ScratchDir scratch;
    CountingDevice* device = nullptr;
};

ScratchDataHost* GraphicsModule::host = nullptr;
bool GraphicsModule::windowOpen = false;

TEST_F(GraphicsModule, BeginRenderStartsEveryFrameFromTheDefaults) {
    qv_graphics_SetColor(10, 20, 30);
    qv_graphics_SetAlpha(0.25f);
    qv_graphics_SetBlend(1);
    qv_graphics_SetScissor(1, 2, 3, 4);
    qv_graphics_PushMatrix();
    qv_graphics_Translate(9, 9);
    qv_graphics_EndRender();
    device->EndRender();

    device->BeginRender();
    qv_graphics_BeginRender();
    c_GraphicsContext& ctx = *qv_graphics_context;
    EXPECT_EQ(qv_graphics_renderDevice, device);
    EXPECT_EQ(ctx.m_matrixSp, 0);
    EXPECT_EQ(ctx.m_mtx, 0);
    EXPECT_EQ(ctx.m_transformed, 0);
    EXPECT_EQ(ctx.m_matrixDirty, 1);
    EXPECT_EQ(ctx.m_red, 255);
    EXPECT_EQ(ctx.m_alpha, 1);
    EXPECT_EQ(ctx.m_blend, 0);
    EXPECT_EQ(ctx.m_scissorW, W);
    EXPECT_EQ(ctx.m_scissorH, H);
    EXPECT_EQ(device->packedColor, 0xffffffffu);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    qv_graphics_DrawRect(0, 0, 4, 4);
    device->EndRender();
    EXPECT_EQ(WrongPixels({{1, 1, 0xffffff}}), "");
}

TEST_F(GraphicsModule, MatrixReachesTheDeviceAtTheNextDrawing) {
    qv_graphics_Translate(10, 20);
    qv_graphics_Scale(2, 2);
    EXPECT_EQ(device->mtx, 0);
    EXPECT_FALSE(device->transformed);
    qv_graphics_DrawRect(1, 1, 1, 1);
    EXPECT_TRUE(device->transformed);
    EXPECT_EQ(qv_graphics_context->m_matrixDirty, 0);
    EXPECT_FLOAT_EQ(device->vertices[0].x, 12);
    EXPECT_FLOAT_EQ(device->vertices[0].y, 22);
    device->EndRender();
    EXPECT_EQ(WrongPixels({{12, 22, 0xffffff}, {13, 23, 0xffffff}, {14, 22, 0}}), "");
}

TEST_F(GraphicsModule, StateSettersPassTheirValuesOn) {
    qv_graphics_SetColor(255, 0, 0);
    qv_graphics_SetAlpha(0.5f);
    EXPECT_EQ(device->packedColor, 0x7f00007fu);
    qv_graphics_SetScissor(10.9f, 10.9f, 20.7f, 20.2f);
    GLint box[4];
    glGetIntegerv(GL_SCISSOR_BOX, box);
    EXPECT_EQ(box[0], 10);
    EXPECT_EQ(box[1], H - 10 - 20);
    EXPECT_EQ(box[2], 20);
    EXPECT_EQ(box[3], 20);
    EXPECT_EQ(qv_graphics_context->m_scissorW, W);  // the context keeps the frame's rectangle
}

TEST_F(GraphicsModule, EllipseIsGivenByCentreAndRadii) {
    qv_graphics_DrawEllipse(40, 30, 10, 5);
    EXPECT_FLOAT_EQ(device->vertices[0].x, 50);
    EXPECT_FLOAT_EQ(device->vertices[0].y, 30);
    EXPECT_EQ(device->vertexCount, 12);
    device->EndRender();
    EXPECT_EQ(WrongPixels({{40, 30, 0xffffff}, {40, 37, 0}}), "");
}

TEST_F(GraphicsModule, ImageLandsWithItsHandleOnThePosition) {
    c_Image* image = RowsImage(4, 4, {0xffffffff, 0xffffffff, 0xffffffff, 0xffffffff}, 1,
                               c_Image::CentreHandle);
    qv_graphics_DrawImage(image, 20, 20, 0);
    device->EndRender();
    EXPECT_EQ(WrongPixels(
                  {{18, 18, 0xffffff}, {21, 21, 0xffffff}, {17, 18, 0}, {22, 18, 0}, {18, 22, 0}}),
              "");
}

TEST_F(GraphicsModule, FramesDrawTheirOwnCells) {
    // Two frames of 2 x 1 side by side: red | blue, each with a one-pixel border column.
    c_Image* image = qv_graphics_CreateImage(4, 1, 2, c_Image::BorderX);
    const int cells[8] = {0, static_cast<int>(0xffff0000), static_cast<int>(0xffff0000), 0,
                          0, static_cast<int>(0xff0000ff), static_cast<int>(0xff0000ff), 0};
    Array<int> argb(8);
    for (int i = 0; i < 8; ++i) argb[i] = cells[i];
    device->WritePixels2(image->m_surface, argb, 0, 0, 8, 1, 0, 8);
    qv_graphics_DrawImage(image, 10, 10, 1);
    qv_graphics_DrawImage(image, 10, 12, 0);
    device->EndRender();
    EXPECT_EQ(device->parts, 2);
    EXPECT_EQ(
        WrongPixels(
            {{10, 10, 0x0000ff}, {11, 10, 0x0000ff}, {12, 10, 0}, {10, 12, 0xff0000}, {9, 12, 0}}),
        "");
}

TEST_F(GraphicsModule, RotatedAndScaledImageTurnsAboutItsHandle) {
    c_Image* image = RowsImage(4, 2, {0xffff0000, 0xff0000ff}, 1, 0);
    qv_graphics_DrawImage2(image, 50, 50, 90, 2, 2, 0);
    EXPECT_EQ(qv_graphics_context->m_matrixSp, 0);
    EXPECT_EQ(qv_graphics_context->m_transformed, 0);
    device->EndRender();
    // The image's x axis now points up the screen and its rows run to the right.
    EXPECT_EQ(WrongPixels({{51, 45, 0xff0000},
                           {53, 45, 0x0000ff},
                           {51, 43, 0xff0000},
                           {51, 41, 0},
                           {55, 45, 0},
                           {51, 51, 0}}),
              "");
}

TEST_F(GraphicsModule, WholeSurfaceImagesDrawThroughTheWholeSurfaceOperation) {
    c_Image* whole = qv_graphics_CreateImage(8, 8, 1, c_Image::CentreHandle);
    c_Image* bordered = qv_graphics_CreateImage(8, 8, 1, c_Image::BorderX);
    qv_graphics_DrawImage(whole, 10, 10, 0);
    qv_graphics_DrawImage2(whole, 10, 10, 45, 1, 1, 0);
    EXPECT_EQ(device->whole, 2);
    EXPECT_EQ(device->parts, 0);
    qv_graphics_DrawImage(bordered, 10, 10, 0);
    EXPECT_EQ(device->parts, 1);
}

TEST_F(GraphicsModule, MissingFramesAndImagesDrawNothing) {
    c_Image* image = qv_graphics_CreateImage(4, 4, 2, 0);
    c_Image* empty = qv_graphics_CreateImage(4, 4, 0, 0);
    qv_graphics_DrawImage(image, 0, 0, 2);
    qv_graphics_DrawImage(image, 0, 0, -1);
    qv_graphics_DrawImage2(image, 0, 0, 30, 1, 1, 7);
    qv_graphics_DrawImage(empty, 0, 0, 0);
    qv_graphics_DrawImage(nullptr, 0, 0, 0);
    qv_graphics_DrawImage2(nullptr, 0, 0, 0, 1, 1, 0);
    EXPECT_EQ(device->vertexCount, 0);
    EXPECT_EQ(device->whole + device->parts, 0);
    EXPECT_EQ(qv_graphics_context->m_matrixSp, 0);
}

TEST_F(GraphicsModule, OutsideAFrameSettersAndDrawingDoNothing) {
    qv_graphics_EndRender();
    EXPECT_EQ(qv_graphics_renderDevice, nullptr);
    qv_graphics_SetColor(1, 2, 3);
    qv_graphics_SetBlend(1);
    qv_graphics_DrawRect(0, 0, 10, 10);
    qv_graphics_DrawLine(0, 0, 10, 10);
    qv_graphics_DrawEllipse(5, 5, 3, 3);
    qv_graphics_DrawImage(qv_graphics_CreateImage(4, 4, 1, 0), 0, 0, 0);
    EXPECT_EQ(device->vertexCount, 0);
    EXPECT_EQ(qv_graphics_context->m_red, 255);
    EXPECT_EQ(qv_graphics_context->m_blend, 0);
}

TEST_F(GraphicsModule, LoadedImagesAreCutIntoFrames) {
    std::vector<uint8_t> rgba(64 * 32 * 4, 255);
    ASSERT_TRUE(gltest::WritePng(scratch.File("sheet.png"), 64, 32, rgba));
    c_Image* strip = qv_graphics_LoadImage("sheet.png", 4, c_Image::CentreHandle);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->p_Frames(), 4);
    EXPECT_EQ(strip->m_width, 16);
    EXPECT_EQ(strip->m_frames[3]->m_x, 48);
    EXPECT_FLOAT_EQ(strip->m_handleY, 16);
    c_Image* grid = qv_graphics_LoadImage2("sheet.png", 16, 16, 8, 0);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->m_frames[5]->m_x, 16);
    EXPECT_EQ(grid->m_frames[5]->m_y, 16);
    EXPECT_EQ(qv_graphics_LoadImage("absent.png", 1, 0), nullptr);
    EXPECT_EQ(qv_graphics_LoadImage2("absent.png", 16, 16, 1, 0), nullptr);
    c_Image* created = qv_graphics_CreateImage(10, 6, 3, 0);
    EXPECT_EQ(created->m_surface->Width(), 30);
    EXPECT_EQ(created->m_width, 10);
}

// What a game replacing a picture in its slot calls on the old one: its memory and
// texture go at once and drawing it afterwards shows nothing.
TEST_F(GraphicsModule, ADiscardedImageGivesUpItsPictureAtOnceAndDrawsNothing) {
    std::vector<uint8_t> rgba(32 * 16 * 4, 255);
    ASSERT_TRUE(gltest::WritePng(scratch.File("old.png"), 32, 16, rgba));
    c_Image* image = qv_graphics_LoadImage2("old.png", 16, 16, 2, 0);
    ASSERT_NE(image, nullptr);
    c_Image* cut =
        (new c_Image)->m_new()->p_Init2(image->m_surface, 0, 0, 8, 8, 1, 0, image, 0, 0, 32, 16);
    gxtkSurface* surface = image->m_surface;
    GLuint texture = surface->texture;
    ASSERT_TRUE(glIsTexture(texture));
    cut->p_Discard();  // an image cut from another leaves the shared picture alone
    EXPECT_TRUE(glIsTexture(texture));
    image->p_Discard();
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_EQ(surface->file, nullptr);
    EXPECT_EQ(surface->data, nullptr);
    qv_graphics_DrawImage(image, 8, 8, 1);
    qv_graphics_DrawImage2(cut, 20, 20, 30, 2, 2, 0);
    EXPECT_EQ(device->vertexCount, 0);
    device->EndRender();
    EXPECT_EQ(WrongPixels({{8, 8, 0}, {20, 20, 0}}), "");
    EXPECT_EQ(surface->seq, -1);
}

TEST_F(GraphicsModule, DefaultFontIsNinetySixBorderedCellsFromSpace) {
    std::vector<uint8_t> rgba(96 * 10 * 12 * 4, 255);
    ASSERT_TRUE(gltest::WritePng(scratch.File("tarn_font.png"), 96 * 10, 12, rgba));
    qv_graphics_SetFont(nullptr, 40);
    c_GraphicsContext& ctx = *qv_graphics_context;
    ASSERT_NE(ctx.m_font, nullptr);
    EXPECT_EQ(ctx.m_font, ctx.m_defaultFont);
    EXPECT_EQ(ctx.m_firstChar, 32);
    EXPECT_EQ(ctx.m_font->p_Frames(), 96);
    EXPECT_EQ(ctx.m_font->m_width, 8);
    EXPECT_EQ(ctx.m_font->m_frames[1]->m_x, 11);

    c_Image* other = qv_graphics_CreateImage(8, 8, 4, 0);
    qv_graphics_SetFont(other, 65);
    EXPECT_EQ(ctx.m_font, other);
    EXPECT_EQ(ctx.m_firstChar, 65);
    qv_graphics_SetFont(nullptr, 65);
    EXPECT_EQ(ctx.m_font, ctx.m_defaultFont);
    EXPECT_EQ(ctx.m_firstChar, 32);
}

TEST_F(GraphicsModule, MissingDefaultFontLeavesNoFont) {
    c_GraphicsContext& ctx = *qv_graphics_context;
    qv_graphics_SetFont(qv_graphics_CreateImage(8, 8, 1, 0), 50);
    qv_graphics_SetFont(nullptr, 50);
    EXPECT_EQ(ctx.m_font, nullptr);
    EXPECT_EQ(ctx.m_defaultFont, nullptr);
    EXPECT_EQ(ctx.m_firstChar, 32);
}

}  // namespace
