// The state string: its exact text, round trips through the state file, each checksum
// failure and its message, the badge-only short form, the clamps, the controls block
// after today's fields, and the recording of a finished round's score.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "game/bindings.h"
#include "tests/game/front_end_fixture.h"
#include "tests/game/game_fixture.h"
#include "tests/support/console_capture.h"

namespace {

using high_scores::BestIndex;
using high_scores::LastIndex;

// The fields of the three older blocks, then the controls block: version, split, two
// levels, the binding tables and a checksum.
constexpr size_t kOlderFields = 203;
const std::string kControlsMissing = "Controls Missing, Defaults Used\n";

class SavedStateTest : public FrontEndFixture {
protected:
    // SetUp without loading the pictures: the tables do not need them.
    void SetUp() override {
        GameFixture::SetUp();
        Create();
    }

    // A fresh game object started on the stored state; returns what it printed.
    std::string Restart() {
        return CaptureConsole([this] { StartAgain(); });
    }

    // "v|" repeated.
    static std::string Repeat(const std::string& v, int times) {
        std::string out;
        for (int i = 0; i < times; ++i) out += v + "|";
        return out;
    }

    static std::string Join(const std::vector<std::string>& fields) {
        std::string out;
        for (const std::string& f : fields) out += f + "|";
        return out;
    }

    void FillTables() {
        for (int i = 0; i < setting::kCount; ++i) app->m_Setting[i] = 3 * i - 7;
        app->m_Setting[setting::kPadX] = 100;
        app->m_Setting[setting::kPadY] = 120;
        app->m_Setting[setting::kPadSize] = 20;
        app->m_Setting[setting::kOverscan] = 1;
        app->m_Setting[setting::kSoundMode] = sound_mode::kMusic;
        app->m_Setting[setting::kLeftStickY] = 1;
        app->m_Setting[setting::kRightStickY] = 0;
        for (int b : {0, 1, 31, 32, 63, 100, 200, 255}) app->m_Badge[b] = true;
        for (int i = 0; i < LastIndex(2, 10); ++i)
            app->m_HiScore[i] = (i * 7919) % 100000 - (i == 13 ? 2000000000 : 0);
        app->m_HiScore[5] = 2147483647;  // checksums wrap
    }

    // The three tables as they stand.
    struct Tables {
        std::vector<int> setting;
        std::vector<bool> badge;
        std::vector<int> hi;
    };
    Tables Snapshot() const {
        Tables t{std::vector<int>(app->m_Setting.Data(), app->m_Setting.Data() + setting::kCount),
                 {},
                 std::vector<int>(app->m_HiScore.Data(),
                                  app->m_HiScore.Data() + app->m_HiScore.Length())};
        for (int i = 0; i < app->m_Badge.Length(); ++i) t.badge.push_back(app->m_Badge[i]);
        return t;
    }
    void ExpectTables(const Tables& t) {
        const Tables now = Snapshot();
        EXPECT_EQ(now.setting, t.setting);
        EXPECT_EQ(now.badge, t.badge);
        EXPECT_EQ(now.hi, t.hi);
    }

