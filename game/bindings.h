// Bindings: for each action of a round, the keyboard keys and the buttons of the player's
// own pad that hold it. One table per player, kept in c_MyApp::m_Binding and saved with
// the settings; p_PlayKey reads a player's table, so a key drives only the players it is
// bound to. Within one player's table a key or button holds at most one action:
// rebinding one that another action holds swaps the two.
#pragma once

#include "game/codes.h"
#include "runtime/runtime.h"

class c_MyApp;

namespace binding {
// The actions, in the order of the tables and of the Controls screen.
constexpr int kActions[] = {control::kUp,   control::kLeft,   control::kRight, control::kDown,
                            control::kJump, control::kStrike, control::kBack};
constexpr int kActionCount = 7;
// Codes per action: keyboard keys by their key codes, buttons by ButtonCode; 0 is empty.
constexpr int kSlots = 7;
constexpr int kEmpty = 0;
constexpr int kPlayers = pad::kPads;
constexpr int kTableSize = kActionCount * kSlots;
constexpr int kSize = kPlayers * kTableSize;

// Button b of the player's own pad, named as pad 1's key code names it.
constexpr int ButtonCode(int button) { return key_space::JoystickKey(0, button); }
constexpr bool IsButton(int code) {
    return code >= ButtonCode(0) && code < ButtonCode(pad::kButtonsPerPad);
}
// A key an iCade cabinet types: while iCade input is on it is read as letters, not keys.
constexpr bool TypedByCabinet(int code) {
    return (code >= 'A' && code <= 'Z') || code == key::kGrave;
}

// The action's place in kActions, or -1 when the code is none of them.
int ActionIndex(int code);
}  // namespace binding

// The codes bound to one action of one player (binding::kSlots of them).
int* BindingSlots(c_MyApp& g, int player, int action);
// Every table as the README describes the controls, for the keyboard's present split.
void ResetBindings(c_MyApp& g);
// The keys of players 1 and 2 as the present split gives them; pad buttons stay.
void ResetKeyboardBindings(c_MyApp& g);
// Binds `code` to the action in place of the codes of its kind (keys or buttons) the action
// held; another action of the player that held `code` takes the first replaced one.
void Rebind(c_MyApp& g, int player, int action, int code);
// Whether a stored table holds only keys and buttons, each at most once per player.
bool BindingsValid(const Array<int>& table);

// How a key or button reads on screen: "W", "Space", "Pad A".
String BindingName(int code);
// The first keyboard key bound to the player's jump, or the empty string when none is.
String JumpKeyName(c_MyApp& g, int player);
// Player `player`'s half of the split keyboard (0 or 1) in one line, from its defaults.
String SplitKeysText(int player);
