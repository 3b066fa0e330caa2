#include "net/async_ops.h"

#include <string>

#include "net/interface_ref.h"
#include "net/native_socket.h"
#include "net/socket.h"

c_AsyncOp* c_AsyncOp::m_new() { return this; }

c_AsyncConnectOp* c_AsyncConnectOp::m_new(QvSocket* socket, const String& host, int port,
                                          c_IOnConnectComplete* onComplete) {
    gc_assign(m_socket, socket);
    m_host = host;
    m_port = port;
    gc_assign_interface(m_onComplete, onComplete);
    return this;
}

c_AsyncConnectOp* c_AsyncConnectOp::m_new2() { return this; }

void c_AsyncConnectOp::mark() {
    gc_mark_q(m_socket);
    gc_mark_interface(m_onComplete);
}

int c_AsyncConnectOp::p_Complete(c_Socket* source) {
    // A socket closed while the connect was under way stays closed.
    m_connected = m_connected && source->p_IsOpen();
    if (m_connected) source->p_OnConnectComplete2();
    if (m_onComplete) m_onComplete->p_OnConnectComplete(m_connected, source);
    return 0;
}

int c_AsyncConnectOp::p_Execute__UNSAFE__(c_Socket* source) {
    // The characters are read, never the string's shared reference count.
    std::string host;
    for (int i = 0; i < m_host.Length(); ++i) host += char(m_host[i] & 0xFF);
    m_connected = m_socket->ConnectBytes(host, m_port);
    return 0;
}

c_AsyncSocketIoOp* c_AsyncSocketIoOp::m_new(QvSocket* socket, c_DataBuffer* data, int offset,
                                            int count) {
    gc_assign(m_socket, socket);
    gc_assign(m_data, data);
    m_offset = offset;
    m_count = count;
    return this;
}

c_AsyncSocketIoOp* c_AsyncSocketIoOp::m_new2() { return this; }

void c_AsyncSocketIoOp::mark() {
    gc_mark_q(m_socket);
    gc_mark_q(m_data);
}

c_AsyncSendOp* c_AsyncSendOp::m_new(QvSocket* socket, c_DataBuffer* data, int offset, int count,
                                    c_IOnSendComplete* onComplete) {
    c_AsyncSocketIoOp::m_new(socket, data, offset, count);
    gc_assign_interface(m_onComplete, onComplete);
    return this;
}

c_AsyncSendOp* c_AsyncSendOp::m_new2() { return this; }

void c_AsyncSendOp::mark() {
    c_AsyncSocketIoOp::mark();
    gc_mark_interface(m_onComplete);
}

int c_AsyncSendOp::p_Complete(c_Socket* source) {
    if (m_onComplete) m_onComplete->p_OnSendComplete(m_data, m_offset, m_count, source);
    return 0;
}

int c_AsyncSendOp::p_Execute__UNSAFE__(c_Socket* source) {
    m_count = m_socket->Send(m_data, m_offset, m_count);
    return 0;
}

c_AsyncReceiveOp* c_AsyncReceiveOp::m_new(QvSocket* socket, c_DataBuffer* data, int offset,
                                          int count, c_IOnReceiveComplete* onComplete) {
    c_AsyncSocketIoOp::m_new(socket, data, offset, count);
    gc_assign_interface(m_onComplete, onComplete);
    return this;
}

c_AsyncReceiveOp* c_AsyncReceiveOp::m_new2() { return this; }

void c_AsyncReceiveOp::mark() {
    c_AsyncSocketIoOp::mark();
    gc_mark_interface(m_onComplete);
}

int c_AsyncReceiveOp::p_Complete(c_Socket* source) {
    if (m_onComplete) m_onComplete->p_OnReceiveComplete(m_data, m_offset, m_count, source);
    return 0;
}

int c_AsyncReceiveOp::p_Execute__UNSAFE__(c_Socket* source) {
    m_count = m_socket->Receive(m_data, m_offset, m_count);
    return 0;
}
