// The binding tables in a round: the keyboard drives player 1 alone (or, split, players 1
// and 2 a half each) while pads drive their own players, and a rebound key moves its
// player. Every key and button a player can bind reads by a name of its own.
#include <GLFW/glfw3.h>

#include <array>
#include <initializer_list>
#include <set>
#include <string>

#include "game/bindings.h"
#include "host/key_codes.h"
#include "tests/game/round_fixture.h"

using namespace round_records;

namespace {

const int kRightAction = binding::ActionIndex(control::kRight);

class CouchRoundTest : public RoundFixture {
protected:
    void SetUp() override {
        RoundFixture::SetUp();
        StartRound();
        app->m_SpawnTimer = 1000000;  // no waves
    }
    std::array<float, 4> Xs() {
        return {Fighter(1)[kX], Fighter(2)[kX], Fighter(3)[kX], Fighter(4)[kX]};
    }
    // Holds keys together for `updates` round updates: how far each player walked.
    std::array<float, 4> Walked(std::initializer_list<int> keys, int updates) {
        const std::array<float, 4> before = Xs();
        for (int key : keys) KeyDown(key);
        Play(updates);
        for (int key : keys) KeyUp(key);
        Play();
        std::array<float, 4> after = Xs();
        for (int p = 0; p < 4; ++p) after[p] -= before[p];
        return after;
    }
    void Split() { SetKeyboardSplit(*app, 1); }
};

TEST_F(CouchRoundTest, KeyboardMovesPlayerOneOnlyWhileFriendsPlayOnPads) {
    for (int p = 1; p <= 4; ++p) JoinAndLand(p);
    EXPECT_EQ(Walked({vk::kRight}, 10), (std::array<float, 4>{30, 0, 0, 0}));
    EXPECT_EQ(Walked({'A'}, 10), (std::array<float, 4>{-30, 0, 0, 0}));
    // A friend's pad moves that friend alone, also while the keyboard walks player 1.
    PadDown(2, pad::kRight);
    const std::array<float, 4> both = Walked({vk::kLeft}, 10);
    PadUp(2, pad::kRight);
    EXPECT_EQ(both[0], -30);
    EXPECT_EQ(both[1], 0);
    EXPECT_GT(both[2], 30);
    EXPECT_EQ(both[3], 0);
}

TEST_F(CouchRoundTest, APadJoinsWhileTheKeyboardHoldsJump) {
    KeyDown('Z');
    Play();
    ASSERT_NE(Fighter(1)[kHealth], 0);
    for (int p = 2; p <= 4; ++p) {
        PadDown(p - 1, pad::kA);
        Play();
        PadUp(p - 1, pad::kA);
        EXPECT_NE(Fighter(p)[kHealth], 0) << p;
    }
    KeyUp('Z');
}

TEST_F(CouchRoundTest, SplitKeyboardHalvesJoinAndWalkTheirOwnFightersAtOnce) {
    Split();
    Play();
    // Each half's prompt names its own jump key.
    const std::string prompts = DrawnText();
    EXPECT_NE(prompts.find("PressAorVtojoinPressAorOtojoinPressAtojoin"), std::string::npos)
        << prompts;
    KeyDown('O');  // the right half's jump brings in player 2, as a pad's would
    Play();
    KeyUp('O');
    EXPECT_EQ(Fighter(1)[kHealth], 0);
    ASSERT_NE(Fighter(2)[kHealth], 0);
    KeyDown('V');
    Play();
    KeyUp('V');
    ASSERT_NE(Fighter(1)[kHealth], 0);
    EXPECT_EQ(Fighter(3)[kHealth], 0);
    Play(120);  // both land
    const float depth1 = Fighter(1)[kDepth], depth2 = Fighter(2)[kDepth];
    EXPECT_EQ(Walked({'D', 'W', vk::kLeft, vk::kDown}, 5), (std::array<float, 4>{15, -15, 0, 0}));
    EXPECT_EQ(Fighter(1)[kDepth] - depth1, 15);
    EXPECT_EQ(Fighter(2)[kDepth] - depth2, -15);
}

TEST_F(CouchRoundTest, AReboundKeyMovesItsPlayerAndTheOldKeysNoLonger) {
    JoinAndLand(1);
    JoinAndLand(2);
    Rebind(*app, 0, kRightAction, 'L');
    EXPECT_EQ(Walked({'L'}, 10), (std::array<float, 4>{30, 0, 0, 0}));
    EXPECT_EQ(Walked({vk::kRight}, 10), (std::array<float, 4>{0, 0, 0, 0}));
    EXPECT_EQ(Walked({'D'}, 10), (std::array<float, 4>{0, 0, 0, 0}));
    // Player 2 given a key of its own walks with it; player 1 does not.
    Rebind(*app, 1, kRightAction, 'M');
    EXPECT_EQ(Walked({'M'}, 10), (std::array<float, 4>{0, 30, 0, 0}));
    // Pads keep their buttons.
    const float x = Fighter(1)[kX];
    PadDown(0, pad::kRight);
    Play(10);
    PadUp(0, pad::kRight);
    EXPECT_GT(Fighter(1)[kX], x);
}

// Every key the host passes on, and every pad button, has a name of its own on the
// Controls screen, not the fallback "Key N".
TEST(BindingNameTest, EveryBindableKeyAndButtonHasANameOfItsOwn) {
    std::set<int> codes;
    for (int glfwKey = 0; glfwKey <= GLFW_KEY_LAST; ++glfwKey) {
        if (TransKey(glfwKey) != 0) codes.insert(TransKey(glfwKey));
    }
    for (int b = 0; b < pad::kButtonsPerPad; ++b) codes.insert(binding::ButtonCode(b));
    std::set<std::string> names;
    for (int code : codes) {
        const std::string name = BindingName(code).ToUtf8();
        EXPECT_NE(name.rfind("Key ", 0), 0u) << code;
        names.insert(name);
    }
    EXPECT_EQ(names.size(), codes.size());
    EXPECT_EQ(BindingName(key::kNumpad0 + 5).ToUtf8(), "Num 5");
    EXPECT_EQ(BindingName(key::kF1 + 11).ToUtf8(), "F12");
    EXPECT_EQ(BindingName(binding::ButtonCode(pad::kStart)).ToUtf8(), "Pad Start");
}

}  // namespace
