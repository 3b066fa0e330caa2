// The application's socket: asynchronous connect, send and receive whose results arrive as
// callbacks from the event pump on the main thread.
#pragma once

#include "net/async_event.h"
#include "net/async_ops.h"
#include "net/async_queue.h"
#include "net/native_socket.h"

class c_Socket : public Object, public c_IAsyncEventSource {
public:
    enum { kOpen = 1, kBound = 2, kConnected = 4, kListening = 8 };

    // "stream", "server" or "datagram"; anything else raises "Illegal socket protocol".
    c_Socket* m_new(const String& protocol);
    c_Socket* m_new2(QvSocket* socket, int proto, int state);
    void mark() override;

    // Creates the two queues and registers the socket as an event source for good.
    int p_Start();
    bool p_IsOpen() const { return (m_state & kOpen) != 0; }
    bool p_IsConnected() const { return (m_state & kConnected) != 0; }
    bool p_IsListening() const { return (m_state & kListening) != 0; }
    int p_OnConnectComplete2();

    // Each is ignored, without a callback, in the wrong state.
    int p_ConnectAsync(const String& host, int port, c_IOnConnectComplete* onComplete);
    int p_SendAsync(c_DataBuffer* data, int offset, int count, c_IOnSendComplete* onComplete);
    int p_ReceiveAsync(c_DataBuffer* data, int offset, int count, c_IOnReceiveComplete* onComplete);
    int p_UpdateAsyncEvents() override;
    // State 0 at once. Operations already enqueued still complete; their workers are woken
    // and the handle is released once none of them can touch it any more.
    int p_Close();

    int p_State() const { return m_state; }
    QvSocket* p_Native() const { return m_socket; }

private:
    bool QueuesBusy() const;
    int ReleaseHandleWhenIdle();

    QvSocket* m_socket = nullptr;
    int m_proto = 0;
    int m_state = 0;
    c_AsyncQueue* m_readQueue = nullptr;
    c_AsyncQueue* m_writeQueue = nullptr;
    bool m_closePending = false;
};
