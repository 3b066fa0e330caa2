// Touch play, as a page with a touch screen has it: taps work the pause panel and its
// options box, one action a tap.
#include "tests/game/front_end_fixture.h"

namespace {

using TouchPlayTest = FrontEndFixture;

TEST_F(TouchPlayTest, TapsWorkThePausePanelAndItsOptions) {
    // A finger down and up between two updates (the 640 x 480 window is the screen).
    const auto tap = [&](float x, float y) {
        input->p_TouchEvent(kEventTouchDown, 0, x, y);
        input->p_TouchEvent(kEventTouchUp, 0, x, y);
        Update();
    };
    host->touchPlay = true;
    EnterRound();
    Update();
    tap(36, 30);  // beside the pause icon
    Update(20);
    const auto gear = FindImage(picture::kButtons, frame::kGearNut);
    ASSERT_TRUE(app->m_Paused == 1 && gear);
    tap(gear->x, gear->y);
    Update(31);
    const auto sound = FindLine("Sound : SFX + Music");
    ASSERT_TRUE(app->m_OptionsOpen == 1 && sound);
    tap(sound->lastX, sound->y);
    EXPECT_EQ(app->m_Setting[setting::kSoundMode], sound_mode::kEffects);
    const auto back = FindLine("<[BACK]");
    ASSERT_TRUE(back);
    tap(back->x, back->y);
    EXPECT_EQ(app->m_OptionsOpen, 0);
}

}  // namespace
