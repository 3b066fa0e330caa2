#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "net/socket.h"
#include "tests/net/pump.h"
#include "tests/net/runtime_error.h"
#include "tests/net/string_printer.h"
#include "tests/net/test_http_server.h"

namespace {

// Records every callback a socket makes.
class Listener : public Object,
                 public c_IOnConnectComplete,
                 public c_IOnSendComplete,
                 public c_IOnReceiveComplete {
public:
    std::vector<bool> connects;
    std::vector<int> sendCounts;
    std::vector<int> sendOffsets;
    std::vector<int> receiveCounts;
    std::string received;

    int p_OnConnectComplete(bool connected, c_Socket*) override {
        connects.push_back(connected);
        return 0;
    }
    int p_OnSendComplete(c_DataBuffer*, int offset, int count, c_Socket*) override {
        sendOffsets.push_back(offset);
        sendCounts.push_back(count);
        return 0;
    }
    int p_OnReceiveComplete(c_DataBuffer* data, int offset, int count, c_Socket*) override {
        receiveCounts.push_back(count);
        if (count > 0)
            received.append(reinterpret_cast<const char*>(data->ReadPointer(offset)),
                            size_t(count));
        return 0;
    }
};

// A loopback peer that accepts one connection and then does what the test asks.
class Peer {
public:
    Peer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address;
        std::memset(&address, 0, sizeof address);
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t size = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        ::listen(listener_, 4);
    }
    ~Peer() {
        if (connection_ >= 0) ::close(connection_);
        ::close(listener_);
    }
    int Port() const { return port_; }
    bool Accept() {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) return false;
        connection_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        return connection_ >= 0;
    }
    std::string Read(size_t bytes) {
        std::string got;
        char chunk[256];
        while (got.size() < bytes) {
            pollfd p{connection_, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0) break;
            ssize_t n = ::recv(connection_, chunk, std::min(sizeof chunk, bytes - got.size()), 0);
            if (n <= 0) break;
            got.append(chunk, size_t(n));
        }
        return got;
    }
    void Write(const std::string& bytes) {
        ::send(connection_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    }
    void Close() {
        ::close(connection_);
        connection_ = -1;
    }

private:
    int listener_ = -1;
    int connection_ = -1;
    int port_ = 0;
};

c_Socket* ConnectedSocket(Peer& peer, Listener* listener) {
    c_Socket* socket = (new c_Socket)->m_new(String("stream"));
    socket->p_ConnectAsync(String("127.0.0.1"), peer.Port(), listener);
    EXPECT_TRUE(peer.Accept());
    EXPECT_TRUE(PumpUntil([&] { return !listener->connects.empty(); }));
    return socket;
}

c_DataBuffer* BufferWith(const std::string& text) {
    c_DataBuffer* buffer = (new c_DataBuffer)->m_new(int(text.size()));
    buffer->p_PokeString(0, String(text.c_str()), String("ascii"));
    return buffer;
}

}  // namespace

TEST(Socket, AStreamSocketIsOpenAndNotConnected) {
    c_Socket* socket = (new c_Socket)->m_new(String("stream"));
    EXPECT_TRUE(socket->p_IsOpen());
    EXPECT_FALSE(socket->p_IsConnected());
    EXPECT_FALSE(socket->p_IsListening());
    EXPECT_EQ(socket->p_State(), c_Socket::kOpen);
    EXPECT_TRUE((new c_Socket)->m_new(String("datagram"))->p_IsOpen());
    EXPECT_TRUE((new c_Socket)->m_new(String("server"))->p_IsOpen());
}

TEST(Socket, UnknownProtocolsAreRuntimeErrors) {
    EXPECT_RUNTIME_ERROR((new c_Socket)->m_new(String("Stream")), "Illegal socket protocol");
}

TEST(Socket, ConnectSetsBoundAndConnectedBeforeTheCallback) {
    Peer peer;
    Listener* listener = new Listener;
    c_Socket* socket = ConnectedSocket(peer, listener);
    EXPECT_EQ(listener->connects, (std::vector<bool>{true}));
    EXPECT_EQ(socket->p_State(), c_Socket::kOpen | c_Socket::kBound | c_Socket::kConnected);
}

TEST(Socket, TransfersBeforeTheConnectAreIgnoredWithoutCallback) {
    Listener* listener = new Listener;
    c_Socket* socket = (new c_Socket)->m_new(String("stream"));
    socket->p_SendAsync(BufferWith("x"), 0, 1, listener);
    socket->p_ReceiveAsync(BufferWith("x"), 0, 1, listener);
    PumpFor(0.1);
    EXPECT_TRUE(listener->sendCounts.empty());
    EXPECT_TRUE(listener->receiveCounts.empty());
}

