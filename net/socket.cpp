#include "net/socket.h"

namespace {

int ProtocolNumber(const String& protocol) {
    if (protocol == String("stream")) return QvSocket::kStream;
    if (protocol == String("server")) return QvSocket::kServer;
    if (protocol == String("datagram")) return QvSocket::kDatagram;
    qvError("Illegal socket protocol");
}

}  // namespace

c_Socket* c_Socket::m_new(const String& protocol) {
    int proto = ProtocolNumber(protocol);
    QvSocket* native = new QvSocket;
    if (!native->Open(proto)) qvError("Socket open failed");
    gc_assign(m_socket, native);
    m_proto = proto;
    m_state = kOpen;
    p_Start();
    return this;
}

c_Socket* c_Socket::m_new2(QvSocket* socket, int proto, int state) {
    gc_assign(m_socket, socket);
    m_proto = proto;
    m_state = state;
    p_Start();
    return this;
}

void c_Socket::mark() {
    gc_mark_q(m_socket);
    gc_mark_q(m_readQueue);
    gc_mark_q(m_writeQueue);
}

int c_Socket::p_Start() {
    gc_assign(m_readQueue, (new c_AsyncQueue)->m_new(this));
    gc_assign(m_writeQueue, (new c_AsyncQueue)->m_new(this));
    qv_asyncevent_AddAsyncEventSource(this);
    return 0;
}

int c_Socket::p_OnConnectComplete2() {
    m_state |= kBound | kConnected;
    return 0;
}

int c_Socket::p_ConnectAsync(const String& host, int port, c_IOnConnectComplete* onComplete) {
    if (!p_IsOpen() || p_IsConnected() || p_IsListening()) return 0;
    m_readQueue->p_Enqueue((new c_AsyncConnectOp)->m_new(m_socket, host, port, onComplete));
    return 0;
}

int c_Socket::p_SendAsync(c_DataBuffer* data, int offset, int count,
                          c_IOnSendComplete* onComplete) {
    if (!p_IsConnected()) return 0;
    m_writeQueue->p_Enqueue((new c_AsyncSendOp)->m_new(m_socket, data, offset, count, onComplete));
    return 0;
}

int c_Socket::p_ReceiveAsync(c_DataBuffer* data, int offset, int count,
                             c_IOnReceiveComplete* onComplete) {
    if (!p_IsConnected()) return 0;
    m_readQueue->p_Enqueue(
        (new c_AsyncReceiveOp)->m_new(m_socket, data, offset, count, onComplete));
    return 0;
}

int c_Socket::p_UpdateAsyncEvents() {
    m_readQueue->p_UpdateAsyncEvents();
    m_writeQueue->p_UpdateAsyncEvents();
    return ReleaseHandleWhenIdle();
}

bool c_Socket::QueuesBusy() const { return m_readQueue->p_Busy() || m_writeQueue->p_Busy(); }

int c_Socket::p_Close() {
    m_state = 0;
    if (!m_socket || !m_socket->IsOpen()) return 0;
    if (QueuesBusy()) m_socket->Shutdown();
    m_closePending = true;
    return ReleaseHandleWhenIdle();
}

// Closing a handle that a worker is still using would let the number be reused under it.
int c_Socket::ReleaseHandleWhenIdle() {
    if (m_closePending && !QueuesBusy()) {
        m_socket->Close();
        m_closePending = false;
    }
    return 0;
}
