// The draw list: what each drawing method records, the drawing state, the full list.
#include "tests/game/game_fixture.h"

namespace {

class DrawListTest : public GameFixture {};

TEST_F(DrawListTest, ImageCommandCarriesTheDrawingState) {
    app->p_CLS2D();
    app->p_SetSize(2, 3);
    app->p_SetRot(30);
    app->p_SetCol(10, 20, 30, 0.5f);
    app->m_Blend = draw_command::kBlendAdditive;
    app->p_DrawImg(picture::kIcons, 100, 50, 4);
    auto cmds = Commands();
    ASSERT_EQ(cmds.size(), 1u);
    EXPECT_EQ(cmds[0].kind, picture::kIcons);
    EXPECT_EQ(cmds[0].Place(), (Quad{100, 50, 2, 3}));
    EXPECT_EQ(cmds[0].rot, -30);  // stored negated
    EXPECT_EQ(cmds[0].frame, 4);
    EXPECT_EQ(cmds[0].Colour(), (Quad{10, 20, 30, 0.5f}));
    EXPECT_EQ(cmds[0].blend, draw_command::kBlendAdditive);
}

TEST_F(DrawListTest, ShapesRecordTheirKindAndGeometry) {
    app->p_CLS2D();
    app->p_Rect(1, 2, 3, 4);
    app->p_Oval(5, 6, 7, 8);
    app->p_Line(9, 10, 11, 12);
    auto cmds = Commands();
    ASSERT_EQ(cmds.size(), 3u);
    EXPECT_EQ(cmds[0].kind, kCmdRect);
    EXPECT_EQ(cmds[1].kind, kCmdOval);
    EXPECT_EQ(cmds[2].kind, kCmdLine);
    const Quad expected[3] = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(cmds[i].Place(), expected[i]);
        EXPECT_EQ(cmds[i].frame, 0);
        EXPECT_EQ(cmds[i].Colour(), (Quad{255, 255, 255, 1}));
    }
}

TEST_F(DrawListTest, HoldsExactly2500CommandsAndDropsTheRest) {
    app->p_CLS2D();
    for (int i = 0; i < 2500; ++i) app->p_Rect(float(i), 0, 1, 1);
    EXPECT_EQ(app->m_DrawLen, 37500);
    EXPECT_EQ(app->m_DrawList[37500 - 15 + 1], 2499);  // the 2500th is there
    app->p_Rect(-5, -5, 1, 1);
    app->p_DrawImg(1, -5, -5, 0);
    app->p_Text(0, 0, String("dropped"));
    EXPECT_EQ(app->m_DrawLen, 37500);
    EXPECT_EQ(app->m_DrawList[37500 - 15 + 1], 2499);
}

TEST_F(DrawListTest, ClearStartsANewListAndResetsTheState) {
    app->p_SetSize(4);
    app->p_SetRot(90);
    app->p_SetCol(1, 2, 3, 0.25f);
    app->m_Blend = draw_command::kBlendAdditive;
    app->p_Rect(0, 0, 1, 1);
    qv_Vortan_jscrw = 800;
    qv_Vortan_jscrh = 450;
    app->m_OriginX = 5;
    app->p_CLS2D(10, 20, 30, 0.5f);
    EXPECT_EQ(app->m_DrawLen, 0);
    EXPECT_EQ(app->m_ClsR, 10);
    EXPECT_EQ(app->m_ClsG, 20);
    EXPECT_EQ(app->m_ClsB, 30);
    EXPECT_EQ(app->m_ClsA, 0.5f);
    EXPECT_EQ(app->m_ClsW, 800);
    EXPECT_EQ(app->m_ClsH, 450);
    EXPECT_EQ(app->m_OriginX, 0);
    EXPECT_EQ(app->m_SizeX, 1);
    EXPECT_EQ(app->m_SizeY, 1);
    EXPECT_EQ(app->m_Rot, 0);
    EXPECT_EQ(app->m_ColR, 255);
    EXPECT_EQ(app->m_ColA, 1);
    EXPECT_EQ(app->m_Blend, 1);
    // Without a colour the clear colour stays.
    app->p_CLS2D();
    EXPECT_EQ(app->m_ClsR, 10);
    EXPECT_EQ(app->m_ClsA, 0.5f);
}

TEST_F(DrawListTest, SizeColourAndAlphaSetters) {
    app->p_SetSize(2);
    EXPECT_EQ(app->m_SizeX, 2);
    EXPECT_EQ(app->m_SizeY, 2);
    app->p_SetSize(2, 3);
    EXPECT_EQ(app->m_SizeY, 3);
    app->p_Alpha(0.7f);
    app->p_SetCol(1, 2, 3);
    EXPECT_FLOAT_EQ(app->m_ColA, 0.7f);
    app->p_SetCol(1, 2, 3, 0);
    EXPECT_EQ(app->m_ColA, 0);
}

TEST_F(DrawListTest, InkPaletteScalesAndClamps) {
    app->p_Alpha(0.3f);
    app->p_Ink(2);
    EXPECT_FLOAT_EQ(app->m_ColR, 255);
    EXPECT_FLOAT_EQ(app->m_ColG, 127.5f);
    EXPECT_FLOAT_EQ(app->m_ColB, 25.5f);
    EXPECT_FLOAT_EQ(app->m_ColA, 0.3f);  // alpha untouched
    app->p_Ink(7, 2);
    EXPECT_FLOAT_EQ(app->m_ColR, 255);  // 2 x 0.5 x 255 clamps
    EXPECT_FLOAT_EQ(app->m_ColG, 51);
    EXPECT_FLOAT_EQ(app->m_ColB, 255);
    app->p_Ink(0);
    EXPECT_FLOAT_EQ(app->m_ColR, 0.3f * 255);
    app->p_Ink(12, 0.5f);
    EXPECT_FLOAT_EQ(app->m_ColG, 0.15f * 255);
    app->p_Ink(5, -1);
    EXPECT_EQ(app->m_ColB, 0);
}

TEST_F(DrawListTest, BackgroundEasesTowardItsTarget) {
    app->p_DoBG(0, 0, 80);
    EXPECT_FLOAT_EQ(app->m_BgB, 10);
    EXPECT_FLOAT_EQ(app->m_ClsB, 10);
    EXPECT_EQ(app->m_ClsA, 1);
    for (int i = 0; i < 40; ++i) app->p_DoBG();  // -123: keep the target
    EXPECT_NEAR(app->m_BgB, 80, 0.5f);
    EXPECT_EQ(app->m_BgTargetB, 80);
    app->p_DoBG(-123, -123, -123, 3.0f);
    EXPECT_EQ(app->m_ClsA, 1);  // clamped
    app->p_DoBG(-123, -123, -123, 0.25f);
    EXPECT_EQ(app->m_ClsA, 0.25f);
    app->p_DoBG(255, -123, -123);
    EXPECT_EQ(app->m_BgTargetR, 255);
    EXPECT_EQ(app->m_BgTargetB, 80);
}

}  // namespace
