// Saved settings, badges and highscores: the tables travel as one state string of
// "|"-terminated decimal fields with a checksum per block.
//
// Layout: 25 settings and their checksum; 8 badge words and their checksum; 8 highscore
// groups of 10 (best, last) pairs and a checksum each. Only groups 0..2 are read back.
// Then the controls block, which older builds never read: its version, the keyboard
// split, the Music and Effects levels, every player's binding table and a checksum. A
// block that is missing, damaged or of a later version leaves those settings at their
// defaults and touches nothing before it; a later version's block is written back as it
// was read, since this build cannot write what it holds.
//
// Every save first merges in what is stored at that moment, so copies of the game that
// share the state (two windows in one folder, two browser tabs) keep each other's
// records; see MergeStored.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "framework/app.h"
#include "game/bindings.h"
#include "game/codes.h"
#include "game/globals.h"
#include "game/my_app.h"
#include "game/table_layouts.h"

namespace {

constexpr int kSettings = setting::kCount;
constexpr int kBadgeWords = 8;
constexpr int kBadges = 32 * kBadgeWords;
constexpr int kGroupsWritten = 8;
constexpr int kGroupsRead = 3;
constexpr int kGroupPairs = high_scores::kListLength;
constexpr int kGroupFields = 2 * kGroupPairs + 1;
// Below this many fields the string holds only the badge block.
constexpr int kShortFormFields = 25;
// The controls block follows the 203 fields of the three blocks above.
constexpr int kControlsStart = kSettings + 1 + kBadgeWords + 1 + kGroupsWritten * kGroupFields;
constexpr int kControlsVersion = 1;
constexpr int kControlsValues = 3 + binding::kSize;  // split, two levels, the tables

// Every checksum wraps in 32 bits; unsigned arithmetic keeps the wrap well defined.
int32_t Wrap(uint32_t v) { return static_cast<int32_t>(v); }

uint32_t SettingsSum(const int* setting) {
    uint32_t sum = 0;
    for (int i = 0; i < kSettings; ++i) sum += uint32_t(i) * uint32_t(setting[i]);
    return sum;
}

int32_t BadgeWord(const Array<bool>& badge, int word) {
    uint32_t bits = 0;
    for (int b = 0; b < 32; ++b) {
        if (badge[32 * word + b]) bits |= uint32_t(1) << b;
    }
    return Wrap(bits);
}

// Element of the best list (first of a pair) and the last list (second) of group g.
using high_scores::BestIndex;
using high_scores::LastIndex;

uint32_t GroupSum(const int* best, const int* last, int g) {
    uint32_t sum = 0;
    for (int j = 0; j < kGroupPairs; ++j) {
        sum += uint32_t(j + 4) * uint32_t(best[j]);
        sum += uint32_t(j + g + 3) * uint32_t(last[j]);
    }
    return sum;
}

void Field(std::string& out, int32_t value) {
    out += std::to_string(value);
    out += '|';
}

// The controls block's values in their stored order.
std::vector<int> ControlsValues(const c_MyApp& app) {
    std::vector<int> v = {app.m_SplitKeyboard, app.m_MusicLevel, app.m_EffectsLevel};
    for (int i = 0; i < binding::kSize; ++i) v.push_back(app.m_Binding[i]);
    return v;
}

uint32_t ControlsSum(int version, const std::vector<int>& values) {
    uint32_t sum = uint32_t(version);
    for (size_t i = 0; i < values.size(); ++i) sum += uint32_t(i + 2) * uint32_t(values[i]);
    return sum;
}

// The fields of a stored string, as integers.
struct Fields {
    Array<String> pieces;
    int Count() const { return pieces.Length(); }
    int operator[](int i) const { return pieces[i].ToInt(); }
};

bool InRange(int v, int low, int high) { return v >= low && v <= high; }

// A field as this format writes one: an optional "-", then up to ten digits.
bool IsNumber(const String& field) {
    const int sign = field.Length() > 0 && field[0] == '-' ? 1 : 0;
    if (field.Length() == sign || field.Length() > sign + 10) return false;
    for (int i = sign; i < field.Length(); ++i) {
        if (field[i] < '0' || field[i] > '9') return false;
    }
    return true;
}

// What a stored string holds, block by block. A block is read when its checksum field is
// there; `valid` says whether the checksum holds.
struct Blocks {
    bool settingsRead = false, settingsValid = false;
    int setting[kSettings] = {};
    bool badgesRead = false, badgesValid = false;
    uint32_t badgeWord[kBadgeWords] = {};
    int groupsRead = 0;  // the groups from the first on that have their checksum field
    bool groupValid[kGroupsRead] = {};
    int best[kGroupsRead][kGroupPairs] = {};
    int last[kGroupsRead][kGroupPairs] = {};
    // Why the controls block gives way to the defaults; null when it holds.
    const char* controlsFault = "Missing";
    std::vector<int> controls;  // the block's values when it holds
    std::string later;          // a later version's block, word for word
};

void ParseSettings(const Fields& f, Blocks& b) {
    b.settingsRead = true;
    for (int i = 0; i < kSettings; ++i) b.setting[i] = f[i];
    b.settingsValid = Wrap(SettingsSum(b.setting)) == f[kSettings];
}

void ParseBadges(const Fields& f, int start, Blocks& b) {
    const int check = start + kBadgeWords;
    if (f.Count() <= check) return;
    b.badgesRead = true;
    uint32_t sum = 0;
    for (int w = 0; w < kBadgeWords; ++w) sum += b.badgeWord[w] = uint32_t(f[start + w]);
    b.badgesValid = Wrap(sum) == f[check];
}

// Groups until one lacks its checksum field.
void ParseHighscores(const Fields& f, int start, Blocks& b) {
    for (int g = 0; g < kGroupsRead; ++g, start += kGroupFields) {
        const int check = start + 2 * kGroupPairs;
        if (f.Count() <= check) return;
        for (int j = 0; j < kGroupPairs; ++j) {
            b.best[g][j] = f[start + 2 * j];
            b.last[g][j] = f[start + 2 * j + 1];
        }
        b.groupValid[g] = Wrap(GroupSum(b.best[g], b.last[g], g)) == f[check];
        b.groupsRead = g + 1;
    }
}

// A later version's block is kept as long as it is made of fields as this format writes
// them, to the end of the string.
void KeepLaterBlock(const Fields& f, Blocks& b) {
    const int end = f.Count() - 1;  // the empty piece after the last "|"
    if (!f.pieces[end].IsEmpty()) return;
    std::string later;
    for (int i = kControlsStart; i < end; ++i) {
        if (!IsNumber(f.pieces[i])) return;
        later += f.pieces[i].ToUtf8() + "|";
    }
    b.later = later;
}

void ParseControls(const Fields& f, Blocks& b) {
    const int check = kControlsStart + 1 + kControlsValues;
    if (f.Count() <= kControlsStart + 1) return;
    const int version = f[kControlsStart];
    if (version > kControlsVersion) {
        b.controlsFault = "From A Later Version";
        return KeepLaterBlock(f, b);
    }
    b.controlsFault = "Checksum Invalid";
    if (version != kControlsVersion || f.Count() <= check) return;
    std::vector<int> values(kControlsValues);
    for (int i = 0; i < kControlsValues; ++i) values[i] = f[kControlsStart + 1 + i];
    Array<int> table(binding::kSize);
    for (int i = 0; i < binding::kSize; ++i) table[i] = values[3 + i];
    const bool valid = Wrap(ControlsSum(version, values)) == f[check] && InRange(values[0], 0, 1) &&
                       InRange(values[1], 0, kLevelMax) && InRange(values[2], 0, kLevelMax) &&
                       BindingsValid(table);
    if (!valid) return;
    b.controlsFault = nullptr;
    b.controls = values;
}

Blocks Parse(const String& state) {
    const Fields f{state.Split("|")};
    Blocks b;
    int badgeStart = 0;
    if (f.Count() > kShortFormFields) {
        ParseSettings(f, b);
        badgeStart = kSettings + 1;
    }
    ParseBadges(f, badgeStart, b);
    ParseHighscores(f, badgeStart + kBadgeWords + 1, b);
    if (b.settingsRead) ParseControls(f, b);
    return b;
}

bool BadgeBit(const Blocks& b, int badge) {
    return ((b.badgeWord[badge / 32] >> (badge % 32)) & 1u) != 0;
}

void LoadSettings(c_MyApp& app, const Blocks& b) {
    if (b.settingsValid) {
        for (int i = 0; i < kSettings; ++i) app.m_Setting[i] = b.setting[i];
        qvPrint("Settings Loaded");
        return;
    }
    qvPrint("Settings Checksum Invalid");
    for (int i = 0; i < kSettings; ++i) app.m_Setting[i] = 0;
    app.m_Setting[setting::kSoundMode] = sound_mode::kEffectsAndMusic;
}

void ClampSettings(c_MyApp& app) {
    Array<int>& s = app.m_Setting;
    if (s[setting::kPadX] < 64) s[setting::kPadX] = 64;
    if (s[setting::kPadY] < 64) s[setting::kPadY] = 64;
    if (s[setting::kPadSize] <= 7) s[setting::kPadSize] = 10;
    // A hand-edited string may hold any number here; keep what the game makes of it, in
    // range: an unknown sound mode plays nothing, a stick setting other than 0 reads the
    // stick as it is.
    int& sound = s[setting::kSoundMode];
    if (sound < 0 || sound >= sound_mode::kCount) sound = sound_mode::kOff;
    for (int stick : {setting::kLeftStickY, setting::kRightStickY})
        s[stick] = s[stick] != 0 ? 1 : 0;
    s[setting::kOverscan] = 1;
    qv_Vortan_overscan = 0;
}

void LoadBadges(c_MyApp& app, const Blocks& b) {
    qvPrint(b.badgesValid ? "Badges Loaded" : "Badge Checksum Invalid");
    for (int i = 0; i < kBadges; ++i) app.m_Badge[i] = b.badgesValid && BadgeBit(b, i);
}

// A bad checksum empties only its group; a group not read keeps its values.
void LoadHighscores(c_MyApp& app, const Blocks& b) {
    for (int g = 0; g < b.groupsRead; ++g) {
        for (int j = 0; j < kGroupPairs; ++j) {
            app.m_HiScore[BestIndex(g, j)] = b.groupValid[g] ? b.best[g][j] : 0;
            app.m_HiScore[LastIndex(g, j)] = b.groupValid[g] ? b.last[g][j] : 0;
        }
    }
}

// Read quietly when sound; otherwise the console says why the defaults stand in.
void LoadControls(c_MyApp& app, const Blocks& b) {
    app.m_LaterControls = String(b.later.c_str());
    if (b.controlsFault) {
        qvPrint(String("Controls ") + b.controlsFault + ", Defaults Used");
        app.m_SplitKeyboard = 0;
        app.m_MusicLevel = kLevelMax;
        app.m_EffectsLevel = kLevelMax;
        ResetBindings(app);
        return;
    }
    app.m_SplitKeyboard = b.controls[0];
    app.m_MusicLevel = b.controls[1];
    app.m_EffectsLevel = b.controls[2];
    for (int i = 0; i < binding::kSize; ++i) app.m_Binding[i] = b.controls[3 + i];
}

int* LastList(c_MyApp& app, int g) { return app.m_HiScore.Data() + LastIndex(g, 0); }
int* StoredLastList(c_MyApp& app, int g) { return app.m_StoredLastTen.Data() + kGroupPairs * g; }

// The last-ten lists that storage holds (sound ones only), as last seen there.
void SeeStored(c_MyApp& app, const Blocks& b) {
    for (int g = 0; g < b.groupsRead; ++g) {
        if (b.groupValid[g]) std::copy(b.last[g], b.last[g] + kGroupPairs, StoredLastList(app, g));
    }
}

// Places a score in a best-ten list below every score it does not beat; the tenth falls
// off. The place taken, or kGroupPairs when it beats none.
int PlaceScore(int* best, int score) {
    int place = 0;
    while (place < kGroupPairs && best[place] >= score) ++place;
    if (place < kGroupPairs) {
        std::copy_backward(best + place, best + kGroupPairs - 1, best + kGroupPairs);
        best[place] = score;
    }
    return place;
}

// Places in this copy's best-ten list the scores of the stored one that it lacks, as a
// finished round places its score; of two lists in order that gives the best ten of both.
// A score both hold is a round both copies have seen (each list grew from what was
// stored), so it is placed as often as the stored list holds it more often than this one.
void MergeBest(int* ours, const int* stored) {
    std::vector<int> unmatched(ours, ours + kGroupPairs);
    for (int j = 0; j < kGroupPairs; ++j) {
        const auto same = std::find(unmatched.begin(), unmatched.end(), stored[j]);
        if (same != unmatched.end()) {
            unmatched.erase(same);
        } else {
            PlaceScore(ours, stored[j]);
        }
    }
}

// Takes into the tables what the stored state holds that this copy has not: badges
// either has earned; each best-ten list the best ten of both; each last-ten list from
// the newer side. This copy's list is the newer when a round was recorded in it since
// storage was last seen (the save follows the round at once), the stored one otherwise
// (another copy has recorded since, or neither has). Settings and controls stay this
// copy's, except a later build's controls block, which this build could only destroy.
// Only blocks whose checksum holds are taken: a damaged or foreign file gives nothing.
void MergeStored(c_MyApp& app, const Blocks& s) {
    for (int i = 0; s.badgesValid && i < kBadges; ++i) {
        if (BadgeBit(s, i)) app.m_Badge[i] = true;
    }
    for (int g = 0; g < s.groupsRead; ++g) {
        if (!s.groupValid[g]) continue;
        MergeBest(app.m_HiScore.Data() + BestIndex(g, 0), s.best[g]);
        int* last = LastList(app, g);
        if (std::equal(last, last + kGroupPairs, StoredLastList(app, g)))
            std::copy(s.last[g], s.last[g] + kGroupPairs, last);
    }
    SeeStored(app, s);
    if (!s.later.empty()) app.m_LaterControls = String(s.later.c_str());
}

std::string StateText(const c_MyApp& app) {
    std::string out;
    out.reserve(2400);
    for (int i = 0; i < kSettings; ++i) Field(out, app.m_Setting[i]);
    Field(out, Wrap(SettingsSum(app.m_Setting.Data())));

    uint32_t badgeSum = 0;
    for (int w = 0; w < kBadgeWords; ++w) {
        const int32_t word = BadgeWord(app.m_Badge, w);
        Field(out, word);
        badgeSum += uint32_t(word);
    }
    Field(out, Wrap(badgeSum));

    const int* hi = app.m_HiScore.Data();
    for (int g = 0; g < kGroupsWritten; ++g) {
        for (int j = 0; j < kGroupPairs; ++j) {
            Field(out, hi[BestIndex(g, j)]);
            Field(out, hi[LastIndex(g, j)]);
        }
        Field(out, Wrap(GroupSum(hi + BestIndex(g, 0), hi + LastIndex(g, 0), g)));
    }

    if (!app.m_LaterControls.IsEmpty()) return out + app.m_LaterControls.ToUtf8();
    const std::vector<int> controls = ControlsValues(app);
    Field(out, kControlsVersion);
    for (int v : controls) Field(out, v);
    Field(out, Wrap(ControlsSum(kControlsVersion, controls)));
    return out;
}

// A save of the game's tables, merged with what is stored at that moment.
class TablesUpdate : public QvStateUpdate {
public:
    c_MyApp* app = nullptr;

