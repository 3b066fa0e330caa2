// The game-over panel's timing, words and banner, the badge texts and the badge pop-ups.
#include <cmath>
#include <string>
#include <vector>

#include "game/round_records.h"
#include "tests/game/front_end_fixture.h"

namespace {

using high_scores::BestIndex;

class GameOverTest : public FrontEndFixture {
protected:
    void EndARound(int score) {
        EnterRound();
        app->m_Score = score;
        app->m_RoundOver = 1;
    }
    // The panel alone at timer t, drawn on an empty list.
    void DrawPanelAt(int t) {
        app->m_OverTimer = t;
        app->p_CLS2D();
        app->p_GameOver();
    }
    // Middle of the glyphs of a line and its y.
    bool Centre(const std::string& text, float* x, float* y) const {
        float first = 0, last = 0;
        bool found = false;
        const std::optional<TextLine> line = FindLine(text);
        if (!line) return false;
        for (const DrawCmd& c : Commands()) {
            if (c.kind == float(app->m_Font) && c.y == line->y) {
                if (!found) first = c.x;
                last = c.x;
                found = true;
            }
        }
        *x = (first + last) / 2;
        *y = line->y;
        return found;
    }
    void SetBestOfNormal() {
        for (int i = 0; i < 10; ++i) app->m_HiScore[BestIndex(1, i)] = 1000 - 100 * i;
    }
    // The panel over the menu after a round on Normal with this score, at timer 30.
    void DrawPanelForNormal(int score) {
        app->m_Difficulty = 2;
        app->m_Score = score;
        app->m_Mode = mode::kMenu;
        DrawPanelAt(30);
    }
    // The placing under the "New Highscore" banner; empty without a banner.
    std::string BannerPlacing() const {
        const std::optional<TextLine> banner = FindLine("New Highscore");
        if (!banner) return "";
        for (const TextLine& l : Lines()) {
            if (l.y == banner->y + 20) return l.text;
        }
        return "?";
    }
    // Updates until the panel has handed over to the menu.
    void UntilTheMenu() {
        LeaveGameOver();
        ASSERT_EQ(app->m_Mode, mode::kMenu);
    }
};

// Friends get four seconds to read the panel, and then it waits for a press that starts
// after them: not one held from before, from any pad or the keyboard.
TEST_F(GameOverTest, PanelStaysFourSecondsAndThenUntilTheNextPressBeforeClosingOverTheMenu) {
    EndARound(0);
    app->m_MusicOn = 1;
    PadPress(2, pad::kA);  // pressed early: no effect
    PadDown(3, pad::kB);   // held across the four seconds
    Update(260);
    EXPECT_EQ(app->m_Mode, mode::kRound);
    EXPECT_EQ(app->m_MusicOn, 1);
    PadUp(3, pad::kB);
    Update(30);
    EXPECT_EQ(app->m_Mode, mode::kRound);
    EXPECT_EQ(app->m_OverTimer, 292);
    // The switch to 2 sets 75, and the panel runs once more in mode 2 in the same update.
    PadDown(2, pad::kB);
    Update();
    PadUp(2, pad::kB);
    EXPECT_EQ(app->m_Mode, mode::kBackFromRound);
    EXPECT_EQ(app->m_OverTimer, 73);
    EXPECT_EQ(app->m_MusicOn, 0);
    Update();  // goes back to the menu (the score was recorded at the 90th update)
    EXPECT_EQ(app->m_Mode, mode::kMenu);
    EXPECT_EQ(app->m_OverTimer, 71);
    EXPECT_EQ(SplitFields(Stored()).size(), kStateFields);
    Update(35);
    EXPECT_EQ(app->m_OverTimer, 1);
    Update();
    EXPECT_EQ(app->m_OverTimer, 0);
}

// Every player who joined gets a row in its own colour with its knock-outs and points;
// the rows stand below the highscore banner (LayoutTest.GameOverWithNewHighscore keeps them
// within the screen at every size).
TEST_F(GameOverTest, PanelListsEachJoinedPlayersKnockoutsAndPoints) {
    for (int i = 0; i < 10; ++i) app->m_HiScore[BestIndex(1, i)] = 0;
    app->m_Difficulty = 2;
    EndARound(450);
    using namespace round_records;
    for (int p : {1, 2, 4}) app->p_AddPlayer(p, 100, 300);
    for (int p : {1, 2, 4}) Record(*app, p)[kHealth] = -100;
    app->m_KnockOuts[0] = 3;
    app->m_PlayerPoints[0] = 350;
    app->m_KnockOuts[3] = 1;
    app->m_PlayerPoints[3] = 100;
    Update(60);
    const std::optional<TextLine> one = FindLine("P1 3 knockouts 350 points");
    const std::optional<TextLine> two = FindLine("P2 0 knockouts 0 points");
    const std::optional<TextLine> four = FindLine("P4 1 knockout 100 points");
    const std::optional<TextLine> banner = FindLine("New Highscore");
    ASSERT_TRUE(one && two && four && banner);
    EXPECT_FALSE(Shows("P3 0 knockouts 0 points"));
    EXPECT_EQ(one->r, 255);
    EXPECT_EQ(one->g, 255 * 0.1f * 1.3f);   // player 1's red
    EXPECT_EQ(four->r, 255 * 0.1f * 1.3f);  // player 4's green
    EXPECT_LT(one->y, two->y);
    EXPECT_LT(two->y, four->y);
    EXPECT_GT(one->y - 7.5f, banner->y + 20 + 10);
    // Still there a good while later, over the menu too.
    Update(120);
    EXPECT_TRUE(Shows("P4 1 knockout 100 points"));
    LeaveGameOver();
    EXPECT_TRUE(Shows("P4 1 knockout 100 points"));
}

TEST_F(GameOverTest, WordsComeInAndStopAtTheReach) {
    app->m_Mode = mode::kMenu;
    DrawPanelAt(17);
    float x = 0, y = 0;
    ASSERT_TRUE(Centre("GAME", &x, &y));
    EXPECT_EQ(y, 204);
    DrawPanelAt(18);
    ASSERT_TRUE(Centre("GAME", &x, &y));
    EXPECT_EQ(y, 216);
    EXPECT_NEAR(x, 224 + 14, 1);  // the leading space of a centred text is not drawn
    ASSERT_TRUE(Centre("OVER", &x, &y));
    EXPECT_EQ(y, 264);
    EXPECT_NEAR(x, 416 + 14, 1);
    DrawPanelAt(40);
    ASSERT_TRUE(Centre("GAME", &x, &y));
    EXPECT_EQ(y, 216);
    const std::optional<TextLine> over = FindLine("OVER");
    ASSERT_TRUE(over);
    EXPECT_EQ(over->size, 4);
    EXPECT_EQ(over->r, 255);
    EXPECT_EQ(over->g, 180);
}

TEST_F(GameOverTest, DimReachesSevenTenthsAtTwentyEight) {
    app->m_Mode = mode::kMenu;
    auto dim = [this]() {
        for (const DrawCmd& c : Commands()) {
            if (c.kind == kCmdRect && c.x == -1 && c.y == -1) return c.alpha;
        }
        return -1.0f;
    };
    DrawPanelAt(20);
    EXPECT_FLOAT_EQ(dim(), 0.5f);
    DrawPanelAt(27);
    EXPECT_FLOAT_EQ(dim(), 27.0f / 40);
    DrawPanelAt(28);
    EXPECT_FLOAT_EQ(dim(), 0.7f);
    DrawPanelAt(60);
    EXPECT_FLOAT_EQ(dim(), 0.7f);
    DrawPanelAt(0);
    EXPECT_EQ(dim(), -1.0f);
}

// Nothing scored on an empty list, or a score that beats nothing, shows the words alone;
// a best score shows the banner with its placing under it.
TEST_F(GameOverTest, BannerShowsOnlyForAPlaceWithThePlacingUnderIt) {
    DrawPanelForNormal(0);
    EXPECT_TRUE(Shows("GAME"));
    EXPECT_TRUE(Shows("OVER"));
    EXPECT_FALSE(Shows("New Highscore"));
    DrawPanelForNormal(1);
    EXPECT_EQ(BannerPlacing(), "1st!");
    SetBestOfNormal();
    DrawPanelForNormal(50);
    EXPECT_TRUE(Shows("GAME"));
    EXPECT_FALSE(Shows("New Highscore"));
    DrawPanelForNormal(5000);
    EXPECT_EQ(BannerPlacing(), "1st!");
    const std::optional<TextLine> banner = FindLine("New Highscore");
    ASSERT_TRUE(banner);
    EXPECT_EQ(banner->size, 2);
    EXPECT_EQ(banner->g, 255);
    // Aligned 2 down at H - m / 1.5 = 336: the first line's glyphs end there.
    EXPECT_EQ(banner->y, 336 - 10);
}

// The banner over the round and, once the score is recorded, over the menu shows the
// place the score takes: below any equal score, and none when it only ties the tenth.
TEST_F(GameOverTest, BannerShowsThePlaceTheScoreTakesBelowEqualScores) {
    struct Case {
        int score;
        const char* placing;
        int list[10];
    };
    const Case cases[] = {{750, "4th", {1000, 900, 800, 750, 700, 600, 500, 400, 300, 200}},
                          {700, "5th", {1000, 900, 800, 700, 700, 600, 500, 400, 300, 200}},
                          {100, "", {1000, 900, 800, 700, 600, 500, 400, 300, 200, 100}}};
    for (const Case& c : cases) {
        Store("");  // each case on a profile of its own: saves keep what is stored
        SetBestOfNormal();
        app->m_Difficulty = 2;
        EndARound(c.score);
        Update(30);
        EXPECT_EQ(BannerPlacing(), c.placing) << c.score << " over the round";
        UntilTheMenu();
        EXPECT_EQ(BannerPlacing(), c.placing) << c.score << " over the menu";
        const int* best = app->m_HiScore.Data() + BestIndex(1, 0);
        EXPECT_EQ(std::vector<int>(best, best + 10), std::vector<int>(c.list, c.list + 10));
        Update(40);  // the panel closes
    }
}

TEST_F(GameOverTest, NoMenuKeyActsWhileThePanelIsOnTheMenu) {
    EndARound(0);
    UntilTheMenu();
    ASSERT_GT(app->m_OverTimer, 30);
    const int col = app->m_MenuCol, sel = app->m_WheelSel;
    KeyDown(vk::kRight);
    KeyDown(vk::kDown);
    Update(10);
    KeyUp(vk::kRight);
    KeyUp(vk::kDown);
    Update();
    EXPECT_EQ(app->m_MenuCol, col);
    EXPECT_EQ(app->m_WheelSel, sel);
    Update(40);
    ASSERT_EQ(app->m_OverTimer, 0);
    KeyDown(vk::kRight);
    Update();
    EXPECT_EQ(app->m_MenuCol, col + 1);
}

TEST_F(GameOverTest, BadgeTexts) {
    EXPECT_EQ(app->p_BadgeID(0).ToUtf8(), "Test Badge|This is a Test Badge which has no purpose.");
    EXPECT_EQ(app->p_BadgeName(0).ToUtf8(), "Test Badge");
    EXPECT_EQ(app->p_BadgeDetail(0).ToUtf8(), "This is a Test Badge which has no purpose.");
    for (int n : {1, 63, 255, -4}) {
        EXPECT_EQ(app->p_BadgeName(n).ToUtf8(), "Odd Badge");
        EXPECT_EQ(app->p_BadgeDetail(n).ToUtf8(), "This badge hasn't been defined!");
    }
}

TEST_F(GameOverTest, BadgePopUpSlidesInStaysAndSlidesOut) {
    app->m_BadgeQueue[2] = 63;
    app->m_BadgeTimer[2] = 1;
    auto box = [this]() -> const DrawCmd* {
        static std::vector<DrawCmd> kept;
        kept = Commands();
        for (const DrawCmd& c : kept) {
            if (c.kind == kCmdRect && c.a4 == 160 && c.a5 == 32) return &c;
        }
        return nullptr;
    };
    app->p_CLS2D();
    app->p_ShowBadges();
    ASSERT_NE(box(), nullptr);
    EXPECT_EQ(box()->x, -128);
    EXPECT_EQ(box()->y, 480 - 34 * 3);
    EXPECT_TRUE(Shows("Odd Badge"));
    const std::vector<DrawCmd> pictures = ImagesOf(picture::kBadges);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].frame, 63);
    EXPECT_EQ(pictures[0].x, -128 + 144);
    EXPECT_EQ(pictures[0].a4, 0.5f);

    int drawn = 1;
    float lastX = 0;
    for (int i = 0; i < 300 && app->m_BadgeTimer[2] > 0; ++i) {
        app->p_CLS2D();
        app->p_ShowBadges();
        if (box()) {
            ++drawn;
            lastX = box()->x;
            if (app->m_BadgeTimer[2] == 100) {
                EXPECT_EQ(lastX, 0);
            }
        }
    }
    EXPECT_EQ(drawn, 240);  // timers 2 to 241
    EXPECT_EQ(lastX, 3680 - 16 * 241);
    app->p_CLS2D();
    app->p_ShowBadges();
    EXPECT_EQ(box(), nullptr);
}

TEST_F(GameOverTest, BadgesFrom64OnShowOnlyTheirName) {
    app->m_BadgeQueue[0] = 64;
    app->m_BadgeTimer[0] = 5;
    app->p_CLS2D();
    app->p_ShowBadges();
    EXPECT_TRUE(Shows("Odd Badge"));
    EXPECT_TRUE(ImagesOf(picture::kBadges).empty());
}

}  // namespace
