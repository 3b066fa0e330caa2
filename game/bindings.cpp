// The players' binding tables (see bindings.h): their defaults and rebinding.
#include "game/bindings.h"

#include <algorithm>

#include "game/default_controls.h"
#include "game/my_app.h"

using namespace binding;

namespace {

constexpr int kKeyboardPlayers = 2;  // the players a layout gives keys to

// The layout that gives `player` keys while the keyboard's split is `split`, or -1.
int KeyboardLayout(int split, int player) {
    if (split == 1 && player < kKeyboardPlayers)
        return player == 0 ? default_controls::kLeftHalf : default_controls::kRightHalf;
    return split != 1 && player == 0 ? default_controls::kWholeKeyboard : -1;
}
// Calls visit(action, code) for each code the layout (none when -1) gives an action.
template <class Visit>
void ForEachCode(int layout, Visit visit) {
    for (int a = 0; a < kActionCount && layout >= 0; ++a) {
        const int* codes = default_controls::Codes(layout, kActions[a]);
        for (int i = 0; i < default_controls::kMostCodes; ++i) {
            if (codes[i] != kEmpty) visit(a, codes[i]);
        }
    }
}

// Empty slots go last, the others keep their order.
void Compact(int* slots) {
    std::stable_partition(slots, slots + kSlots, [](int c) { return c != kEmpty; });
}

void Add(int* slots, int code) {
    int* free = std::find(slots, slots + kSlots, kEmpty);
    if (free != slots + kSlots) *free = code;
}

// Empties the action's codes of the kind `buttons` names; returns the first of them.
int Clear(int* slots, bool buttons) {
    int first = kEmpty;
    for (int i = 0; i < kSlots; ++i) {
        if (slots[i] == kEmpty || IsButton(slots[i]) != buttons) continue;
        if (first == kEmpty) first = slots[i];
        slots[i] = kEmpty;
    }
    Compact(slots);
    return first;
}

void ResetKeys(c_MyApp& g, int player) {
    for (int a = 0; a < kActionCount; ++a) Clear(BindingSlots(g, player, a), false);
    ForEachCode(KeyboardLayout(g.m_SplitKeyboard, player),
                [&](int a, int code) { Add(BindingSlots(g, player, a), code); });
}

// Takes `code` off every action of the player; true when one held it.
bool RemoveFromPlayer(c_MyApp& g, int player, int code) {
    bool held = false;
    for (int a = 0; a < kActionCount; ++a) {
        int* slots = BindingSlots(g, player, a);
        int* found = std::find(slots, slots + kSlots, code);
        if (found == slots + kSlots) continue;
        *found = kEmpty;
        Compact(slots);
        held = true;
    }
    return held;
}

// Takes `code` off every player but `player`; the first that held it, or -1.
int TakeFromOthers(c_MyApp& g, int player, int code) {
    int from = -1;
    for (int p = 0; p < kPlayers; ++p) {
        if (p != player && RemoveFromPlayer(g, p, code) && from < 0) from = p;
    }
    return from;
}

// The first keyboard key bound to the player's action, or kEmpty.
int FirstKey(c_MyApp& g, int player, int action) {
    const int* slots = BindingSlots(g, player, action);
    const int* key = std::find_if(slots, slots + kSlots,
                                  [](int c) { return c != kEmpty && !IsButton(c); });
    return key == slots + kSlots ? kEmpty : *key;
}

}  // namespace

int binding::ActionIndex(int code) {
    for (int a = 0; a < kActionCount; ++a) {
        if (kActions[a] == code) return a;
    }
    return -1;
}

int* BindingSlots(c_MyApp& g, int player, int action) {
    return g.m_Binding.Data() + player * kTableSize + action * kSlots;
}

void ResetBindings(c_MyApp& g) {
    for (int p = 0; p < kPlayers; ++p) {
        std::fill(BindingSlots(g, p, 0), BindingSlots(g, p, 0) + kTableSize, kEmpty);
        ForEachCode(default_controls::kPad,
                    [&](int a, int code) { Add(BindingSlots(g, p, a), code); });
        ResetKeys(g, p);
    }
}

void SetKeyboardSplit(c_MyApp& g, int split) {
    for (int p = 0; p < kKeyboardPlayers; ++p) {
        ForEachCode(KeyboardLayout(g.m_SplitKeyboard, p),
                    [&](int, int code) { RemoveFromPlayer(g, p, code); });
    }
    g.m_SplitKeyboard = split;
    for (int p = 0; p < kKeyboardPlayers; ++p) {
        ForEachCode(KeyboardLayout(split, p), [&](int a, int code) {
            TakeFromOthers(g, p, code);
            RemoveFromPlayer(g, p, code);
            Add(BindingSlots(g, p, a), code);
        });
    }
}

