// The options gear: three parts of one picture turning at their own rates, drawn where
// the options open (the title menu, the options box, the pause panel).
#pragma once

class c_MyApp;

// Draws the gear at (x, y) with the current size, colour and alpha, each part turned by
// its own angle in degrees; leaves the rotation at 0.
void DrawGear(c_MyApp& g, float x, float y, float bigTurn, float smallTurn, float nutTurn);
