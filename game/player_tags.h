// The "P1".."P4" tags over the joined players' fighters, so friends sharing the screen
// each find their own at a glance, knocked out or not.
#pragma once

class c_MyApp;

// A tag's plate, in virtual units: its player, its middle and top, and the middle it would
// have alone.
struct TagPlate {
    int player;
    float x, top, wanted;
};
constexpr float kTagW = 20, kTagH = 13;

// Draws each joined player's tag just above its picture, over every fighter.
void DrawPlayerTags(c_MyApp& g);

// Nudges up to four plates apart sideways, as little as they can be: plates at heights that
// meet share a row, in the order of their wanted middles, within a screen `width` wide.
void SpreadTags(TagPlate* plates, int count, float width);
