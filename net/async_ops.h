// Socket operations that run on a queue's worker thread and complete on the main thread.
#pragma once

#include "net/data_buffer.h"
#include "runtime/runtime.h"

class c_Socket;
class QvSocket;

class c_IOnConnectComplete {
public:
    virtual ~c_IOnConnectComplete() {}
    virtual int p_OnConnectComplete(bool connected, c_Socket* source) = 0;
};

class c_IOnSendComplete {
public:
    virtual ~c_IOnSendComplete() {}
    virtual int p_OnSendComplete(c_DataBuffer* data, int offset, int count, c_Socket* source) = 0;
};

class c_IOnReceiveComplete {
public:
    virtual ~c_IOnReceiveComplete() {}
    virtual int p_OnReceiveComplete(c_DataBuffer* data, int offset, int count,
                                    c_Socket* source) = 0;
};

class c_AsyncOp : public Object {
public:
    c_AsyncOp* m_new();
    // Main thread, once the operation has executed.
    virtual int p_Complete(c_Socket* source) = 0;
    // Worker thread: blocking work only, no collected allocations, no callbacks.
    virtual int p_Execute__UNSAFE__(c_Socket* source) = 0;
};

class c_AsyncConnectOp : public c_AsyncOp {
public:
    QvSocket* m_socket = nullptr;
    String m_host;
    int m_port = 0;
    c_IOnConnectComplete* m_onComplete = nullptr;
    bool m_connected = false;

    c_AsyncConnectOp* m_new(QvSocket* socket, const String& host, int port,
                            c_IOnConnectComplete* onComplete);
    c_AsyncConnectOp* m_new2();
    void mark() override;
    int p_Complete(c_Socket* source) override;
    int p_Execute__UNSAFE__(c_Socket* source) override;
};

class c_AsyncSocketIoOp : public c_AsyncOp {
public:
    QvSocket* m_socket = nullptr;
    c_DataBuffer* m_data = nullptr;
    int m_offset = 0;
    // Bytes asked for; after execution the bytes moved, 0 at an orderly close, -1 on error.
    int m_count = 0;

    c_AsyncSocketIoOp* m_new(QvSocket* socket, c_DataBuffer* data, int offset, int count);
    c_AsyncSocketIoOp* m_new2();
    void mark() override;
};

class c_AsyncSendOp : public c_AsyncSocketIoOp {
public:
    c_IOnSendComplete* m_onComplete = nullptr;

    c_AsyncSendOp* m_new(QvSocket* socket, c_DataBuffer* data, int offset, int count,
                         c_IOnSendComplete* onComplete);
    c_AsyncSendOp* m_new2();
    void mark() override;
    int p_Complete(c_Socket* source) override;
    int p_Execute__UNSAFE__(c_Socket* source) override;
};

class c_AsyncReceiveOp : public c_AsyncSocketIoOp {
public:
    c_IOnReceiveComplete* m_onComplete = nullptr;

    c_AsyncReceiveOp* m_new(QvSocket* socket, c_DataBuffer* data, int offset, int count,
                            c_IOnReceiveComplete* onComplete);
    c_AsyncReceiveOp* m_new2();
    void mark() override;
    int p_Complete(c_Socket* source) override;
    int p_Execute__UNSAFE__(c_Socket* source) override;
};
