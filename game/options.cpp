// Options box and the full-screen switch.
#include "game/my_app.h"

int c_MyApp::p_OptionBox() { return 0; }
int c_MyApp::p_FullscreenFlip() { return 0; }