TEST(Socket, UnresolvableHostConnectsToNothing) {
    Listener* listener = new Listener;
    c_Socket* socket = (new c_Socket)->m_new(String("stream"));
    socket->p_ConnectAsync(String("nothing-here.invalid"), 80, listener);
    ASSERT_TRUE(PumpUntil([&] { return !listener->connects.empty(); }));
    EXPECT_EQ(listener->connects, (std::vector<bool>{false}));
    EXPECT_EQ(socket->p_State(), c_Socket::kOpen);
}

TEST(Socket, ConnectToARefusingPortFails) {
    RefusingPort port;
    Listener* listener = new Listener;
    c_Socket* socket = (new c_Socket)->m_new(String("stream"));
    socket->p_ConnectAsync(String("127.0.0.1"), port.Port(), listener);
    ASSERT_TRUE(PumpUntil([&] { return !listener->connects.empty(); }));
    EXPECT_EQ(listener->connects, (std::vector<bool>{false}));
    EXPECT_FALSE(socket->p_IsConnected());
}

TEST(Socket, ASecondConnectIsIgnored) {
    Peer peer;
    Listener* listener = new Listener;
    c_Socket* socket = ConnectedSocket(peer, listener);
    socket->p_ConnectAsync(String("127.0.0.1"), peer.Port(), listener);
    PumpFor(0.1);
    EXPECT_EQ(listener->connects.size(), 1u);
}

