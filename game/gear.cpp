// The options gear (see gear.h).
#include "game/gear.h"

#include "game/codes.h"
#include "game/my_app.h"

void DrawGear(c_MyApp& g, float x, float y, float bigTurn, float smallTurn, float nutTurn) {
    g.p_SetRot(bigTurn);
    g.p_DrawImg(picture::kButtons, x, y, frame::kBigGear);
    g.p_SetRot(smallTurn);
    g.p_DrawImg(picture::kButtons, x, y, frame::kSmallGear);
    g.p_SetRot(nutTurn);
    g.p_DrawImg(picture::kButtons, x, y, frame::kGearNut);
    g.p_SetRot(0);
}
