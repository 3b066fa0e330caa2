// Joining a round, driven update by update: friends who press within three seconds of the
// first player join together, later ones drop in at any time while the round runs, the
// fallen stay down, the keyboard brings in player 1 only, and every player still to join
// is shown how: over its entry point at first, then along the bottom edge.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <string>
#include <vector>

#include "tests/game/round_fixture.h"
#include "tests/support/occurrences.h"

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

    // A prompt as drawn: a dark plate with a stripe in its player's colour along the top.
    struct Box {
        float left, top, right, bottom;
        bool Overlaps(const Box& o) const {
            return left < o.right && o.left < right && top < o.bottom && o.top < bottom;
        }
        float Middle() const { return (left + right) / 2; }
    };
    struct Prompt {
        int player;
        Box plate;
    };
    std::vector<Prompt> Prompts() {
        const std::vector<DrawCmd> cmds = Commands();
        std::vector<Prompt> prompts;
        for (size_t i = 0; i + 1 < cmds.size(); ++i) {
            const DrawCmd& plate = cmds[i];
            const DrawCmd& stripe = cmds[i + 1];
            if (plate.kind != kCmdRect || plate.Colour() != Quad{0, 0, 0, plate.alpha} ||
                plate.alpha <= 0)
                continue;
            if (stripe.kind != kCmdRect || stripe.x != plate.x || stripe.y != plate.y ||
                stripe.a5 != 2)
                continue;
            prompts.push_back(
                {WearerOf(stripe), {plate.x, plate.y, plate.x + plate.a4, plate.y + plate.a5}});
        }
        return prompts;
    }
    // The player whose palette colour the command has; 0 for none.
    int WearerOf(const DrawCmd& c) {
        for (int p = kFirstPlayer; p <= kLastPlayer; ++p) {
            app->p_Ink(p);
            if (Quad{app->m_ColR, app->m_ColG, app->m_ColB, c.alpha} == c.Colour()) return p;
        }
        return 0;
    }
    std::vector<int> Prompted() {
        std::vector<int> players;
        for (const Prompt& prompt : Prompts()) players.push_back(prompt.player);
        std::sort(players.begin(), players.end());
        return players;
    }
    // Everything the score display and the pause icon may cover, with all four health bars,
    // an eight-digit score and a full row of items; a picture is taken as large as the largest cell it may
    // have at its scale.
    std::vector<Box> TopOfTheScreen() {
        for (int p = kFirstPlayer; p <= kLastPlayer; ++p) Fighter(p)[kHealth] = kPlayerHealth;
        app->m_Score = app->m_ShownScore = 99999999;
        app->m_ItemsTaken = 10;
        app->p_CLS2D();
        app->p_ScoreDisplay();
        app->p_InGame();
        std::vector<Box> boxes;
        for (const DrawCmd& c : Commands()) {
            if (c.kind == kCmdRect) {
                boxes.push_back({c.x, c.y, c.x + c.a4, c.y + c.a5});
            } else if (c.kind >= 0) {
                const float half = 16 * std::max(std::fabs(c.a4), std::fabs(c.a5));
                boxes.push_back({c.x - half, c.y - half, c.x + half, c.y + half});
            }
        }
        for (int p = kFirstPlayer; p <= kLastPlayer; ++p) Fighter(p)[kHealth] = 0;
        app->m_Score = app->m_ShownScore = 0;
        app->m_ItemsTaken = 0;
        return boxes;
    }

    // The glyphs drawn below the floor line, in order.
    std::string EdgeText() {
        std::string text;
        for (const DrawCmd& c : Commands()) {
            if (c.kind == picture::kFont && c.y > FloorY()) text += char(int(c.frame) + 32);
        }
        return text;
    }

    int sinceFirstJoin = 0;  // round updates played since the one in which the first joined
};

TEST_F(JoiningTest, FriendsPressingWithinThreeSecondsOfPlayAfterTheFirstJoinToo) {
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

    // Five seconds in the pause panel at 1 s: the round does not run, nor does its window.
    PlayUntil(1.0);
    app->m_Paused = 1;
    Update(5 * kUpdatesPerSecond);
    app->m_Paused = 0;
    // 2.9 s of play later, still in.
    PlayUntil(2.9);
    PadsPress({3}, pad::kB);
    EXPECT_EQ(Joined(), (Players{1, 2, 3, 4}));
    EXPECT_EQ(Fighter(4)[kX], 512);
}