TEST(Socket, SendsCompleteInTheOrderTheyWereMade) {
    Peer peer;
    Listener* listener = new Listener;
    c_Socket* socket = ConnectedSocket(peer, listener);
    c_DataBuffer* buffer = BufferWith("abcdef");
    socket->p_SendAsync(buffer, 0, 1, listener);
    socket->p_SendAsync(buffer, 1, 2, listener);
    socket->p_SendAsync(buffer, 3, 3, listener);
    ASSERT_TRUE(PumpUntil([&] { return listener->sendCounts.size() == 3; }));
    EXPECT_EQ(listener->sendOffsets, (std::vector<int>{0, 1, 3}));
    EXPECT_EQ(listener->sendCounts, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(peer.Read(6), "abcdef");
}

TEST(Socket, ReceivesDataThenZeroWhenThePeerCloses) {
    Peer peer;
    Listener* listener = new Listener;
    c_Socket* socket = ConnectedSocket(peer, listener);
    c_DataBuffer* buffer = (new c_DataBuffer)->m_new(64);
    socket->p_ReceiveAsync(buffer, 10, 54, listener);
    peer.Write("ping");
    ASSERT_TRUE(PumpUntil([&] { return listener->receiveCounts.size() == 1; }));
    EXPECT_EQ(listener->received, "ping");
    peer.Close();
    socket->p_ReceiveAsync(buffer, 0, 64, listener);
    ASSERT_TRUE(PumpUntil([&] { return listener->receiveCounts.size() == 2; }));
    EXPECT_EQ(listener->receiveCounts[1], 0);
}

TEST(Socket, ReadingAndWritingAtOnce) {
    Peer peer;
    Listener* listener = new Listener;
    c_Socket* socket = ConnectedSocket(peer, listener);
    c_DataBuffer* in = (new c_DataBuffer)->m_new(16);
    socket->p_ReceiveAsync(in, 0, 16, listener);  // blocks its worker until the peer answers
    socket->p_SendAsync(BufferWith("question"), 0, 8, listener);
    EXPECT_EQ(peer.Read(8), "question");
    peer.Write("answer");
    ASSERT_TRUE(PumpUntil(
        [&] { return listener->receiveCounts.size() == 1 && listener->sendCounts.size() == 1; }));
    EXPECT_EQ(listener->received, "answer");
}

TEST(Socket, ClosingWakesAPendingReceiveAndThenReleasesTheHandle) {
    Peer peer;
    Listener* listener = new Listener;
    c_Socket* socket = ConnectedSocket(peer, listener);
    socket->p_ReceiveAsync((new c_DataBuffer)->m_new(16), 0, 16, listener);
    PumpFor(0.05);
    socket->p_Close();
    EXPECT_EQ(socket->p_State(), 0);
    ASSERT_TRUE(PumpUntil([&] { return listener->receiveCounts.size() == 1; }));
    EXPECT_LE(listener->receiveCounts[0], 0);
    EXPECT_FALSE(socket->p_Native()->IsOpen());
    socket->p_ReceiveAsync((new c_DataBuffer)->m_new(16), 0, 16, listener);
    PumpFor(0.05);
    EXPECT_EQ(listener->receiveCounts.size(), 1u) << "a closed socket takes no more work";
}

TEST(SocketAddress, ValidateGivesDottedQuadAndPort) {
    QvSocketAddress* address = new QvSocketAddress;
    address->Set(String("127.0.0.1"), 80);
    EXPECT_EQ(address->Host(), String("127.0.0.1"));
    EXPECT_EQ(address->Port(), 80);
    QvSocketAddress* copy = new QvSocketAddress;
    copy->Set(address);
    EXPECT_EQ(copy->Host(), String("127.0.0.1"));
    EXPECT_EQ(copy->Port(), 80);
    address->Set(String("bad.invalid"), 1);
    EXPECT_EQ(address->Host(), String("0.0.0.0"));
}

TEST(NativeSocket, BindListenAcceptAndTheAddressesOfBothEnds) {
    QvSocket* server = new QvSocket;
    ASSERT_TRUE(server->Open(QvSocket::kServer));
    EXPECT_FALSE(server->Open(QvSocket::kServer)) << "already open";
    ASSERT_TRUE(server->Bind(String("127.0.0.1"), 0));
    ASSERT_TRUE(server->Listen(1));
    QvSocketAddress* local = new QvSocketAddress;
    server->GetLocalAddress(local);
    EXPECT_EQ(local->Host(), String("127.0.0.1"));

    QvSocket* client = new QvSocket;
    ASSERT_TRUE(client->Open(QvSocket::kStream));
    ASSERT_TRUE(client->Connect(String("127.0.0.1"), local->Port()));
    ASSERT_TRUE(server->Accept());
    QvSocket* accepted = server->Accepted();
    ASSERT_NE(accepted, nullptr);
    EXPECT_EQ(server->Accepted(), nullptr) << "one wrapper per accepted handle";

    QvSocketAddress* remote = new QvSocketAddress;
    accepted->GetRemoteAddress(remote);
    QvSocketAddress* clientSide = new QvSocketAddress;
    client->GetLocalAddress(clientSide);
    EXPECT_EQ(remote->Port(), clientSide->Port());

    c_DataBuffer* data = BufferWith("hi there");
    EXPECT_EQ(client->Send(data, 0, 8), 8);
    EXPECT_EQ(client->Send(data, 4, 8), -1) << "a range outside the buffer is refused";
    c_DataBuffer* into = (new c_DataBuffer)->m_new(8);
    EXPECT_EQ(accepted->Receive(into, 0, 8), 8);
    EXPECT_EQ(into->p_PeekString(0, 8, String("ascii")), String("hi there"));
    EXPECT_EQ(client->Close(), 0);
    EXPECT_LT(client->Close(), 0) << "closing twice reports the closed handle";
}

TEST(NativeSocket, DatagramsCarryTheirSender) {
    QvSocket* receiver = new QvSocket;
    ASSERT_TRUE(receiver->Open(QvSocket::kDatagram));
    ASSERT_TRUE(receiver->Bind(String("127.0.0.1"), 0));
    QvSocketAddress* to = new QvSocketAddress;
    receiver->GetLocalAddress(to);
    QvSocket* sender = new QvSocket;
    ASSERT_TRUE(sender->Open(QvSocket::kDatagram));
    ASSERT_TRUE(sender->Bind(String("127.0.0.1"), 0));
    EXPECT_EQ(sender->SendTo(BufferWith("dgram"), 0, 5, to), 5);
    QvSocketAddress* from = new QvSocketAddress;
    c_DataBuffer* into = (new c_DataBuffer)->m_new(16);
    EXPECT_EQ(receiver->ReceiveFrom(into, 0, 16, from), 5);
    QvSocketAddress* senderAddress = new QvSocketAddress;
    sender->GetLocalAddress(senderAddress);
    EXPECT_EQ(from->Host(), String("127.0.0.1"));
    EXPECT_EQ(from->Port(), senderAddress->Port());
}

TEST(NativeSocket, ConnectWithoutAHostGoesNowhere) {
    // 0.0.0.0 would reach the local host on Linux; an empty host connects to nothing.
    Peer peer;
    QvSocket* client = new QvSocket;
    ASSERT_TRUE(client->Open(QvSocket::kStream));
    EXPECT_FALSE(client->Connect(String(""), peer.Port()));
    EXPECT_FALSE((new QvSocket)->Open(7));
}
