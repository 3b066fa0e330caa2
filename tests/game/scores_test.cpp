// The score display: shown-score easing, the next-placing line, health bars, the item row,
// and the placing texts the menu and the game-over panel share.
#include <cmath>
#include <vector>

#include "tests/game/round_fixture.h"

using namespace round_records;

namespace {

class ScoresTest : public RoundFixture {
protected:
    void SetBest(int difficulty, std::vector<int> scores) {
        for (int k = 0; k < high_scores::kListLength; ++k) {
            app->m_HiScore[high_scores::BestIndex(difficulty - 1, k)] = k < int(scores.size())
                                                                            ? scores[k]
                                                                            : 0;
        }
    }
    // The display alone, on a fresh list.
    void Display() {
        app->p_CLS2D();
        app->p_ScoreDisplay();
    }
    std::vector<DrawCmd> Rects() const {
        std::vector<DrawCmd> out;
        for (const DrawCmd& c : Commands()) {
            if (c.kind == kCmdRect) out.push_back(c);
        }
        return out;
    }
};

TEST_F(ScoresTest, ShownScoreClosesASixthOfTheGapAndSnapsUnderSix) {
    app->p_AddPlayer(1, 100, 0);
    app->m_HideHud = 1;  // easing goes on with the display, bars included, hidden
    app->m_Score = 100;
    std::vector<int> shown;
    for (int i = 0; i < 25 && app->m_ShownScore != 100; ++i) {
        app->p_ScoreDisplay();
        shown.push_back(app->m_ShownScore);
    }
    std::vector<int> expected = {16, 30, 41, 50, 58, 65, 70, 75, 79, 82,
                                 85, 87, 89, 90, 91, 92, 93, 94, 100};
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(app->m_DrawLen, 0);

    // The next round shows 0 from its first update, not the last total easing down.
    app->m_HideHud = 0;
    StartRound();
    Play();
    EXPECT_EQ(TextAt(28), "00000000");
}

TEST_F(ScoresTest, ScoreLineShowsEightDigitsAtDoubleSize) {
    app->m_Score = app->m_ShownScore = 123456789;
    Display();
    EXPECT_EQ(TextAt(28), "23456789");
    for (const DrawCmd& c : Commands()) {
        if (c.kind == picture::kFont && std::fabs(c.y - 28) < 0.5f) {
            EXPECT_EQ(c.a4, 2);
            EXPECT_FLOAT_EQ(c.alpha, 0.8f);
            EXPECT_EQ(c.g, 255);
            EXPECT_EQ(c.r, 100);
        }
    }
}

// The next-placing line names the entry to beat; with an empty list, first with zeros.
TEST_F(ScoresTest, NextPlacingNamesTheEntryToBeat) {
    SetBest(3, {90000, 80000, 70000, 60000, 50000, 40000, 30000, 20000, 10000, 5000});
    SetBest(2, {});  // another difficulty's list plays no part
    struct Case {
        int difficulty, score;
        const char* line;  // "1st 00000000": the space draws no glyph
        int next;
    };
    for (const Case& c : {Case{2, 0, "1st00000000", 0}, Case{3, 4000, "11th00005000", 5000},
                          Case{3, 6000, "9th00010000", 10000}, Case{3, 95000, "1st00090000", -1}}) {
        app->m_Difficulty = c.difficulty;
        app->m_Score = c.score;
        Display();
        EXPECT_EQ(TextAt(10), c.line) << c.score;
        if (c.next >= 0) {
            EXPECT_EQ(app->m_NextScore, c.next) << c.score;
        }
    }
}

// The place a score will take: a tie goes below the equal score, so a tie with the tenth
// takes none.
TEST_F(ScoresTest, MyNthPlacesTheScoreAndLeavesItInLoop) {
    app->m_Difficulty = 1;
    SetBest(1, {500, 400, 300, 200, 100, 90, 80, 70, 60, 50});
    struct Case {
        int score;
        const char* placing;
        int place;
    };
    for (const Case& c : {Case{501, "1st!", 1}, Case{500, "2nd", 2}, Case{350, "3rd", 3},
                          Case{51, "10th", 10}, Case{50, "", 0}}) {
        app->m_Score = c.score;
        EXPECT_EQ(app->p_MyNth().ToUtf8(), c.placing) << c.score;
        EXPECT_EQ(app->m_Loop, c.place) << c.score;
    }
}

TEST_F(ScoresTest, NthCoversOneToThirtyOnly) {
    const std::pair<int, const char*> ordinals[] = {{1, "1st"},   {2, "2nd"},   {3, "3rd"},
                                                    {4, "4th"},   {11, "11th"}, {12, "12th"},
                                                    {13, "13th"}, {21, "21st"}, {22, "22nd"},
                                                    {23, "23rd"}, {30, "30th"}, {0, ""},
                                                    {31, ""},     {-1, ""}};
    for (const auto& [n, text] : ordinals) EXPECT_EQ(app->p_Nth(n).ToUtf8(), text) << n;
}

TEST_F(ScoresTest, RstrPadsAndKeepsTheLastDigits) {
    EXPECT_EQ(app->p_rstr(42, 8, "0").ToUtf8(), "00000042");
    EXPECT_EQ(app->p_rstr(123456789, 8, "0").ToUtf8(), "23456789");
    EXPECT_EQ(app->p_rstr(12345678, 8, "0").ToUtf8(), "12345678");
    EXPECT_EQ(app->p_rstr(7, 3, "ab").ToUtf8(), "ab7");
    EXPECT_EQ(app->p_rstr(-5, 4, "0").ToUtf8(), "00-5");
    EXPECT_EQ(app->p_rstr(42, 4, "").ToUtf8(), "42");
    EXPECT_EQ(app->p_rstr(42, 0, "0").ToUtf8(), "");
}

TEST_F(ScoresTest, HealthBarsAndDeadLines) {
    app->p_AddPlayer(1, 100, 0);
    app->p_AddPlayer(3, 100, 0);
    Fighter(3)[kHealth] = -95;
    app->p_AddPlayer(4, 100, 0);
    Fighter(4)[kHealth] = 4;
    Display();

    EXPECT_EQ(app->m_InPlay, 3);
    EXPECT_EQ(app->m_Alive, 2);
    EXPECT_EQ(app->m_Dead, 1);

    // Player 1: dark frame, then a red bar of 22 per health point.
    std::vector<DrawCmd> rects = Rects();
    ASSERT_EQ(rects.size(), 5u);
    EXPECT_EQ(rects[0].Place(), (Quad{220, 48, 200, 12}));
    EXPECT_EQ(rects[0].r, 80);
    EXPECT_EQ(rects[1].Place(), (Quad{221, 49, 198, 10}));
    EXPECT_EQ(rects[1].Colour(), (Quad{255, 25.5f, 25.5f, 0.9f}));
    // Player 3 is down: its frame, then the dead line instead of a bar.
    EXPECT_EQ(rects[2].y, 80);
    EXPECT_EQ(TextAt(86), "P3-=-=-DEADx(-=-=-");
    // Each bar carries its player's number just left of its frame, in the player's colour.
    EXPECT_EQ(TextAt(54), "P1");
    EXPECT_EQ(TextAt(102), "P4");
    for (const DrawCmd& c : Commands()) {
        if (c.kind != float(app->m_Font) || c.y != 54) continue;
        EXPECT_LE(c.x + font::kAdvance / 2.0f, 220 - 2);
        EXPECT_EQ(c.g, 255 * 0.1f * 1.3f);
    }
    // Player 4: a green bar of 4 points.
    EXPECT_EQ(rects[4].y, 97);
    EXPECT_EQ(rects[4].a4, 88);
    EXPECT_NEAR(rects[4].r, 25.5f, 0.01f);
    EXPECT_EQ(rects[4].g, 255);
    // The display leaves the drawing state as it found a reset one.
    EXPECT_EQ(app->m_SizeX, 1);
    EXPECT_EQ(app->m_ColA, 1);
}

TEST_F(ScoresTest, ItemRowCountsPickedUpItems) {
    auto icons = [&] {
        std::vector<float> xs;
        for (const DrawCmd& c : Commands()) {
            if (c.kind == picture::kIcons && c.frame == frame::kItemIcon && c.y == 24) {
                EXPECT_FLOAT_EQ(c.a4, 0.75f);
                EXPECT_FLOAT_EQ(c.alpha, 0.8f);
                xs.push_back(c.x);
            }
        }
        return xs;
    };
    // Fields of player 4's record play no part in the row.
    app->p_AddPlayer(4, 100, 0);
    Fighter(4)[kSway] = 12;
    Display();
    EXPECT_TRUE(icons().empty());

    app->m_ItemsTaken = 3;
    Display();
    EXPECT_EQ(icons(), (std::vector<float>{400, 416, 432}));

    app->m_ItemsTaken = 40;
    Display();
    EXPECT_EQ(icons().size(), 10u);
}

}  // namespace
