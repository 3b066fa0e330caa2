// The replay's order of the draw list, on Mesa under a private Xvfb display with the
// game's own pictures: the title menu and a crowded round look exactly as their lists
// drawn one command at a time in list order, and take fewer draw calls.
#include <vector>

#include "graphics/graphics.h"
#include "tests/game/round_fixture.h"
#include "tests/graphics/gl_test_window.h"

using namespace round_records;

namespace {

constexpr int kW = 800, kH = 600;  // a scale of 1.25 and the doubled picture set

class ReplayOrderTest : public RoundFixture {
protected:
    void SetUp() override {
        RoundFixture::SetUp();
        static bool window = gltest::OpenWindow(kW, kH);
        ASSERT_TRUE(window) << "no OpenGL window under Xvfb";  // a broken Xvfb or Mesa fails
        // A static root: the collector keeps the address of the variable it is given.
        static gxtkGraphics* shared = nullptr;
        if (!shared) {
            shared = new gxtkGraphics;
            gc_root(shared);
        }
        device = shared;
        qv_graphics_SetGraphicsDevice(device);
        SetDevice(kW, kH);
        Create();
        FinishLoading();
    }

    struct Frame {
        std::vector<int> pixels;
        int64_t drawCalls = 0;
    };

    // The window after one render: the game's replay, or (inList) the same clear and
    // mapping followed by every command on its own, in list order.
    Frame Draw(bool inList) {
        const int64_t calls = device->drawCallCount;
        device->BeginRender();
        qv_graphics_BeginRender();
        if (inList) {
            const int length = app->m_DrawLen;
            app->m_DrawLen = 0;
            app->p_OnRender();
            app->m_DrawLen = length;
            for (int start = 0; start + kDrawCmdFloats <= length; start += kDrawCmdFloats) {
                app->p_ReplayCommand(start);
            }
        } else {
            app->p_OnRender();
        }
        qv_graphics_EndRender();
        device->EndRender();
        Frame frame;
        frame.drawCalls = device->drawCallCount - calls;
        Array<int> pixels(kW * kH);
        device->ReadPixels(pixels, 0, 0, kW, kH, 0, kW);
        frame.pixels.assign(pixels.Data(), pixels.Data() + pixels.Length());
        return frame;
    }

    // The replay draws what the list drawn in order draws, pixel for pixel; returns the
    // draw calls of both.
    std::pair<int64_t, int64_t> ExpectSamePicture() {
        const Frame inList = Draw(true);
        const Frame replayed = Draw(false);
        int differing = 0;
        for (size_t i = 0; i < inList.pixels.size(); ++i)
            differing += inList.pixels[i] != replayed.pixels[i];
        EXPECT_EQ(differing, 0);
        return {replayed.drawCalls, inList.drawCalls};
    }

    // Commands that leave every pixel as it was: a picture with no alpha over the middle of
    // the screen, and one wholly beyond its right edge.
    void AddInvisibleCommands() {
        app->p_SetSize(4);
        app->p_Alpha(0);
        app->p_DrawImg(picture::kBackdrop, 320, 240, 0);
        app->p_Alpha(1);
        app->p_DrawImg(picture::kCircles, qv_Vortan_jscrw + 600, 240, 0);
        app->p_ResetDraw();
    }

    // A picture of one opaque colour, a 32 x 32 cell with its handle in the middle.
    void SolidPicture(int slot, uint32_t argb) {
        c_Image* image = qv_graphics_CreateImage(32, 32, 1, c_Image::CentreHandle);
        Array<int> pixels(32 * 32);
        for (int i = 0; i < pixels.Length(); ++i) pixels[i] = int(argb);
        device->WritePixels2(image->m_surface, pixels, 0, 0, 32, 32, 0, 32);
        gc_assign(app->m_Img[slot], image);
    }

    gxtkGraphics* device = nullptr;
};

// A picture turned by 45 degrees reaches past its cell's sides with its corners: drawn
// last in the list, it stays over the square its corner covers instead of joining the
// earlier run of its own picture under it.
TEST_F(ReplayOrderTest, TurnedPictureStaysOverWhatItsCornerCovers) {
    SolidPicture(picture::kCircles, 0xffff0000);
    app->p_CLS2D(0, 0, 0, 1);
    app->p_SetSize(4);  // 64 units a side, so the corners reach 45 units from the middle
    app->p_DrawImg(picture::kCircles, 500, 400, 0);
    app->p_SetCol(0, 255, 0);
    app->p_Rect(168, 168, 64, 64);
    app->p_SetCol(255, 255, 255);
    app->p_SetRot(45);
    app->p_DrawImg(picture::kCircles, 128, 200, 0);  // its right corner 5 units into the square
    ExpectSamePicture();
}

TEST_F(ReplayOrderTest, TitleMenuLooksTheSame) {
    Update(30);
    AddInvisibleCommands();
    const auto [replayed, inList] = ExpectSamePicture();
    EXPECT_LT(replayed, inList);
}

TEST_F(ReplayOrderTest, CrowdedRoundLooksTheSameWithAThirdFewerDrawCalls) {
    StartRound(3);
    app->m_Backdrop = 1;  // the star field too
    app->m_Joined = 1;
    for (int p = kFirstPlayer; p <= kLastPlayer; ++p) app->p_AddPlayer(p, 140.0f * p, FloorY());
    // Opponents packed along the floor at every depth, some still dropping in.
    for (int r = kFirstOpponent; r <= kLastRecord; ++r) {
        app->p_AddPlayer(r, 40.0f + 6 * (r - kFirstOpponent), r % 5 == 0 ? -64 : FloorY());
        Fighter(r)[kDepth] = 16.0f + (r * 7) % 80;
    }
    // Everyone strikes for a while: sparks, knock-outs and their floating scores.
    for (int i = 0; i < 40; ++i) {
        for (int port = 0; port < pad::kPads; ++port) {
            if (i % 6 < 3) {
                PadDown(port, pad::kB);
            } else {
                PadUp(port, pad::kB);
            }
        }
        Play();
    }
    AddInvisibleCommands();
    const auto [replayed, inList] = ExpectSamePicture();
    EXPECT_LT(3 * replayed, 2 * inList);
}

}  // namespace
