// The input device: keys, hits and their queue, typed characters, pointer mirroring,
// and joysticks polled into keys.
#include <gtest/gtest.h>

#include "framework/input.h"
#include "host/game.h"
#include "tests/host/collector_reset.h"

namespace {

// A host whose pads are plain button tables, one per connected port.
class PadHost : public QvGame {
public:
    bool connected[4] = {};
    bool pressed[4][32] = {};
    float leftX[4] = {};
    float rightY[4] = {};
    std::vector<int> polled;

    bool PollJoystick(int port, Array<float> joyx, Array<float> joyy, Array<float>,
                      Array<bool> buttons) override {
        polled.push_back(port);
        if (!connected[port]) return false;
        joyx[0] = leftX[port];
        joyy[1] = rightY[port];
        for (int i = 0; i < 32; ++i) buttons[i] = pressed[port][i];
        return true;
    }
};

class InputDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ReleaseCollectedObjects();
        qv_input_device = nullptr;
        gc_root(qv_input_device);
        qv_input_SetInputDevice((new c_InputDevice)->m_new());
        input = qv_input_device;
    }
    void TearDown() override { ReleaseCollectedObjects(); }
    PadHost host;
    c_InputDevice* input = nullptr;
};

TEST_F(InputDeviceTest, AKeyPressedAndReleasedBetweenUpdatesIsOneHitAndNotDown) {
    input->p_KeyEvent(1, 65);
    input->p_KeyEvent(2, 65);
    EXPECT_EQ(qv_input_KeyHit(65), 1);
    EXPECT_FALSE(qv_input_KeyDown(65));
    input->p_EndUpdate();
    EXPECT_EQ(qv_input_KeyHit(65), 0);
}

TEST_F(InputDeviceTest, AutoRepeatOfAHeldKeyAddsNoHits) {
    for (int i = 0; i < 5; ++i) input->p_KeyEvent(1, 37);
    EXPECT_EQ(qv_input_KeyHit(37), 1);
    EXPECT_TRUE(qv_input_KeyDown(37));
    input->p_EndUpdate();
    input->p_KeyEvent(1, 37);
    EXPECT_EQ(qv_input_KeyHit(37), 0);
    EXPECT_TRUE(qv_input_KeyDown(37));
    // Pressed again after a release: a new hit.
    input->p_KeyEvent(2, 37);
    input->p_KeyEvent(1, 37);
    EXPECT_EQ(qv_input_KeyHit(37), 1);
}

TEST_F(InputDeviceTest, HitsBeyondTheQueueAreLostButTheKeysStillGoDown) {
    for (int key = 100; key < 134; ++key) input->p_KeyEvent(1, key);
    for (int key = 100; key < 133; ++key) EXPECT_EQ(qv_input_KeyHit(key), 1) << key;
    EXPECT_EQ(qv_input_KeyHit(133), 0);
    EXPECT_TRUE(qv_input_KeyDown(133));
    input->p_EndUpdate();
    for (int key = 100; key < 134; ++key) EXPECT_EQ(qv_input_KeyHit(key), 0) << key;
    // The same key hit twice in one update counts twice.
    input->p_KeyEvent(1, 70);
    input->p_KeyEvent(2, 70);
    input->p_KeyEvent(1, 70);
    EXPECT_EQ(qv_input_KeyHit(70), 2);
}

TEST_F(InputDeviceTest, TypedCharactersQueueUpToThirtyTwoAndAreReadOnce) {
    for (int c = 0; c < 33; ++c) input->p_KeyEvent(3, 'a' + c);
    for (int c = 0; c < 32; ++c) EXPECT_EQ(qv_input_GetChar(), 'a' + c);
    EXPECT_EQ(qv_input_GetChar(), 0);
    EXPECT_EQ(qv_input_GetChar(), 0);
    input->p_EndUpdate();
    input->p_KeyEvent(3, 0x20AC);
    EXPECT_EQ(qv_input_GetChar(), 0x20AC);
    EXPECT_EQ(qv_input_GetChar(), 0);
}

TEST_F(InputDeviceTest, TheLeftButtonAndTheFirstTouchAreOnePointer) {
    input->p_MouseEvent(4, 0, 12.5f, 40.0f);
    EXPECT_EQ(qv_input_MouseHit(0), 1);
    EXPECT_EQ(qv_input_KeyHit(384), 1);
    EXPECT_TRUE(qv_input_TouchDown(0));
    EXPECT_FLOAT_EQ(qv_input_TouchX(0), 12.5f);
    EXPECT_FLOAT_EQ(qv_input_TouchY(0), 40.0f);
    input->p_MouseEvent(5, 0, 99, 99);  // a release does not move the pointer
    EXPECT_FALSE(qv_input_MouseDown(0));
    EXPECT_FALSE(qv_input_TouchDown(0));
    EXPECT_FLOAT_EQ(qv_input_MouseX(), 12.5f);
    input->p_EndUpdate();
    input->p_TouchEvent(7, 0, 3, 4);
    EXPECT_TRUE(qv_input_MouseDown(0));
    EXPECT_EQ(qv_input_MouseHit(0), 1);
    EXPECT_FLOAT_EQ(qv_input_MouseX(), 3);
    EXPECT_FLOAT_EQ(qv_input_MouseY(), 4);
    input->p_TouchEvent(9, 2, 7, 8);  // another finger leaves the mouse alone
    EXPECT_FLOAT_EQ(qv_input_MouseX(), 3);
    EXPECT_FLOAT_EQ(qv_input_TouchX(2), 7);
    input->p_TouchEvent(8, 0, 0, 0);
    EXPECT_FALSE(qv_input_MouseDown(0));
}

