// The virtual screen: scale, fitted axis and size for several windows and an overscan,
// and the sizes of real screens as the menu lays out on them.
#include <string>

#include "tests/game/front_end_fixture.h"

namespace {

// What a window of some size maps to.
struct Mapping {
    float scale;  // device pixels per virtual unit, on both axes
    int fitAxis;
    float w, h;  // the virtual screen
    int landscape;
};

class VirtualScreenTest : public GameFixture {
protected:
    void ExpectMapping(int devW, int devH, Mapping m) {
        app->p_MapVirtualScreen(devW, devH);
        EXPECT_FLOAT_EQ(app->m_ScaleX, m.scale);
        EXPECT_FLOAT_EQ(app->m_ScaleY, m.scale);
        EXPECT_EQ(app->m_FitAxis, m.fitAxis);
        EXPECT_FLOAT_EQ(qv_Vortan_jscrw, m.w);
        EXPECT_FLOAT_EQ(qv_Vortan_jscrh, m.h);
        EXPECT_EQ(app->m_Landscape, m.landscape);
    }
};

TEST_F(VirtualScreenTest, A640x480WindowIsTheReferenceScreen) {
    ExpectMapping(640, 480, {1, 1, 640, 480, 1});
}

TEST_F(VirtualScreenTest, AWideWindowKeepsTheWidthAndShortensTheHeight) {
    ExpectMapping(1280, 720, {2, 1, 640, 360, 1});
}

TEST_F(VirtualScreenTest, APortraitWindowSeesMoreOfTheField) {
    ExpectMapping(480, 640, {640.0f / 720.0f, 2, 540, 720, 0});
}

TEST_F(VirtualScreenTest, ATallLandscapeWindowFitsTheHeight) {
    ExpectMapping(800, 800, {800.0f / 480.0f, 2, 480, 480, 1});  // square: 1.25 across, 1.666 down
}

TEST_F(VirtualScreenTest, OverscanShrinksTheScaleButNotTheVirtualScreen) {
    qv_Vortan_overscan = 64;
    ExpectMapping(1280, 720, {1.8f, 1, 640, 360, 1});
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

// Real screens, full screen or a window of their size: the virtual screen is exact
// wherever its arithmetic gives a whole number, and the menu fits as many score rows as
// half its height holds (one row is 15 units high, at most 10 rows).
class RealScreenTest : public FrontEndFixture {};

TEST_F(RealScreenTest, VirtualSizesAndScoreRowsOfRealScreens) {
    struct Screen {
        int devW, devH;
        float w, h;
        int rows;
    };
    const Screen screens[] = {
        {640, 480, 640, 480, 10},  {800, 600, 640, 480, 10},
        {1024, 768, 640, 480, 10}, {1280, 1024, 600, 480, 10},
        {1280, 800, 640, 400, 7},  {1366, 768, 640, 768 * 640 / 1366.0f, 5},
        {1920, 1080, 640, 360, 6}, {2560, 1440, 640, 360, 6},
        {2560, 1080, 640, 270, 3}, {3840, 2160, 640, 360, 6},
        {480, 640, 540, 720, 10},  {1080, 1920, 405, 720, 10},
    };
    for (const Screen& s : screens) {
        const std::string size = std::to_string(s.devW) + "x" + std::to_string(s.devH);
        SetDevice(s.devW, s.devH);
        FinishLoading();  // a new size loads everything again
        Update();
        EXPECT_EQ(qv_Vortan_jscrw, s.w) << size;
        EXPECT_EQ(qv_Vortan_jscrh, s.h) << size;
        const std::string rows = std::to_string(s.rows);
        EXPECT_TRUE(Shows("Top " + rows)) << size << ": " << DrawnText();
        EXPECT_TRUE(Shows("Last " + rows)) << size << ": " << DrawnText();
    }
}

}  // namespace
