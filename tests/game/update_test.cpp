// One update of the game: function keys, key holding, loading, the mode dispatch, the
// pause of a round, suspension and resumption, and what an update allocates.
#include "tests/game/game_fixture.h"

namespace {

class UpdateTest : public GameFixture {
protected:
    void SetUp() override {
        GameFixture::SetUp();
        Create();
        FinishLoading();
    }
    void StartRound() {
        app->m_Mode = mode::kRoundSetUp;
        Update();
        ASSERT_EQ(app->m_Mode, mode::kRound);
    }
};

TEST_F(UpdateTest, CreateSetsTheStartState) {
    EXPECT_EQ(app->m_Mode, mode::kMenu);
    EXPECT_EQ(app->m_Difficulty, 2);
    EXPECT_EQ(app->m_WheelSel, 1);
    EXPECT_EQ(app->m_WheelTarget, -32);
    EXPECT_EQ(app->m_Setting[setting::kSoundMode], sound_mode::kEffectsAndMusic);
    EXPECT_EQ(app->m_ChannelMap[32], 32);
    EXPECT_EQ(app->m_ImgRes, 2);  // 640 wide is above 630
    EXPECT_EQ(app->m_ClsA, 1);
    EXPECT_EQ(host->UpdateRate(), 60);
    EXPECT_EQ(app->m_HttpReply.ToUtf8(), "N/A");
    EXPECT_EQ(app->m_Http, nullptr);  // the check-in is off
}

TEST_F(UpdateTest, F1ShowsTheDebugLineWithRateAndScales) {
    Tap(vk::kF1);
    Update();
    EXPECT_EQ(qv_Vortan_DebugMode, 1);
    const std::string expected = std::to_string(app->m_RenderFpsAvg) + ":1.0,1.0";
    EXPECT_NE(DrawnText().find(expected), std::string::npos) << DrawnText();
    Tap(vk::kF1);
    app->p_CLS2D();  // whatever the screen beneath draws, the line is not added
    Update();
    EXPECT_EQ(qv_Vortan_DebugMode, 0);
    EXPECT_EQ(DrawnText().find(":1.0,1.0"), std::string::npos);
}

TEST_F(UpdateTest, RenderRateIsSmoothed) {
    for (int i = 0; i < 60; ++i) {
        Update();
        Render();
    }
    EXPECT_EQ(app->m_RenderFps, 58);  // 1000 / 17: the clock moves 16.67 ms per frame
    EXPECT_GT(app->m_RenderFpsAvg, 50);
    EXPECT_LE(app->m_RenderFpsAvg, 58);
    EXPECT_GE(app->m_UpdFps, 58);
}

TEST_F(UpdateTest, F2TogglesTheHudAndBackFeedsTheMenuButton) {
    Tap(vk::kF2);
    Update();
    EXPECT_EQ(app->m_HideHud, 1);
    app->m_PanelB = 1;  // back on the plain title would end the program; here it closes the panel
    KeyDown(416);
    Update();
    EXPECT_EQ(app->m_ICade[virtual_pad::kMenu], 1);
    Update();
    EXPECT_EQ(app->m_ICade[virtual_pad::kMenu], 0);
}

TEST_F(UpdateTest, F4AndTheCloseKeyEndTheProgramQuietly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            Tap(vk::kF4);
            Update();
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(
        {
            Tap(432);
            Update();
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(UpdateTest, AnActionKeyStaysHeldUntilEveryPlayerReleases) {
    app->m_AnyKeyHeld = 1;
    KeyDown(vk::kSpace);
    PadDown(3, pad::kB);
    Update();
    EXPECT_EQ(app->m_AnyKeyHeld, 1);
    KeyUp(vk::kSpace);
    Update();
    EXPECT_EQ(app->m_AnyKeyHeld, 1);  // pad 3 still holds button 11
    PadUp(3, pad::kB);
    Update();
    EXPECT_EQ(app->m_AnyKeyHeld, 0);
    EXPECT_EQ(app->m_KeyUsed, 0);
}

TEST_F(UpdateTest, BackOnTheTitleClosesOpenPanels) {
    app->m_PanelB = 1;
    app->m_PanelA = 1;
    KeyDown(vk::kEscape);
    Update();
    EXPECT_EQ(app->m_PanelA, 0);
    EXPECT_EQ(app->m_PanelB, 0);
    EXPECT_EQ(app->m_AnyKeyHeld, 1);
}

TEST_F(UpdateTest, OpenOptionsHoldTheKeysAndSlideIn) {
    app->m_OptionsOpen = 1;
    for (int i = 1; i <= 35; ++i) {
        Update();
        EXPECT_EQ(app->m_OptSlide, std::min(i, 30));
        EXPECT_EQ(app->m_AnyKeyHeld, 1);
    }
    app->m_OptionsOpen = 0;
    Update(10);
    EXPECT_EQ(app->m_OptSlide, 20);
}

TEST_F(UpdateTest, SidePanelEasesOpenAndClosed) {
    app->m_PanelB = 1;
    Update();
    EXPECT_FLOAT_EQ(app->m_PanelSlide, 500 * 0.125f);
    Update(60);
    EXPECT_EQ(app->m_PanelSlide, 500);  // snapped to the target
    app->m_PanelB = 0;
    Update();
    EXPECT_FLOAT_EQ(app->m_PanelSlide, 500 - 62.5f);
    Update(60);
    EXPECT_EQ(app->m_PanelSlide, 0);
}

TEST_F(UpdateTest, NoScreenRunsWhileLoading) {
    app->m_LoadStage = 1;
    app->m_Mode = mode::kRoundSetUp;
    Update(24);
    EXPECT_EQ(app->m_Mode, mode::kRoundSetUp);  // the round set-up has not run
    Update();
    EXPECT_EQ(app->m_LoadStage, 0);
    Update();
    EXPECT_EQ(app->m_Mode, mode::kRound);
}

TEST_F(UpdateTest, AResizeReloadsAndTheRoundResumesAfterwards) {
    StartRound();
    app->m_Score = 1234;
    SetDevice(1280, 720);
    Render();
    EXPECT_EQ(app->m_LoadStage, 1);
    EXPECT_EQ(qv_Vortan_jscrh, 360);
    Update();
    EXPECT_EQ(app->m_ImgRes, 4);
    EXPECT_EQ(CellWidth(*app, picture::kIcons), 128);
    FinishLoading();
    EXPECT_EQ(app->m_Mode, mode::kRound);
    EXPECT_EQ(app->m_Score, 1234);
    EXPECT_EQ(app->m_Paused, 0);
}

TEST_F(UpdateTest, BackInARoundPausesIt) {
    StartRound();
    KeyDown(vk::kEscape);
    Update();
    EXPECT_EQ(app->m_Paused, 1);
    EXPECT_EQ(app->m_PauseSel, 1);
    EXPECT_EQ(app->m_PauseRow, pause_row::kResume);
    EXPECT_EQ(app->m_AnyKeyHeld, 1);
    EXPECT_EQ(app->m_MenuSlide, -32);
}

TEST_F(UpdateTest, PauseIconIsDrawnUnlessTheHudIsHidden) {
    StartRound();
    Update();
    int icons = 0;
    for (const DrawCmd& c : Commands()) {
        if (c.kind == picture::kIcons && c.frame == frame::kPauseIcon && c.x == 16 && c.y == 16) {
            ++icons;
            EXPECT_FLOAT_EQ(c.alpha, 0.2f);
        }
    }
    EXPECT_EQ(icons, 1);
    app->m_HideHud = 1;
    Update();
    for (const DrawCmd& c : Commands())
        EXPECT_FALSE(c.kind == picture::kIcons && c.x == 16 && c.y == 16);
}

TEST_F(UpdateTest, PausedRoundDoesNotAdvanceAndItsMusicFollowsThePause) {
    StartRound();
    ASSERT_EQ(app->m_MusicOn, 1);
    // Opening, as a pause starts; a closing panel at -64 ends the pause at once.
    app->m_Paused = 1;
    app->m_PauseSel = 1;
    const int spawn = app->m_SpawnTimer;
    Update(5);
    EXPECT_EQ(app->m_SpawnTimer, spawn);
    EXPECT_EQ(Audio()->MusicState(), 2);
    app->m_Paused = 0;
    app->m_PauseSel = -1;
    app->m_PauseSlide = -64;
    Update();
    EXPECT_EQ(app->m_SpawnTimer, spawn - 1);
    EXPECT_EQ(Audio()->MusicState(), 1);
}

TEST_F(UpdateTest, SuspendingTheMenuPausesNothing) {
    app->p_OnSuspend();
    EXPECT_EQ(app->m_Paused, 0);
    EXPECT_EQ(host->UpdateRate(), 5);
    app->p_OnResume();
    EXPECT_EQ(app->m_Paused, 0);
    EXPECT_EQ(app->m_PauseSel, 0);
    EXPECT_EQ(host->UpdateRate(), 60);
}

TEST_F(UpdateTest, ARoundInterruptedBySuspensionResumesPausedHalfOpen) {
    StartRound();
    app->p_iCade(1);
    app->m_ICade[control::kLeft] = virtual_pad::kHeld;
    app->p_OnSuspend();
    EXPECT_EQ(app->m_Paused, 1);
    EXPECT_EQ(app->m_PauseSlide, 240);
    EXPECT_EQ(qv_Vortan_iCadeControls, 0);
    EXPECT_EQ(app->m_ICade[control::kLeft], virtual_pad::kUp);
    EXPECT_FALSE(host->KeyboardEnabled());
    app->m_Paused = 0;
    app->p_iCade(1);
    app->p_OnResume();
    EXPECT_EQ(app->m_Paused, 1);
    EXPECT_EQ(app->m_PauseSel, 1);
    EXPECT_EQ(app->m_PauseSlide, 240);
    EXPECT_EQ(qv_Vortan_iCadeControls, 0);
    EXPECT_FALSE(host->KeyboardEnabled());
}

TEST_F(UpdateTest, ModeTwoRecordsPlaysTheJingleAndReturnsToTheMenu) {
    app->m_Mode = mode::kBackFromRound;
    const int channel = app->m_SfxChannel;
    Update();
    EXPECT_EQ(app->m_Mode, mode::kMenu);
    EXPECT_EQ(app->m_SfxChannel, (channel + 1) % 24);
}

// Drawing records into the preallocated list: an update allocates no collected block.
TEST_F(UpdateTest, LoadingScreenAndMenuUpdatesAllocateNothing) {
    app->m_LoadStage = 25;  // the last stage loads nothing
    Render();
    int64_t before = gc_alloc_count;
    Update();
    EXPECT_EQ(gc_alloc_count - before, 0);
    ASSERT_EQ(app->m_LoadStage, 0);
    Update(3);
    before = gc_alloc_count;
    Update();
    EXPECT_EQ(gc_alloc_count - before, 0);
    EXPECT_GT(app->m_DrawLen, 0);
}

}  // namespace
