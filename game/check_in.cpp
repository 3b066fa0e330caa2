// Server check-in.
#include "game/my_app.h"

int c_MyApp::p_GetURL(String url, String query) { return 0; }
int c_MyApp::p_OnHttpRequestComplete(c_HttpRequest* request) { return 0; }
