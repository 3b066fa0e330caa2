// Logical controls: every source of each code, with iCade off and on, per player.
#include "tests/game/game_fixture.h"

namespace {

class ControlsTest : public GameFixture {
protected:
    int Held(int code, int player, int allowStick = 1) { return app->p_PlayKey(code, allowStick, player); }
    // Which of players 0..3 and the keyboard alone (-1) see the code.
    std::vector<int> Players(int code, int allowStick = 1) {
        std::vector<int> out;
        for (int p = -1; p < 4; ++p) out.push_back(Held(code, p, allowStick));
        return out;
    }
};

struct Row {
    int code;
    std::vector<int> keys;
    std::vector<int> pad;
    std::vector<int> virtualPad;
};

// The keyboard, pad and virtual-pad sources of every control with iCade off.
const std::vector<Row> kRows = {
    {0, {38, 87}, {9}, {0}},
    {3, {37, 65}, {8}, {3}},
    {5, {39, 68}, {10}, {5}},
    {8, {40, 83}, {11}, {8}},
    {10, {90, 74, 32, 13}, {0}, {10}},
    {11, {88, 75, 17}, {1}, {11}},
    {12, {67, 76, 16}, {2}, {12}},
    {13, {86, 73}, {3}, {13}},
    {14, {66, 85}, {4}, {14}},
    {15, {78, 79}, {5}, {15}},
    {99, {27, 192, 46, 8}, {6, 7, 14}, {16, 17, 19}},
};

TEST_F(ControlsTest, KeyboardAnswersForEveryPlayer) {
    for (const Row& row : kRows) {
        for (int key : row.keys) {
            KeyDown(key);
            EXPECT_EQ(Players(row.code), (std::vector<int>{1, 1, 1, 1, 1})) << "code " << row.code << " key " << key;
            KeyUp(key);
            EXPECT_EQ(app->p_PlayKeyAll(row.code, 1), 0) << "code " << row.code << " key " << key;
        }
    }
}

TEST_F(ControlsTest, PadButtonsBelongToTheirPlayer) {
    for (const Row& row : kRows) {
        for (int button : row.pad) {
            PadDown(2, button);
            EXPECT_EQ(Players(row.code), (std::vector<int>{0, 0, 0, 1, 0})) << "code " << row.code << " button " << button;
            PadUp(2, button);
        }
    }
}

TEST_F(ControlsTest, VirtualPadCountsHeldAndPressed) {
    for (const Row& row : kRows) {
        for (int element : row.virtualPad) {
            for (int state : {1, 2}) {
                app->m_ICade[element] = state;
                EXPECT_EQ(Players(row.code), (std::vector<int>{1, 1, 1, 1, 1})) << "code " << row.code << " element " << element;
            }
            app->m_ICade[element] = 0;
        }
    }
}

TEST_F(ControlsTest, BackCodes98And99ShareSourcesButNotForTheKeyboardAlone) {
    KeyDown(vk::kEscape);
    EXPECT_EQ(Players(98), (std::vector<int>{0, 1, 1, 1, 1}));
    EXPECT_EQ(Players(99), (std::vector<int>{1, 1, 1, 1, 1}));
}

TEST_F(ControlsTest, UnknownCodesAreNeverHeld) {
    for (int key : {38, 87, 90, 27, 13}) KeyDown(key);
    for (int b = 0; b < 16; ++b) PadDown(0, b);
    for (int code : {1, 2, 4, 6, 7, 9, 16, 17, 50, 97, 100, -1}) {
        EXPECT_EQ(app->p_PlayKeyAll(code, 1), 0) << code;
    }
}

TEST_F(ControlsTest, HoldingWAndUpTogetherIsOneUp) {
    KeyDown(vk::kUp);
    KeyDown('W');
    EXPECT_EQ(app->p_PlayKeyAll(0, 1), 4);  // one per player, not two
    KeyUp(vk::kUp);
    EXPECT_EQ(app->p_PlayKeyAll(0, 1), 4);
}

// The fixture's Stick feeds the input device, which reads a stick pushed up as positive.
TEST_F(ControlsTest, StickCountsBeyond0Point4WhenAllowed) {
    app->m_Setting[15] = 1;  // the options' flipped stick: pushed down reads as up
    Stick(1, 0, -0.39f);
    EXPECT_EQ(Held(0, 1), 0);
    Stick(1, 0, -0.41f);
    EXPECT_EQ(Held(0, 1), 1);
    EXPECT_EQ(Held(0, 1, 0), 0);  // not without allowStick
    EXPECT_EQ(Held(0, 0), 0);     // another player's stick
    EXPECT_EQ(Held(0, -1), 0);
    Stick(1, 0, 0.41f);
    EXPECT_EQ(Held(8, 1), 1);
    Stick(1, -0.41f, 0);
    EXPECT_EQ(Held(3, 1), 1);
    EXPECT_EQ(Held(5, 1), 0);
    Stick(1, 0.41f, 0);
    EXPECT_EQ(Held(5, 1), 1);
    Stick(1, 0.39f, 0);
    EXPECT_EQ(Held(5, 1), 0);
}

TEST_F(ControlsTest, StickPushedUpIsUpUnlessTheOptionsFlipIt) {
    app->m_Setting[15] = 0;  // the default
    Stick(0, 0, 0.5f);       // pushed up
    EXPECT_FLOAT_EQ(app->p_StickY(0, 0), -0.5f);
    EXPECT_EQ(Held(0, 0), 1);
    EXPECT_EQ(Held(8, 0), 0);
    app->m_Setting[15] = 1;
    EXPECT_FLOAT_EQ(app->p_StickY(0, 0), 0.5f);
    EXPECT_EQ(app->p_StickX(0, -1), 0);
    EXPECT_EQ(app->p_StickY(0, -1), 0);
}

TEST_F(ControlsTest, ICadeOnReadsNoLettersAndNoStick) {
    qv_Vortan_iCadeControls = 1;
    const std::vector<std::pair<int, int>> letters = {
        {0, 'W'}, {3, 'A'}, {5, 'D'}, {8, 'S'}, {10, 'Z'}, {10, 'J'}, {11, 'X'}, {11, 'K'},
        {12, 'C'}, {12, 'L'}, {13, 'V'}, {13, 'I'}, {14, 'B'}, {14, 'U'}, {15, 'N'}, {15, 'O'},
        {99, vk::kGrave}};
    for (auto [code, key] : letters) {
        KeyDown(key);
        EXPECT_EQ(app->p_PlayKeyAll(code, 1), 0) << "code " << code << " key " << key;
        EXPECT_EQ(Held(code, -1), 0) << "code " << code << " key " << key;
        KeyUp(key);
    }
    const std::vector<std::pair<int, int>> kept = {
        {0, vk::kUp}, {3, vk::kLeft}, {5, vk::kRight}, {8, vk::kDown}, {10, vk::kSpace},
        {10, vk::kEnter}, {11, vk::kControl}, {12, vk::kShift}, {99, vk::kEscape},
        {99, vk::kDelete}, {99, vk::kBackspace}};
    for (auto [code, key] : kept) {
        KeyDown(key);
        EXPECT_EQ(Players(code), (std::vector<int>{1, 1, 1, 1, 1})) << "code " << code << " key " << key;
        KeyUp(key);
    }
    // Pads and the virtual pad still count; the stick and code 98 do not.
    PadDown(0, 3);
    EXPECT_EQ(Held(13, 0), 1);
    PadUp(0, 3);
    app->m_ICade[15] = 2;
    EXPECT_EQ(Held(15, -1), 1);
    app->m_ICade[15] = 0;
    app->m_Setting[15] = 1;
    Stick(0, 0, -0.9f);
    EXPECT_EQ(Held(0, 0), 0);
    KeyDown(vk::kEscape);
    EXPECT_EQ(app->p_PlayKeyAll(98, 1), 0);
}

TEST_F(ControlsTest, ICadeLettersPressAndReleaseVirtualButtons) {
    app->p_iCade(1);
    EXPECT_EQ(qv_Vortan_iCadeControls, 1);
    const char* press = "WXADYUIOHJKL";
    const char* release = "EZQCTFMGRNPV";
    const int elements[] = {0, 8, 3, 5, 13, 14, 15, 16, 10, 11, 12, 17};
    for (int i = 0; i < 12; ++i) {
        Type(std::string(1, press[i]));
        Update();
        EXPECT_EQ(app->m_ICade[elements[i]], 2) << press[i];
        Type(std::string(1, char(release[i] + ('a' - 'A'))));  // either letter case
        Update();
        EXPECT_EQ(app->m_ICade[elements[i]], 0) << release[i];
    }
    // The W key typed on a keyboard holds up until its E arrives; the key itself is not read.
    KeyDown('W');
    Type("w");
    Update();
    KeyUp('W');
    EXPECT_EQ(app->p_PlayKeyAll(0, 1), 4);
    Type("e");
    Update();
    EXPECT_EQ(app->p_PlayKeyAll(0, 1), 0);
}

TEST_F(ControlsTest, ICadeOnDrainsTypedCharactersAndOffClearsThePad) {
    Type("WX");
    app->p_iCade(1);
    EXPECT_EQ(qv_input_GetChar(), 0);
    EXPECT_EQ(app->m_ICade[0], 0);  // typed before iCade came on
    EXPECT_TRUE(host->KeyboardEnabled());
    for (int i = 0; i < 20; ++i) app->m_ICade[i] = 2;
    app->p_iCade(0);
    EXPECT_EQ(qv_Vortan_iCadeControls, 0);
    EXPECT_FALSE(host->KeyboardEnabled());
    for (int i = 0; i <= 18; ++i) EXPECT_EQ(app->m_ICade[i], 0);
    EXPECT_EQ(app->m_ICade[19], 2);  // the menu button is fed by the back key only
}

TEST_F(ControlsTest, PressedVirtualButtonsLastOneUpdate) {
    app->m_ICade[10] = 1;
    app->m_ICade[11] = 2;
    Update();
    EXPECT_EQ(app->m_ICade[10], 0);
    EXPECT_EQ(app->m_ICade[11], 2);
}

TEST_F(ControlsTest, AnalogueRampsReachOneAndReturn) {
    KeyDown(vk::kUp);
    for (int i = 1; i <= 10; ++i) {
        app->p_AnalogueControl();
        if (i < 7) EXPECT_NEAR(app->m_AnaY, -0.15f * i, 1e-5) << i;
    }
    EXPECT_EQ(app->m_AnaY, -1);
    EXPECT_EQ(app->m_RampY, -1);
    KeyUp(vk::kUp);
    for (int i = 1; i <= 4; ++i) {
        app->p_AnalogueControl();
        EXPECT_NEAR(app->m_AnaY, -1 + 0.2f * i, 1e-5);
    }
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_AnaY, 0);
    EXPECT_EQ(app->m_RampY, 0);

