// Score display and the placing texts shared with the menu and the game-over panel.
#include "game/my_app.h"

int c_MyApp::p_ScoreDisplay() { return 0; }
String c_MyApp::p_Nth(int n) { return String(); }
String c_MyApp::p_MyNth() { return String(); }
String c_MyApp::p_rstr(int value, int width, String pad) { return String(); }
