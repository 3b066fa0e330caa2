// The one space of key codes the host fills and the application reads: mouse buttons,
// keyboard keys (Windows virtual-key numbering), the buttons of four game-pad ports,
// touches, back and close. Every layer names these codes from here.
#pragma once

namespace key_space {
constexpr int kCount = 512;
constexpr int kMouseBase = 1;  // left, right, middle
constexpr int kFirstKeyboard = 8, kLastKeyboard = 255;
constexpr int kJoystickBase = 256;
constexpr int kPorts = 4;
constexpr int kButtonsPerPort = 32;
constexpr int kTouchBase = 384;
constexpr int kTouches = 32;  // a key each, from kTouchBase on
constexpr int kBack = 416;
constexpr int kClose = 432;

// Button b of the pad in port p.
constexpr int JoystickKey(int port, int button) {
    return kJoystickBase + kButtonsPerPort * port + button;
}
constexpr bool IsKeyboard(int code) { return code >= kFirstKeyboard && code <= kLastKeyboard; }
}  // namespace key_space

// Keyboard keys by their codes. A letter's or a digit's code is its capital or digit
// ('W', '7'); every other key the host passes on is named here once.
namespace key_code {
constexpr int kBackspace = 8, kTab = 9, kEnter = 13, kShift = 16, kControl = 17, kEscape = 27,
              kSpace = 32, kPageUp = 33, kPageDown = 34, kEnd = 35, kHome = 36, kLeft = 37,
              kUp = 38, kRight = 39, kDown = 40, kInsert = 45, kDelete = 46;
constexpr int kNumpad0 = 96, kNumMultiply = 106, kNumAdd = 107, kNumSubtract = 109,
              kNumDecimal = 110, kNumDivide = 111;  // the keypad's digits follow kNumpad0
constexpr int kF1 = 112, kFunctionKeys = 12;        // F1 to F12
constexpr int kSemicolon = 186, kEqual = 187, kComma = 188, kMinus = 189, kPeriod = 190,
              kSlash = 191, kGrave = 192, kLeftBracket = 219, kBackslash = 220, kRightBracket = 221,
              kApostrophe = 222;
}  // namespace key_code

// A pad's buttons in the application's fixed layout, whatever the pad: the window
// system's gamepads and raw pads are both mapped to this order.
namespace pad_button {
constexpr int kA = 0, kB = 1, kX = 2, kY = 3, kLeftShoulder = 4, kRightShoulder = 5, kBack = 6,
              kStart = 7, kLeft = 8, kUp = 9, kRight = 10, kDown = 11, kLeftThumb = 12,
              kRightThumb = 13;
constexpr int kMapped = 14;  // buttons the layout names; the rest of the 32 stay up
}  // namespace pad_button

// A pad's axes in the fixed layout: both sticks' Y read positive up, triggers 0 at rest.
namespace pad_axis {
constexpr int kLeftX = 0, kLeftY = 1, kLeftTrigger = 2, kRightX = 3, kRightY = 4, kRightTrigger = 5;
constexpr int kCount = 6;
constexpr int kSticks = 2;  // the application reads each stick's X, Y and trigger as Z
}  // namespace pad_axis
