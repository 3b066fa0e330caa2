// The title menu driven update by update: the wheel and its key repeat, the columns,
// the highscore lists, the back key with its question, a pad's Start, and the side panel
// with its credits ticker.
#include <cmath>
#include <cstdlib>
#include <set>
#include <string>

#include "game/bindings.h"
#include "game/round_records.h"
#include "tests/game/front_end_fixture.h"

namespace {

using high_scores::BestIndex;
using high_scores::LastIndex;

class MenuTest : public FrontEndFixture {
protected:
    // The wheel's key repeat borrows player 1's x (the timer) and y (the delay).
    float RepeatTimer() const {
        return round_records::Record(*app, round_records::kFirstPlayer)[round_records::kX];
    }
    float RepeatDelay() const {
        return round_records::Record(*app, round_records::kFirstPlayer)[round_records::kY];
    }
    // A held key turns the wheel to `to` in exactly `updates` updates, not one sooner.
    void ExpectTurnAfter(int updates, int to) {
        const int from = app->m_WheelSel;
        Update(updates - 1);
        EXPECT_EQ(app->m_WheelSel, from) << "after " << updates - 1;
        Update();
        EXPECT_EQ(app->m_WheelSel, to) << "after " << updates;
    }
    // The plate of wheel item k (Easy, Normal, Hard).
    std::optional<DrawCmd> WheelItem(int k) const {
        return FindImage(picture::kButtons, frame::kEasyPlate + k);
    }
    void Press(int key) { Hold(key, 1); }
    void OpenSidePanel() {
        Press(vk::kRight);
        Press(vk::kEnter);
        ASSERT_EQ(app->m_PanelB, 1);
    }
};

TEST_F(MenuTest, FirstStartShowsNormalSelectedAtFortyEightDegrees) {
    EXPECT_EQ(app->m_MenuCol, 1);
    EXPECT_EQ(app->m_WheelSel, 1);
    Update(60);
    ASSERT_EQ(app->m_WheelAngle, -32);
    const float cx = 38, cy = 480 - 64;
    const std::optional<DrawCmd> normal = WheelItem(1);
    ASSERT_TRUE(normal);
    EXPECT_NEAR(normal->x, cx + 179 * std::sin(48 * M_PI / 180), 0.01);
    EXPECT_NEAR(normal->y, cy - 179 * std::cos(48 * M_PI / 180), 0.01);
    EXPECT_EQ(normal->a4, 1.75f);
    const std::optional<DrawCmd> easy = WheelItem(0);
    ASSERT_TRUE(easy);
    EXPECT_EQ(easy->a4, 0.75f);
    // At 16 degrees the bulge is (45 - 29) * 1.5.
    EXPECT_NEAR(easy->x, cx + 140 * std::sin(16 * M_PI / 180), 0.01);
    EXPECT_NE(DrawnText().find("Normal"), std::string::npos);
    // The description in two lines, at size 1.5.
    const std::optional<TextLine> first = FindLine("Just right!");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->size, 1.5f);
    const std::optional<TextLine> second = FindLine("Tough, but not hard.");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->y - first->y, 15);
    EXPECT_EQ(app->m_Difficulty, 2);
}

TEST_F(MenuTest, UpOnEasyAndDownOnHardDoNothing) {
    Press(vk::kUp);
    ASSERT_EQ(app->m_WheelSel, 0);
    EXPECT_EQ(app->m_WheelTarget, 0);
    EXPECT_EQ(app->m_Difficulty, 1);
    int sounds = EffectsPlayed();
    Press(vk::kUp);
    EXPECT_EQ(app->m_WheelSel, 0);
    EXPECT_EQ(EffectsPlayed(), sounds);

    Press(vk::kDown);
    Press(vk::kDown);
    ASSERT_EQ(app->m_WheelSel, 2);
    EXPECT_EQ(app->m_WheelTarget, -64);
    EXPECT_EQ(app->m_Difficulty, 3);
    EXPECT_TRUE(Shows("Maybe TOO hard!"));
    sounds = EffectsPlayed();
    Press(vk::kDown);
    EXPECT_EQ(app->m_WheelSel, 2);
    EXPECT_EQ(EffectsPlayed(), sounds);
}

