// The staged loader: the cells each stage records, its 25 stages, the start jingle, the
// loading screen, and reloading for a new size.
#include <cmath>
#include <vector>

#include "graphics/graphics.h"
#include "tests/game/game_fixture.h"

using namespace picture;

namespace {

class LoaderTest : public GameFixture {};

// Cell sizes recorded per stage at each set, as the loader asks for them.
TEST_F(LoaderTest, StagesFillTheirSlotsWithCellsOfTheSet) {
    struct Slot {
        int stage, slot, cellW, cellH, frames;
    };
    const Slot slots[] = {{1, kIcons, 32, 32, 16},        {2, kButtons, 64, 64, 16},
                          {3, kDpad, 32, 32, 16},         {4, kMakerLogo, 256, 256, 1},
                          {6, kBackdrop, 256, 256, 4},    {6, kLogo, 256, 128, 1},
                          {7, kBadges, 64, 64, 64},       {7, kParts, 8, 8, 256},
                          {8, kCircles, 256, 256, 4},     {8, kGlows, 32, 32, 4},
                          {9, kFirstFighter, 36, 36, 9},  {13, kFirstOpponent, 36, 36, 9},
                          {17, kLastFighter, 36, 36, 9},  {18, kTitleTop, 256, 128, 1},
                          {19, kTitleBottom, 256, 128, 1}};
    for (int res : {1, 2, 4}) {
        SetDevice(res == 1 ? 600 : res == 2 ? 800 : 1280, res == 1 ? 450 : 600);
        for (int i = 0; i < app->m_ImgSize.Length(); ++i) app->m_ImgSize[i] = 0;
        for (int stage = 1; stage <= 25; ++stage) {
            app->m_LoadStage = stage;
            app->p_Loader();
            for (const Slot& s : slots) {
                const int cellW = CellWidth(*app, s.slot);
                if (s.stage > stage) {
                    EXPECT_EQ(cellW, 0) << "slot " << s.slot << " before stage " << s.stage;
                } else {
                    EXPECT_EQ(cellW, s.cellW * res) << "slot " << s.slot << " set " << res;
                    EXPECT_EQ(CellHeight(*app, s.slot), s.cellH * res) << "slot " << s.slot;
                    EXPECT_EQ(FrameCount(*app, s.slot), s.frames) << "slot " << s.slot;
                }
            }
        }
        // The blank surface and the font record their own units.
        EXPECT_EQ(CellWidth(*app, kSpareSurface), 2048);
        EXPECT_EQ(FrameCount(*app, kSpareSurface), 1);
        EXPECT_EQ(CellWidth(*app, kFont), 7);
        EXPECT_EQ(CellHeight(*app, kFont), 10);
        EXPECT_EQ(FrameCount(*app, kFont), 128);
        EXPECT_EQ(app->m_Font, kFont);
    }
}

TEST_F(LoaderTest, LoadingRuns25StagesThenStops) {
    Create();
    EXPECT_EQ(app->m_LoadStage, 1);
    int updates = 0;
    while (app->m_LoadStage != 0 && updates < 50) {
        Update();
        ++updates;
    }
    EXPECT_EQ(updates, 25);
    EXPECT_EQ(app->m_Mode, mode::kMenu);
}

TEST_F(LoaderTest, StartJinglePlaysOnceAtStage4) {
    Create();
    app->m_Sfx[sound::kJingle] = nullptr;
    gc_assign(app->m_Sfx[sound::kJingle], LoadTone("jingle.wav"));
    ASSERT_NE(app->m_Sfx[sound::kJingle], nullptr);
    app->m_LoadStage = 4;
    app->p_Loader();
    EXPECT_EQ(app->m_LogoSfxDone, 1);
    EXPECT_EQ(app->m_SfxChannel, 1);
    app->m_LoadStage = 4;
    app->p_Loader();
    EXPECT_EQ(app->m_SfxChannel, 1);  // not again
}

TEST_F(LoaderTest, LoadingScreenDrawsSpinnerLogoAndCaption) {
    Create();
    app->m_Font = kFont;
    Update();
    auto cmds = Commands();
    int blue = 0, orange = 0;
    bool logo = false;
    for (const DrawCmd& c : cmds) {
        if (c.kind == kCmdOval && c.r == 0 && c.g == 125 && c.b == 255) {
            ++blue;
            EXPECT_EQ(c.a4, 16);
            EXPECT_NEAR(std::hypot(c.x - 320, c.y - 240), 480 * 0.45f, 0.01f);
        }
        if (c.kind == kCmdOval && c.r == 255 && c.g == 125 && c.b == 0) ++orange;
        if (c.kind == kMakerLogo) {
            logo = true;
            EXPECT_EQ(c.x, 320);
            EXPECT_FLOAT_EQ(c.y, 480 * 0.48f);
            EXPECT_EQ(c.a4, 2);
        }
    }
    EXPECT_EQ(blue, 11);
    EXPECT_EQ(orange, 22);
    EXPECT_TRUE(logo);
    EXPECT_EQ(DrawnText(), "Loading...");
    EXPECT_EQ(app->m_Work, 480);
    EXPECT_EQ(app->m_ClsA, 1);
    const int angle = app->m_SpinAngle;
    Update();
    EXPECT_EQ(app->m_SpinAngle, angle + 3);
}

// A new window size reloads every slot at the set that fits it: each picture replaced
// gives up its pixels and file at once, every slot ends up drawable, and a surface that
// another slot still draws from is kept.
TEST_F(LoaderTest, ReloadForANewSizeGivesBackEachReplacedPictureAtOnce) {
    qv_graphics_SetGraphicsDevice(new gxtkGraphics);  // no window: pictures keep their pixels
    SetDevice(800, 600);
    Create();
    FinishLoading();
    std::vector<gxtkSurface*> replaced;
    for (int slot = 0; slot < kSlots; ++slot) {
        if (app->m_Img[slot]) replaced.push_back(app->m_Img[slot]->m_surface);
    }
    ASSERT_EQ(replaced.size(), 23u);  // every picture of the loader's table
    gxtkSurface* icons = app->m_Img[kIcons]->m_surface;
    gc_assign(app->m_Img[0], app->m_Img[kIcons]);  // a slot the loader leaves alone

    SetDevice(600, 450);
    FinishLoading();
    // No collection runs between updates here, so the old surfaces are still there to see.
    for (gxtkSurface* surface : replaced) {
        const bool kept = surface == icons;
        EXPECT_EQ(surface->discarded, !kept) << surface->width << "x" << surface->height;
        EXPECT_EQ(surface->file != nullptr || surface->data != nullptr, kept);
    }
    for (int slot = 1; slot < kSlots; ++slot) {
        if (!app->m_Img[slot]) continue;
        EXPECT_FALSE(app->m_Img[slot]->m_surface->discarded) << slot;
    }
    EXPECT_EQ(app->m_ImgRes, 1);
}

}  // namespace