    KeyDown(vk::kRight);
    app->p_AnalogueControl();
    EXPECT_FLOAT_EQ(app->m_AnaX, 0.15f);
    KeyUp(vk::kRight);
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_AnaX, 0);  // 0.15 - 0.2 floors at 0
}

TEST_F(ControlsTest, AnalogueStickNeedsADeadZoneAndKeysOverride) {
    app->m_Setting[15] = 0;
    Stick(0, 0.1f, -0.15f);
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_AnaX, 0);
    EXPECT_EQ(app->m_AnaY, 0);
    Stick(0, 0.5f, -0.3f);  // right and down
    app->p_AnalogueControl();
    EXPECT_FLOAT_EQ(app->m_AnaX, 0.5f);
    EXPECT_FLOAT_EQ(app->m_AnaY, 0.3f);  // down the screen, like the down key's ramp
    KeyDown(vk::kLeft);
    app->p_AnalogueControl();
    EXPECT_FLOAT_EQ(app->m_AnaX, -0.15f);
    EXPECT_FLOAT_EQ(app->m_AnaY, 0.3f);
}

TEST_F(ControlsTest, AnalogueIndicatorOnlyInDebugMode) {
    app->p_CLS2D();
    KeyDown(vk::kDown);
    app->p_AnalogueControl();
    EXPECT_EQ(app->m_DrawLen, 0);
    qv_Vortan_DebugMode = 1;
    app->p_AnalogueControl();
    auto cmds = Commands();
    ASSERT_EQ(cmds.size(), 2u);
    EXPECT_EQ(cmds[0].kind, kCmdOval);
    EXPECT_EQ(cmds[0].x, 640 - 64);
    EXPECT_EQ(cmds[0].a4, 12);
    EXPECT_FLOAT_EQ(cmds[1].y, 480 - 64 + 52 * 0.3f);
    EXPECT_FLOAT_EQ(cmds[1].alpha, 0.5f);
    EXPECT_EQ(app->m_ColA, 1);  // drawing state reset afterwards
}

