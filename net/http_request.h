// A minimal HTTP/1.0 client: one request per send; the whole response body is collected
// and handed to a completion callback on the main thread, from the event pump. On the
// desktop the request goes over a new stream socket and ends when the server closes the
// connection (http_request.cpp). A browser has no raw sockets: there it goes through the
// browser's fetch (http_request_fetch.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "net/data_buffer.h"
#include "net/http_request_complete.h"
#include "net/string_stack.h"
#include "net/url.h"
#if !defined(__EMSCRIPTEN__)
#include "net/async_ops.h"
#include "net/http_response_head.h"
#include "net/socket.h"
#endif

#if defined(__EMSCRIPTEN__)
class c_HttpRequest : public Object {
#else
class c_HttpRequest : public Object,
                      public c_IOnConnectComplete,
                      public c_IOnSendComplete,
                      public c_IOnReceiveComplete {
#endif
public:
    static constexpr int kSendBufferBytes = 4096;
    static constexpr int kReceiveBufferBytes = 16384;

    c_HttpRequest* m_new();
    c_HttpRequest* m_new2(const String& method, const String& url,
                          c_IOnHttpRequestComplete* onComplete);
    void mark() override;

    // Prepares (or resets) the request; sends nothing.
    int p_Open(const String& method, const String& url, c_IOnHttpRequestComplete* onComplete);
    // Sends the request once per p_Open; later calls are ignored.
    int p_Send();
    // Sends the request with `data` encoded as "utf8" or "ascii" as its body.
    int p_Send2(const String& data, const String& mimeType, const String& encoding);
    int p_Status() const { return m_status; }
    String p_ResponseText() const { return m_responseText; }
    int p_BytesReceived() const { return m_bytesReceived; }
    // True when the request ended on an error: no connection, a head that could not be
    // sent, a malformed response head or a failed receive.
    bool p_Failed() const { return m_failed; }
    // The request head lines until they are sent; then the response head lines read (in a
    // browser, which keeps the status line to itself, the header lines alone).
    c_StringStack* p_Lines() const { return m_lines; }

#if defined(__EMSCRIPTEN__)
    // Main thread, from the event pump: fetch `fetchId` ended with this status, these header
    // lines (one a line) and this body; `failed` when no response came (refused,
    // unreachable, not allowed to be read by the page).
    void FetchComplete(int fetchId, bool failed, int status, const std::string& head,
                       std::vector<uint8_t> body);
#else
    int p_OnConnectComplete(bool connected, c_Socket* source) override;
    int p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) override;
    int p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) override;
#endif

private:
#if !defined(__EMSCRIPTEN__)
    // Encodes the head into the send buffer; -1 when it cannot be sent as it is.
    int EncodeHead();
    void ReceiveMore();
    void ReadHead(const uint8_t* bytes, int count);
#endif
    void Finish(bool failed);

    String m_method;
    c_Url* m_url = nullptr;
    c_IOnHttpRequestComplete* m_onComplete = nullptr;
    c_DataBuffer* m_body = nullptr;
    int m_bodyLength = 0;
    int m_status = 0;
    c_StringStack* m_responseChunks = nullptr;
    String m_responseText;
    int m_bytesReceived = 0;
    c_StringStack* m_lines = nullptr;
#if !defined(__EMSCRIPTEN__)
    c_Socket* m_socket = nullptr;
    c_DataBuffer* m_sendBuffer = nullptr;
    c_DataBuffer* m_receiveBuffer = nullptr;

    HttpResponseHead m_head;
#else
    // The fetch this request waits for; later ones get other ids.
    int m_fetchId = 0;
#endif
    // Body bytes as received: decoded once at the end, so a character split between two
    // receives still decodes as one.
    std::vector<uint8_t> m_bodyBytes;
    bool m_sent = false;
    bool m_finished = false;
    bool m_failed = false;
};
