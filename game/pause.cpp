// Pause panel of a round.
#include "game/my_app.h"

int c_MyApp::p_PauseMenu() { return 0; }
