// The bar under a row of the front end's lists (the options box, the Controls screen):
// lit under the cursor's row.
#pragma once

#include "game/my_app.h"

inline void DrawRowBar(c_MyApp& g, bool chosen, float x, float y, float w, float h) {
    g.p_SetCol(0, chosen ? 180 : 0, chosen ? 255 : 160, 0.5f);
    g.p_SetSize(1);
    g.p_Rect(x, y, w, h);
}