// Friends who come late drop in at their entry point with full health, 10 s or a minute
// in; a player who has fallen stays down whatever it presses, and once the round is over
// no one joins it.
TEST_F(JoiningTest, LateFriendsDropInAtAnyTimeButTheFallenStayDown) {
    StartRound();
    PadsPress({0});
    PlayUntil(10.0);
    PadsPress({1});
    EXPECT_EQ(Joined(), (Players{1, 2}));
    EXPECT_EQ(Fighter(2)[kHealth], kPlayerHealth);
    EXPECT_EQ(Fighter(2)[kX], EntryX(2));
    EXPECT_EQ(Fighter(2)[kY], kEntryY);
    EXPECT_EQ(Fighter(2)[kDepth], kStartDepth);

    Fighter(2)[kHealth] = -1;  // knocked out
    PlayUntil(60.0);
    PadDown(1, pad::kA);
    PadsPress({3});
    PadUp(1, pad::kA);
    PadsPress({1}, pad::kB);
    EXPECT_EQ(Joined(), (Players{1, 2, 4}));
    EXPECT_LT(Fighter(2)[kHealth], 0);
    EXPECT_EQ(Fighter(4)[kHealth], kPlayerHealth);
    EXPECT_EQ(Fighter(4)[kX], EntryX(4));
    Play(120);
    EXPECT_EQ(Fighter(4)[kY], FloorY());

    // A round whose players are all out is over: no one joins it.
    StartRound();
    PadsPress({0});
    Fighter(1)[kHealth] = kDeadHealth - 1;
    PlayOne();
    ASSERT_EQ(app->m_RoundOver, 1);
    PadsPress({1});
    EXPECT_EQ(Joined(), Players{1});
}

// An empty round waits for its players without filling up: whoever comes after a minute
// finds a fresh one and, pressing nothing, is still up 8 s later. Friends joining the fight
// drop in at the edge away from the crowd, blinking for a moment in which blows pass them by.
TEST_F(JoiningTest, NoOneIsMobbedOnArrival) {
    for (int difficulty = 1; difficulty <= 3; ++difficulty) {
        RoundFixture::StartRound(difficulty);
        Play(60 * kUpdatesPerSecond);
        PadsPress({0});
        Play(8 * kUpdatesPerSecond);
        EXPECT_GT(Fighter(1)[kHealth], 0) << difficulty;
        EXPECT_GT(Opponents(), 0) << difficulty;
    }
    for (int r = kFirstOpponent; r <= kLastRecord; ++r) Fighter(r)[kHealth] = 0;
    PlaceOpponent(kFirstOpponent, 100, 1);
    PadsPress({1});
    EXPECT_GT(Fighter(2)[kX] - kStartDepth / 2, qv_Vortan_jscrw - 64);
    Fighter(kFirstOpponent)[kX] = 560;
    PadsPress({2});
    EXPECT_LT(Fighter(3)[kX] - kStartDepth / 2, 64);
    int dimmed = 0;
    for (int i = 2; i <= 180; ++i) {
        EXPECT_EQ(Fighter(2)[kHealth], kPlayerHealth) << i;
        PlaceOpponent(kFirstOpponent + 1, Fighter(2)[kX] - 12, 1);  // striking every update
        Fighter(kFirstOpponent + 1)[kY] = Fighter(2)[kY];
        Fighter(kFirstOpponent + 1)[kAttack] = 1;
        PlayOne();
        for (const DrawCmd& c : Commands()) dimmed += c.kind == 2 && c.alpha < 1;
    }
    EXPECT_LT(Fighter(2)[kHealth], kPlayerHealth);
    EXPECT_NEAR(dimmed, 90, 5);
}

TEST_F(JoiningTest, KeyboardJoinsOnlyPlayerOne) {
    StartRound();
    // The keyboard plays for player 1 alone: pad 2 pressed in the same update brings in
    // player 2 beside it.
    KeyDown('Z');
    PadDown(1, pad::kA);
    PlayOne();
    KeyUp('Z');
    PadUp(1, pad::kA);
    EXPECT_EQ(Joined(), (Players{1, 2}));
    EXPECT_EQ(Fighter(1)[kX], 128);
    StartRound();
    KeyPress('Z');
    EXPECT_EQ(Joined(), Players{1});
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
}

