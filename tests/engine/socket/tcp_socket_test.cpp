#include "engine/tcp_socket.h"

#include <gtest/gtest.h>
#include <netinet/tcp.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "tests/engine/socket/loopback.h"
#include "tests/platform/base/log_capture.h"
#include "tests/support/thread_state.h"
#include "tests/support/wait_until.h"

namespace kestrova {
namespace {

using testing::CurrentThreadId;
using testing::InstallLoopbackLookup;
using testing::kLoopback;
using testing::LoopbackListener;
using testing::SecondsSince;
using testing::ThreadSleeps;
using testing::WaitUntil;
using Steady = std::chrono::steady_clock;

class TcpSocketTest : public ::testing::Test {
protected:
    void SetUp() override { InstallLoopbackLookup(); }
    void TearDown() override { SetHostLookup(nullptr); }

    // A connected pair over loopback: `client` here, `server` the accepted end.
    void ConnectPair() {
        ASSERT_TRUE(listener.listening);
        ASSERT_EQ(client.Create(), 1);
        ASSERT_EQ(client.Connect(kLoopback, listener.port, 2), 1);
        server = listener.AcceptOne();
        ASSERT_NE(server, nullptr);
    }

    void SendText(TcpSocket& socket, const std::string& text) {
        ASSERT_EQ(socket.Send(text.data(), static_cast<int>(text.size()), 2), static_cast<int>(text.size()));
    }

