// Game pads from a player's view: raw readings as GLFW 3 gives them (a stick pushed up
// or left reads -1, down or right +1, triggers -1 at rest) go through the host's port
// table and mapping into the real game, for a pad GLFW knows as a gamepad and for raw
// pads on the Xbox 360 and generic layouts, with the options' stick flip off and on.
#include <string>

#include "game/round_records.h"
#include "tests/game/front_end_fixture.h"
#include "tests/game/scripted_pads.h"

namespace {

using round_records::kDepth;
using round_records::kHealth;
using round_records::kX;
using round_records::kY;

using setting::kLeftStickY;
using setting::kRightStickY;
constexpr unsigned char kHatUp = 1, kHatDown = 4;

class PadsTest : public FrontEndFixture {
protected:
    void SetUp() override {
        FrontEndFixture::SetUp();
        host->SetJoystickSource(&pads);
    }
    void TearDown() override {
        host->SetJoystickSource(nullptr);
        FrontEndFixture::TearDown();
    }
    // Updates as the framework runs them: the pads polled, then the game's update.
    void Run(int updates = 1) {
        for (int i = 0; i < updates; ++i) {
            input->p_BeginUpdate();
            Update();
        }
    }
    // Pushed for a few updates, then let go.
    void PushLeftStick(int id, float x, float y) {
        pads.LeftStick(id, x, y);
        Run(4);
        pads.LeftStick(id, 0, 0);
        Run(2);
    }
    void PushHat(int id, unsigned char bits) {
        pads.Hat(id, bits);
        Run(4);
        pads.Hat(id, 0);
        Run(2);
    }
    void Tap(int id, ScriptedPads::Control control) {
        pads.Press(id, control);
        Run(2);
        pads.Release(id, control);
        Run(2);
    }
    // A on the title menu starts a Normal round; still held, it joins the players of
    // the pads that press it, who then drop to the floor.
    void StartRoundAndLand(std::initializer_list<int> ids = {0}) {
        for (int id : ids) pads.Press(id, ScriptedPads::kA);
        Run(4);
        for (int id : ids) pads.Release(id, ScriptedPads::kA);
        ASSERT_EQ(app->m_Mode, 10);
        for (int id : ids) {
            float* f = Fighter(id + 1);
            ASSERT_GT(f[kHealth], 0);
            for (int i = 0; i < 120 && f[kY] < qv_Vortan_jscrh - 32; ++i) Run();
            ASSERT_EQ(f[kY], qv_Vortan_jscrh - 32);
        }
    }
    float* Fighter(int player = 1) { return round_records::Record(*app, player); }

