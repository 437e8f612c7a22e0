#include "engine/tcp_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/base/log.h"

namespace kestrova {
namespace {

constexpr int kHttpBlockSize = 10240;
constexpr uint32_t kDestroyShutdownMs = 3000;
constexpr char kComponent[] = "network";
// Room for a burst of new connections while the listener hands the last one over: a client that finds the
// queue full waits for its SYN to be sent again, a second or more later. The system cuts a longer request
// down to its own maximum (net.core.somaxconn), which is what this asks for.
constexpr int kListenBacklog = INT_MAX;

// Waits for `events` on `handle`. 1 when they came, 0 when `timeoutMs` passed, -1 on error. A negative
// time-out waits for ever. Signals do not cut the wait short.
int WaitFor(SocketHandle handle, short events, int64_t timeoutMs) {
    using SteadyClock = std::chrono::steady_clock;
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(timeoutMs < 0 ? 0 : timeoutMs);
    for (;;) {
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
            wait = static_cast<int>(std::clamp<int64_t>(left, 0, INT_MAX));
        }
        pollfd entry{handle, events, 0};
        const int result = poll(&entry, 1, wait);
        if (result >= 0) return result > 0 ? 1 : 0;
        if (errno != EINTR) return -1;
    }
}

int64_t SecondsToMs(int32_t seconds) { return seconds < 0 ? -1 : int64_t{seconds} * 1000; }

bool SetBlocking(SocketHandle handle, bool blocking) {
    const int flags = fcntl(handle, F_GETFL, 0);
    if (flags < 0) return false;
    return fcntl(handle, F_SETFL, blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK)) == 0;
}

sockaddr_in MakeAddress(uint32_t hostOrderAddress, int32_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(hostOrderAddress);
    return address;
}

bool ParseDotted(const char* text, uint32_t* hostOrderAddress) {
    in_addr parsed{};
    if (inet_pton(AF_INET, text, &parsed) != 1) return false;
    *hostOrderAddress = ntohl(parsed.s_addr);
    return true;
}

uint32_t SystemLookup(const std::string& name) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(name.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return 0;
    const uint32_t address = ntohl(reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr.s_addr);
    freeaddrinfo(found);
    return address;
}

std::mutex lookupMutex;
HostLookup installedLookup;

std::mutex networkingMutex;
int networkingStarts = 0;

// The decimal number at the first digit after "Content-Length:", or -1 while it has not arrived whole.
int64_t FindContentLength(std::string_view text) {
    static constexpr std::string_view kName = "Content-Length:";
    const size_t at = text.find(kName);
    if (at == std::string_view::npos) return -1;
    size_t digit = at + kName.size();
    while (digit < text.size() && (text[digit] < '0' || text[digit] > '9')) ++digit;
    size_t end = digit;
    int64_t value = 0;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
        value = std::min<int64_t>(value * 10 + (text[end] - '0'), INT_MAX);
        ++end;
    }
    // The number may go on in the next block.
    if (end == digit || end == text.size()) return -1;
    return value;
}

// The header's length: each line before the first empty one with its CR LF, plus the empty line's CR LF.
int64_t FindHeaderLength(std::string_view text) {
    if (text.find("\r\n\r\n") == std::string_view::npos) return -1;
    int64_t length = 0;
    size_t line = 0;
    for (;;) {
        const size_t end = text.find("\r\n", line);
        if (end == line) return length + 2;
        length += static_cast<int64_t>(end - line) + 2;
        line = end + 2;
    }
}

}  // namespace

TcpSocket::~TcpSocket() {
    // Both do what there is to do; a socket that was never connected or is closed already has nothing.
    Shutdown(2, kDestroyShutdownMs);
    CloseSocket();
}