    LoopbackListener listener;
    TcpSocket client;
    std::unique_ptr<TcpSocket> server;
};

TEST_F(TcpSocketTest, ExchangesBytesAndReportsThePeerAddress) {
    ASSERT_TRUE(listener.listening);
    ASSERT_EQ(client.Create(), 1);
    ASSERT_EQ(client.ConnectHost("localhost", listener.port, -1), 1);
    EXPECT_TRUE(client.IsConnected());
    TcpSocket* accepted = nullptr;
    uint32_t peer = 0;
    ASSERT_EQ(listener.socket.Accept(&accepted, &peer), 1);
    server.reset(accepted);
    EXPECT_EQ(peer, kLoopback);
    EXPECT_FALSE(server->IsConnected());

    SendText(client, "ping");
    char buffer[16] = {};
    ASSERT_EQ(server->Receive(buffer, sizeof(buffer), 2), 4);
    EXPECT_STREQ(buffer, "ping");
}

TEST_F(TcpSocketTest, ConnectFailsForBadTargets) {
    // A port that nothing listens on: the listener's own, once it is closed.
    LoopbackListener closed;
    const int refusedPort = closed.port;
    closed.socket.CloseSocket();
    struct Case {
        const char* name;
        bool create;
        uint32_t address;
        int32_t timeout;
    };
    for (const Case& c :
         {Case{"no handle", false, kLoopback, 2}, Case{"address 0", true, 0, 2},
          Case{"broadcast", true, 0xFFFFFFFF, 2}, Case{"refused, time-out", true, kLoopback, 5},
          Case{"refused, no time-out", true, kLoopback, 0}}) {
        TcpSocket socket;
        if (c.create) {
            ASSERT_EQ(socket.Create(), 1);
        }
        const auto start = Steady::now();
        EXPECT_EQ(socket.Connect(c.address, refusedPort, c.timeout), 0) << c.name;
        EXPECT_LT(SecondsSince(start), 1.0) << c.name;
        EXPECT_FALSE(socket.IsConnected()) << c.name;
    }
}

TEST_F(TcpSocketTest, ConnectGivesUpAfterItsTimeOut) {
    // A listener with a full queue drops further handshakes, so a connect past it never completes. Ours
    // queues as many as the system allows: a plain socket with the shortest queue stands in for a busy peer.
    const int busy = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(kLoopback);
    socklen_t size = sizeof address;
    ASSERT_EQ(bind(busy, reinterpret_cast<sockaddr*>(&address), size), 0);
    ASSERT_EQ(listen(busy, 0), 0);
    ASSERT_EQ(getsockname(busy, reinterpret_cast<sockaddr*>(&address), &size), 0);
    std::vector<std::unique_ptr<TcpSocket>> queued;
    int result = 1;
    double seconds = 0;
    while (result == 1 && queued.size() < 64) {
        queued.push_back(std::make_unique<TcpSocket>());
        ASSERT_EQ(queued.back()->Create(), 1);
        const auto start = Steady::now();
        result = queued.back()->Connect(kLoopback, ntohs(address.sin_port), 1);
        seconds = SecondsSince(start);
    }
    close(busy);
    EXPECT_EQ(result, 0);
    EXPECT_GE(seconds, 0.9);
    EXPECT_LT(seconds, 3.0);
}

TEST_F(TcpSocketTest, ConnectHostResolvesThroughTheLookup) {
    ASSERT_TRUE(listener.listening);
    int lookups = 0;
    SetHostLookup([&](const std::string& name) -> uint32_t {
        ++lookups;
        return name == "camera.test" ? kLoopback : 0;
    });
    TcpSocket named;
    ASSERT_EQ(named.Create(), 1);
    EXPECT_EQ(named.ConnectHost("camera.test", listener.port, 2), 1);
    TcpSocket unknown;
    ASSERT_EQ(unknown.Create(), 1);
    const auto start = Steady::now();
    EXPECT_EQ(unknown.ConnectHost("nowhere.test", listener.port, 5), 0);
    EXPECT_LT(SecondsSince(start), 1.0);
    EXPECT_EQ(lookups, 2);
    // Dotted addresses never reach the lookup.
    EXPECT_EQ(ResolveHost("127.0.0.9"), 0x7F000009u);
    EXPECT_EQ(ResolveHost(""), 0u);
    EXPECT_EQ(ResolveHost(nullptr), 0u);
    EXPECT_EQ(lookups, 2);
}

TEST_F(TcpSocketTest, ListenNeedsAHandleAResolvableHostAndAFreeDottedAddress) {
    testing::LogCapture log;
    TcpSocket noHandle;
    EXPECT_EQ(noHandle.Listen(0, "127.0.0.1"), 0);
    TcpSocket badAddress;
    badAddress.Create();
    EXPECT_EQ(badAddress.Listen(0, "localhost"), 0);
    TcpSocket taken;
    taken.Create();
    EXPECT_EQ(taken.Listen(listener.port, "127.0.0.1"), 0);
    SetHostLookup([](const std::string&) -> uint32_t { return 0; });
    TcpSocket unresolved;
    unresolved.Create();
    EXPECT_EQ(unresolved.Listen(0, "127.0.0.1"), 0);
    const std::string cannot = "error: network: cannot listen on ";
    EXPECT_EQ(log.Text(), cannot + "localhost:0: not a dotted IPv4 address\n" + cannot +
                              "127.0.0.1:" + std::to_string(listener.port) + ": Address already in use\n" +
                              cannot + "127.0.0.1:0: the machine's host name does not resolve\n");
}

TEST_F(TcpSocketTest, ListenQueuesAsManyClientsAsTheSystemAllows) {
    ASSERT_TRUE(listener.listening);
    std::ifstream limit("/proc/sys/net/core/somaxconn");
    uint32_t most = 0;
    ASSERT_TRUE(limit >> most);
    // For a listening socket the kernel reports the length of its accept queue in tcpi_sacked.
    tcp_info info{};
    socklen_t size = sizeof info;
    ASSERT_EQ(getsockopt(listener.socket.Handle(), IPPROTO_TCP, TCP_INFO, &info, &size), 0);
    EXPECT_EQ(info.tcpi_sacked, most);
}

TEST_F(TcpSocketTest, ListenComesBackOnAPortWithClosedConnections) {
    ConnectPair();
    const int port = listener.port;
    // The server closes first, which leaves its end of the connection waiting out TIME_WAIT on the port.
    server.reset();
    char byte;
    EXPECT_EQ(client.Receive(&byte, 1, 2), 0);
    listener.socket.CloseSocket();
    TcpSocket again;
    ASSERT_EQ(again.Create(), 1);
    EXPECT_EQ(again.Listen(port, "127.0.0.1"), 1);
}

TEST_F(TcpSocketTest, ReceiveWaitsForItsTimeOutButNotForAClosedPeer) {
    ConnectPair();
    char buffer[8];
    auto start = Steady::now();
    EXPECT_EQ(client.Receive(buffer, sizeof(buffer), 1), 0);
    EXPECT_GE(SecondsSince(start), 0.9);

    EXPECT_FALSE(client.PeerClosed());
    SendText(*server, "x");
    server->CloseSocket();
    EXPECT_FALSE(client.PeerClosed());  // a byte is still to be read
    EXPECT_EQ(client.Receive(buffer, sizeof(buffer), 5), 1);
    start = Steady::now();
    EXPECT_EQ(client.Receive(buffer, sizeof(buffer), 5), 0);
    EXPECT_LT(SecondsSince(start), 1.0);
    EXPECT_TRUE(client.PeerClosed());

    TcpSocket noHandle;
    EXPECT_EQ(noHandle.Receive(buffer, sizeof(buffer), 5), -1);
    EXPECT_EQ(noHandle.Send("x", 1, 5), -1);
}

TEST_F(TcpSocketTest, SendToAVanishedPeerFailsWithoutSignal) {
    ConnectPair();
    // Without protection a write to a reset connection would end this process.
    signal(SIGPIPE, SIG_DFL);
    server.reset();
    const std::vector<char> data(65536, 'x');
    int result = 0;
    for (int i = 0; i < 50 && result >= 0; ++i)
        result = client.Send(data.data(), static_cast<int>(data.size()), 1);
    EXPECT_EQ(result, -1);
}

TEST_F(TcpSocketTest, ReceiveHttpResponseStopsAtTheContentLength) {
    ConnectPair();
    // A 38-byte header and a 12-byte body, with the number split across two sends; the peer stays open.
    SendText(*server, "HTTP/1.0 200 OK\r\nContent-Length:1");
    const pid_t reader = CurrentThreadId();
    std::thread rest([&] {
        // Once the reader has taken the first part and waits for more.
        EXPECT_TRUE(WaitUntil([&] { return ThreadSleeps(reader); }));
        SendText(*server, "2\r\n\r\nhello world!");
    });
    char buffer[256];
    const auto start = Steady::now();
    EXPECT_EQ(client.ReceiveHttpResponse(buffer, sizeof(buffer), 5), 50);
    EXPECT_LT(SecondsSince(start), 2.0);
    rest.join();
    EXPECT_STREQ(buffer + 38, "hello world!");
}

TEST_F(TcpSocketTest, ReceiveHttpResponseWithoutLengthReadsUntilClose) {
    ConnectPair();
    SendText(*server, "HTTP/1.0 200 OK\r\n\r\nvbright=128\r\n");
    server.reset();
    char buffer[256];
    memset(buffer, 'z', sizeof(buffer));
    EXPECT_EQ(client.ReceiveHttpResponse(buffer, sizeof(buffer), 5), 32);
    EXPECT_STREQ(buffer, "HTTP/1.0 200 OK\r\n\r\nvbright=128\r\n");
    EXPECT_EQ(buffer[200], '\0');  // the whole buffer was cleared first
}

TEST_F(TcpSocketTest, ReceiveHttpResponseDropsBlocksPastTheCapacity) {
    ConnectPair();
    const pid_t reader = CurrentThreadId();
    std::thread peer([&] {
        // Each block once the reader waits for it, so that each arrives in a receive of its own.
        for (const std::string& block : {std::string(60, 'a'), std::string(60, 'b'), std::string(39, 'c')}) {
            EXPECT_TRUE(WaitUntil([&] { return ThreadSleeps(reader); }));
            SendText(*server, block);
        }
        server->CloseSocket();
    });
    char buffer[101];
    buffer[100] = 'z';
    EXPECT_EQ(client.ReceiveHttpResponse(buffer, 100, 5), 99);
    peer.join();
    EXPECT_EQ(std::string(buffer), std::string(60, 'a') + std::string(39, 'c'));
    EXPECT_EQ(buffer[100], 'z');
}

TEST_F(TcpSocketTest, CloseSocketWakesBlockedThreadsAndWorksOnce) {
    ConnectPair();
    std::atomic<pid_t> receiving{0}, accepting{0};
    std::thread receiver([&] {
        receiving = CurrentThreadId();
        char byte;
        EXPECT_LE(client.Receive(&byte, 1, -1), 0);
    });
    std::thread acceptor([&] {
        accepting = CurrentThreadId();
        TcpSocket* accepted = nullptr;
        EXPECT_EQ(listener.socket.Accept(&accepted, nullptr), 0);
    });
    // Both blocked before the sockets close.
    ASSERT_TRUE(WaitUntil(
        [&] { return receiving && accepting && ThreadSleeps(receiving) && ThreadSleeps(accepting); }));
    EXPECT_EQ(client.CloseSocket(), 1);
    EXPECT_EQ(listener.socket.CloseSocket(), 1);
    receiver.join();
    acceptor.join();
    EXPECT_EQ(client.CloseSocket(), 0);
    EXPECT_EQ(client.Handle(), kInvalidSocket);
}

TEST_F(TcpSocketTest, ShutdownWaitsForThePeerToClose) {
    ConnectPair();
    const pid_t closer = CurrentThreadId();
    std::atomic<bool> peerClosed{false};
    std::thread peer([&] {
        char byte;
        while (server->Receive(&byte, 1, 5) > 0) {
        }
        // The end came; the peer closes only once the other side waits for it.
        EXPECT_TRUE(WaitUntil([&] { return ThreadSleeps(closer); }));
        peerClosed = true;
        server->CloseSocket();
    });
    const auto start = Steady::now();
    EXPECT_EQ(client.Shutdown(1, 3000), 1);
    const bool closedFirst = peerClosed;
    const double waited = SecondsSince(start);
    peer.join();
    EXPECT_TRUE(closedFirst) << "Shutdown returned before the peer closed";
    EXPECT_LT(waited, 2.0);

    TcpSocket noHandle;
    EXPECT_EQ(noHandle.Shutdown(2, 3000), 0);
}

TEST_F(TcpSocketTest, DestroyingAnUnconnectedSocketReturnsAtOnce) {
    const auto start = Steady::now();
    { TcpSocket never; }
    {
        TcpSocket created;
        created.Create();
    }
    EXPECT_LT(SecondsSince(start), 0.5);
}

TEST(Networking, StartsAndStopsInPairs) {
    EXPECT_EQ(StartNetworking(), 1);
    EXPECT_EQ(StopNetworking(), 1);
    EXPECT_EQ(StopNetworking(), 0);
}

}  // namespace
}  // namespace kestrova
