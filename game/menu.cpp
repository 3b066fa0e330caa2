// Title menu and credits.
#include "game/my_app.h"

int c_MyApp::p_Menu() { return 0; }
