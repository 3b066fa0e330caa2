// The game's codes, named for what they are to a player: logical controls and the keys
// and pad buttons behind them, picture slots and the frames the screens pick from them,
// palette numbers, sound slots, saved-setting indices and screen modes. The game and its
// tests both name them from here; a new one is added here, next to its kin.
#pragma once

#include "host/key_space.h"

// Logical controls, as p_PlayKey and p_PlayKeyAll ask for them. Codes 0..15 also name
// the virtual pad's elements (m_ICade) that press them.
namespace control {
// The directions; in a round up walks into the screen and down out of it.
constexpr int kUp = 0, kLeft = 3, kRight = 5, kDown = 8;
constexpr int kJump = 10;           // pad A; Z, J, Space, Return: jump, join, confirm
constexpr int kStrike = 11;         // pad B; X, K, Control: strike, confirm
constexpr int kButtonX = 12;        // pad X; C, L, Shift: confirm in the menu
constexpr int kButtonY = 13;        // pad Y; V, I
constexpr int kLeftShoulder = 14;   // B, U
constexpr int kRightShoulder = 15;  // N, O
constexpr int kPadStart = 96;       // a pad's Start alone: starts a round from the title
constexpr int kPadBack = 98;        // back, but never for the keyboard alone nor with iCade on
constexpr int kBack = 99;           // Escape, grave accent, Delete, Backspace, pad back and start

// As the player asking p_PlayKey: the menus' fixed keys and the virtual pad, no game pad.
// A player's own keys are its bindings (game/bindings.h).
constexpr int kKeyboardAlone = -1;

// The menu's action keys.
constexpr int kMenuActions[] = {kJump, kStrike, kButtonX};
// Every button: any of them changes the options row under the cursor.
constexpr int kButtons[] = {kJump, kStrike, kButtonX, kButtonY, kLeftShoulder, kRightShoulder};
// Every control a player can hold, back included: one action per press waits until
// none of these is down.
constexpr int kHeld[] = {kUp,      kLeft,    kRight,        kDown,          kJump, kStrike,
                         kButtonX, kButtonY, kLeftShoulder, kRightShoulder, kBack};
}  // namespace control

// What drives the screens in this update (m_InputKind): the keyboard's action keys when a
// round starts from them, keys or pads, or the pointer while the player plays by touch.
namespace input_kind {
constexpr int kKeyboard = 0, kKeysOrPads = 1, kPointer = 2;
}  // namespace input_kind

// The virtual pad m_ICade beyond the controls' own elements: the two back buttons an
// iCade cabinet presses, the menu button the back key feeds, and the elements' states.
namespace virtual_pad {
constexpr int kBackA = 16, kBackB = 17;
constexpr int kMenu = 19;
constexpr int kLettered = 19;  // elements 0..18 are pressed by letters (and cleared with them)
constexpr int kUp = 0;
constexpr int kPressed = 1;  // for this update only
constexpr int kHeld = 2;     // until the cabinet types the release letter
}  // namespace virtual_pad

// Keys by their key codes (host/key_space.h; a letter's code is its capital, as in 'W'),
// and the function keys the game keeps for itself.
namespace key {
using namespace key_code;
constexpr int kF2 = kF1 + 1, kF4 = kF1 + 3, kF11 = kF1 + 10;
}  // namespace key

// Buttons of a game pad in the host's fixed layout; button b of pad p is key code
// key_space::JoystickKey(p, b).
namespace pad {
using namespace pad_button;
constexpr int kExtra = kMapped;  // past the fixed layout: a pad that reports it means back
constexpr int kLeftStick = 0;
constexpr int kButtonsPerPad = key_space::kButtonsPerPort;
constexpr int kPads = key_space::kPorts;
}  // namespace pad

// Picture slots (m_Img).
namespace picture {
// Fighters 1..9: players wear 1..4, opponents take turns over the four from 5; the last
// is loaded but not worn.
constexpr int kFirstFighter = 1, kLastFighter = 9;
constexpr int kFirstPlayer = 1, kFirstOpponent = 5, kOpponentLooks = 4;
constexpr int kTitleTop = 11, kTitleBottom = 12;  // the title logo's two layers
constexpr int kBadges = 80;                       // frame = badge number
constexpr int kSpareSurface = 81;                 // a blank 2048 x 2048 picture nothing draws yet
constexpr int kCircles = 85, kGlows = 86;         // large circles and glow sprites
constexpr int kFont = 90;
constexpr int kMakerLogo = 93;
constexpr int kDpad = 94, kButtons = 95;  // pad and button graphics
constexpr int kParts = 96;                // 256 small parts: sparks and stars
constexpr int kIcons = 97;
constexpr int kLogo = 98;
constexpr int kBackdrop = 99;  // one frame per round's backdrop
constexpr int kSlots = 100;
}  // namespace picture

