#include "host/web_frame_driver.h"

#include <emscripten.h>

double QvWebFrameDriver::Now() { return emscripten_get_now() / 1000.0; }
