// Server check-in: one GET with the game's number, answered through the event pump.
#include "game/check_in.h"

#include "game/globals.h"
#include "game/my_app.h"
#include "net/http_request.h"

String qv_Vortan_CheckInUrl("http://127.0.0.1:8080/housecall.php");

int c_MyApp::p_GetURL(String url, String query) {
    m_HttpReply = "N/A";
    c_HttpRequest* request = (new c_HttpRequest)->m_new();
    request->p_Open(String("GET"), url + String("?") + query, this);
    gc_assign(m_Http, request);
    request->p_Send();
    qvPrint("Requesting URL");
    return 0;
}

int c_MyApp::p_OnHttpRequestComplete(c_HttpRequest* request) {
    if (request != m_Http) return 0;
    qvPrint(String("Http GET complete! ") + String(request->p_Status()));
    m_HttpReply = request->p_ResponseText();
    if (!m_HttpReply.IsEmpty()) qv_Vortan_J_On_Able = 1;
    return 0;
}
