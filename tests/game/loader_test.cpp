// The staged loader: what each stage records of the pictures it loads, its 25 stages, the
// start jingle, the loading screen, and reloading for a new size.
#include <cmath>
#include <vector>

#include "graphics/graphics.h"
#include "tests/game/game_fixture.h"

using namespace picture;

namespace {

class LoaderTest : public GameFixture {};

// Every picture of the stages at each resolution set: once its stage has run, the slot
// records the cells and frames of the picture it holds (the screens and the layout test
// measure by them), each set's cells the plain set's times the set; a slot that holds no
// picture records none. The font records its metrics in virtual units at every set.
TEST_F(LoaderTest, EachStageRecordsTheCellsOfThePicturesItLoads) {
    qv_graphics_SetGraphicsDevice(new gxtkGraphics);  // no window: pictures keep their pixels
    std::vector<int> plainWidths(kSlots);
    for (int res : {1, 2, 4}) {
        SetDevice(res == 1 ? 600 : res == 2 ? 800 : 1280, res == 1 ? 450 : 600);
        for (int slot = 0; slot < kSlots; ++slot) {
            app->m_Img[slot] = nullptr;
            CellWidth(*app, slot) = CellHeight(*app, slot) = FrameCount(*app, slot) = 0;
        }
        int pictures = 0;
        for (int stage = 1; stage <= 25; ++stage) {
            app->m_LoadStage = stage;
            app->p_Loader();
            pictures = 0;
            for (int slot = 0; slot < kSlots; ++slot) {
                const c_Image* image = app->m_Img[slot];
                if (!image || slot == kFont) {
                    EXPECT_EQ(CellWidth(*app, slot) != 0, image != nullptr) << "slot " << slot;
                    continue;
                }
                ++pictures;
                EXPECT_EQ(CellWidth(*app, slot), image->m_width) << "slot " << slot;
                EXPECT_EQ(CellHeight(*app, slot), image->m_height) << "slot " << slot;
                EXPECT_EQ(FrameCount(*app, slot), image->m_frames.Length()) << "slot " << slot;
                if (res == 1) plainWidths[slot] = image->m_width;
                if (slot != kSpareSurface) {
                    EXPECT_EQ(image->m_width, res * plainWidths[slot]) << "slot " << slot;
                }
            }
        }
        EXPECT_EQ(pictures, 22) << "set " << res;  // the loader's table and the blank surface
        EXPECT_EQ(CellWidth(*app, kFont), font::kAdvance);
        EXPECT_EQ(CellHeight(*app, kFont), font::kLineHeight);
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
