// The heaviest round the game draws, as the round benchmark and the browser's speed
// measurement set it up in a round under way: the star-field backdrop, four players along
// the floor, every opponent record filled across the floor at spread depths (the cap Hard's
// waves grow to), every particle alive and long-lived, and no wave due. The round wears
// back down as it plays; filling it again restores it.
#pragma once

class c_MyApp;

void FillHeaviestRound(c_MyApp& app);