    String Updated(const String& stored) override {
        MergeStored(*app, Parse(stored));
        const String state(StateText(*app).c_str());
        if (qv_Vortan_DebugMode == 1) qvPrint(state);
        return state;
    }
    void Stored(const String& state) override { SeeStored(*app, Parse(state)); }
};

}  // namespace

int c_MyApp::p_Save() {
    // One game object saves; a browser's storage may call back after this returns.
    static TablesUpdate update;
    update.app = this;
    qv_app_UpdateState(update);
    return 0;
}

int c_MyApp::p_Load() {
    const String state = qv_app_LoadState();
    if (qv_Vortan_DebugMode == 1) qvPrint(state);
    const Blocks b = Parse(state);
    if (b.settingsRead) LoadSettings(*this, b);
    ClampSettings(*this);
    if (b.badgesRead) LoadBadges(*this, b);
    LoadHighscores(*this, b);
    qvPrint("Highscores Loaded");
    if (b.settingsRead) LoadControls(*this, b);
    for (int g = 0; g < kGroupsRead; ++g)
        std::copy(LastList(*this, g), LastList(*this, g) + kGroupPairs, StoredLastList(*this, g));
    return 0;
}

int c_MyApp::p_LoadMenu() {
    // A difficulty outside 1..3 would address another list; it counts as the nearest one.
    const int d = high_scores::GroupOf(m_Difficulty);
    const int s = m_Score;
    int* last = m_HiScore.Data() + LastIndex(d, 0);
    const int place = PlaceScore(m_HiScore.Data() + BestIndex(d, 0), s);
    m_PlaceTaken = place < kGroupPairs ? place + 1 : 0;
    std::copy_backward(last, last + kGroupPairs - 1, last + kGroupPairs);
    last[0] = s;
    p_Save();
    return 0;
}