TEST_F(MenuTest, HoldingDownRepeatsAfterThirtyThenEighteenUpdates) {
    Press(vk::kUp);
    ASSERT_EQ(app->m_WheelSel, 0);
    KeyDown(vk::kDown);
    ExpectTurnAfter(1, 1);
    ExpectTurnAfter(31, 2);
    EXPECT_EQ(RepeatDelay(), 6);
    // On Hard the next repeat finds nothing to move to: the held key is let go of
    // after 19 more updates.
    Update(18);
    EXPECT_EQ(app->m_AnyKeyHeld, 1);
    Update();
    EXPECT_EQ(app->m_AnyKeyHeld, 0);
    EXPECT_EQ(app->m_WheelSel, 2);
    KeyUp(vk::kDown);
    Update();
    EXPECT_EQ(RepeatDelay(), 30);
    EXPECT_EQ(RepeatTimer(), 0);
}

TEST_F(MenuTest, RepeatDelayShrinksToEveryThreeUpdates) {
    // Up and down held together: up moves while it can, down takes over on Easy, so
    // the wheel keeps moving and every repeat shows.
    Press(vk::kUp);
    KeyDown(vk::kDown);
    Update();
    Update(31);
    ASSERT_EQ(app->m_WheelSel, 2);
    KeyDown(vk::kUp);
    ExpectTurnAfter(19, 1);
    EXPECT_EQ(RepeatDelay(), 3);
    ExpectTurnAfter(7, 0);
    for (int expected : {1, 0, 1}) ExpectTurnAfter(4, expected);
    KeyUp(vk::kUp);
    KeyUp(vk::kDown);
}

TEST_F(MenuTest, LeftAndRightMoveOneColumnPerPressAndStopAtTheEnds) {
    KeyDown(vk::kLeft);
    Update(20);
    EXPECT_EQ(app->m_MenuCol, 0);
    KeyUp(vk::kLeft);
    Update();
    Press(vk::kLeft);
    EXPECT_EQ(app->m_MenuCol, 0);
    Press(vk::kRight);
    Press(vk::kRight);
    EXPECT_EQ(app->m_MenuCol, 2);
    const int sounds = EffectsPlayed();
    Press(vk::kRight);
    EXPECT_EQ(app->m_MenuCol, 2);
    EXPECT_EQ(EffectsPlayed(), sounds);
}

TEST_F(MenuTest, TheGearOpensTheOptionsWhichHideTheListAndWheelAndOwnTheKeys) {
    Press(vk::kLeft);
    Press(vk::kEnter);
    EXPECT_EQ(app->m_OptionsOpen, 1);
    EXPECT_EQ(app->m_MenuCol, 0);
    EXPECT_EQ(app->m_Mode, mode::kMenu);
    Update();
    EXPECT_FALSE(Shows("Top 10"));
    EXPECT_TRUE(ImagesOf(picture::kCircles).empty());
    Press(vk::kDown);
    Press(vk::kRight);
    EXPECT_EQ(app->m_WheelSel, 1);
    EXPECT_EQ(app->m_MenuCol, 0);
}

TEST_F(MenuTest, TheWheelStartsARoundAtTheChosenDifficulty) {
    Press(vk::kDown);
    KeyDown(vk::kEnter);
    Update();
    EXPECT_EQ(app->m_Mode, mode::kRoundSetUp);
    EXPECT_EQ(app->m_InputKind, 0);  // an action key of the keyboard
    Update();
    EXPECT_EQ(app->m_Mode, mode::kRound);
    EXPECT_EQ(app->m_Difficulty, 3);
    // Return is also a jump: held into the round, it brings player 1 in.
    Update();
    EXPECT_EQ(round_records::Record(*app, 1)[round_records::kHealth], round_records::kPlayerHealth);
    KeyUp(vk::kEnter);
}

