// The "P1".."P4" tags over the joined players' fighters, so friends sharing the screen
// each find their own at a glance, knocked out or not.
#pragma once

class c_MyApp;

// Draws each joined player's tag just above its picture, over every fighter; tags that
// would overlap are nudged apart sideways, as little as they can be, within the screen.
void DrawPlayerTags(c_MyApp& g);
