// The controls' default keys and buttons (see default_controls.h).
#include "game/default_controls.h"

#include "game/bindings.h"
#include "game/codes.h"
#include "game/strike_modifier.h"

namespace default_controls {
namespace {

using namespace control;

constexpr int Button(int button) { return binding::ButtonCode(button); }

// Each control's codes in the four layouts, in the order of Layout. The whole keyboard is
// player 1's while it is not split. Split, player 1 has the left half and player 2 the
// right: each player's keys lie on three rows (and the arrows' own block), so a diagonal,
// a jump and a strike held together press at most two keys of a row, and no modifier is
// used. The last five controls are no action of a round: only the menus read them.
struct Row {
    int control;
    int codes[kPad + 1][kMostCodes];
};
const Row kRows[] = {
    {kUp, {{key::kUp, 'W'}, {'W'}, {key::kUp}, {Button(pad::kUp)}}},
    {kLeft, {{key::kLeft, 'A'}, {'A'}, {key::kLeft}, {Button(pad::kLeft)}}},
    {kRight, {{key::kRight, 'D'}, {'D'}, {key::kRight}, {Button(pad::kRight)}}},
    {kDown, {{key::kDown, 'S'}, {'S'}, {key::kDown}, {Button(pad::kDown)}}},
    {kJump, {{'Z', 'J', key::kSpace, key::kEnter}, {'V'}, {'O'}, {Button(pad::kA)}}},
    {kStrike, {{'X', 'K', binding::kStrikeModifier}, {'B'}, {'P'}, {Button(pad::kB)}}},
    {kBack,
     {{key::kEscape, key::kBackspace, key::kDelete, key::kGrave},
      {key::kEscape},
      {key::kBackspace},
      {Button(pad::kBack), Button(pad::kStart), Button(pad::kExtra)}}},
    {kButtonX, {{'C', 'L', key::kShift}, {}, {}, {Button(pad::kX)}}},
    {kButtonY, {{'V', 'I'}, {}, {}, {Button(pad::kY)}}},
    {kLeftShoulder, {{'B', 'U'}, {}, {}, {Button(pad::kLeftShoulder)}}},
    {kRightShoulder, {{'N', 'O'}, {}, {}, {Button(pad::kRightShoulder)}}},
    {kPadStart, {{}, {}, {}, {Button(pad::kStart)}}},  // a pad's Start starts a round
};

}  // namespace

const int* Codes(int layout, int control) {
    static const int kNone[kMostCodes] = {};
    for (const Row& row : kRows) {
        if (row.control == control) return row.codes[layout];
    }
    return kNone;
}

}  // namespace default_controls
