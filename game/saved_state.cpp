// Saved settings, badges and highscores: the tables travel as one state string of
// "|"-terminated decimal fields with a checksum per block.
//
// Layout: 25 settings and their checksum; 8 badge words and their checksum; 8 highscore
// groups of 10 (best, last) pairs and a checksum each. Only groups 0..2 are read back.
// Then the controls block, which older builds never read: its version, the keyboard
// split, the Music and Effects levels, every player's binding table and a checksum. A
// block that is missing, damaged or of a later version leaves those settings at their
// defaults and touches nothing before it.
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

uint32_t SettingsSum(const Array<int>& setting) {
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

uint32_t GroupSum(const Array<int>& hi, int g) {
    uint32_t sum = 0;
    for (int j = 0; j < kGroupPairs; ++j) {
        sum += uint32_t(j + 4) * uint32_t(hi[BestIndex(g, j)]);
        sum += uint32_t(j + g + 3) * uint32_t(hi[LastIndex(g, j)]);
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

void ReadSettings(c_MyApp& app, const Fields& f) {
    for (int i = 0; i < kSettings; ++i) app.m_Setting[i] = f[i];
    if (Wrap(SettingsSum(app.m_Setting)) == f[kSettings]) {
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

void ReadBadges(c_MyApp& app, const Fields& f, int start) {
    const int check = start + kBadgeWords;
    if (f.Count() <= check) return;
    uint32_t sum = 0;
    for (int w = 0; w < kBadgeWords; ++w) {
        const uint32_t bits = uint32_t(f[start + w]);
        for (int b = 0; b < 32; ++b) app.m_Badge[32 * w + b] = ((bits >> b) & 1u) != 0;
        sum += bits;
    }
    if (Wrap(sum) == f[check]) {
        qvPrint("Badges Loaded");
        return;
    }
    qvPrint("Badge Checksum Invalid");
    for (int i = 0; i < kBadges; ++i) app.m_Badge[i] = false;
}

// Reads groups until one lacks its checksum field; a bad checksum empties only its group.
void ReadHighscores(c_MyApp& app, const Fields& f, int start) {
    Array<int>& hi = app.m_HiScore;
    for (int g = 0; g < kGroupsRead; ++g, start += kGroupFields) {
        const int check = start + 2 * kGroupPairs;
        if (f.Count() <= check) return;
        for (int j = 0; j < kGroupPairs; ++j) {
            hi[BestIndex(g, j)] = f[start + 2 * j];
            hi[LastIndex(g, j)] = f[start + 2 * j + 1];
        }
        if (Wrap(GroupSum(hi, g)) != f[check]) {
            for (int j = 0; j < kGroupPairs; ++j) {
                hi[BestIndex(g, j)] = 0;
                hi[LastIndex(g, j)] = 0;
            }
        }
    }
}

void ControlsDefaults(c_MyApp& app, const char* why) {
    qvPrint(String("Controls ") + why + ", Defaults Used");
    app.m_SplitKeyboard = 0;
    app.m_MusicLevel = kLevelMax;
    app.m_EffectsLevel = kLevelMax;
    ResetBindings(app);
}

bool InRange(int v, int low, int high) { return v >= low && v <= high; }

// Read quietly when sound; a string of the older blocks alone says that the defaults
// stand in (the caller passes over a string too short for them).
void ReadControls(c_MyApp& app, const Fields& f) {
    const int check = kControlsStart + 1 + kControlsValues;
    if (f.Count() <= kControlsStart + 1) return ControlsDefaults(app, "Missing");
    const int version = f[kControlsStart];
    if (version > kControlsVersion) return ControlsDefaults(app, "From A Later Version");
    if (version != kControlsVersion || f.Count() <= check) {
        return ControlsDefaults(app, "Checksum Invalid");
    }
    std::vector<int> values(kControlsValues);
    for (int i = 0; i < kControlsValues; ++i) values[i] = f[kControlsStart + 1 + i];
    Array<int> table(binding::kSize);
    for (int i = 0; i < binding::kSize; ++i) table[i] = values[3 + i];
    const bool valid = Wrap(ControlsSum(version, values)) == f[check] && InRange(values[0], 0, 1) &&
                       InRange(values[1], 0, kLevelMax) && InRange(values[2], 0, kLevelMax) &&
                       BindingsValid(table);
    if (!valid) return ControlsDefaults(app, "Checksum Invalid");
    app.m_SplitKeyboard = values[0];
    app.m_MusicLevel = values[1];
    app.m_EffectsLevel = values[2];
    for (int i = 0; i < binding::kSize; ++i) app.m_Binding[i] = table[i];
}

}  // namespace

int c_MyApp::p_Save() {
    std::string out;
    out.reserve(2400);
    for (int i = 0; i < kSettings; ++i) Field(out, m_Setting[i]);
    Field(out, Wrap(SettingsSum(m_Setting)));

    uint32_t badgeSum = 0;
    for (int w = 0; w < kBadgeWords; ++w) {
        const int32_t word = BadgeWord(m_Badge, w);
        Field(out, word);
        badgeSum += uint32_t(word);
    }
    Field(out, Wrap(badgeSum));

    for (int g = 0; g < kGroupsWritten; ++g) {
        for (int j = 0; j < kGroupPairs; ++j) {
            Field(out, m_HiScore[BestIndex(g, j)]);
            Field(out, m_HiScore[LastIndex(g, j)]);
        }
        Field(out, Wrap(GroupSum(m_HiScore, g)));
    }

    const std::vector<int> controls = ControlsValues(*this);
    Field(out, kControlsVersion);
    for (int v : controls) Field(out, v);
    Field(out, Wrap(ControlsSum(kControlsVersion, controls)));

    const String state(out.c_str());
    if (qv_Vortan_DebugMode == 1) qvPrint(state);
    qv_app_SaveState(state);
    return 0;
}

int c_MyApp::p_Load() {
    const String state = qv_app_LoadState();
    const Fields fields{state.Split("|")};
    if (qv_Vortan_DebugMode == 1) qvPrint(state);

    int badgeStart = 0;
    if (fields.Count() > kShortFormFields) {
        ReadSettings(*this, fields);
        badgeStart = kSettings + 1;
    }
    ClampSettings(*this);
    ReadBadges(*this, fields, badgeStart);
    ReadHighscores(*this, fields, badgeStart + kBadgeWords + 1);
    qvPrint("Highscores Loaded");
    if (badgeStart > 0) ReadControls(*this, fields);
    return 0;
}

int c_MyApp::p_LoadMenu() {
    // A difficulty outside 1..3 would address another list; it counts as the nearest one.
    const int d = high_scores::GroupOf(m_Difficulty);
    const int s = m_Score;
    int* best = m_HiScore.Data() + BestIndex(d, 0);
    int* last = m_HiScore.Data() + LastIndex(d, 0);

    int place = 0;
    while (place < kGroupPairs && best[place] >= s) ++place;
    if (place < kGroupPairs) {
        std::copy_backward(best + place, best + kGroupPairs - 1, best + kGroupPairs);
        best[place] = s;
    }
    m_PlaceTaken = place < kGroupPairs ? place + 1 : 0;
    std::copy_backward(last, last + kGroupPairs - 1, last + kGroupPairs);
    last[0] = s;
    p_Save();
    return 0;
}