    ScriptedPads pads;
};

class EveryPadTest : public PadsTest, public ::testing::WithParamInterface<ScriptedPads::Kind> {};

TEST_P(EveryPadTest, StickAndPadTurnTheMenuWheelAsTheArrowKeysDo) {
    pads.Plug(0, GetParam());
    Run();
    ASSERT_EQ(app->m_WheelSel, 1);  // Normal
    PushLeftStick(0, 0, -1);        // up
    EXPECT_EQ(app->m_WheelSel, 0);  // Easy
    PushLeftStick(0, 0, 1);         // down
    EXPECT_EQ(app->m_WheelSel, 1);
    PushHat(0, kHatUp);
    EXPECT_EQ(app->m_WheelSel, 0);
    PushHat(0, kHatDown);
    EXPECT_EQ(app->m_WheelSel, 1);
    // Right and left move between the menu's columns.
    PushLeftStick(0, 1, 0);
    EXPECT_EQ(app->m_MenuCol, 2);
    PushLeftStick(0, -1, 0);
    EXPECT_EQ(app->m_MenuCol, 1);

    // The options row flips the stick ("Left Thumbstick Y Normal"): up now turns the
    // wheel down; the pad's up stays up.
    app->m_Setting[kLeftStickY] = 1;
    PushLeftStick(0, 0, -1);
    EXPECT_EQ(app->m_WheelSel, 2);  // Hard
    PushHat(0, kHatUp);
    EXPECT_EQ(app->m_WheelSel, 1);
}

// Each kind's own layout is read by the host's mapping; the game sees the sticks alike,
// so one kind (the Xbox 360 layout, its right stick the odd one out) does here.
TEST_F(PadsTest, BothSticksReadUpTheSameWayAndEachRowFlipsItsOwn) {
    pads.Plug(0, ScriptedPads::kXbox);
    pads.LeftStick(0, 0, -1);
    pads.RightStick(0, 0, -1);
    Run();
    // The game's own reading of a stick: negative is up, like the up control.
    EXPECT_FLOAT_EQ(app->p_StickY(0, 0), -1);
    EXPECT_FLOAT_EQ(app->p_StickY(1, 0), -1);
    app->m_Setting[kRightStickY] = 1;
    EXPECT_FLOAT_EQ(app->p_StickY(0, 0), -1);
    EXPECT_FLOAT_EQ(app->p_StickY(1, 0), 1);
    // Triggers at rest read 0.
    EXPECT_FLOAT_EQ(qv_input_JoyZ(0, 0), 0);
    EXPECT_FLOAT_EQ(qv_input_JoyZ(1, 0), 0);
}

// On the generic layout, whose A and Start sit elsewhere than the other kinds'.
TEST_F(PadsTest, StickUpWalksTheFighterIntoTheScreenAndPausedMovesTheCursorUp) {
    pads.Plug(0, ScriptedPads::kGeneric);
    StartRoundAndLand();
    float* f = Fighter();
    const float depth = f[kDepth], x = f[kX];
    pads.LeftStick(0, 0, -1);
    Run(3);
    EXPECT_EQ(f[kDepth], depth + 9);  // into the screen, 3 units an update
    pads.LeftStick(0, 0, 1);
    Run(3);
    EXPECT_EQ(f[kDepth], depth);
    pads.LeftStick(0, 1, 0);
    Run(2);
    EXPECT_EQ(f[kX], x + 6);
    pads.LeftStick(0, -1, 0);
    Run(2);
    EXPECT_EQ(f[kX], x);
    // Flipped, up walks out of the screen.
    app->m_Setting[kLeftStickY] = 1;
    pads.LeftStick(0, 0, -1);
    Run(3);
    EXPECT_EQ(f[kDepth], depth - 9);
    app->m_Setting[kLeftStickY] = 0;
    pads.LeftStick(0, 0, 0);
    Run();

    // Start pauses; up moves the cursor from "resume" to "quit".
    Tap(0, ScriptedPads::kStart);
    ASSERT_EQ(app->m_Paused, 1);
    ASSERT_EQ(app->m_PauseRow, 0);
    PushLeftStick(0, 0, -1);
    EXPECT_EQ(app->m_PauseRow, -1);
    PushLeftStick(0, 0, 1);
    EXPECT_EQ(app->m_PauseRow, 0);
    PushHat(0, kHatUp);
    EXPECT_EQ(app->m_PauseRow, -1);
}

TEST_F(PadsTest, APadPulledOutMidRoundLeavesItsPlayerStillAndThePadsPlayersKeepTheirPads) {
    pads.Plug(0, ScriptedPads::kGamepad);
    pads.Plug(1, ScriptedPads::kXbox);
    StartRoundAndLand({0, 1});
    float* one = Fighter(1);
    float* two = Fighter(2);
    // Both walk right.
    pads.LeftStick(0, 1, 0);
    pads.LeftStick(1, 1, 0);
    Run(2);
    const float oneX = one[kX], twoX = two[kX];
    pads.Unplug(0);
    Run(2);
    EXPECT_EQ(one[kX], oneX);      // no player left walking
    EXPECT_EQ(two[kX], twoX + 6);  // pad 2 still walks player 2
    // Plugged in again, still pushed: player 1 walks on.
    pads.Plug(0, ScriptedPads::kGamepad);
    pads.LeftStick(0, 1, 0);
    Run(2);
    EXPECT_EQ(one[kX], oneX + 6);
    EXPECT_EQ(two[kX], twoX + 12);
}

std::string KindName(const ::testing::TestParamInfo<ScriptedPads::Kind>& info) {
    switch (info.param) {
        case ScriptedPads::kGamepad: return "Gamepad";
        case ScriptedPads::kXbox: return "XboxLayout";
        default: return "GenericLayout";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfPad, EveryPadTest,
                         ::testing::Values(ScriptedPads::kGamepad, ScriptedPads::kXbox,
                                           ScriptedPads::kGeneric),
                         KindName);

}  // namespace
