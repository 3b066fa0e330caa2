// Round of play: set-up, one update of the round, placing fighters.
#include "game/my_app.h"

int c_MyApp::p_LoadGame() { return 0; }
int c_MyApp::p_Game() { return 0; }
int c_MyApp::p_AddPlayer(int r, float x, float y) { return 0; }
