// Module globals at start, and the roots that keep their objects alive.
#include "tests/game/game_fixture.h"

namespace {

class ModuleGlobalsTest : public GameFixture {};

TEST_F(ModuleGlobalsTest, StartValues) {
    EXPECT_EQ(qv_Vortan_rawscrw, 640);
    EXPECT_EQ(qv_Vortan_rawscrh, 480);
    EXPECT_EQ(qv_Vortan_overscan, 0);
    EXPECT_EQ(qv_Vortan_UseHDImages, 1);
    EXPECT_EQ(qv_Vortan_HasMusicStream, 1);
    EXPECT_EQ(qv_Vortan_J_On_Allow, 0);
    EXPECT_EQ(qv_Vortan_GameNum, 415);
    EXPECT_EQ(qv_random_Seed, 1234u);
    EXPECT_EQ(app->m_StarCount, 100);
    EXPECT_EQ(app->m_ParticleMax, 250);
    EXPECT_EQ(app->m_DrawList.Length(), 37500);
    EXPECT_EQ(app->m_Grid.Length(), 7300);  // ends with the timer layer's 33 rows
}

TEST_F(ModuleGlobalsTest, DifficultyTextsBreakTheirDescriptions) {
    ASSERT_EQ(qv_Vortan_MenuSet.Length(), 6);
    EXPECT_EQ(qv_Vortan_MenuSet[0].ToUtf8(), "Easy");
    EXPECT_EQ(qv_Vortan_MenuSet[3].ToUtf8(), "Just right!\\nTough, but not hard.");
    EXPECT_EQ(qv_Vortan_MenuSet[5].ToUtf8(), "Maybe TOO hard!\\nIf you like it like that");
}

TEST_F(ModuleGlobalsTest, CreditsEndWithSeparatorAndEnd) {
    ASSERT_EQ(qv_Vortan_CreditText.Length(), 64);
    EXPECT_EQ(qv_Vortan_CreditText[62].ToUtf8(), "-=-=-");
    EXPECT_EQ(qv_Vortan_CreditText[63].ToUtf8(), "End");
    EXPECT_EQ(qv_Vortan_CreditText[0].ToUtf8(), "Vortan Rally Run");
}

TEST_F(ModuleGlobalsTest, RootedGlobalsSurviveAFullCollection) {
    const Array<String> credits = qv_Vortan_CreditText;
    gc_collect_all();
    gc_collect_all();
    // The same bodies, still readable (a freed body would be reported by the sanitizer).
    EXPECT_TRUE(credits == qv_Vortan_CreditText);
    EXPECT_EQ(qv_Vortan_CreditText[63].ToUtf8(), "End");
    EXPECT_EQ(app->m_DrawList.Length(), 37500);
    app->p_Rect(1, 2, 3, 4);
    EXPECT_EQ(app->m_DrawList[1], 1);
}

}  // namespace
