#include "tests/net/test_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kReadTimeoutMs = 3000;

// Binds a TCP socket to an ephemeral port of the loopback address.
int BindLoopback(int* port) {
    int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) std::abort();
    sockaddr_in address;
    std::memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) std::abort();
    socklen_t size = sizeof address;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    *port = ntohs(address.sin_port);
    return s;
}

bool Readable(int s, int timeoutMs) {
    pollfd p{s, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) > 0;
}

// Bytes of body the head announces, 0 when it has no Content-Length.
size_t ContentLength(const std::string& head) {
    const std::string key = "Content-Length: ";
    size_t at = head.find(key);
    return at == std::string::npos ? 0 : size_t(std::atoi(head.c_str() + at + key.size()));
}

std::string ReadRequest(int connection) {
    std::string request;
    char chunk[4096];
    size_t headEnd = std::string::npos;
    while (headEnd == std::string::npos ||
           request.size() < headEnd + 4 + ContentLength(request.substr(0, headEnd))) {
        if (!Readable(connection, kReadTimeoutMs)) break;
        ssize_t n = ::recv(connection, chunk, sizeof chunk, 0);
        if (n <= 0) break;
        request.append(chunk, size_t(n));
        headEnd = request.find("\r\n\r\n");
    }
    return request;
}

}  // namespace

TestHttpServer::TestHttpServer(ServerScript script) : script_(std::move(script)) {
    listener_ = BindLoopback(&port_);
    if (::listen(listener_, 8) != 0) std::abort();
    thread_ = std::thread([this] { Serve(); });
}

TestHttpServer::~TestHttpServer() {
    stop_.store(true);
    thread_.join();
    ::close(listener_);
}

std::string TestHttpServer::Url(const std::string& pathAndQuery) const {
    return "http://127.0.0.1:" + std::to_string(port_) + pathAndQuery;
}

std::string TestHttpServer::Request() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return request_;
}

void TestHttpServer::Serve() {
    while (!stop_.load()) {
        if (!Readable(listener_, 20)) continue;
        int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) continue;
        connections_.fetch_add(1);
        Answer(connection);
    }
}

void TestHttpServer::Answer(int connection) {
    int one = 1;
    ::setsockopt(connection, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    if (script_.readRequest) {
        std::string request = ReadRequest(connection);
        std::lock_guard<std::mutex> lock(mutex_);
        request_ = request;
    }
    for (const ResponsePiece& piece : script_.pieces) {
        std::this_thread::sleep_for(std::chrono::milliseconds(piece.pauseMsBefore));
        ::send(connection, piece.bytes.data(), piece.bytes.size(), MSG_NOSIGNAL);
    }
    if (script_.reset) {
        linger hard{1, 0};
        ::setsockopt(connection, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
    }
    ::close(connection);
}

RefusingPort::RefusingPort() { socket_ = BindLoopback(&port_); }

RefusingPort::~RefusingPort() { ::close(socket_); }
