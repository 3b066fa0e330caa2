// The virtual screen: scale, fitted axis and size for several windows and an overscan.
#include "tests/game/game_fixture.h"

namespace {

class VirtualScreenTest : public GameFixture {};

TEST_F(VirtualScreenTest, A640x480WindowIsTheReferenceScreen) {
    app->p_MapVirtualScreen(640, 480);
    EXPECT_EQ(app->m_ScaleX, 1);
    EXPECT_EQ(app->m_ScaleY, 1);
    EXPECT_EQ(app->m_FitAxis, 1);
    EXPECT_EQ(qv_Vortan_jscrw, 640);
    EXPECT_EQ(qv_Vortan_jscrh, 480);
    EXPECT_EQ(app->m_Landscape, 1);
}

TEST_F(VirtualScreenTest, AWideWindowKeepsTheWidthAndShortensTheHeight) {
    app->p_MapVirtualScreen(1280, 720);
    EXPECT_EQ(app->m_ScaleX, 2);
    EXPECT_EQ(app->m_ScaleY, 2);
    EXPECT_EQ(app->m_FitAxis, 1);
    EXPECT_EQ(qv_Vortan_jscrw, 640);
    EXPECT_EQ(qv_Vortan_jscrh, 360);
    EXPECT_EQ(app->m_Landscape, 1);
}

TEST_F(VirtualScreenTest, APortraitWindowSeesMoreOfTheField) {
    app->p_MapVirtualScreen(480, 640);
    EXPECT_FLOAT_EQ(app->m_ScaleX, 640.0f / 720.0f);
    EXPECT_FLOAT_EQ(app->m_ScaleY, 640.0f / 720.0f);
    EXPECT_EQ(app->m_FitAxis, 2);
    EXPECT_FLOAT_EQ(qv_Vortan_jscrw, 540);
    EXPECT_FLOAT_EQ(qv_Vortan_jscrh, 720);
    EXPECT_EQ(app->m_Landscape, 0);
}

TEST_F(VirtualScreenTest, ATallLandscapeWindowFitsTheHeight) {
    app->p_MapVirtualScreen(800, 800);  // square: 1.25 across, 1.666 down
    EXPECT_FLOAT_EQ(app->m_ScaleX, 800.0f / 480.0f);
    EXPECT_EQ(app->m_FitAxis, 2);
    EXPECT_FLOAT_EQ(qv_Vortan_jscrh, 480);
    EXPECT_FLOAT_EQ(qv_Vortan_jscrw, 480);
    EXPECT_EQ(app->m_Landscape, 1);
}

TEST_F(VirtualScreenTest, OverscanShrinksTheScaleButNotTheVirtualScreen) {
    qv_Vortan_overscan = 64;
    app->p_MapVirtualScreen(1280, 720);
    EXPECT_FLOAT_EQ(app->m_ScaleX, 1.8f);
    EXPECT_FLOAT_EQ(app->m_ScaleY, 1.8f);
    EXPECT_EQ(qv_Vortan_jscrw, 640);
    EXPECT_EQ(qv_Vortan_jscrh, 360);
}

TEST_F(VirtualScreenTest, RenderMapsTheDeviceAndNoticesANewSize) {
    SetDevice(1280, 720);
    Create();
    app->m_LoadStage = 0;
    Render();
    EXPECT_EQ(app->m_ScaleX, 2);
    EXPECT_EQ(qv_Vortan_jscrh, 360);
    EXPECT_EQ(app->m_LoadStage, 0);  // same size as at start
    SetDevice(640, 480);
    Render();
    EXPECT_EQ(app->m_LoadStage, 1);  // everything loads again for the new size
    EXPECT_EQ(app->m_LastDevW, 640);
    EXPECT_EQ(app->m_LastDevH, 480);
    EXPECT_EQ(app->m_ScaleX, 1);
}

}  // namespace
