// The request over a new stream socket: the head, then the body once the head went out;
// the response read until the server closes the connection.
#include "net/http_request.h"

#include "net/interface_ref.h"
#include "net/text_codec.h"

c_HttpRequest* c_HttpRequest::m_new() {
    gc_assign(m_sendBuffer, (new c_DataBuffer)->m_new(kSendBufferBytes));
    gc_assign(m_receiveBuffer, (new c_DataBuffer)->m_new(kReceiveBufferBytes));
    return this;
}

void c_HttpRequest::mark() {
    gc_mark_q(m_url);
    gc_mark_interface(m_onComplete);
    gc_mark_q(m_body);
    gc_mark_q(m_responseChunks);
    gc_mark_q(m_lines);
    gc_mark_q(m_socket);
    gc_mark_q(m_sendBuffer);
    gc_mark_q(m_receiveBuffer);
}

int c_HttpRequest::p_Send() {
    if (!m_lines || m_sent) return 0;
    m_sent = true;
    m_head = HttpResponseHead();
    gc_assign(m_socket, (new c_Socket)->m_new(String("stream")));
    m_socket->p_ConnectAsync(m_url->p_Domain(), m_url->p_Port(), this);
    return 0;
}

namespace {

// A line break inside a head line would let the URL or method smuggle in header lines.
bool HasLineBreak(const String& line) {
    for (int i = 0; i < line.Length(); ++i) {
        if (line[i] == '\r' || line[i] == '\n') return true;
    }
    return false;
}

}  // namespace

int c_HttpRequest::EncodeHead() {
    for (int i = 0; i < m_lines->p_Length2(); ++i) {
        if (HasLineBreak(m_lines->p_Get(i))) return -1;
    }
    m_lines->p_Push4(String());
    m_lines->p_Push4(String());
    String head = m_lines->p_Join(String("\r\n"));
    m_lines->p_Clear();
    if (head.Length() > kSendBufferBytes) return -1;
    return m_sendBuffer->p_PokeString(0, head, String("ascii"));
}

int c_HttpRequest::p_OnConnectComplete(bool connected, c_Socket* source) {
    if (source != m_socket || m_finished) return 0;
    if (!connected) {
        Finish(true);
        return 0;
    }
    int headLength = EncodeHead();
    if (headLength < 0) {
        Finish(true);
        return 0;
    }
    if (m_socket->p_IsConnected()) {
        m_socket->p_SendAsync(m_sendBuffer, 0, headLength, this);
        ReceiveMore();
    }
    return 0;
}

int c_HttpRequest::p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) {
    if (source != m_socket) return 0;
    if (m_bodyLength != 0 && m_socket->p_IsConnected()) {
        m_socket->p_SendAsync(m_body, 0, m_bodyLength, this);
    }
    m_bodyLength = 0;
    return 0;
}

int c_HttpRequest::p_OnReceiveComplete(c_DataBuffer* data, int offset, int count,
                                       c_Socket* source) {
    if (source != m_socket || m_finished) return 0;
    if (count <= 0) {
        // 0: the server closed the connection, the normal end of a response.
        Finish(count < 0 || !m_responseChunks);
        return 0;
    }
    const uint8_t* bytes = data->ReadPointer(offset);
    if (m_responseChunks) {
        m_bodyBytes.insert(m_bodyBytes.end(), bytes, bytes + count);
        m_bytesReceived += count;
    } else {
        ReadHead(bytes, count);
        if (m_finished) return 0;
    }
    ReceiveMore();
    return 0;
}

void c_HttpRequest::ReadHead(const uint8_t* bytes, int count) {
    int used = m_head.Feed(bytes, count);
    switch (m_head.GetState()) {
        case HttpResponseHead::State::kReading: return;
        case HttpResponseHead::State::kMalformed: Finish(true); return;
        case HttpResponseHead::State::kComplete: break;
    }
    m_status = m_head.Status();
    gc_assign(m_responseChunks, (new c_StringStack)->m_new2());
    for (const std::string& line : m_head.Lines()) {
        m_lines->p_Push4(
            DecodeAscii(reinterpret_cast<const uint8_t*>(line.data()), int(line.size())));
    }
    m_bodyBytes.assign(bytes + used, bytes + count);
    m_bytesReceived += count - used;
}

void c_HttpRequest::ReceiveMore() {
    m_socket->p_ReceiveAsync(m_receiveBuffer, 0, kReceiveBufferBytes, this);
}

void c_HttpRequest::Finish(bool failed) {
    m_finished = true;
    m_failed = failed;
    if (m_socket) m_socket->p_Close();
    if (m_responseChunks) {
        m_responseChunks->p_Push4(DecodeUtf8(m_bodyBytes.data(), int(m_bodyBytes.size())));
        m_responseText = m_responseChunks->p_Join(String());
    }
    m_bodyBytes.clear();
    if (m_onComplete) m_onComplete->p_OnHttpRequestComplete(this);
}
