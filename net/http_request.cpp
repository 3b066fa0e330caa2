// The request's part common to every transport: opening it and its body.
#include "net/http_request.h"

#include "net/interface_ref.h"

c_HttpRequest* c_HttpRequest::m_new2(const String& method, const String& url,
                                     c_IOnHttpRequestComplete* onComplete) {
    m_new();
    p_Open(method, url, onComplete);
    return this;
}

int c_HttpRequest::p_Open(const String& method, const String& url,
                          c_IOnHttpRequestComplete* onComplete) {
    m_method = method;
    gc_assign(m_url, (new c_Url)->m_new(url, String("http"), 80));
    gc_assign_interface(m_onComplete, onComplete);
    m_body = nullptr;
    m_bodyLength = 0;
    m_status = -1;
    m_responseChunks = nullptr;
    m_responseText = String();
    m_bytesReceived = 0;
    gc_assign(m_lines, (new c_StringStack)->m_new2());
    m_bodyBytes.clear();
    m_sent = m_finished = m_failed = false;

    m_lines->p_Push4(method + String(" ") + m_url->p_FullPath() + String(" HTTP/1.0"));
    m_lines->p_Push4(String("Host: ") + m_url->p_Domain());
    return 0;
}

int c_HttpRequest::p_Send2(const String& data, const String& mimeType, const String& encoding) {
    if (!m_lines || m_sent) return 0;
    gc_assign(m_body, (new c_DataBuffer)->m_new(data.Length() * 3));
    m_bodyLength = m_body->p_PokeString(0, data, encoding);
    if (!mimeType.IsEmpty()) m_lines->p_Push4(String("Content-Type: ") + mimeType);
    m_lines->p_Push4(String("Content-Length: ") + String(m_bodyLength));
    return p_Send();
}
