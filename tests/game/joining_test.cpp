// Joining a round, driven update by update: friends who press within three seconds of the
// first player join too, later presses do not, the keyboard brings in player 1 only, and
// every player still to join is shown how, over its entry point, until it joins or the
// window closes.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/game/round_fixture.h"

using namespace round_records;

namespace {

constexpr int kUpdatesPerSecond = 60;

class JoiningTest : public RoundFixture {
protected:
    // Pads press a button together for one update.
    void PadsPress(std::initializer_list<int> ports, int button = pad::kA) {
        for (int port : ports) PadDown(port, button);
        PlayOne();
        for (int port : ports) PadUp(port, button);
    }
    void KeyPress(int key) {
        KeyDown(key);
        PlayOne();
        KeyUp(key);
    }
    // Plays on until the next update is the one `seconds` after the first player joined.
    void PlayUntil(double seconds) {
        const int update = int(std::lround(seconds * kUpdatesPerSecond));
        ASSERT_LT(sinceFirstJoin, update);
        while (sinceFirstJoin + 1 < update) PlayOne();
    }
    void PlayOne() {
        const bool joined = app->m_Joined != 0;
        Play();
        if (joined) ++sinceFirstJoin;
    }
    void StartRound() {
        RoundFixture::StartRound();
        app->m_SpawnTimer = 1000000;  // no opponents to knock anyone about
        sinceFirstJoin = 0;
    }
    std::vector<int> Joined() {
        std::vector<int> players;
        for (int p = kFirstPlayer; p <= kLastPlayer; ++p) {
            if (Fighter(p)[kHealth] != 0) players.push_back(p);
        }
        return players;
    }
    using Players = std::vector<int>;

    int sinceFirstJoin = 0;  // round updates played since the one in which the first joined
};

TEST_F(JoiningTest, FriendsPressingWithinThreeSecondsOfTheFirstJoinToo) {
    StartRound();
    Play(100);  // the round waits for its first player as long as it takes
    EXPECT_EQ(Joined(), Players{});

    // Pressing in the same update joins together.
    PadsPress({0, 1});
    EXPECT_EQ(Joined(), (Players{1, 2}));
    EXPECT_EQ(Fighter(2)[kX], 256);

    // 0.3 s later: dropping in from above the screen at its own place.
    PlayUntil(0.3);
    PadsPress({2});
    EXPECT_EQ(Joined(), (Players{1, 2, 3}));
    EXPECT_EQ(Fighter(3)[kX], 384);
    EXPECT_EQ(Fighter(3)[kY], -64);
    EXPECT_EQ(Fighter(3)[kDepth], 32);

    // Players already in are not added again: not one who was hurt and has moved on, nor
    // one knocked out, whatever they press.
    Fighter(1)[kHealth] = 5;
    Fighter(1)[kX] = 300;
    Fighter(2)[kHealth] = -20;
    PadsPress({0, 1}, pad::kB);
    PadsPress({0, 1}, pad::kA);
    EXPECT_EQ(Fighter(1)[kHealth], 5);
    EXPECT_EQ(Fighter(1)[kX], 300);
    EXPECT_LT(Fighter(2)[kHealth], -20);

    // 2.9 s later, still in.
    PlayUntil(2.9);
    PadsPress({3}, pad::kB);
    EXPECT_EQ(Joined(), (Players{1, 2, 3, 4}));
    EXPECT_EQ(Fighter(4)[kX], 512);
}

TEST_F(JoiningTest, ThreeSecondsAfterTheFirstJoinLaterPressesAreIgnored) {
    StartRound();
    PadsPress({1});
    PlayUntil(3.1);
    PadsPress({0, 2, 3});
    EXPECT_EQ(Joined(), Players{2});
    // Held on, too.
    PadDown(0, pad::kA);
    Play(60);
    PadUp(0, pad::kA);
    EXPECT_EQ(Joined(), Players{2});

    // The window is 180 updates long: the last of them still takes a press, the next not.
    StartRound();
    PadsPress({0});
    PlayUntil(3.0);
    PadsPress({1});
    PadsPress({2});
    EXPECT_EQ(Joined(), (Players{1, 2}));
}

TEST_F(JoiningTest, WindowStandsStillWhileTheRoundIsPaused) {
    StartRound();
    PadsPress({0});
    PlayUntil(1.0);
    // Five seconds in the pause panel: the round does not run, nor does its window.
    app->m_Paused = 1;
    Update(5 * kUpdatesPerSecond);
    app->m_Paused = 0;
    PlayUntil(2.9);
    PadsPress({1});
    EXPECT_EQ(Joined(), (Players{1, 2}));
}

TEST_F(JoiningTest, KeyboardJoinsOnlyPlayerOne) {
    StartRound();
    // The keyboard answers for every pad, so pad 2 is not taken in an update in which
    // the keyboard presses too.
    KeyDown('Z');
    PadDown(1, pad::kA);
    PlayOne();
    KeyUp('Z');
    PadUp(1, pad::kA);
    EXPECT_EQ(Joined(), Players{1});
    EXPECT_EQ(Fighter(1)[kX], 128);
    // Jumping and striking from the keyboard through the window brings no one else in.
    for (int i = 0; i < 4 * kUpdatesPerSecond; ++i) {
        if (i % 20 == 0) KeyDown(i % 40 == 0 ? 'Z' : 'X');
        if (i % 20 == 10) {
            KeyUp('Z');
            KeyUp('X');
        }
        PlayOne();
    }
    EXPECT_EQ(Joined(), Players{1});

    // Once a pad has started the round, the keyboard still brings in player 1, and only
    // player 1, in the window.
    StartRound();
    PadsPress({2});
    PlayUntil(1.5);
    KeyPress(vk::kSpace);
    EXPECT_EQ(Joined(), (Players{1, 3}));
    EXPECT_EQ(Fighter(1)[kX], 128);
    KeyPress('X');
    EXPECT_EQ(Joined(), (Players{1, 3}));
}

}  // namespace
