// Joining a round: a pad's jump or strike brings its player in at any time while the
// round runs; the keyboard brings in player 1. While no one has joined, and for a short
// window after the first player has, each empty player's entry point says how to join;
// once the round is under way a small line at the bottom edge says it instead. A player
// who joins while opponents are up drops in at the screen edge farther from them and
// blinks for a short while, during which blows pass it by.
#pragma once

class c_MyApp;

// Whether a press in the next round update still joins its player.
bool JoiningOpen(const c_MyApp& g);
// The round update's joining step; counts the first window down.
void JoinPlayers(c_MyApp& g);
// Brings player p (1..4) in: at its entry point, or into a fight at the far edge, protected.
void JoinPlayer(c_MyApp& g, int p);
// The prompt of every player still to join: over its entry point while the round is
// starting, at the bottom edge once it is under way.
void DrawJoinPrompts(c_MyApp& g);
// Whether player record r is still under a late joiner's protection.
bool Protected(const c_MyApp& g, int r);
// The alpha of player record r's fighter: it blinks while protected.
float ProtectionAlpha(const c_MyApp& g, int r);
