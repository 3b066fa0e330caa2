// A small HTTP server on 127.0.0.1 for the network tests. It answers each connection from
// a script: pieces of response sent with pauses between them, then a close (or a reset),
// so that it can misbehave on purpose.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct ResponsePiece {
    std::string bytes;
    int pauseMsBefore = 0;
};

struct ServerScript {
    std::vector<ResponsePiece> pieces;
    // Read the request head (and a body of its Content-Length) before answering.
    bool readRequest = true;
    // End with a reset instead of an orderly close.
    bool reset = false;
};

class TestHttpServer {
public:
    explicit TestHttpServer(ServerScript script);
    ~TestHttpServer();

    int Port() const { return port_; }
    std::string Url(const std::string& pathAndQuery) const;
    // Everything the last connection sent before the answer.
    std::string Request() const;
    int Connections() const { return connections_.load(); }

private:
    void Serve();
    void Answer(int connection);

    ServerScript script_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> connections_{0};
    mutable std::mutex mutex_;
    std::string request_;
    std::thread thread_;
};

// A port on 127.0.0.1 that refuses connections: bound, never listening, for its lifetime.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    int Port() const { return port_; }

private:
    int socket_ = -1;
    int port_ = 0;
};
