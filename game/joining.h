// Joining a round: a pad's jump or strike brings its player in while no one has joined
// and for a short window after the first player has, so friends need not press in the
// same update; until then each empty player's entry point says how to join.
#pragma once

class c_MyApp;

// Whether a press in the next round update still joins its player.
bool JoiningOpen(const c_MyApp& g);
// The round update's joining step; counts the window down.
void JoinPlayers(c_MyApp& g);
// "Press A to join" above the entry point of every player still to join.
void DrawJoinPrompts(c_MyApp& g);
