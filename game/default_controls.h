// The controls' default keys and buttons, written once in default_controls.cpp: player
// 1's whole keyboard, the halves of a keyboard split between players 1 and 2, and every
// player's own pad. The menus answer to the whole keyboard and every pad's defaults
// whatever is bound; the binding tables start from them (game/bindings.h).
#pragma once

namespace default_controls {
enum Layout { kWholeKeyboard, kLeftHalf, kRightHalf, kPad };
constexpr int kMostCodes = 4;  // codes a control has in one layout at most
// The layout's codes for a control (control::), kMostCodes of them with 0 after the last,
// in the order a binding table takes them (the first is the one shown): keys by their key
// codes, buttons as binding::ButtonCode names them.
const int* Codes(int layout, int control);
}  // namespace default_controls