int Rebind(c_MyApp& g, int player, int action, int code) {
    const int from = IsButton(code) ? -1 : TakeFromOthers(g, player, code);
    const bool buttons = IsButton(code);
    int* target = BindingSlots(g, player, action);
    const int replaced = Clear(target, buttons);
    for (int a = 0; a < kActionCount; ++a) {
        int* slots = BindingSlots(g, player, a);
        int* held = std::find(slots, slots + kSlots, code);
        if (a == action || held == slots + kSlots) continue;
        *held = replaced;
        Compact(slots);
    }
    Add(target, code);
    return from;
}

void GiveEachKeyOneOwner(c_MyApp& g) {
    for (int p = 0; p < kPlayers; ++p) {
        const int* table = BindingSlots(g, p, 0);
        for (int i = 0; i < kTableSize; ++i) {
            if (table[i] == kEmpty || IsButton(table[i])) continue;
            for (int later = p + 1; later < kPlayers; ++later) RemoveFromPlayer(g, later, table[i]);
        }
    }
}

bool BindingsValid(const Array<int>& table) {
    if (table.Length() != kSize) return false;
    for (int p = 0; p < kPlayers; ++p) {
        const int* codes = table.Data() + p * kTableSize;
        for (int i = 0; i < kTableSize; ++i) {
            const int c = codes[i];
            if (c == kEmpty) continue;
            if (!key_space::IsKeyboard(c) && !IsButton(c)) return false;
            if (KeptByTheGame(c)) return false;
            if (std::count(codes, codes + kTableSize, c) > 1) return false;
        }
    }
    return true;
}

namespace {

struct Named {
    int code;
    const char* name;
};

// Every bindable key but the letters, digits, keypad digits and function keys, whose
// names follow from their codes.
const Named kKeyNames[] = {
    {key::kBackspace, "Backspace"},
    {key::kTab, "Tab"},
    {key::kEnter, "Return"},
    {key::kShift, "Shift"},
    {key::kControl, "Ctrl"},
    {key::kEscape, "Escape"},
    {key::kSpace, "Space"},
    {key::kPageUp, "Page Up"},
    {key::kPageDown, "Page Down"},
    {key::kEnd, "End"},
    {key::kHome, "Home"},
    {key::kLeft, "Left"},
    {key::kUp, "Up"},
    {key::kRight, "Right"},
    {key::kDown, "Down"},
    {key::kInsert, "Insert"},
    {key::kDelete, "Delete"},
    {key::kNumMultiply, "Num *"},
    {key::kNumAdd, "Num +"},
    {key::kNumSubtract, "Num -"},
    {key::kNumDecimal, "Num ."},
    {key::kNumDivide, "Num /"},
    {key::kSemicolon, ";"},
    {key::kEqual, "="},
    {key::kComma, ","},
    {key::kMinus, "-"},
    {key::kPeriod, "."},
    {key::kSlash, "/"},
    {key::kGrave, "`"},
    {key::kLeftBracket, "["},
    {key::kBackslash, "\\"},
    {key::kRightBracket, "]"},
    {key::kApostrophe, "'"},
};

const char* const kButtonNames[] = {"A",     "B",    "X",  "Y",     "LB",   "RB", "Back",
                                    "Start", "Left", "Up", "Right", "Down", "LS", "RS"};

}  // namespace

String BindingName(int code) {
    if (IsButton(code)) {
        const int b = code - ButtonCode(0);
        return String("Pad ") + (b < pad::kMapped ? String(kButtonNames[b]) : String(b + 1));
    }
    if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return String::FromChar(code);
    if (code >= key::kNumpad0 && code < key::kNumpad0 + 10)
        return String("Num ") + String(code - key::kNumpad0);
    if (code >= key::kF1 && code < key::kF1 + key::kFunctionKeys)
        return String("F") + String(code - key::kF1 + 1);
    for (const Named& n : kKeyNames) {
        if (n.code == code) return n.name;
    }
    return String("Key ") + String(code);
}

String JumpKeyName(c_MyApp& g, int player) {
    const int key = FirstKey(g, player, ActionIndex(control::kJump));
    return key == kEmpty ? String() : BindingName(key);
}

String KeysInForceText(c_MyApp& g, int player) {
    bool any = false;
    for (int a = 0; a < kActionCount; ++a) any = any || FirstKey(g, player, a) != kEmpty;
    if (!any) return String();
    const auto name = [&](int control) {
        const int key = FirstKey(g, player, ActionIndex(control));
        return key == kEmpty ? String("-") : BindingName(key);
    };
    return String("Player ") + String(player + 1) + ": " + name(control::kUp) + "/" +
           name(control::kLeft) + "/" + name(control::kDown) + "/" + name(control::kRight) + ", " +
           name(control::kJump) + " jump, " + name(control::kStrike) + " strike, " +
           name(control::kBack) + " pause";
}
