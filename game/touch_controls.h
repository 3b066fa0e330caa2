// A round played by touch: player 1's controls on the screen, a stick in the bottom left
// corner and Jump and Strike in the bottom right, with a larger place to tap for the pause
// icon. They press the virtual pad, as an iCade cabinet does, so the round reads them as
// player 1's keys; taps work the game-over panel, and player 1 joins as the round starts.
#pragma once

class c_MyApp;

// Where a finger is held, in virtual units; false while it is up (game/pointer.cpp).
bool HeldFinger(const c_MyApp& g, int finger, float& x, float& y);

// Before the screens run, while the player plays by touch: presses what the fingers hold.
void PressTouchControls(c_MyApp& g);
// Over a running round, while the player plays by touch.
void DrawTouchControls(c_MyApp& g);