TEST_F(MenuTest, ListsShowTheRowsThatFitTheHeight) {
    app->m_Difficulty = 2;
    for (int i = 0; i < 10; ++i) app->m_HiScore[BestIndex(1, i)] = 1000 - i;
    for (int i = 0; i < 10; ++i) app->m_HiScore[LastIndex(1, i)] = 500 + i;
    struct Case {
        float height;
        std::vector<std::string> shown, hidden;
    };
    const Case cases[] = {{480, {"Top 10", "Last 10", "991", "509"}, {}},
                          {360, {"Top 6", "Last 6", "995"}, {"994"}},
                          {200, {"Highscore", "Last", "1000"}, {"999"}}};
    for (const Case& c : cases) {
        qv_Vortan_jscrh = c.height;
        Update();
        for (const std::string& text : c.shown)
            EXPECT_TRUE(Shows(text)) << text << " at " << c.height;
        for (const std::string& text : c.hidden)
            EXPECT_FALSE(Shows(text)) << text << " at " << c.height;
    }
    qv_Vortan_jscrh = 480;
    Update();
    const std::optional<TextLine> heading = FindLine("Top 10");
    ASSERT_TRUE(heading);
    EXPECT_EQ(heading->r, 255);
    EXPECT_EQ(heading->g, 200);
}

TEST_F(MenuTest, ListsFollowTheWheel) {
    app->m_HiScore[BestIndex(0, 0)] = 777;  // Easy
    app->m_HiScore[BestIndex(1, 0)] = 888;  // Normal
    Update();
    EXPECT_TRUE(Shows("888"));
    EXPECT_FALSE(Shows("777"));
    Press(vk::kUp);
    EXPECT_TRUE(Shows("777"));
    EXPECT_FALSE(Shows("888"));
}

// Back on the plain title asks first: from the keyboard or any pad's Back, answered no
// with B or Escape and yes with A or Enter, which ends the program with code 0. While the
// question stands the title's keys do nothing else.
TEST_F(MenuTest, BackOnThePlainTitleAsksQuitAndOnlyYesEndsTheProgram) {
    Press(vk::kEscape);
    EXPECT_EQ(app->m_QuitAsked, 1);
    EXPECT_TRUE(Shows("Quit?"));
    EXPECT_TRUE(Shows("A or Enter: quit"));
    Press(vk::kRight);
    EXPECT_EQ(app->m_MenuCol, 1);
    PadPress(2, pad::kB);
    EXPECT_EQ(app->m_QuitAsked, 0);
    EXPECT_FALSE(Shows("Quit?"));
    PadPress(3, pad::kBack);
    EXPECT_EQ(app->m_QuitAsked, 1);
    Press(vk::kEscape);
    EXPECT_EQ(app->m_QuitAsked, 0);
    EXPECT_EQ(app->m_Mode, mode::kMenu);

    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            PadPress(1, pad::kBack);
            PadDown(1, pad::kA);
            Update();
        },
        ::testing::ExitedWithCode(0), "");
}

// A back key a player has bound to jump asks "Quit?" and, pressed again, answers no (a yes
// would end the child with 0).
TEST_F(MenuTest, ABackKeyBoundToJumpNeverAnswersYes) {
    Rebind(*app, 0, binding::ActionIndex(control::kJump), vk::kBackspace);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto askThenAnswer = [this] {
        Press(vk::kBackspace);
        const int asked = app->m_QuitAsked;
        Press(vk::kBackspace);
        std::exit(10 * asked + app->m_QuitAsked);
    };
    EXPECT_EXIT(askThenAnswer(), ::testing::ExitedWithCode(10), "");
}

