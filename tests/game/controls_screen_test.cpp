// The Controls screen, worked with a pad alone: it swaps rather than duplicates a binding,
// lets Escape or Back cancel a capture, resets to the defaults, and a key it binds leaves
// the player who had it.
#include <algorithm>
#include <vector>

#include "game/bindings.h"
#include "tests/game/front_end_fixture.h"

namespace {

const int kJumpAction = binding::ActionIndex(control::kJump);
const int kStrikeAction = binding::ActionIndex(control::kStrike);

class ControlsScreenTest : public FrontEndFixture {
protected:
    void SetUp() override {
        FrontEndFixture::SetUp();
        EnterRound();
    }
    // A press of a button of pad 1, held for one update.
    void Button(int b) { PadPress(0, b); }
    void Key(int key) { Hold(key, 1); }
    // The codes bound to the action, in increasing order.
    std::vector<int> Codes(int player, int action) {
        const int* s = BindingSlots(*app, player, action);
        std::vector<int> out;
        for (int i = 0; i < binding::kSlots && s[i] != binding::kEmpty; ++i) out.push_back(s[i]);
        std::sort(out.begin(), out.end());
        return out;
    }
    static std::vector<int> Sorted(std::vector<int> codes) {
        std::sort(codes.begin(), codes.end());
        return codes;
    }
    // Every code of the player's table at most once.
    bool EachBoundOnce(int player) {
        std::vector<int> all;
        for (int a = 0; a < binding::kActionCount; ++a) {
            for (int c : Codes(player, a)) all.push_back(c);
        }
        std::sort(all.begin(), all.end());
        return std::adjacent_find(all.begin(), all.end()) == all.end();
    }
    // With pad 1 alone: pause, down to the Controls entry and open it.
    void OpenFromPauseWithAPad() {
        Button(pad::kStart);
        ASSERT_EQ(app->m_Paused, 1);
        Update(20);
        Button(pad::kDown);
        Button(pad::kDown);
        ASSERT_EQ(app->m_PauseRow, pause_row::kControls);
        Button(pad::kA);
        ASSERT_EQ(app->m_ControlsOpen, 1);
    }
    void ToRow(int row) {
        for (int i = 0; i < 12 && app->m_CtlRow < row; ++i) Button(pad::kDown);
        for (int i = 0; i < 12 && app->m_CtlRow > row; ++i) Button(pad::kUp);
        ASSERT_EQ(app->m_CtlRow, row);
    }
    static int ActionRow(int action) { return 1 + action; }
};

TEST_F(ControlsScreenTest, APadAloneRebindsAndASwapKeepsEachActionBoundOnce) {
    OpenFromPauseWithAPad();
    EXPECT_TRUE(Shows("< Player 1 >"));
    EXPECT_TRUE(Shows("Jump : Z, J, Space, Return, Pad A"));
    // Jump takes pad button X: shown at once, and A no longer jumps.
    ToRow(ActionRow(kJumpAction));
    Button(pad::kA);
    ASSERT_EQ(app->m_CtlCapture, 1);
    EXPECT_TRUE(Shows("Jump : press a key or button"));
    Button(pad::kX);
    EXPECT_EQ(app->m_CtlCapture, 0);
    EXPECT_TRUE(Shows("Jump : Z, J, Space, Return, Pad X"));
    // Strike takes X too: jump gets strike's B instead of keeping X twice.
    ToRow(ActionRow(kStrikeAction));
    Button(pad::kA);
    Button(pad::kX);
    EXPECT_EQ(Codes(0, kStrikeAction),
              Sorted({'X', 'K', key::kControl, binding::ButtonCode(pad::kX)}));
    EXPECT_EQ(Codes(0, kJumpAction),
              Sorted({'Z', 'J', key::kSpace, key::kEnter, binding::ButtonCode(pad::kB)}));
    EXPECT_TRUE(EachBoundOnce(0));
    // A key of the keyboard the same way: jump's keys give way to X, strike takes Z.
    ToRow(ActionRow(kJumpAction));
    Button(pad::kA);
    Key('X');
    EXPECT_EQ(Codes(0, kJumpAction), Sorted({binding::ButtonCode(pad::kB), 'X'}));
    EXPECT_EQ(Codes(0, kStrikeAction),
              Sorted({'Z', 'K', key::kControl, binding::ButtonCode(pad::kX)}));
    EXPECT_TRUE(EachBoundOnce(0));
    // Another player's table is its own: player 2's screen still shows the defaults.
    ToRow(0);
    Button(pad::kRight);
    EXPECT_TRUE(Shows("< Player 2 >"));
    EXPECT_TRUE(Shows("Jump : Pad A"));
}

TEST_F(ControlsScreenTest, EscapeOrBackCancelsACaptureAndResetRestoresTheDefaults) {
    OpenFromPauseWithAPad();
    const std::vector<int> jump = Codes(0, kJumpAction);
    ToRow(ActionRow(kJumpAction));
    Button(pad::kA);
    Key(vk::kEscape);
    EXPECT_EQ(app->m_CtlCapture, 0);
    EXPECT_EQ(app->m_ControlsOpen, 1);  // only the capture ends
    Button(pad::kA);
    Button(pad::kBack);
    EXPECT_EQ(app->m_CtlCapture, 0);
    EXPECT_EQ(Codes(0, kJumpAction), jump);

    Button(pad::kA);
    Key('Q');
    ASSERT_EQ(Codes(0, kJumpAction), Sorted({binding::ButtonCode(pad::kA), 'Q'}));
    ToRow(ActionRow(binding::kActionCount));  // "Reset to defaults"
    EXPECT_TRUE(Shows("Reset to defaults"));
    Button(pad::kA);
    EXPECT_EQ(Codes(0, kJumpAction), jump);
    // Back closes the screen and keeps the panel paused; the tables were saved.
    Button(pad::kBack);
    EXPECT_EQ(app->m_ControlsOpen, 0);
    EXPECT_EQ(app->m_Paused, 1);
    EXPECT_EQ(SplitFields(Stored()).size(), kStateFields);
}

// A key has one owner: the split's switch moves only its layouts' keys (player 3's Q stays,
// its O goes to player 2 and back to none, pad buttons stay); a key bound on the screen
// leaves the player who had it, saying so; function keys are refused; F4 keeps it all.
TEST_F(ControlsScreenTest, AKeyHasOneOwnerAndF4KeepsTheChanges) {
    Rebind(*app, 2, kJumpAction, 'Q');
    Rebind(*app, 2, kStrikeAction, 'O');
    SetKeyboardSplit(*app, 1);
    SetKeyboardSplit(*app, 0);
    OpenFromPauseWithAPad();
    ToRow(0);
    Button(pad::kRight);  // player 2
    ToRow(ActionRow(kJumpAction));
    Button(pad::kA);
    Key(vk::kF2);
    EXPECT_TRUE(Shows("F2 is the game's own key"));
    Key('Z');
    EXPECT_TRUE(Shows("Z moved from Player 1"));
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(Hold(vk::kF4, 1), ::testing::ExitedWithCode(0), "");
    StartAgain();
    const int a = binding::ButtonCode(pad::kA), b = binding::ButtonCode(pad::kB);
    EXPECT_EQ(Codes(0, kJumpAction), Sorted({a, 'J', key::kSpace, key::kEnter}));
    EXPECT_EQ(Codes(1, kJumpAction), Sorted({a, 'Z'}));
    EXPECT_EQ(Codes(2, kJumpAction), Sorted({a, 'Q'}));
    EXPECT_EQ(Codes(2, kStrikeAction), Sorted({b}));
}

}  // namespace