// The frames the screens pick from some pictures.
namespace frame {
// picture::kIcons: pause, quit, "go" (resume, and the hint that a panel lies to the
// right), the cursor ring and the bonus item.
constexpr int kPauseIcon = 0, kQuitIcon = 1, kGoIcon = 3, kRingIcon = 6, kItemIcon = 11;
// picture::kButtons: the wheel's first plate (Easy; Normal and Hard follow), the options
// gear's three parts and the "Coded in" tag.
constexpr int kEasyPlate = 0, kBigGear = 8, kSmallGear = 9, kGearNut = 10, kCodedIn = 12;
// picture::kCircles: the disc under the gear and the difficulty wheel's rim.
constexpr int kHubDisc = 1, kWheelRim = 3;
// picture::kDpad: a stick's base and its knob, each also lit for a thumb on it.
constexpr int kStickBase = 5, kStickBaseLit = 6, kStickKnob = 7, kStickKnobLit = 8;
}  // namespace frame

// The font's metrics in virtual units at size 1: each character advances kAdvance, lines
// are kLineHeight apart.
namespace font {
constexpr int kAdvance = 7, kLineHeight = 10;
}  // namespace font

// Palette numbers of p_Ink; any other number is grey. Players 1..4 wear 1..4.
namespace ink {
constexpr int kRed = 1, kOrange = 2, kYellow = 3, kGreen = 4, kCyan = 5, kBlue = 6, kPurple = 7,
              kPink = 8, kWhite = 9;
}  // namespace ink

// Sound slots (m_Sfx).
namespace sound {
constexpr int kItem = 1;                      // a bonus item picked up
constexpr int kFirstBlow = 2, kLastBlow = 8;  // a landed blow sounds one of these
constexpr int kSwing = 3;                     // a player's strike starting; also a blow
constexpr int kPlayerHurt = 9;                // a blow on a player
constexpr int kPlayerDown = 10;               // a player knocked out
constexpr int kKnockOut = 11;                 // an opponent knocked out by a player
constexpr int kSpare = 95;                    // loaded with the menu pictures; no screen plays it
constexpr int kJingle = 96;                   // at start, and back on the title after a round
constexpr int kOpen = 98;                     // a menu action, pausing, resuming, quitting
constexpr int kClick = 99;                    // moving a cursor, confirming, closing
constexpr int kSlots = 100;
}  // namespace sound

// Elements of the saved settings m_Setting; the others are saved and loaded unread.
namespace setting {
constexpr int kSoundMode = 5;  // see sound_mode
// An on-screen pad's centre and size, kept for the saved string (the touch controls keep
// a place of their own); loading raises a centre below 64 to 64 and a size of 7 or less to 10.
constexpr int kPadX = 10, kPadY = 11, kPadSize = 12;
constexpr int kOverscan = 14;  // always 1 after loading; no margin is applied
// The sticks' Y: 1 used as read ("Normal"), 0 negated ("Flipped").
constexpr int kLeftStickY = 15, kRightStickY = 16;
constexpr int kCount = 25;
}  // namespace setting

// The Music and Effects levels (m_MusicLevel, m_EffectsLevel): 0 silent .. kLevelMax.
constexpr int kLevelMax = 10;

namespace sound_mode {
constexpr int kOff = 0, kEffectsAndMusic = 1, kEffects = 2, kMusic = 3;
constexpr int kCount = 4;
}  // namespace sound_mode

// The pause panel's controls, top to bottom, as its cursor (m_PauseRow) names them.
namespace pause_row {
constexpr int kQuit = -1, kResume = 0, kOptions = 1, kControls = 2;
}  // namespace pause_row

// Screen modes (m_Mode).
namespace mode {
constexpr int kMenu = 1;
constexpr int kBackFromRound = 2;  // records the score, then the menu in the same update
constexpr int kNoDebugLine = 5;    // no screen sets it; the debug line is hidden in it
constexpr int kRound = 10;
constexpr int kRoundSetUp = 11;  // the round's set-up, then the round in the same update
// Modes from the round's on are rounds: set up or under way.
inline bool InRound(int m) { return m >= kRound; }
}  // namespace mode
