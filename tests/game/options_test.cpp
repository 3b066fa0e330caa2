// The options box over the menu and over the pause panel: its rows and their texts,
// one action per key press, no action while sliding, and saving when it closes.
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "tests/game/front_end_fixture.h"

namespace {

class OptionsTest : public FrontEndFixture {
protected:
    // Opens the box from the menu's gear and waits until it is fully up.
    void OpenFromMenu() {
        app->m_MenuCol = 0;
        Press(vk::kEnter);
        ASSERT_EQ(app->m_OptionsOpen, 1);
        Update(30);
        ASSERT_EQ(app->m_OptSlide, 30);
    }
    void Press(int key) {
        KeyDown(key);
        Update();
        KeyUp(key);
        Update();
    }
    void MoveTo(int row) {
        for (int i = 0; i < 10 && app->m_OptRow < row; ++i) Press(vk::kDown);
        for (int i = 0; i < 10 && app->m_OptRow > row; ++i) Press(vk::kUp);
        ASSERT_EQ(app->m_OptRow, row);
    }
    // A stored state of the settings block alone: these settings, the others 0, and the
    // block's checksum (which wraps in 32 bits).
    static std::string SettingsOnly(std::initializer_list<std::pair<int, int>> values) {
        std::vector<int> settings(setting::kCount, 0);
        for (const auto& [i, value] : values) settings[i] = value;
        std::string state;
        uint32_t sum = 0;
        for (int i = 0; i < setting::kCount; ++i) {
            state += std::to_string(settings[i]) + "|";
            sum += uint32_t(i) * uint32_t(settings[i]);
        }
        return state + std::to_string(int32_t(sum)) + "|";
    }
    // What the game reads from pad 1's left stick pushed up by `up`; the stick is let go again.
    float LeftStickYReads(float up) {
        Stick(0, 0, up);
        const float read = app->p_StickY(pad::kLeftStick, 0);
        Stick(0, 0, 0);
        return read;
    }
    // The text of row k, read off the screen: rows stand 32 units apart from y = 130.
    std::string RowText(int k) const {
        for (const TextLine& l : Lines()) {
            if (l.y > 130 + 32 * (k - 1) && l.y < 130 + 32 * (k - 1) + 30 && l.size == 2)
                return l.text;
        }
        return "";
    }
};

TEST_F(OptionsTest, DefaultRowsReadTheDefaultSettings) {
    OpenFromMenu();
    EXPECT_EQ(RowText(1), Squash("Sound : SFX + Music"));
    EXPECT_EQ(RowText(2), Squash("iCade : Off"));
    EXPECT_EQ(RowText(3), Squash("Fullscreen"));
    EXPECT_EQ(RowText(4), Squash("Left Thumbstick Y Flipped"));
    EXPECT_EQ(RowText(5), Squash("Right Thumbstick Y Flipped"));
    EXPECT_TRUE(Shows("<[BACK]"));
    EXPECT_TRUE(Shows("Player 1: Up/Left/Down/Right, Z jump, X strike, Escape pause"));
    EXPECT_FALSE(Shows("Player 1: W/A/S/D, V jump, B strike, Escape pause"));
    // The cursor row's bar is the light one.
    int light = 0;
    for (const DrawCmd& c : Commands()) light += c.kind == kCmdRect && c.b == 255 && c.g == 180;
    EXPECT_EQ(light, app->m_OptRow >= 1 ? 1 : 0);
}

TEST_F(OptionsTest, KeysDoNothingWhileTheBoxSlides) {
    app->m_MenuCol = 0;
    Press(vk::kEnter);
    ASSERT_EQ(app->m_OptionsOpen, 1);
    Press(vk::kDown);
    Press(vk::kDown);
    Press(vk::kEscape);
    EXPECT_EQ(app->m_OptRow, 0);
    EXPECT_EQ(app->m_OptionsOpen, 1);
    EXPECT_LT(app->m_OptSlide, 30);
}

TEST_F(OptionsTest, OneRowPerPressAndTheCursorStopsAtBothEnds) {
    OpenFromMenu();
    KeyDown(vk::kDown);
    Update(20);
    EXPECT_EQ(app->m_OptRow, 1);
    KeyUp(vk::kDown);
    Update();
    Press(vk::kRight);  // right moves down too
    EXPECT_EQ(app->m_OptRow, 2);
    for (int i = 0; i < 10; ++i) Press(vk::kDown);
    EXPECT_EQ(app->m_OptRow, 9);
    for (int i = 0; i < 11; ++i) Press(vk::kUp);
    EXPECT_EQ(app->m_OptRow, 0);
    Press(vk::kLeft);  // left moves up too
    Press(vk::kRight);
    Press(vk::kLeft);
    EXPECT_EQ(app->m_OptRow, 0);
    EXPECT_EQ(app->m_OptionsOpen, 1);
}

TEST_F(OptionsTest, SoundRowCyclesThroughFourModes) {
    OpenFromMenu();
    MoveTo(1);
    const char* expected[] = {"Sound : SFX", "Sound : Music", "Sound : Off", "Sound : SFX + Music"};
    for (int i = 0; i < 4; ++i) {
        const int before = EffectsPlayed();
        Press(vk::kEnter);
        EXPECT_EQ(app->m_Setting[setting::kSoundMode], (2 + i) % sound_mode::kCount);
        EXPECT_EQ(SplitFields(Stored())[5], std::to_string((2 + i) % 4));  // saved at once
        EXPECT_EQ(RowText(1), Squash(expected[i]));
        // The click plays only in the modes with effects (SFX, SFX + Music).
        EXPECT_EQ(EffectsSince(before), (i == 0 || i == 3) ? 1 : 0) << expected[i];
    }
}

TEST_F(OptionsTest, HoldingActionChangesARowOnce) {
    OpenFromMenu();
    MoveTo(4);
    KeyDown(vk::kEnter);
    Update(15);
    KeyUp(vk::kEnter);
    Update();
    EXPECT_EQ(app->m_Setting[setting::kLeftStickY], 1);
    EXPECT_EQ(RowText(4), Squash("Left Thumbstick Y Normal"));
    Press(vk::kDown);
    Press(vk::kSpace);
    EXPECT_EQ(app->m_Setting[setting::kRightStickY], 1);
    EXPECT_EQ(RowText(5), Squash("Right Thumbstick Y Normal"));
    Press(vk::kSpace);
    EXPECT_EQ(app->m_Setting[setting::kRightStickY], 0);
}

TEST_F(OptionsTest, ICadeRowSwitchesTheLetterInput) {
    OpenFromMenu();
    MoveTo(2);
    Press(vk::kEnter);
    EXPECT_EQ(qv_Vortan_iCadeControls, 1);
    EXPECT_EQ(RowText(2), Squash("iCade : On"));
    Press(vk::kEnter);
    EXPECT_EQ(qv_Vortan_iCadeControls, 0);
}

TEST_F(OptionsTest, ClosingWithBackSavesEvenWhenNothingChanged) {
    OpenFromMenu();
    MoveTo(3);
    ASSERT_EQ(Stored(), "");
    Press(vk::kEscape);
    EXPECT_EQ(app->m_OptionsOpen, 0);
    const std::vector<std::string> f = SplitFields(Stored());
    ASSERT_EQ(f.size(), kStateFields);
    EXPECT_EQ(f[5], "1");
    // The box slides away, and the menu does not act on the same press.
    EXPECT_EQ(app->m_Mode, mode::kMenu);
    Update(30);
    EXPECT_EQ(app->m_OptSlide, 0);
    // The cursor row is kept for the next opening.
    OpenFromMenu();
    EXPECT_EQ(app->m_OptRow, 3);
}

TEST_F(OptionsTest, ActionOnBackClosesAndSavesTheNewSoundMode) {
    OpenFromMenu();
    MoveTo(1);
    Press(vk::kEnter);
    Press(vk::kEnter);  // "Sound : Music"
    MoveTo(0);
    EXPECT_EQ(app->m_OptionsOpen, 1);
    Press(vk::kEnter);
    EXPECT_EQ(app->m_OptionsOpen, 0);
    const std::vector<std::string> f = SplitFields(Stored());
    ASSERT_EQ(f.size(), kStateFields);
    EXPECT_EQ(f[5], "3");
}

// Settings stored out of range under a valid checksum, as a hand edit leaves them: a sound
// mode the game does not know plays nothing, and a stick setting other than 0 reads the
// stick as it is. The rows say so, and step from there without overflowing.
TEST_F(OptionsTest, SettingsStoredOutOfRangeShowWhatIsInForceAndStepFromIt) {
    const int most = std::numeric_limits<int>::max();
    Store(SettingsOnly(
        {{setting::kSoundMode, most}, {setting::kLeftStickY, -5}, {setting::kRightStickY, most}}));
    StartAgain();
    FinishLoading();
    SettleMenu();
    OpenFromMenu();
    int before = EffectsPlayed();
    MoveTo(5);
    EXPECT_EQ(EffectsSince(before), 0);  // the cursor's clicks are silent
    EXPECT_EQ(RowText(1), Squash("Sound : Off"));
    EXPECT_EQ(RowText(4), Squash("Left Thumbstick Y Normal"));
    EXPECT_EQ(RowText(5), Squash("Right Thumbstick Y Normal"));
    EXPECT_EQ(LeftStickYReads(0.5f), 0.5f);

    Press(vk::kEnter);
    EXPECT_EQ(RowText(5), Squash("Right Thumbstick Y Flipped"));
    MoveTo(4);
    Press(vk::kEnter);
    EXPECT_EQ(RowText(4), Squash("Left Thumbstick Y Flipped"));
    EXPECT_EQ(LeftStickYReads(0.5f), -0.5f);
    MoveTo(1);
    before = EffectsPlayed();
    Press(vk::kEnter);
    EXPECT_EQ(RowText(1), Squash("Sound : SFX + Music"));
    EXPECT_EQ(EffectsSince(before), 1);

    Press(vk::kEscape);
    const std::vector<std::string> f = SplitFields(Stored());
    ASSERT_EQ(f.size(), kStateFields);
    EXPECT_EQ(f[setting::kSoundMode], "1");
    EXPECT_EQ(f[setting::kLeftStickY], "0");
    EXPECT_EQ(f[setting::kRightStickY], "0");
}

TEST_F(OptionsTest, MusicRestartsOnlyWhenTheBoxIsOverARound) {
    OpenFromMenu();
    app->m_Music = "gale";
    MoveTo(1);
    Press(vk::kEnter);  // SFX: no music
    Press(vk::kEnter);  // Music, from the menu: nothing starts
    EXPECT_EQ(app->m_MusicOn, 0);
    Press(vk::kEnter);
    Press(vk::kEnter);           // back to SFX + Music
    Press(vk::kEnter);           // SFX
    app->m_Mode = mode::kRound;  // as if opened from the pause panel of a round
    app->m_Paused = 1;
    Press(vk::kEnter);
    EXPECT_EQ(app->m_Setting[setting::kSoundMode], sound_mode::kMusic);
    EXPECT_EQ(app->m_MusicOn, 1);
    Press(vk::kEnter);  // Off stops it
    EXPECT_EQ(app->m_MusicOn, 0);
}

}  // namespace
