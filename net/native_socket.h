// Thin blocking wrappers over BSD sockets (IPv4).
#pragma once

#include <netinet/in.h>

#include <atomic>
#include <string>

#include "net/data_buffer.h"
#include "runtime/runtime.h"

class QvSocketAddress;

// Builds an IPv4 address for host and port. An empty host, or one that does not resolve,
// leaves the address 0.0.0.0 and returns false. Names under the reserved ".invalid"
// domain never resolve and are not looked up.
bool ResolveSocketAddress(const std::string& host, int port, sockaddr_in* address);

class QvSocket : public Object {
public:
    enum { kStream = 1, kServer = 2, kDatagram = 3 };

    QvSocket();
    explicit QvSocket(int handle);  // wraps an accepted connection
    ~QvSocket() override;

    static void InitSockets();

    // 1 and 2: TCP with no-delay; 3: UDP. False when open already or for other values.
    bool Open(int proto);
    // Returns the platform result, or the (negative) handle when closed already.
    int Close();
    // Ends both directions at once, waking any worker blocked on the socket; the handle
    // stays allocated until Close, so no worker ever sees it reused.
    void Shutdown();
    bool IsOpen() const { return sock.load(std::memory_order_acquire) >= 0; }

    bool Bind(const String& host, int port);
    bool Connect(const String& host, int port);
    // Worker-side connect from a private copy of the host bytes. An address that did not
    // resolve connects to nothing (Linux would take 0.0.0.0 as the local host).
    bool ConnectBytes(const std::string& host, int port);
    bool Listen(int backlog);
    bool Accept();
    QvSocket* Accepted();
    // Bytes moved, 0 at an orderly close, -1 on error or a range outside the buffer.
    int Send(QvDataBuffer* data, int offset, int count);
    int Receive(QvDataBuffer* data, int offset, int count);
    int SendTo(QvDataBuffer* data, int offset, int count, QvSocketAddress* to);
    int ReceiveFrom(QvDataBuffer* data, int offset, int count, QvSocketAddress* from);
    bool GetLocalAddress(QvSocketAddress* address);
    bool GetRemoteAddress(QvSocketAddress* address);

private:
    static bool started;
    // Read by the workers, changed only by the main thread while no operation is running.
    std::atomic<int> sock{-1};
    int proto = 0;
    int acceptedSock = -1;
};

class QvSocketAddress : public Object {
public:
    QvSocketAddress();

    int Set(const String& host, int port);
    int Set(QvSocketAddress* other);
    int Set(const sockaddr_in& address);
    // Rebuilds the host text and port from the address when they are out of date.
    int Validate();

    const String& Host() {
        Validate();
        return host;
    }
    int Port() {
        Validate();
        return port;
    }
    sockaddr_in& Address() { return addr; }

private:
    sockaddr_in addr;
    bool valid = false;
    String host;
    int port = 0;
};
