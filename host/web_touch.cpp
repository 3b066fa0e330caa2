// Touch play in a browser page. The page (touch_controls.js) hands each finger on the
// canvas to the game as a touch event and says whether the player plays by touch: from a
// touch until a key or a pad button is pressed.
#include <emscripten.h>

#include "host/web_game.h"

namespace {

EM_JS(int, PageTouchPlay, (), { return Module.touchPlay ? 1 : 0; });

}  // namespace

bool QvWebGame::TouchPlay() { return PageTouchPlay() != 0; }

// A finger on the canvas, from the page: kEventTouchDown, kEventTouchUp or kEventTouchMove,
// at (x, y) in the canvas's pixels. Before the game starts there is no one to tell.
extern "C" EMSCRIPTEN_KEEPALIVE void QvPageTouch(int event, int finger, float x, float y) {
    if (QvGame::_game) QvGame::_game->TouchEvent(event, finger, x, y);
}