    // Fills the tables and saves them: the tables, and the fields of the saved string.
    Tables FillAndSave(std::vector<std::string>* fields) {
        FillTables();
        const Tables t = Snapshot();
        app->p_Save();
        *fields = SplitFields(Stored());
        return t;
    }
    // Stores the (edited) fields and starts on them: what the game printed.
    std::string RestartFrom(const std::vector<std::string>& fields) {
        Store(Join(fields));
        return Restart();
    }
};

TEST_F(SavedStateTest, NothingStoredGivesTheDefaultsAndTheFirstSaveText) {
    const std::string printed = Restart();
    EXPECT_EQ(printed, "Highscores Loaded\n");
    EXPECT_EQ(app->m_Setting[setting::kSoundMode], 1);
    EXPECT_EQ(app->m_Setting[setting::kPadX], 64);
    EXPECT_EQ(app->m_Setting[setting::kPadY], 64);
    EXPECT_EQ(app->m_Setting[setting::kPadSize], 10);
    EXPECT_EQ(app->m_Setting[setting::kOverscan], 1);
    EXPECT_EQ(qv_Vortan_overscan, 0);

    app->p_Save();
    const std::string expected = "0|0|0|0|0|1|0|0|0|0|64|64|10|0|1|0|0|0|0|0|0|0|0|0|0|1483|" +
                                 Repeat("0", 9) + Repeat("0", 8 * 21);
    EXPECT_EQ(Stored().substr(0, expected.size()), expected);
    EXPECT_EQ(SplitFields(Stored()).size(), kStateFields);
}

TEST_F(SavedStateTest, KnownTablesGiveTheirFieldsAndChecksums) {
    app->m_Setting[3] = -5;
    app->m_HiScore[BestIndex(0, 0)] = 500;
    app->m_HiScore[LastIndex(0, 0)] = 400;
    app->m_HiScore[BestIndex(1, 1)] = 70;
    app->m_HiScore[LastIndex(2, 9)] = 9;
    app->m_Badge[0] = true;
    app->m_Badge[33] = true;
    app->p_Save();
    const std::vector<std::string> f = SplitFields(Stored());
    ASSERT_EQ(f.size(), kStateFields);
    EXPECT_EQ(f[3], "-5");
    EXPECT_EQ(f[25], std::to_string(3 * -5 + 5 * 1 + 10 * 64 + 11 * 64 + 12 * 10 + 14 * 1));
    EXPECT_EQ(f[26], "1");
    EXPECT_EQ(f[27], "2");
    EXPECT_EQ(f[34], "3");
    // Group 0: (best, last) pairs of Easy, checksum 4 * 500 + 3 * 400.
    EXPECT_EQ(f[35], "500");
    EXPECT_EQ(f[36], "400");
    EXPECT_EQ(f[55], "3200");
    // Group 1: pair 1 of Normal; checksum (1 + 4) * 70.
    EXPECT_EQ(f[56 + 2], "70");
    EXPECT_EQ(f[76], "350");
    // Group 2: pair 9 of Hard, last list; checksum (9 + 2 + 3) * 9.
    EXPECT_EQ(f[77 + 19], "9");
    EXPECT_EQ(f[97], "126");
    // Group 3 pairs Easy's last list with the unused elements 60..69: 4 * 400.
    EXPECT_EQ(f[98], "400");
    EXPECT_EQ(f[118], "1600");
    // Group 5 pairs Hard's last list with 80..89: (9 + 4) * 9.
    EXPECT_EQ(f[140 + 18], "9");
    EXPECT_EQ(f[160], "117");
}

TEST_F(SavedStateTest, Badge31AloneIsTheSmallestInteger) {
    app->m_Badge[31] = true;
    app->p_Save();
    const std::vector<std::string> f = SplitFields(Stored());
    EXPECT_EQ(f[26], "-2147483648");
    EXPECT_EQ(f[34], "-2147483648");

    const std::string printed = Restart();
    EXPECT_NE(printed.find("Badges Loaded"), std::string::npos) << printed;
    for (int i = 0; i < 256; ++i) EXPECT_EQ(app->m_Badge[i], i == 31) << i;
}

// The tables come back exactly after a restart and save again to the same text, also from
// a state file grown to 2 MiB (a tool that appended to it without end): its first 203
// fields are still the player's settings, badges and highscores.
TEST_F(SavedStateTest, TablesSurviveARestartExactlyAlsoFromAStateFileGrownPastItsCap) {
    std::vector<std::string> f;
    const Tables tables = FillAndSave(&f);
    const std::string saved = Stored();
    std::string grown = saved;
    while (grown.size() < 2u << 20) grown += "123456789|";
    for (const std::string& stored : {saved, grown}) {
        Store(stored);
        EXPECT_EQ(Restart(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
        ExpectTables(tables);
        app->p_Save();
        EXPECT_EQ(Stored(), saved);
    }
}

TEST_F(SavedStateTest, BadSettingsChecksumResetsOnlyTheSettings) {
    std::vector<std::string> f;
    Tables tables = FillAndSave(&f);
    f[7] = std::to_string(std::stoi(f[7]) + 1);

    EXPECT_EQ(RestartFrom(f), "Settings Checksum Invalid\nBadges Loaded\nHighscores Loaded\n");
    std::vector<int>& defaults = tables.setting;
    defaults.assign(setting::kCount, 0);
    defaults[setting::kSoundMode] = sound_mode::kEffectsAndMusic;
    defaults[setting::kPadX] = defaults[setting::kPadY] = 64;
    defaults[setting::kPadSize] = 10;
    defaults[setting::kOverscan] = 1;
    ExpectTables(tables);
}

TEST_F(SavedStateTest, BadBadgeChecksumClearsOnlyTheBadges) {
    std::vector<std::string> f;
    Tables tables = FillAndSave(&f);
    f[28] = "5";

    EXPECT_EQ(RestartFrom(f), "Settings Loaded\nBadge Checksum Invalid\nHighscores Loaded\n");
    tables.badge.assign(tables.badge.size(), false);
    ExpectTables(tables);
}

TEST_F(SavedStateTest, BadGroupChecksumEmptiesOnlyThatDifficultySilently) {
    std::vector<std::string> f;
    Tables tables = FillAndSave(&f);
    f[56 + 7] = "12345";  // a last-ten entry of Normal edited by hand

    EXPECT_EQ(RestartFrom(f), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    for (int j = 0; j < 10; ++j) tables.hi[BestIndex(1, j)] = tables.hi[LastIndex(1, j)] = 0;
    ExpectTables(tables);
}

TEST_F(SavedStateTest, AFieldThatIsNotANumberReadsAsZeroAndBreaksItsBlock) {
    std::vector<std::string> f;
    FillAndSave(&f);
    f[26] = "x" + f[26];  // badge word 0 was 3: bits 0 and 1
    EXPECT_NE(RestartFrom(f).find("Badge Checksum Invalid"), std::string::npos);
    EXPECT_FALSE(app->m_Badge[0]);
    EXPECT_FALSE(app->m_Badge[200]);
}

TEST_F(SavedStateTest, GroupsThreeToSevenAreNeverRead) {
    std::vector<std::string> f;
    const Tables tables = FillAndSave(&f);
    for (size_t i = 98; i < kOlderFields; ++i) f[i] = std::to_string(1000 + i);
    EXPECT_EQ(RestartFrom(f), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    ExpectTables(tables);
}

TEST_F(SavedStateTest, ShortFormCarriesOnlyBadges) {
    Store("6|0|0|0|0|0|0|-2147483648|-2147483642|");  // badges 1, 2 and 255
    std::string printed = Restart();
    EXPECT_EQ(printed, "Badges Loaded\nHighscores Loaded\n");
    for (int i = 0; i < 256; ++i) EXPECT_EQ(app->m_Badge[i], i == 1 || i == 2 || i == 255) << i;
    EXPECT_EQ(app->m_Setting[setting::kSoundMode], 1);
    EXPECT_EQ(app->m_Setting[setting::kPadX], 64);

    Store("6|0|0|0|0|0|0|0|7|");
    printed = Restart();
    EXPECT_EQ(printed, "Badge Checksum Invalid\nHighscores Loaded\n");
    for (int i = 0; i < 256; ++i) EXPECT_FALSE(app->m_Badge[i]) << i;

    // Without its checksum field the block is not read at all.
    Store("6|0|0|0|0|0|0|0");
    EXPECT_EQ(Restart(), "Highscores Loaded\n");
    EXPECT_FALSE(app->m_Badge[1]);
}

TEST_F(SavedStateTest, AStringCutInsideAGroupKeepsThatGroupAndTheRestEmpty) {
    std::vector<std::string> f;
    const std::vector<int> hi = FillAndSave(&f).hi;
    f.resize(56 + 20);  // group 1 lacks its checksum field
    std::string cut = Join(f);
    cut.pop_back();
    Store(cut);
    const std::string printed = Restart();
    EXPECT_EQ(printed, "Settings Loaded\nBadges Loaded\nHighscores Loaded\n" + kControlsMissing);
    for (int j = 0; j < 10; ++j) {
        for (int i : {BestIndex(0, j), LastIndex(0, j)}) EXPECT_EQ(app->m_HiScore[i], hi[i]);
        EXPECT_EQ(app->m_HiScore[BestIndex(1, j)], 0);
        EXPECT_EQ(app->m_HiScore[LastIndex(2, j)], 0);
    }
}

TEST_F(SavedStateTest, LoadingClampsThePadAndForcesTheMargin) {
    std::vector<std::string> f(203, "0");
    f[10] = "63";
    f[11] = "200";
    f[12] = "7";
    f[14] = "0";
    f[25] = std::to_string(10 * 63 + 11 * 200 + 12 * 7);
    qv_Vortan_overscan = 20;
    Store(Join(f));
    EXPECT_EQ(Restart(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n" + kControlsMissing);
    EXPECT_EQ(app->m_Setting[setting::kPadX], 64);
    EXPECT_EQ(app->m_Setting[setting::kPadY], 200);
    EXPECT_EQ(app->m_Setting[setting::kPadSize], 10);
    EXPECT_EQ(app->m_Setting[setting::kOverscan], 1);
    EXPECT_EQ(app->m_Setting[setting::kSoundMode], 0);  // read as stored: sound off
    EXPECT_EQ(qv_Vortan_overscan, 0);

    f[12] = "8";
    f[25] = std::to_string(10 * 63 + 11 * 200 + 12 * 8);
    Store(Join(f));
    Restart();
    EXPECT_EQ(app->m_Setting[setting::kPadSize], 8);
}

TEST_F(SavedStateTest, DebugModePrintsTheStringOnSaveAndLoad) {
    qv_Vortan_DebugMode = 1;
    const std::string printed = CaptureConsole([this] { app->p_Save(); });
    EXPECT_EQ(printed, Stored() + "\n");
    EXPECT_EQ(Restart(), Stored() + "\nSettings Loaded\nBadges Loaded\nHighscores Loaded\n");
}

TEST_F(SavedStateTest, RecordingPlacesEqualScoresBelowAndKeepsTheLastTen) {
    app->m_Difficulty = 2;
    for (int s : {300, 200, 100}) {
        app->m_Score = s;
        app->p_LoadMenu();
    }
    app->m_Score = 200;
    app->p_LoadMenu();
    const int* hi = app->m_HiScore.Data();
    const std::vector<int> best(hi + BestIndex(1, 0), hi + BestIndex(1, 10));
    EXPECT_EQ(best, (std::vector<int>{300, 200, 200, 100, 0, 0, 0, 0, 0, 0}));
    const std::vector<int> last(hi + LastIndex(1, 0), hi + LastIndex(1, 10));
    EXPECT_EQ(last, (std::vector<int>{200, 100, 200, 300, 0, 0, 0, 0, 0, 0}));
    // Other difficulties are untouched, and the tables were saved.
    for (int g : {0, 2}) {
        for (int i : {BestIndex(g, 0), BestIndex(g, 9), LastIndex(g, 0), LastIndex(g, 9)})
            EXPECT_EQ(app->m_HiScore[i], 0);
    }
    EXPECT_EQ(SplitFields(Stored())[56 + 2], "200");
    EXPECT_EQ(SplitFields(Stored())[56 + 4], "200");
}

TEST_F(SavedStateTest, AScoreThatBeatsNoneEntersOnlyTheLastTen) {
    app->m_Difficulty = 3;
    app->m_Score = 0;  // an empty list takes no score of 0
    app->p_LoadMenu();
    EXPECT_EQ(app->m_HiScore[BestIndex(2, 0)], 0);
    for (int s = 10; s <= 120; s += 10) {
        app->m_Score = s;
        app->p_LoadMenu();
    }
    const int* hi = app->m_HiScore.Data();
    const std::vector<int> best(hi + BestIndex(2, 0), hi + BestIndex(2, 10));
    EXPECT_EQ(best, (std::vector<int>{120, 110, 100, 90, 80, 70, 60, 50, 40, 30}));
    app->m_Score = 30;  // equal to the tenth: no place left below it
    app->p_LoadMenu();
    EXPECT_EQ(app->m_HiScore[BestIndex(2, 9)], 30);
    EXPECT_EQ(app->m_HiScore[LastIndex(2, 0)], 30);
    EXPECT_EQ(app->m_HiScore[LastIndex(2, 1)], 120);
    EXPECT_EQ(app->m_HiScore[LastIndex(2, 9)], 40);  // the oldest fell off
}

TEST_F(SavedStateTest, ADifficultyOutOfRangeRecordsIntoTheNearestList) {
    app->m_Difficulty = 7;
    app->m_Score = 55;
    app->p_LoadMenu();
    EXPECT_EQ(app->m_HiScore[BestIndex(2, 0)], 55);
    EXPECT_EQ(app->m_HiScore[LastIndex(2, 0)], 55);
    for (int i = LastIndex(2, 10); i < 150; ++i) EXPECT_EQ(app->m_HiScore[i], 0) << i;
    app->m_Difficulty = 0;
    app->p_LoadMenu();
    EXPECT_EQ(app->m_HiScore[BestIndex(0, 0)], 55);
}

TEST_F(SavedStateTest, SuspendingSavesTheTables) {
    app->m_HiScore[BestIndex(1, 2)] = 4321;
    app->p_OnSuspend();
    EXPECT_EQ(SplitFields(Stored())[56 + 4], "4321");
    app->p_OnResume();
}

// The couch settings: keyboard split, levels and the binding tables.
struct Couch {
    int split, music, effects;
    std::vector<int> bindings;
    bool operator==(const Couch& o) const {
        return split == o.split && music == o.music && effects == o.effects &&
               bindings == o.bindings;
    }
};

class ControlsBlockTest : public SavedStateTest {
protected:
    Couch Now() const {
        return {app->m_SplitKeyboard, app->m_MusicLevel, app->m_EffectsLevel,
                std::vector<int>(app->m_Binding.Data(), app->m_Binding.Data() + binding::kSize)};
    }
    void ChangeCouch() {
        SetKeyboardSplit(*app, 1);
        app->m_MusicLevel = 3;
        app->m_EffectsLevel = 0;
        Rebind(*app, 2, binding::ActionIndex(control::kJump), 'Q');
        Rebind(*app, 0, binding::ActionIndex(control::kStrike), binding::ButtonCode(pad::kY));
    }
};

TEST_F(ControlsBlockTest, TodaysFormatLoadsEverythingUnchangedWithDefaultControls) {
    const Couch defaults = Now();
    std::vector<std::string> f;
    const Tables tables = FillAndSave(&f);
    f.resize(kOlderFields);  // as today's game writes it
    ChangeCouch();
    EXPECT_EQ(RestartFrom(f),
              "Settings Loaded\nBadges Loaded\nHighscores Loaded\n" + kControlsMissing);
    ExpectTables(tables);
    EXPECT_TRUE(Now() == defaults);
    // Saved again, today's fields keep their text and the controls block follows them.
    app->p_Save();
    const std::vector<std::string> again = SplitFields(Stored());
    ASSERT_EQ(again.size(), kStateFields);
    EXPECT_EQ(std::vector<std::string>(again.begin(), again.begin() + kOlderFields), f);
}

TEST_F(ControlsBlockTest, ADamagedOrLaterBlockGivesDefaultControlsOnly) {
    const Couch defaults = Now();
    FillTables();
    ChangeCouch();
    const Tables tables = Snapshot();
    app->p_Save();
    const std::vector<std::string> saved = SplitFields(Stored());
    const size_t start = kOlderFields;
    struct Damage {
        size_t field;
        std::string value;
        std::string says;
    };
    // A changed level, a changed binding, a key bound twice with its checksum made good
    // again (a binding swap never stores one), a cut block and a later version.
    const size_t up = start + 4, left = up + binding::kSlots;  // player 1's first keys
    std::vector<std::string> doubled = saved;
    doubled[left] = saved[up];
    const uint32_t change = uint32_t(std::stoi(saved[up]) - std::stoi(saved[left]));
    const uint32_t weight = uint32_t(left - start + 1);  // the checksum's weight of that field
    doubled.back() = std::to_string(int32_t(uint32_t(std::stoll(saved.back())) + weight * change));
    for (const Damage& d :
         {Damage{start + 2, "4", "Checksum Invalid"}, Damage{start + 20, "77", "Checksum Invalid"},
          Damage{start, "2", "From A Later Version"}}) {
        std::vector<std::string> f = saved;
        f[d.field] = d.value;
        EXPECT_EQ(RestartFrom(f), "Settings Loaded\nBadges Loaded\nHighscores Loaded\nControls " +
                                      d.says + ", Defaults Used\n")
            << d.field;
        EXPECT_TRUE(Now() == defaults) << d.field;
        ExpectTables(tables);
    }
    EXPECT_NE(RestartFrom(doubled).find("Controls Checksum Invalid"), std::string::npos);
    EXPECT_TRUE(Now() == defaults);
    std::vector<std::string> cut = saved;
    cut.resize(start + 50);
    EXPECT_NE(RestartFrom(cut).find("Controls Checksum Invalid"), std::string::npos);
    ExpectTables(tables);
}

// Two copies on one state, each saving without having read the other's save: badges either
// earned stay, each best-ten list is the best ten of both, each last-ten list the one a round
// was recorded in since, settings and controls the saver's; a damaged block gives nothing.
TEST_F(ControlsBlockTest, TwoCopiesSavingInTurnKeepWhatTheOtherRecorded) {
    FillTables();
    for (int i = 0; i < 30; ++i) app->m_HiScore[i] = 90000 - 1000 * i;  // best lists in order
    app->p_Save();
    StartAgain();
    c_MyApp* const a = app;
    StartAgain();
    c_MyApp* const b = app;
    Tables expected = Snapshot();
    // In the copy `app` is: a round that beats every score, a badge and a setting.
    const auto play = [&](int difficulty, int score, int badge, int sound) {
        app->m_Badge[badge] = expected.badge[badge] = true;
        app->m_Setting[setting::kSoundMode] = expected.setting[setting::kSoundMode] = sound;
        app->m_Difficulty = difficulty;
        app->m_Score = score;
        app->p_LoadMenu();
        for (int list : {BestIndex(difficulty - 1, 0), LastIndex(difficulty - 1, 0)}) {
            std::copy_backward(&expected.hi[list], &expected.hi[list + 9], &expected.hi[list + 10]);
            expected.hi[list] = score;
        }
    };
    play(2, 999999, 7, sound_mode::kOff);
    app = a;
    ChangeCouch();
    play(3, 888888, 9, sound_mode::kEffects);
    ExpectTables(expected);
    EXPECT_EQ(SplitFields(Stored())[kOlderFields + 1], "1");  // a's keyboard split
    app = b;
    b->p_Save();  // b has read nothing since its own save
    expected.setting[setting::kSoundMode] = sound_mode::kOff;
    ExpectTables(expected);
    std::vector<std::string> damaged = SplitFields(Stored());
    damaged[27] = "-1";       // every badge of word 1, its checksum not made good
    damaged[35] = "7777777";  // a best score of Easy, likewise
    Store(Join(damaged));
    b->p_Save();
    ExpectTables(expected);
}

// A later build's controls block comes back word for word behind today's fields, also when
// it reaches the state from another copy's save.
TEST_F(ControlsBlockTest, ALaterBuildsBlockIsWrittenBackWordForWord) {
    const std::string later =
        R"(0|0|0|7|0|3|0|0|0|0|100|120|20|1|1|0|0|0|0|0|5|0|0|0|0|2723|1|-2147483648|5|0|0|0|0|12345|-2147471297|0|37570|7919|45489|15838|53408|23757|61327|31676|69246|39595|77165|47514|85084|55433|93003|63352|922|71271|8841|7526065|79190|16760|87109|24679|95028|32598|2947|40517|10866|48436|18785|56355|26704|64274|34623|72193|42542|80112|50461|88031|8520420|58380|95950|66299|3869|74218|11788|82137|19707|90056|27626|97975|35545|5894|43464|13813|51383|21732|59302|29651|67221|8198575|37570|0|45489|0|53408|0|61327|0|69246|0|77165|0|85084|0|93003|0|922|0|8841|0|4375785|16760|0|24679|0|32598|0|40517|0|48436|0|56355|0|64274|0|72193|0|80112|0|88031|0|5106935|95950|0|3869|0|11788|0|19707|0|27626|0|35545|0|43464|0|51383|0|59302|0|67221|0|3738085|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|2|0|4|6|264|38|87|0|0|0|0|265|37|65|0|0|0|0|266|39|68|0|0|0|0|267|40|83|0|0|0|0|256|90|74|32|13|0|0|257|88|75|17|0|0|0|262|263|270|27|8|46|192|265|0|0|0|0|0|0|264|0|0|0|0|0|0|266|0|0|0|0|0|0|267|0|0|0|0|0|0|256|0|0|0|0|0|0|257|0|0|0|0|0|0|262|263|270|0|0|0|0|264|0|0|0|0|0|0|265|0|0|0|0|0|0|266|0|0|0|0|0|0|267|0|0|0|0|0|0|256|0|0|0|0|0|0|257|0|0|0|0|0|0|262|263|270|0|0|0|0|265|0|0|0|0|0|0|264|0|0|0|0|0|0|266|0|0|0|0|0|0|267|0|0|0|0|0|0|256|0|0|0|0|0|0|257|0|0|0|0|0|0|262|263|270|0|0|0|0|42|43|1044438|)";
    const std::string block = later.substr(later.find("|2|0|4|6|264|") + 1);
    const auto keptBehindToday = [&] {
        return SplitFields(Stored()).size() == kOlderFields + SplitFields(block).size() &&
               Stored().substr(Stored().size() - block.size()) == block;
    };
    app->p_Save();
    const std::string ours = Stored();
    Store(later);
    EXPECT_EQ(Restart(),
              "Settings Loaded\nBadges Loaded\nHighscores Loaded\n"
              "Controls From A Later Version, Defaults Used\n");
    app->m_Badge[3] = true;
    ChangeCouch();
    app->p_Save();
    EXPECT_TRUE(keptBehindToday());
    EXPECT_EQ(SplitFields(Stored())[26], "9");  // badges 0 and 3
    // A copy that read today's block saves after the later build has.
    Store(ours);
    Restart();
    Store(later);
    app->p_Save();
    EXPECT_TRUE(keptBehindToday());
}

// A save killed while it writes (the file size limit stops it part way) leaves the state
// as it was; the next whole save holds the new settings, which survive a restart.
TEST_F(ControlsBlockTest, AKilledSaveLeavesTheOldStateAndTheNextSaveTheNew) {
    FillTables();
    const Tables tables = Snapshot();
    app->p_Save();
    const std::string before = Stored();
    const Couch old = Now();
    ChangeCouch();
    const Couch changed = Now();
    const pid_t child = fork();
    if (child == 0) {
        const struct rlimit small = {300, 300};
        setrlimit(RLIMIT_CORE, &small);
        setrlimit(RLIMIT_FSIZE, &small);
        signal(SIGXFSZ, SIG_DFL);
        app->p_Save();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the save was not cut short";
    EXPECT_EQ(Stored(), before);
    Restart();
    EXPECT_TRUE(Now() == old);
    ChangeCouch();
    app->p_Save();
    EXPECT_EQ(Restart(), "Settings Loaded\nBadges Loaded\nHighscores Loaded\n");
    EXPECT_TRUE(Now() == changed);
    ExpectTables(tables);
}

}  // namespace
