// Text drawing: glyph positions, spacing, alignment, escapes and line breaks.
#include <cmath>

#include "tests/game/game_fixture.h"
#include "tests/support/headless_game.h"

namespace {

class TextTest : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        SetFontMetrics(app);
        app->m_InputKind = 1;
        app->p_CLS2D();
        AdvanceMs(250 - qv_app_Millisecs() % 500 + 500);  // outside the blink window
    }
    std::vector<float> Xs() const {
        std::vector<float> xs;
        for (const DrawCmd& c : Commands()) xs.push_back(c.x);
        return xs;
    }
};

TEST_F(TextTest, EmptyTextDrawsNothing) {
    app->p_Text(100, 100, String(""), 1, 1);
    EXPECT_EQ(app->m_DrawLen, 0);
}

TEST_F(TextTest, OneCentredCharacterLandsThreeUnitsRight) {
    app->p_Text(100, 100, String("A"), 1, 1);
    auto cmds = Commands();
    ASSERT_EQ(cmds.size(), 1u);
    EXPECT_EQ(cmds[0].kind, picture::kFont);
    EXPECT_EQ(cmds[0].frame, 'A' - 32);
    EXPECT_EQ(cmds[0].x, 103);  // trunc(100 - 3.5) + 7
    EXPECT_EQ(cmds[0].y, 100);
}

TEST_F(TextTest, LeftTopAlignedTextAdvancesBySpacing) {
    // "w" +2, "i" -3, "M" +1, "t" -1, others 0; the leading space is one plain cell.
    app->p_Text(10, 20, String("wiMtA"), 0, 0);
    EXPECT_EQ(Xs(), (std::vector<float>{17, 26, 30, 38, 44}));
    for (const DrawCmd& c : Commands()) EXPECT_EQ(c.y, 25);  // top at y: centre half a line down
    EXPECT_EQ(DrawnText(), "wiMtA");
}

TEST_F(TextTest, RightAlignmentEndsAtX) {
    app->p_Text(200, 50, String("AB"), 2, 1);
    // width = 14 (space and A); the last glyph's centre is at x.
    EXPECT_EQ(Xs(), (std::vector<float>{193, 200}));
}

TEST_F(TextTest, SizeScalesAdvanceAndLineHeight) {
    app->p_SetSize(2);
    app->p_Text(0, 0, String("AA"), 0, 0);
    EXPECT_EQ(Xs(), (std::vector<float>{14, 28}));
    EXPECT_EQ(Commands()[0].y, 10);
    EXPECT_EQ(Commands()[0].a4, 2);
}

TEST_F(TextTest, SpacesAdvanceWithoutDrawing) {
    app->p_Text(0, 0, String("A B"), 0, 0);
    EXPECT_EQ(Xs(), (std::vector<float>{7, 21}));
    EXPECT_EQ(DrawnText(), "AB");
}

TEST_F(TextTest, LineBreakStartsUnderTheFirstCharacter) {
    app->p_Text(100, 100, String("AB\\nCD"), 0, 0);
    auto cmds = Commands();
    ASSERT_EQ(cmds.size(), 4u);
    EXPECT_EQ(DrawnText(), "ABCD");
    EXPECT_EQ(cmds[0].x, 107);
    EXPECT_EQ(cmds[2].x, 107);
    EXPECT_EQ(cmds[3].x, 114);
    EXPECT_EQ(cmds[0].y, 105);
    EXPECT_EQ(cmds[2].y, 115);
}

TEST_F(TextTest, MultiLineTextIsAlignedByAllItsLines) {
    // The width counts the break as two characters: " AB\nC" = 5 cells, "n" one unit less.
    app->p_Text(100, 100, String("AB\\nCD"), 2, 1);
    EXPECT_EQ(Commands()[0].x, 100 - 41 + 7);
}

TEST_F(TextTest, ButtonEscapesDrawGlyphFrames) {
    app->p_Text(0, 0,
                String("\xAC"
                       "J\xAC"
                       "U\xAC"
                       "Xa"),
                0, 0);
    auto cmds = Commands();
    ASSERT_EQ(cmds.size(), 4u);
    EXPECT_EQ(cmds[0].frame, 96);
    EXPECT_EQ(cmds[1].frame, 100);
    EXPECT_EQ(cmds[2].frame, 'X' + 0);  // any other letter uses its own code
    EXPECT_EQ(cmds[3].frame, 'a' - 32);
    // Button glyphs advance 4 cells more ("U" and "O" 6).
    EXPECT_EQ(cmds[0].x, 7);
    EXPECT_EQ(cmds[1].x, 18);
    EXPECT_EQ(cmds[2].x, 31);
    EXPECT_EQ(cmds[3].x, 42);
}

TEST_F(TextTest, ButtonGlyphsBlinkForKeysAndShiftForPointer) {
    AdvanceMs(500 - qv_app_Millisecs() % 500 + 100);  // inside the first 200 ms
    app->p_Text(0, 0,
                String("\xAC"
                       "K\xAC"
                       "O\xAC"
                       "S\xAC"
                       "Q"),
                0, 0);
    auto cmds = Commands();
    ASSERT_EQ(cmds.size(), 4u);
    EXPECT_EQ(cmds[0].frame, 109);
    EXPECT_EQ(cmds[1].frame, 110);
    EXPECT_EQ(cmds[2].frame, 104);
    EXPECT_EQ(cmds[3].frame, 102);  // Q never blinks

    app->p_CLS2D();
    app->m_InputKind = 0;
    app->p_Text(0, 0,
                String("\xAC"
                       "K"),
                0, 0);
    EXPECT_EQ(Commands()[0].frame, 97 + 16);
}

TEST_F(TextTest, RotatedTextRunsAlongTheAngle) {
    app->p_SetRot(90);  // the user's angle; stored negated
    app->p_Text(100, 100, String("AB"), 0, 1);
    auto cmds = Commands();
    ASSERT_EQ(cmds.size(), 2u);
    // Glyphs carry the rotation; a quarter turn counter-clockwise runs the text up the screen.
    EXPECT_EQ(cmds[0].rot, -90);
    EXPECT_EQ(cmds[0].x, cmds[1].x);
    EXPECT_NEAR(cmds[0].y - cmds[1].y, 7, 1e-4);
}

TEST_F(TextTest, FontOffsetChoosesTheNextSlot) {
    app->p_Text(0, 0, String("A"), 0, 0, 1);
    EXPECT_EQ(Commands()[0].kind, picture::kFont + 1);
}

}  // namespace
