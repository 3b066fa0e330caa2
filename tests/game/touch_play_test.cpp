// Touch play, as a page with a touch screen has it: the screens take taps, and a round's
// touch controls play player 1.
#include "game/round_records.h"
#include "tests/game/front_end_fixture.h"

namespace {

using namespace round_records;

class TouchPlayTest : public FrontEndFixture {
protected:
    void SetUp() override {
        FrontEndFixture::SetUp();
        host->touchPlay = true;
        SettleMenu();
    }
    // A finger down and up between two updates (the 640 x 480 window is the screen).
    void TapAt(float x, float y) {
        input->p_TouchEvent(kEventTouchDown, 0, x, y);
        input->p_TouchEvent(kEventTouchUp, 0, x, y);
        Update();
    }
    void TapImage(int slot, int frame) {
        const auto image = FindImage(slot, frame);
        ASSERT_TRUE(image) << slot << "/" << frame;
        TapAt(image->x, image->y);
    }
    void TapText(const std::string& text) {
        const auto line = FindLine(text);
        ASSERT_TRUE(line) << text;
        TapAt((line->x + line->lastX) / 2, line->y);
    }
};

TEST_F(TouchPlayTest, TapsWorkTheTitleThePausePanelAndTheOptions) {
    TapImage(picture::kButtons, frame::kEasyPlate + 2);
    EXPECT_EQ(app->m_WheelSel, 2);  // a plate turns the wheel to it
    Update(40);
    TapImage(picture::kButtons, frame::kEasyPlate + 2);  // the chosen one starts the round
    Update(2);
    ASSERT_EQ(app->m_Mode, mode::kRound);
    EXPECT_EQ(app->m_Difficulty, 3);
    EXPECT_GT(Record(*app, kFirstPlayer)[kHealth], 0);  // player 1 is in without a press

    TapAt(30, 30);  // by the pause icon
    ASSERT_EQ(app->m_Paused, 1);
    Update(20);
    TapImage(picture::kButtons, frame::kGearNut);
    ASSERT_EQ(app->m_OptionsOpen, 1);
    Update(31);
    TapText("Sound : SFX + Music");
    EXPECT_EQ(app->m_Setting[setting::kSoundMode], sound_mode::kEffects);
    TapText("<[BACK]");
    EXPECT_EQ(app->m_OptionsOpen, 0);
    Update(31);
    TapImage(picture::kIcons, frame::kGoIcon);
    EXPECT_EQ(app->m_PauseSel, -1);  // resuming
}

TEST_F(TouchPlayTest, FingersOnTheStickAndOnStrikeWalkAndStrikeAtOnce) {
    EnterRound();
    Update(90);  // player 1 in and landed
    const auto stick = FindImage(picture::kDpad, 5);
    const auto strike = FindLine("Strike");
    ASSERT_TRUE(stick && strike);
    const float* p1 = Record(*app, kFirstPlayer);
    const float x0 = p1[kX];
    input->p_TouchEvent(kEventTouchDown, 0, stick->x + 40, stick->y);  // pushed right
    Update(20);
    EXPECT_GT(p1[kX], x0 + 40);
    input->p_TouchEvent(kEventTouchDown, 1, (strike->x + strike->lastX) / 2, strike->y);
    Update();
    EXPECT_GT(p1[kAttack], 0);
    const float x1 = p1[kX];
    Update(30);
    EXPECT_GT(p1[kAttack], 16);  // still held once the blow is over, and walking on
    EXPECT_GT(p1[kX], x1 + 20);
    EXPECT_TRUE(FindImage(picture::kDpad, 6));  // the stick shows it is steered

    host->touchPlay = false;  // a key or a pad button: no touch controls, no pointer
    Update();
    EXPECT_FALSE(FindImage(picture::kDpad, 5) || FindImage(picture::kDpad, 6));
    EXPECT_EQ(app->m_PointerDown, 0);
}

}  // namespace