// Any pad works the title as pad 1 does; a pad's Start starts a round from any column.
TEST_F(MenuTest, PadThreeMovesTheCursorAndStartsARoundAndStartStartsOneToo) {
    PadPress(2, pad::kLeft);
    EXPECT_EQ(app->m_MenuCol, 0);
    Stick(2, 1, 0);
    Update();
    Stick(2, 0, 0);
    Update();
    EXPECT_EQ(app->m_MenuCol, 1);
    PadPress(2, pad::kDown);
    EXPECT_EQ(app->m_WheelSel, 2);
    PadDown(2, pad::kA);
    Update(2);
    PadUp(2, pad::kA);
    EXPECT_EQ(app->m_Mode, mode::kRound);
    EXPECT_EQ(app->m_Difficulty, 3);

    app->m_Mode = mode::kMenu;
    SettleMenu();
    Press(vk::kLeft);
    ASSERT_EQ(app->m_MenuCol, 0);
    PadDown(3, pad::kStart);
    Update(2);
    EXPECT_EQ(app->m_Mode, mode::kRound);
    EXPECT_EQ(app->m_OptionsOpen, 0);
    EXPECT_EQ(app->m_QuitAsked, 0);
    // Held on into the round, it does not pause it.
    Update(10);
    EXPECT_EQ(app->m_Paused, 0);
    PadUp(3, pad::kStart);
}

TEST_F(MenuTest, SidePanelShowsStatsAndClosesWithAnActionOrBackAlone) {
    OpenSidePanel();
    Update(60);
    EXPECT_EQ(app->m_PanelSlide, 640 - 140);
    EXPECT_TRUE(Shows("Debug Stats"));
    EXPECT_TRUE(Shows("640x480"));
    EXPECT_TRUE(Shows("Coded in"));
    EXPECT_TRUE(ImagesOf(picture::kCircles).empty());
    int ovals = 0;
    for (const DrawCmd& c : Commands()) ovals += c.kind == kCmdOval && c.a4 == 32;
    EXPECT_EQ(ovals, 11);
    // Right-aligned at 2W - P - 20 = 620: the last glyph is centred there.
    for (const char* text : {"Debug Stats", "640x480", "FPS"}) {
        const std::optional<TextLine> stats = FindLine(text);
        ASSERT_TRUE(stats) << text;
        EXPECT_EQ(stats->lastX, 620) << text;
    }
    Press(vk::kEnter);
    EXPECT_EQ(app->m_PanelB, 0);
    // Back with the panel open only closes it.
    OpenSidePanel();
    Update(30);
    KeyDown(vk::kEscape);
    Update(3);
    EXPECT_EQ(app->m_PanelB, 0);
    KeyUp(vk::kEscape);
    Update();
    EXPECT_EQ(app->m_Mode, mode::kMenu);
}

TEST_F(MenuTest, CreditsTickerShowsEveryLineButTheLast) {
    for (int i = 0; i < 64; ++i)
        qv_Vortan_CreditText[i] = String(("L" + std::to_string(i)).c_str());
    OpenSidePanel();
    // The lines above the first wrap round to the end of the list.
    EXPECT_TRUE(Shows("L62"));
    std::set<std::string> seen;
    KeyDown(vk::kDown);  // holding a direction speeds the ticker up
    for (int i = 0; i < 700; ++i) {
        Update();
        for (const TextLine& l : Lines()) {
            if (l.text.size() >= 2 && l.text[0] == 'L' && l.alpha > 0) seen.insert(l.text);
        }
    }
    KeyUp(vk::kDown);
    EXPECT_GT(app->m_CreditLine, 63);
    EXPECT_EQ(seen.count("L63"), 0u);
    for (int i = 0; i < 63; ++i) EXPECT_EQ(seen.count("L" + std::to_string(i)), 1u) << i;
}

TEST_F(MenuTest, TickerScrollsAThirdOfAUnitPerUpdateAndFadesAtTheEdges) {
    OpenSidePanel();
    const float before = app->m_CreditScroll;
    const int line = app->m_CreditLine;
    Update();
    const float moved = (app->m_CreditLine - line) * 16 + before - app->m_CreditScroll;
    EXPECT_NEAR(moved, 0.3f, 1e-4);
}

}  // namespace
