// The virtual screen: scale, fitted axis and size for several windows and an overscan,
// and the sizes of real screens as the menu lays out on them.
#include <string>

#include "tests/game/front_end_fixture.h"

namespace {

class VirtualScreenTest : public GameFixture {};

// What windows map to: the scale in device pixels per virtual unit on both axes, the
// fitted axis, the virtual screen and whether it counts as landscape.
TEST_F(VirtualScreenTest, WindowsMapToAScaleAFittedAxisAndAVirtualScreen) {
    struct Case {
        int devW, devH, overscan;
        float scale;
        int fitAxis;
        float w, h;
        int landscape;
    };
    const Case cases[] = {
        {640, 480, 0, 1, 1, 640, 480, 1},                // the reference screen
        {1280, 720, 0, 2, 1, 640, 360, 1},               // wide: the width kept, the height shorter
        {480, 640, 0, 640.0f / 720.0f, 2, 540, 720, 0},  // portrait sees more of the field
        {800, 800, 0, 800.0f / 480.0f, 2, 480, 480, 1},  // square: 1.25 across, 1.666 down
        {1280, 720, 64, 1.8f, 1, 640, 360, 1},           // overscan shrinks the scale alone
    };
    for (const Case& c : cases) {
        qv_Vortan_overscan = c.overscan;
        app->p_MapVirtualScreen(c.devW, c.devH);
        const std::string at = std::to_string(c.devW) + "x" + std::to_string(c.devH) +
                               " overscan " + std::to_string(c.overscan);
        EXPECT_FLOAT_EQ(app->m_ScaleX, c.scale) << at;
        EXPECT_FLOAT_EQ(app->m_ScaleY, c.scale) << at;
        EXPECT_EQ(app->m_FitAxis, c.fitAxis) << at;
        EXPECT_FLOAT_EQ(qv_Vortan_jscrw, c.w) << at;
        EXPECT_FLOAT_EQ(qv_Vortan_jscrh, c.h) << at;
        EXPECT_EQ(app->m_Landscape, c.landscape) << at;
    }
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
