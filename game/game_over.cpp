// Game-over panel, badge texts and badge pop-ups.
#include "game/my_app.h"

int c_MyApp::p_GameOver() { return 0; }
String c_MyApp::p_BadgeID(int n) { return String(); }
String c_MyApp::p_BadgeName(int n) { return String(); }
String c_MyApp::p_BadgeDetail(int n) { return String(); }
int c_MyApp::p_ShowBadges() { return 0; }