int TcpSocket::Create() {
    handle_.store(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    return handle_.load() != kInvalidSocket ? 1 : 0;
}

void TcpSocket::Attach(SocketHandle handle) { handle_.store(handle); }

int TcpSocket::Listen(int32_t port, const char* address) {
    const SocketHandle handle = handle_.load();
    if (handle == kInvalidSocket) return 0;
    const std::string where = std::string(address ? address : "(none)") + ":" + std::to_string(port);
    char hostName[256] = {};
    if (gethostname(hostName, sizeof(hostName) - 1) != 0 || ResolveHost(hostName) == 0) {
        LogError(kComponent, "cannot listen on " + where + ": the machine's host name does not resolve");
        return 0;
    }
    uint32_t bindAddress = 0;
    if (address == nullptr || !ParseDotted(address, &bindAddress)) {
        LogError(kComponent, "cannot listen on " + where + ": not a dotted IPv4 address");
        return 0;
    }
    const int reuse = 1;
    if (setsockopt(handle, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof(reuse)) != 0)
        LogWarning(kComponent, "listening on " + where + " without address reuse: " + SystemErrorText(errno));
    const sockaddr_in local = MakeAddress(bindAddress, port);
    if (bind(handle, reinterpret_cast<const sockaddr*>(&local), sizeof(local)) != 0 ||
        listen(handle, kListenBacklog) != 0) {
        LogError(kComponent, "cannot listen on " + where + ": " + SystemErrorText(errno));
        return 0;
    }
    return 1;
}

int TcpSocket::Accept(TcpSocket** client, uint32_t* address) {
    const SocketHandle handle = handle_.load();
    if (handle == kInvalidSocket || client == nullptr) return 0;
    sockaddr_in peer{};
    socklen_t peerSize = sizeof(peer);
    SocketHandle accepted;
    do {
        accepted = accept4(handle, reinterpret_cast<sockaddr*>(&peer), &peerSize, SOCK_CLOEXEC);
    } while (accepted < 0 && errno == EINTR);
    if (accepted < 0) return 0;
    *client = new TcpSocket;
    (*client)->Attach(accepted);
    if (address != nullptr) *address = ntohl(peer.sin_addr.s_addr);
    return 1;
}

int TcpSocket::Connect(uint32_t address, int32_t port, int32_t timeoutSeconds) {
    if (timeoutSeconds == 0) timeoutSeconds = -1;
    const SocketHandle handle = handle_.load();
    if (handle == kInvalidSocket || address == 0 || address == 0xFFFFFFFF) return 0;
    const sockaddr_in remote = MakeAddress(address, port);
    const auto* remoteAddress = reinterpret_cast<const sockaddr*>(&remote);
    if (timeoutSeconds < 0) {
        if (connect(handle, remoteAddress, sizeof(remote)) != 0) return 0;
    } else {
        if (!SetBlocking(handle, false)) return 0;
        const bool started = connect(handle, remoteAddress, sizeof(remote)) == 0 || errno == EINPROGRESS;
        const bool writable = started && WaitFor(handle, POLLOUT, SecondsToMs(timeoutSeconds)) == 1;
        if (!SetBlocking(handle, true) || !writable) return 0;
        // A refused connection is writable too; only its pending error tells it apart.
        int error = 0;
        socklen_t errorSize = sizeof(error);
        if (getsockopt(handle, SOL_SOCKET, SO_ERROR, &error, &errorSize) != 0 || error != 0) return 0;
    }
    connected_ = 1;
    return 1;
}

int TcpSocket::ConnectHost(const char* host, int32_t port, int32_t timeoutSeconds) {
    return Connect(ResolveHost(host), port, timeoutSeconds);
}

int TcpSocket::Receive(void* buffer, int size, int32_t timeoutSeconds) {
    const SocketHandle handle = handle_.load();
    if (handle == kInvalidSocket) return -1;
    if (timeoutSeconds != -1) {
        const int ready = WaitFor(handle, POLLIN, SecondsToMs(timeoutSeconds));
        if (ready <= 0) return ready;
    }
    ssize_t received;
    do {
        received = recv(handle, buffer, size < 0 ? 0 : static_cast<size_t>(size), 0);
    } while (received < 0 && errno == EINTR);
    return static_cast<int>(received);
}

bool TcpSocket::PeerClosed() const {
    const SocketHandle handle = handle_.load();
    if (handle == kInvalidSocket) return true;
    char byte;
    const ssize_t peeked = recv(handle, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    return peeked == 0 || (peeked < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR);
}

int TcpSocket::Send(const void* data, int length, int32_t timeoutSeconds) {
    const SocketHandle handle = handle_.load();
    if (handle == kInvalidSocket) return -1;
    if (timeoutSeconds != -1) {
        const int ready = WaitFor(handle, POLLOUT, SecondsToMs(timeoutSeconds));
        if (ready <= 0) return ready;
    }
    ssize_t sent;
    do {
        // A peer that went away must not end the process with SIGPIPE.
        sent = send(handle, data, length < 0 ? 0 : static_cast<size_t>(length), MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return static_cast<int>(sent);
}

int TcpSocket::ReceiveHttpResponse(char* buffer, int capacity, int32_t timeoutSeconds) {
    if (buffer == nullptr || capacity <= 0) return 0;
    std::memset(buffer, 0, static_cast<size_t>(capacity));
    std::vector<char> block(kHttpBlockSize);
    int total = 0;
    int64_t headerLength = 0;
    int64_t bodyLength = 0;
    for (;;) {
        const int received = Receive(block.data(), kHttpBlockSize, timeoutSeconds);
        if (received <= 0) break;
        if (int64_t{total} + received < capacity) {
            std::memcpy(buffer + total, block.data(), static_cast<size_t>(received));
            total += received;
        }
        const std::string_view stored(buffer, static_cast<size_t>(total));
        if (bodyLength == 0) bodyLength = std::max<int64_t>(FindContentLength(stored), 0);
        if (headerLength == 0) headerLength = std::max<int64_t>(FindHeaderLength(stored), 0);
        if (headerLength != 0 && bodyLength != 0 && headerLength + bodyLength == total) break;
    }
    buffer[total] = '\0';
    return total;
}

int TcpSocket::Shutdown(int how, uint32_t milliseconds) {
    const SocketHandle handle = handle_.load();
    if (handle == kInvalidSocket) return 0;
    const int direction = how == 0 ? SHUT_RD : how == 1 ? SHUT_WR : SHUT_RDWR;
    if (shutdown(handle, direction) != 0) return 0;
    // The connection counts as closed once the peer has ended its side (or reset it). The wait only bounds
    // how long the peer gets: the shutdown itself has succeeded whatever it reports.
    WaitFor(handle, POLLRDHUP, milliseconds);
    return 1;
}

int TcpSocket::CloseSocket() {
    const SocketHandle old = handle_.exchange(kInvalidSocket);
    if (old == kInvalidSocket) return 0;
    // Closing alone leaves a thread blocked in accept or recv on this handle asleep; a shutdown wakes it. It
    // fails only on a socket that is not connected, where no such thread can wait.
    shutdown(old, SHUT_RDWR);
    return close(old) == 0 ? 1 : 0;
}

int StartNetworking() {
    std::lock_guard<std::mutex> guard(networkingMutex);
    // Writes to a closed connection report an error instead of ending the process. Setting SIG_IGN for a
    // valid signal cannot fail.
    signal(SIGPIPE, SIG_IGN);
    ++networkingStarts;
    return 1;
}

int StopNetworking() {
    std::lock_guard<std::mutex> guard(networkingMutex);
    if (networkingStarts == 0) return 0;
    --networkingStarts;
    return 1;
}

uint32_t ResolveHost(const char* text) {
    if (text == nullptr || *text == '\0') return 0;
    uint32_t address = 0;
    if (ParseDotted(text, &address)) return address;
    HostLookup lookup;
    {
        std::lock_guard<std::mutex> guard(lookupMutex);
        lookup = installedLookup;
    }
    return lookup ? lookup(text) : SystemLookup(text);
}

void SetHostLookup(HostLookup lookup) {
    std::lock_guard<std::mutex> guard(lookupMutex);
    installedLookup = std::move(lookup);
}

}  // namespace kestrova
