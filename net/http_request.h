// A minimal HTTP/1.0 client: one request per send over a new stream socket; the whole
// response body is collected and handed to a completion callback on the main thread once
// the server closes the connection.
#pragma once

#include <cstdint>
#include <vector>

#include "net/async_ops.h"
#include "net/data_buffer.h"
#include "net/http_request_complete.h"
#include "net/http_response_head.h"
#include "net/socket.h"
#include "net/string_stack.h"
#include "net/url.h"

class c_HttpRequest : public Object,
                      public c_IOnConnectComplete,
                      public c_IOnSendComplete,
                      public c_IOnReceiveComplete {
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
    // The request head lines until they are sent; then the response head lines read.
    c_StringStack* p_Lines() const { return m_lines; }

    int p_OnConnectComplete(bool connected, c_Socket* source) override;
    int p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) override;
    int p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) override;

private:
    // Encodes the head into the send buffer; -1 when it cannot be sent as it is.
    int EncodeHead();
    void ReceiveMore();
    void ReadHead(const uint8_t* bytes, int count);
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
    c_Socket* m_socket = nullptr;
    c_DataBuffer* m_sendBuffer = nullptr;
    c_DataBuffer* m_receiveBuffer = nullptr;

    HttpResponseHead m_head;
    // Body bytes as received: decoded once at the end, so a character split between two
    // receives still decodes as one.
    std::vector<uint8_t> m_bodyBytes;
    bool m_sent = false;
    bool m_finished = false;
    bool m_failed = false;
};
