// Bindings: for each action of a round, the keyboard keys and the buttons of the player's
// own pad that hold it. One table per player, kept in c_MyApp::m_Binding and saved with
// the settings; p_PlayKey reads a player's table, so a key drives only the player it is
// bound to. A keyboard key belongs to one player (buttons are each player's own pad's):
// binding it to a player takes it from any other. Within one player's table a key or
// button holds at most one action: rebinding one that another action holds swaps the two.
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
// The function keys are the game's own (debug line, full screen, quit): never bound.
constexpr bool KeptByTheGame(int code) {
    return code >= key::kF1 && code < key::kF1 + key::kFunctionKeys;
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
// Splits the keyboard between players 1 and 2 (split 1) or gives it to player 1 (0): the
// keys the present layout gives them are taken off them, and the new layout's keys go to
// their players, from whoever held them. Every other key and every pad button stays.
void SetKeyboardSplit(c_MyApp& g, int split);
// Binds `code` to the action in place of the codes of its kind (keys or buttons) the action
// held; another action of the player that held `code` takes the first replaced one. A key
// another player held is taken from it: the result is that player, or -1.
int Rebind(c_MyApp& g, int player, int action, int code);
// A key bound for several players (as older builds allowed) stays with the first of them.
void GiveEachKeyOneOwner(c_MyApp& g);
// Whether a stored table holds only keys and buttons the players may bind, each at most
// once per player.
bool BindingsValid(const Array<int>& table);

// How a key or button reads on screen: "W", "Space", "Pad A".
String BindingName(int code);
// The first keyboard key bound to the player's jump, or the empty string when none is.
String JumpKeyName(c_MyApp& g, int player);
// The keyboard keys in force for a player in one line, the first of each action's:
// "Player 1: W/A/S/D, V jump, B strike, Escape pause"; empty when it has none.
String KeysInForceText(c_MyApp& g, int player);
