#include "net/native_socket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

constexpr size_t kMaxHostLength = 1023;

// RFC 6761: names in ".invalid" get an immediate negative answer, without any query.
bool IsReservedInvalidName(std::string host) {
    std::transform(host.begin(), host.end(), host.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (!host.empty() && host.back() == '.') host.pop_back();
    const std::string suffix = ".invalid";
    return host == "invalid" ||
           (host.size() > suffix.size() &&
            host.compare(host.size() - suffix.size(), suffix.size(), suffix) == 0);
}

std::string HostBytes(const String& host) { return host.ToCString().c_str(); }

// Checks that [offset, offset + count) lies inside the buffer.
bool InBuffer(QvDataBuffer* data, int offset, int count) {
    return data && offset >= 0 && count >= 0 && offset <= data->Length() &&
           count <= data->Length() - offset;
}

}  // namespace

bool ResolveSocketAddress(const std::string& host, int port, sockaddr_in* address) {
    std::memset(address, 0, sizeof *address);
    address->sin_family = AF_INET;
    address->sin_port = htons(uint16_t(port));
    address->sin_addr.s_addr = htonl(INADDR_ANY);
    if (host.empty() || host.size() > kMaxHostLength || host.find('\0') != std::string::npos ||
        IsReservedInvalidName(host)) {
        return false;
    }
    addrinfo hints;
    std::memset(&hints, 0, sizeof hints);
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || !found) return false;
    address->sin_addr = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return true;
}

bool QvSocket::started = false;

void QvSocket::InitSockets() {
    // Berkeley sockets need no library start-up; the flag only records the first use.
    started = true;
}

QvSocket::QvSocket() {
    if (!started) InitSockets();
}

QvSocket::QvSocket(int handle) : QvSocket() { sock.store(handle, std::memory_order_release); }

QvSocket::~QvSocket() {
    int handle = sock.load(std::memory_order_acquire);
    if (handle >= 0) ::close(handle);
}

bool QvSocket::Open(int protocol) {
    if (IsOpen() || protocol <= 0) return false;
    int handle = -1;
    if (protocol == kStream || protocol == kServer) {
        handle = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
        if (handle < 0) return false;
        int noDelay = 1;
        setsockopt(handle, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    } else if (protocol == kDatagram) {
        handle = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_UDP);
        if (handle < 0) return false;
    } else {
        return false;
    }
    sock.store(handle, std::memory_order_release);
    proto = protocol;
    return true;
}

int QvSocket::Close() {
    int handle = sock.load(std::memory_order_acquire);
    if (handle < 0) return handle;
    sock.store(-1, std::memory_order_release);
    return ::close(handle);
}

void QvSocket::Shutdown() {
    int handle = sock.load(std::memory_order_acquire);
    if (handle >= 0) ::shutdown(handle, SHUT_RDWR);
}

bool QvSocket::Bind(const String& host, int port) {
    sockaddr_in address;
    ResolveSocketAddress(HostBytes(host), port, &address);
    return ::bind(sock.load(), reinterpret_cast<sockaddr*>(&address), sizeof address) >= 0;
}

bool QvSocket::Connect(const String& host, int port) { return ConnectBytes(HostBytes(host), port); }

bool QvSocket::ConnectBytes(const std::string& host, int port) {
    sockaddr_in address;
    if (!ResolveSocketAddress(host, port, &address)) return false;
    return ::connect(sock.load(), reinterpret_cast<sockaddr*>(&address), sizeof address) >= 0;
}

bool QvSocket::Listen(int backlog) { return ::listen(sock.load(), backlog) >= 0; }

bool QvSocket::Accept() {
    acceptedSock = ::accept4(sock.load(), nullptr, nullptr, SOCK_CLOEXEC);
    return acceptedSock >= 0;
}

QvSocket* QvSocket::Accepted() {
    if (acceptedSock < 0) return nullptr;
    QvSocket* accepted = new QvSocket(acceptedSock);
    accepted->proto = kStream;
    acceptedSock = -1;
    return accepted;
}

int QvSocket::Send(QvDataBuffer* data, int offset, int count) {
    if (!InBuffer(data, offset, count)) return -1;
    return int(::send(sock.load(), data->ReadPointer(offset), size_t(count), MSG_NOSIGNAL));
}

int QvSocket::Receive(QvDataBuffer* data, int offset, int count) {
    if (!InBuffer(data, offset, count)) return -1;
    return int(::recv(sock.load(), data->WritePointer(offset), size_t(count), 0));
}

int QvSocket::SendTo(QvDataBuffer* data, int offset, int count, QvSocketAddress* to) {
    if (!InBuffer(data, offset, count) || !to) return -1;
    sockaddr_in& address = to->Address();
    return int(::sendto(sock.load(), data->ReadPointer(offset), size_t(count), MSG_NOSIGNAL,
                        reinterpret_cast<sockaddr*>(&address), sizeof address));
}

int QvSocket::ReceiveFrom(QvDataBuffer* data, int offset, int count, QvSocketAddress* from) {
    if (!InBuffer(data, offset, count) || !from) return -1;
    sockaddr_in address;
    socklen_t size = sizeof address;
    std::memset(&address, 0, sizeof address);
    int n = int(::recvfrom(sock.load(), data->WritePointer(offset), size_t(count), 0,
                           reinterpret_cast<sockaddr*>(&address), &size));
    from->Set(address);
    return n;
}

namespace {

using NameQuery = int (*)(int, sockaddr*, socklen_t*);

bool QueryAddress(int handle, NameQuery query, QvSocketAddress* address) {
    sockaddr_in found;
    std::memset(&found, 0, sizeof found);
    found.sin_family = AF_INET;
    socklen_t size = sizeof found;
    bool ok = handle >= 0 && query(handle, reinterpret_cast<sockaddr*>(&found), &size) >= 0;
    if (!ok) {
        std::memset(&found, 0, sizeof found);
        found.sin_family = AF_INET;
    }
    address->Set(found);
    return ok;
}

}  // namespace

bool QvSocket::GetLocalAddress(QvSocketAddress* address) {
    return QueryAddress(sock.load(), ::getsockname, address);
}

bool QvSocket::GetRemoteAddress(QvSocketAddress* address) {
    return QueryAddress(sock.load(), ::getpeername, address);
}

QvSocketAddress::QvSocketAddress() {
    QvSocket::InitSockets();
    std::memset(&addr, 0, sizeof addr);
    addr.sin_family = AF_INET;
}

int QvSocketAddress::Set(const String& host, int port) {
    ResolveSocketAddress(HostBytes(host), port, &addr);
    valid = false;
    return 0;
}

int QvSocketAddress::Set(QvSocketAddress* other) { return Set(other->addr); }

int QvSocketAddress::Set(const sockaddr_in& address) {
    addr = address;
    valid = false;
    return 0;
}

int QvSocketAddress::Validate() {
    if (valid) return 0;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&addr.sin_addr.s_addr);
    host = String(int(bytes[0])) + String(".") + String(int(bytes[1])) + String(".") +
           String(int(bytes[2])) + String(".") + String(int(bytes[3]));
    port = ntohs(addr.sin_port);
    valid = true;
    return 0;
}
