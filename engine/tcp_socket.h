#pragma once
// The program's one TCP socket over IPv4, shared by the IP camera client and the web server. Every wait is a
// wait on this one socket with a time-out in whole seconds; -1 waits without a time-out. Results are 1 for
// success and 0 for failure, except the byte counts of Send, Receive and ReceiveHttpResponse.

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace kestrova {

using SocketHandle = int;
inline constexpr SocketHandle kInvalidSocket = -1;

class TcpSocket {
public:
    TcpSocket() = default;
    // Shuts the connection down in both directions (waiting at most 3 s for the peer) and closes it.
    ~TcpSocket();
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Makes the IPv4 stream socket; called once on a fresh object.
    int Create();
    // Takes ownership of an open handle.
    void Attach(SocketHandle handle);
    // Binds to the dotted IPv4 `address` and `port` (with address reuse, so a listener can come back on its
    // port at once) and listens with the longest queue of waiting clients that the system allows. Fails when
    // the machine's host name does not resolve. Logs why it failed.
    int Listen(int32_t port, const char* address);
    // Waits without a time-out for a client. On success `*client` is a new heap socket the caller owns, and
    // `*address` (when given) the peer's IPv4 address in host byte order. On failure errno tells why.
    int Accept(TcpSocket** client, uint32_t* address);
    // `address` is IPv4 in host byte order; a time-out of 0 counts as -1 (the system's own connect time-out).
    int Connect(uint32_t address, int32_t port, int32_t timeoutSeconds);
    int ConnectHost(const char* host, int32_t port, int32_t timeoutSeconds);

    // One receive of at most `size` bytes after waiting up to the time-out for data: the byte count, 0 when
    // the time-out passed or the peer closed, -1 on error.
    int Receive(void* buffer, int size, int32_t timeoutSeconds);
    // Whether the peer has ended the connection (closed or reset it) with no byte left to read: tells a
    // receive result of 0 after a close from one after a time-out. Does not wait.
    bool PeerClosed() const;
    // One send (a partial send is not completed): the byte count, 0 on time-out, -1 on error.
    int Send(const void* data, int length, int32_t timeoutSeconds);
    // Reads one HTTP response, ending at its Content-Length body or when the peer closes or a receive times
    // out. Stores at most `capacity` - 1 bytes followed by a NUL (blocks that do not fit are dropped while
    // reading goes on) and returns the number of bytes stored.
    int ReceiveHttpResponse(char* buffer, int capacity, int32_t timeoutSeconds);

    // Shuts down receiving (0), sending (1) or both (2); when that succeeded, waits at most `milliseconds`
    // for the connection to close. 1 when the shutdown succeeded.
    int Shutdown(int how, uint32_t milliseconds);
    // Closes the handle; safe against a second caller on another thread, and wakes a thread blocked in
    // Accept or Receive on this socket. 0 when there was no handle or closing failed.
    int CloseSocket();

    SocketHandle Handle() const { return handle_.load(); }
    bool IsConnected() const { return connected_ != 0; }

private:
    std::atomic<SocketHandle> handle_{kInvalidSocket};
    int32_t connected_ = 0;
};

int StartNetworking();
int StopNetworking();
// The IPv4 address in host byte order of a dotted address text or, failing that, of a host name (the first
// address the lookup gives); 0 when the name is unknown.
uint32_t ResolveHost(const char* text);

// Looks a host name up: its first IPv4 address in host byte order, or 0 when unknown. Tests install their own
// so that no lookup leaves the machine; an empty function puts the system's resolver back.
using HostLookup = std::function<uint32_t(const std::string& name)>;
void SetHostLookup(HostLookup lookup);

}  // namespace kestrova