TEST_F(InputDeviceTest, RightAndMiddleButtonsAndMotion) {
    input->p_MouseEvent(4, 1, 0, 0);
    input->p_MouseEvent(4, 2, 0, 0);
    EXPECT_TRUE(qv_input_KeyDown(2));
    EXPECT_TRUE(qv_input_KeyDown(3));
    EXPECT_FALSE(qv_input_TouchDown(0));
    input->p_MouseEvent(6, -1, 5, 6);
    EXPECT_FLOAT_EQ(qv_input_TouchX(0), 5);
    input->p_MotionEvent(10, 0, 0.5f, -0.25f, 1);
    EXPECT_FLOAT_EQ(qv_input_AccelX(), 0.5f);
    EXPECT_FLOAT_EQ(qv_input_AccelY(), -0.25f);
    input->p_MotionEvent(9, 0, 9, 9, 9);
    EXPECT_FLOAT_EQ(qv_input_AccelX(), 0.5f);
}

TEST_F(InputDeviceTest, CodesOutsideTheKeySpaceReadAsUp) {
    input->p_KeyEvent(1, 511);
    EXPECT_TRUE(qv_input_KeyDown(511));
    for (int key : {0, -1, 512, 100000}) {
        EXPECT_FALSE(qv_input_KeyDown(key));
        EXPECT_EQ(qv_input_KeyHit(key), 0);
    }
    EXPECT_FALSE(qv_input_MouseDown(511));
    EXPECT_FALSE(qv_input_TouchDown(128));
    EXPECT_FLOAT_EQ(qv_input_TouchX(32), 0);
    EXPECT_FLOAT_EQ(qv_input_TouchY(-1), 0);
    EXPECT_FALSE(qv_input_JoyDown(0, 8));
}

TEST_F(InputDeviceTest, PadButtonsBecomeKeysOnTheirPorts) {
    // With no pad every port is still asked, and nothing is down.
    input->p_BeginUpdate();
    EXPECT_EQ(host.polled, (std::vector<int>{0, 1, 2, 3}));
    for (int port = 0; port < 4; ++port) {
        for (int b = 0; b < 32; ++b) EXPECT_FALSE(qv_input_JoyDown(b, port));
    }
    input->p_EndUpdate();
    host.polled.clear();
    host.connected[0] = true;
    host.pressed[0][0] = true;
    host.pressed[0][11] = true;
    host.leftX[0] = -0.75f;
    input->p_BeginUpdate();
    EXPECT_EQ(host.polled, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(qv_input_JoyDown(0, 0));
    EXPECT_EQ(qv_input_JoyHit(0, 0), 1);
    EXPECT_EQ(qv_input_KeyHit(256 + 11), 1);
    EXPECT_FLOAT_EQ(qv_input_JoyX(0, 0), -0.75f);
    input->p_EndUpdate();
    // Held: down, no new hit. Released: up.
    host.pressed[0][11] = false;
    input->p_BeginUpdate();
    EXPECT_TRUE(qv_input_JoyDown(0, 0));
    EXPECT_EQ(qv_input_JoyHit(0, 0), 0);
    EXPECT_FALSE(qv_input_JoyDown(11, 0));
    input->p_EndUpdate();
    // A pad on port 2 with port 1 empty between: its keys follow its port.
    host.connected[2] = true;
    host.pressed[2][3] = true;
    input->p_BeginUpdate();
    EXPECT_TRUE(qv_input_KeyDown(256 + 64 + 3));
    EXPECT_EQ(qv_input_JoyHit(3, 2), 1);
    EXPECT_FALSE(qv_input_JoyDown(3, 1));
}

TEST_F(InputDeviceTest, APadPulledOutLeavesNothingHeld) {
    host.connected[0] = host.connected[1] = true;
    host.pressed[0][10] = true;
    host.pressed[1][0] = host.pressed[1][5] = true;
    host.leftX[1] = 1;
    host.rightY[1] = -0.5f;
    input->p_BeginUpdate();
    ASSERT_TRUE(qv_input_JoyDown(5, 1));
    ASSERT_FLOAT_EQ(qv_input_JoyX(0, 1), 1);
    input->p_EndUpdate();
    // Pulled out while held: its buttons are up and its sticks at rest; the other pad
    // keeps its own.
    host.connected[1] = false;
    input->p_BeginUpdate();
    for (int b = 0; b < 32; ++b) EXPECT_FALSE(qv_input_JoyDown(b, 1)) << b;
    EXPECT_FLOAT_EQ(qv_input_JoyX(0, 1), 0);
    EXPECT_FLOAT_EQ(qv_input_JoyY(1, 1), 0);
    EXPECT_TRUE(qv_input_JoyDown(10, 0));
    input->p_EndUpdate();
    // Plugged in again with the button still held: a new press.
    host.connected[1] = true;
    input->p_BeginUpdate();
    EXPECT_EQ(qv_input_JoyHit(5, 1), 1);
    EXPECT_FLOAT_EQ(qv_input_JoyX(0, 1), 1);
}

TEST_F(InputDeviceTest, KeyboardSwitchReachesTheHost) {
    qv_input_EnableKeyboard();
    EXPECT_TRUE(host.KeyboardEnabled());
    qv_input_DisableKeyboard();
    EXPECT_FALSE(host.KeyboardEnabled());
}

TEST_F(InputDeviceTest, TheDeviceSurvivesCollectionsAsARoot) {
    input->p_KeyEvent(1, 90);
    for (int i = 0; i < 3; ++i) gc_collect_all();
    EXPECT_TRUE(qv_input_KeyDown(90));
    EXPECT_EQ(qv_input_device->m__joyStates.Length(), 4);
    EXPECT_EQ(qv_input_device->m__joyStates[3]->m__buttons.Length(), 32);
}

}  // namespace
