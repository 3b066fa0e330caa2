// Logical controls: every source of each code, with iCade off and on, per player.
#include "game/bindings.h"
#include "tests/game/game_fixture.h"

using namespace control;

namespace {

class ControlsTest : public GameFixture {
protected:
    int Held(int code, int player, int allowStick = 1) {
        return app->p_PlayKey(code, allowStick, player);
    }
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
    {kUp, {key::kUp, 'W'}, {pad::kUp}, {kUp}},
    {kLeft, {key::kLeft, 'A'}, {pad::kLeft}, {kLeft}},
    {kRight, {key::kRight, 'D'}, {pad::kRight}, {kRight}},
    {kDown, {key::kDown, 'S'}, {pad::kDown}, {kDown}},
    {kJump, {'Z', 'J', key::kSpace, key::kEnter}, {pad::kA}, {kJump}},
    {kStrike, {'X', 'K', key::kControl}, {pad::kB}, {kStrike}},
    {kButtonX, {'C', 'L', key::kShift}, {pad::kX}, {kButtonX}},
    {kButtonY, {'V', 'I'}, {pad::kY}, {kButtonY}},
    {kLeftShoulder, {'B', 'U'}, {pad::kLeftShoulder}, {kLeftShoulder}},
    {kRightShoulder, {'N', 'O'}, {pad::kRightShoulder}, {kRightShoulder}},
    {kBack,
     {key::kEscape, key::kGrave, key::kDelete, key::kBackspace},
     {pad::kBack, pad::kStart, pad::kExtra},
     {virtual_pad::kBackA, virtual_pad::kBackB, virtual_pad::kMenu}},
};

// Keys answer for the keyboard alone (the menus) and for player 1 only; a pad's buttons for its own player only; the virtual pad,
// pressed or held, for the keyboard alone and player 1.
TEST_F(ControlsTest, EverySourceOfEveryControl) {
    for (const Row& row : kRows) {
        for (int key : row.keys) {
            KeyDown(key);
            EXPECT_EQ(Players(row.code), (std::vector<int>{1, 1, 0, 0, 0}))
                << "code " << row.code << " key " << key;
            KeyUp(key);
            EXPECT_EQ(app->p_PlayKeyAll(row.code, 1), 0) << "code " << row.code << " key " << key;
        }
        for (int button : row.pad) {
            PadDown(2, button);
            EXPECT_EQ(Players(row.code), (std::vector<int>{0, 0, 0, 1, 0}))
                << "code " << row.code << " button " << button;
            PadUp(2, button);
        }
        for (int element : row.virtualPad) {
            for (int state : {virtual_pad::kPressed, virtual_pad::kHeld}) {
                app->m_ICade[element] = state;
                EXPECT_EQ(Players(row.code), (std::vector<int>{1, 1, 0, 0, 0}))
                    << "code " << row.code << " element " << element;
            }
            app->m_ICade[element] = virtual_pad::kUp;
        }
    }
}

TEST_F(ControlsTest, BackAndPadBackShareSourcesButNotForTheKeyboardAlone) {
    KeyDown(key::kEscape);
    EXPECT_EQ(Players(kPadBack), (std::vector<int>{0, 1, 0, 0, 0}));
    EXPECT_EQ(Players(kBack), (std::vector<int>{1, 1, 0, 0, 0}));
}

TEST_F(ControlsTest, UnknownCodesAreNeverHeld) {
    for (int k : {key::kUp, int('W'), int('Z'), key::kEscape, key::kEnter}) KeyDown(k);
    for (int b = 0; b < 16; ++b) PadDown(0, b);
    for (int code : {1, 2, 4, 6, 7, 9, 16, 17, 50, 97, 100, -1}) {
        EXPECT_EQ(app->p_PlayKeyAll(code, 1), 0) << code;
    }
}

TEST_F(ControlsTest, HoldingWAndUpTogetherIsOneUp) {
    KeyDown(vk::kUp);
    KeyDown('W');
    EXPECT_EQ(Players(kUp), (std::vector<int>{1, 1, 0, 0, 0}));  // once each, not twice
    KeyUp(vk::kUp);
    EXPECT_EQ(Players(kUp), (std::vector<int>{1, 1, 0, 0, 0}));
}

// The fixture's Stick feeds the input device, which reads a stick pushed up as positive.
TEST_F(ControlsTest, StickPushedUpIsUpUnlessTheOptionsFlipItAndCountsBeyond0Point4) {
    app->m_Setting[setting::kLeftStickY] = 0;  // the default
    Stick(0, 0, 0.5f);                         // pushed up
    EXPECT_FLOAT_EQ(app->p_StickY(0, 0), -0.5f);
    EXPECT_EQ(Held(kUp, 0), 1);
    EXPECT_EQ(Held(kDown, 0), 0);
    app->m_Setting[setting::kLeftStickY] = 1;  // flipped: pushed down reads as up
    EXPECT_FLOAT_EQ(app->p_StickY(0, 0), 0.5f);
    EXPECT_EQ(app->p_StickX(0, -1), 0);
    EXPECT_EQ(app->p_StickY(0, -1), 0);
    Stick(0, 0, 0);

    Stick(1, 0, -0.39f);
    EXPECT_EQ(Held(kUp, 1), 0);
    Stick(1, 0, -0.41f);
    EXPECT_EQ(Held(kUp, 1), 1);
    EXPECT_EQ(Held(kUp, 1, 0), 0);  // not without allowStick
    EXPECT_EQ(Held(kUp, 0), 0);     // another player's stick
    EXPECT_EQ(Held(kUp, -1), 0);
    Stick(1, 0, 0.41f);
    EXPECT_EQ(Held(kDown, 1), 1);
    Stick(1, -0.41f, 0);
    EXPECT_EQ(Held(kLeft, 1), 1);
    EXPECT_EQ(Held(kRight, 1), 0);
    Stick(1, 0.41f, 0);
    EXPECT_EQ(Held(kRight, 1), 1);
    Stick(1, 0.39f, 0);
    EXPECT_EQ(Held(kRight, 1), 0);
}

TEST_F(ControlsTest, ICadeOnReadsNoLettersAndNoStick) {
    qv_Vortan_iCadeControls = 1;
    const std::vector<std::pair<int, int>> letters = {
        {kUp, 'W'},           {kLeft, 'A'},         {kRight, 'D'},         {kDown, 'S'},
        {kJump, 'Z'},         {kJump, 'J'},         {kStrike, 'X'},        {kStrike, 'K'},
        {kButtonX, 'C'},      {kButtonX, 'L'},      {kButtonY, 'V'},       {kButtonY, 'I'},
        {kLeftShoulder, 'B'}, {kLeftShoulder, 'U'}, {kRightShoulder, 'N'}, {kRightShoulder, 'O'},
        {kBack, key::kGrave}};
    for (auto [code, key] : letters) {
        KeyDown(key);
        EXPECT_EQ(app->p_PlayKeyAll(code, 1), 0) << "code " << code << " key " << key;
        EXPECT_EQ(Held(code, -1), 0) << "code " << code << " key " << key;
        KeyUp(key);
    }
    const std::vector<std::pair<int, int>> kept = {
        {kUp, key::kUp},          {kLeft, key::kLeft},     {kRight, key::kRight},
        {kDown, key::kDown},      {kJump, key::kSpace},    {kJump, key::kEnter},
        {kStrike, key::kControl}, {kButtonX, key::kShift}, {kBack, key::kEscape},
        {kBack, key::kDelete},    {kBack, key::kBackspace}};
    for (auto [code, key] : kept) {
        KeyDown(key);
        EXPECT_EQ(Players(code), (std::vector<int>{1, 1, 0, 0, 0}))
            << "code " << code << " key " << key;
        KeyUp(key);
    }
    // Pads and the virtual pad still count; the stick and the pad's back do not.
    PadDown(0, pad::kY);
    EXPECT_EQ(Held(kButtonY, 0), 1);
    PadUp(0, pad::kY);
    app->m_ICade[kRightShoulder] = virtual_pad::kHeld;
    EXPECT_EQ(Held(kRightShoulder, -1), 1);
    app->m_ICade[kRightShoulder] = virtual_pad::kUp;
    app->m_Setting[setting::kLeftStickY] = 1;
    Stick(0, 0, -0.9f);
    EXPECT_EQ(Held(kUp, 0), 0);
    KeyDown(key::kEscape);
    EXPECT_EQ(app->p_PlayKeyAll(kPadBack, 1), 0);
}

TEST_F(ControlsTest, ICadeLettersPressAndReleaseVirtualButtons) {
    app->p_iCade(1);
    EXPECT_EQ(qv_Vortan_iCadeControls, 1);
    const char* press = "WXADYUIOHJKL";
    const char* release = "EZQCTFMGRNPV";
    const int elements[] = {kUp,      kDown,         kLeft,          kRight,
                            kButtonY, kLeftShoulder, kRightShoulder, virtual_pad::kBackA,
                            kJump,    kStrike,       kButtonX,       virtual_pad::kBackB};
    for (int i = 0; i < 12; ++i) {
        Type(std::string(1, press[i]));
        Update();
        EXPECT_EQ(app->m_ICade[elements[i]], virtual_pad::kHeld) << press[i];
        Type(std::string(1, char(release[i] + ('a' - 'A'))));  // either letter case
        Update();
        EXPECT_EQ(app->m_ICade[elements[i]], virtual_pad::kUp) << release[i];
    }
    // The W key typed on a keyboard holds up until its E arrives; the key itself is not read.
    KeyDown('W');
    Type("w");
    Update();
    KeyUp('W');
    EXPECT_EQ(Players(kUp), (std::vector<int>{1, 1, 0, 0, 0}));
    Type("e");
    Update();
    EXPECT_EQ(app->p_PlayKeyAll(kUp, 1), 0);
}

TEST_F(ControlsTest, ICadeOnDrainsTypedCharactersAndOffClearsThePad) {
    Type("WX");
    app->p_iCade(1);
    EXPECT_EQ(qv_input_GetChar(), 0);
    EXPECT_EQ(app->m_ICade[kUp], virtual_pad::kUp);  // typed before iCade came on
    EXPECT_TRUE(host->KeyboardEnabled());
    for (int i = 0; i < app->m_ICade.Length(); ++i) app->m_ICade[i] = virtual_pad::kHeld;
    app->p_iCade(0);
    EXPECT_EQ(qv_Vortan_iCadeControls, 0);
    EXPECT_FALSE(host->KeyboardEnabled());
    for (int i = 0; i < virtual_pad::kLettered; ++i) EXPECT_EQ(app->m_ICade[i], virtual_pad::kUp);
    // The menu button is fed by the back key only.
    EXPECT_EQ(app->m_ICade[virtual_pad::kMenu], virtual_pad::kHeld);
}

TEST_F(ControlsTest, PressedVirtualButtonsLastOneUpdate) {
    app->m_ICade[kJump] = virtual_pad::kPressed;
    app->m_ICade[kStrike] = virtual_pad::kHeld;
    Update();
    EXPECT_EQ(app->m_ICade[kJump], virtual_pad::kUp);
    EXPECT_EQ(app->m_ICade[kStrike], virtual_pad::kHeld);
}

TEST_F(ControlsTest, AnalogueRampsReachOneAndReturn) {
    KeyDown(vk::kUp);
    for (int i = 1; i <= 10; ++i) {
        app->p_AnalogueControl();
        if (i < 7) {
            EXPECT_NEAR(app->m_AnaY, -0.15f * i, 1e-5) << i;
        }
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
    app->m_Setting[setting::kLeftStickY] = 0;
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
    CellWidth(*app, picture::kIcons) = 64;  // 32 virtual units at set 2
    CellHeight(*app, picture::kIcons) = 64;
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
    EXPECT_EQ(Commands()[0].kind, picture::kIcons);
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