TEST_F(JoiningTest, PromptsShowWhereEachPlayerEntersUntilItJoinsOrTheWindowCloses) {
    StartRound();
    Play(600);  // as long as no one has joined
    EXPECT_EQ(Prompted(), (Players{1, 2, 3, 4}));
    const std::string text = DrawnText();
    EXPECT_EQ(Occurrences(text, "PressAorZ"), 1) << text;
    EXPECT_EQ(Occurrences(text, "PressA"), 4) << text;
    EXPECT_EQ(Occurrences(text, "tojoin"), 4) << text;
    for (const Prompt& prompt : Prompts()) {
        // Over where the player stands once it has dropped in (x, less half its depth),
        // above its head and below the middle of the screen.
        EXPECT_NEAR(prompt.plate.Middle(), 128 * prompt.player - 16, 1) << prompt.player;
        EXPECT_LT(prompt.plate.bottom, FloorY() - 55) << prompt.player;
        EXPECT_GT(prompt.plate.top, qv_Vortan_jscrh / 2) << prompt.player;
    }
    // Every glyph of the prompts is well inside its plate.
    for (const DrawCmd& c : Commands()) {
        if (c.kind != picture::kFont || c.y < qv_Vortan_jscrh / 2) continue;
        int inside = 0;
        for (const Prompt& prompt : Prompts()) {
            const Box& b = prompt.plate;
            inside += c.x - 5 > b.left && c.x + 5 < b.right && c.y - 5 > b.top &&
                      c.y + 5 < b.bottom;
        }
        EXPECT_EQ(inside, 1) << c.x << "," << c.y;
    }

    PadsPress({1});
    EXPECT_EQ(Prompted(), (Players{1, 3, 4}));
    PlayUntil(2.9);
    PlayOne();
    EXPECT_EQ(Prompted(), (Players{1, 3, 4}));
    app->m_HideHud = 1;  // with the score display
    PlayOne();
    EXPECT_EQ(Prompted(), Players{});
    app->m_HideHud = 0;
    PlayUntil(3.0);
    PlayOne();
    EXPECT_EQ(Prompted(), Players{});
    EXPECT_EQ(Occurrences(DrawnText(), "tojoin"), 0);

    // Then one small line each along the bottom edge, in order, below the fighters' shadows,
    // until the player joins (the layout test keeps them within the screen at every size).
    EXPECT_EQ(EdgeText(), "P1pressAorZP3pressAP4pressA");
    float lastX = 0;
    for (const DrawCmd& c : Commands()) {
        if (c.kind != picture::kFont || c.y < FloorY()) continue;
        EXPECT_GT(c.x, lastX);
        EXPECT_EQ(c.a4, 1);
        EXPECT_GT(c.y - font::kLineHeight / 2.0f, FloorY() + 8 + 2);
        lastX = c.x;
    }
    PadsPress({2});
    EXPECT_EQ(EdgeText(), "P1pressAorZP4pressA");
}

TEST_F(JoiningTest, PromptsStayOnTheScreenApartAndClearOfTheScoreDisplay) {
    // 640 x 480; full screen at 1920 x 1080, 2560 x 1080 and, turned, 1080 x 1920.
    const float screens[][2] = {{640, 480}, {640, 360}, {640, 270}, {405, 720}};
    for (const auto& screen : screens) {
        qv_Vortan_jscrw = screen[0];
        qv_Vortan_jscrh = screen[1];
        StartRound();
        const std::vector<Box> top = TopOfTheScreen();
        ASSERT_GT(top.size(), 30u);
        Play();
        const std::vector<Prompt> prompts = Prompts();
        EXPECT_EQ(Prompted(), (Players{1, 2, 3, 4})) << screen[0] << "x" << screen[1];
        for (size_t i = 0; i < prompts.size(); ++i) {
            const Box& b = prompts[i].plate;
            const int p = prompts[i].player;
            EXPECT_GE(b.left, 0) << p << " at " << screen[0];
            EXPECT_LE(b.right, qv_Vortan_jscrw) << p << " at " << screen[0];
            EXPECT_GE(b.top, 0) << p << " at " << screen[0];
            EXPECT_LE(b.bottom, FloorY()) << p << " at " << screen[0];
            for (size_t k = i + 1; k < prompts.size(); ++k) {
                EXPECT_FALSE(b.Overlaps(prompts[k].plate))
                    << p << " and " << prompts[k].player << " at " << screen[0];
            }
            for (const Box& t : top)
                EXPECT_FALSE(b.Overlaps(t)) << p << " at " << screen[0] << "x" << screen[1];
            // An entry point on the screen has its prompt over it.
            const float entry = 128.0f * p - 16;
            if (entry < qv_Vortan_jscrw) {
                EXPECT_LT(b.left, entry) << p << " at " << screen[0];
                EXPECT_GT(b.right, entry) << p << " at " << screen[0];
            }
        }
    }
}

}  // namespace