TEST_F(ControlsTest, TouchAndMouseInTests) {
    app->m_TouchDown[3] = 1;
    auto touchAt = [&](int x, int y) {
        app->m_TouchX[3] = x;
        app->m_TouchY[3] = y;
        return app->p_Touch(100, 100, 50, 20);
    };
    EXPECT_EQ(touchAt(95, 95), 1);
    EXPECT_EQ(touchAt(161, 131), 1);
    EXPECT_EQ(touchAt(94, 100), 0);
    EXPECT_EQ(touchAt(162, 100), 0);
    app->m_TouchDown[3] = 0;
    EXPECT_EQ(touchAt(120, 110), 0);  // not down

    app->m_TouchDown[0] = 1;
    app->m_TouchX[0] = 110;
    app->m_TouchY[0] = 110;
    EXPECT_EQ(app->p_MouseIn(100, 100, 20, 20), 1);
    EXPECT_EQ(app->p_MouseIn(110, 100, 20, 20), 0);  // strictly inside
    EXPECT_EQ(app->p_MouseIn_Centered(100, 100, 22, 22), 1);
    EXPECT_EQ(app->p_MouseIn_Centered(100, 100, 20, 20), 0);
}

TEST_F(ControlsTest, ButtonTestsTheScaledCell) {
    app->p_CLS2D();
    app->m_ImgScale = 0.5f;
    app->m_ImgSize[3 * 97] = 64;  // 32 virtual units at set 2
    app->m_ImgSize[3 * 97 + 1] = 64;
    app->m_TouchX[1] = 115;
    app->m_TouchY[1] = 200;
    app->m_PointerDown = 1;
    EXPECT_EQ(app->p_Button(100, 200, 2), 1);
    EXPECT_EQ(app->m_ButtonHit, 1);
    app->m_TouchX[1] = 116;
    EXPECT_EQ(app->p_Button(100, 200, 2), 0);
    EXPECT_EQ(app->m_ButtonHit, 0);
    app->m_TouchX[1] = 100;
    app->m_PointerDown = 0;
    EXPECT_EQ(app->p_Button(100, 200, 2), 0);
    ASSERT_EQ(Commands().size(), 3u);
    EXPECT_EQ(Commands()[0].kind, 97);
    EXPECT_EQ(Commands()[0].frame, 2);
}

TEST_F(ControlsTest, UpdateClearsThePointerSoScreensSeeNone) {
    Create();
    FinishLoading();
    input->p_MouseEvent(4, 0, 100, 100);
    Update();
    EXPECT_EQ(app->m_PointerDown, 0);
    EXPECT_EQ(app->m_InputKind, 1);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(app->m_TouchX[i], -100);
    EXPECT_EQ(app->m_MX, 100);
    EXPECT_EQ(app->m_MY, 100);
}

}  // namespace
