#include "net/smtp_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "net/smtp_error.h"
#include "platform/base/clock.h"

namespace kestrova {
namespace {

// Waits are cut into slices so that a replaced clock is looked at while a peer stays silent.
constexpr uint64_t kSliceMs = 50;

// Polls `fd` until it is ready for `events` or the clock passes `timeoutSeconds`; false when time ran out.
bool PollUntil(int fd, short events, uint32_t timeoutSeconds, short& revents) {
    Clock& clock = GetClock();
    const uint64_t deadline = clock.Milliseconds() + uint64_t(timeoutSeconds) * 1000;
    for (;;) {
        uint64_t now = clock.Milliseconds();
        int slice = now >= deadline ? 0 : int(std::min(deadline - now, kSliceMs));
        pollfd p{fd, events, 0};
        int ready = poll(&p, 1, slice);
        if (ready < 0 && errno != EINTR) throw ECSmtp(ECSmtp::kWaitFailed);
        if (ready > 0) {
            if (p.revents & POLLNVAL) throw ECSmtp(ECSmtp::kWaitFailed);
            revents = p.revents;
            return true;
        }
        if (now >= deadline) return false;
    }
}

}  // namespace

void SmtpSocket::Open() {
    Close();
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) throw ECSmtp(ECSmtp::kInvalidSocket);
    int flags = fcntl(fd_, F_GETFL);
    if (flags < 0 || fcntl(fd_, F_SETFL, flags | O_NONBLOCK) < 0) {
        Close();
        throw ECSmtp(ECSmtp::kNonBlockingFailed);
    }
}

void SmtpSocket::Connect(uint32_t address, uint16_t port, uint32_t timeoutSeconds) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = address;
    if (connect(fd_, reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0) return;
    if (errno != EINPROGRESS && errno != EINTR) throw ECSmtp(ECSmtp::kConnectFailed);
    short revents = 0;
    if (!PollUntil(fd_, POLLOUT, timeoutSeconds, revents)) throw ECSmtp(ECSmtp::kConnectTimedOut);
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &length) < 0 || error != 0) {
        throw ECSmtp(ECSmtp::kWaitFailed);
    }
}

void SmtpSocket::WaitFor(int readiness, uint32_t timeoutSeconds) {
    short events = short((readiness & kReadable ? POLLIN : 0) | (readiness & kWritable ? POLLOUT : 0));
    short revents = 0;
    if (!PollUntil(fd_, events, timeoutSeconds, revents)) throw ECSmtp(ECSmtp::kServerNotResponding);
}

size_t SmtpSocket::Send(const char* data, size_t size) {
    for (;;) {
        ssize_t sent = send(fd_, data, size, MSG_NOSIGNAL);
        if (sent > 0) return size_t(sent);
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return 0;
        throw ECSmtp(ECSmtp::kSendFailed);
    }
}

size_t SmtpSocket::Receive(char* buffer, size_t size) {
    for (;;) {
        ssize_t got = recv(fd_, buffer, size, 0);
        if (got > 0) return size_t(got);
        if (got == 0) throw ECSmtp(ECSmtp::kConnectionClosed);
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK) return 0;
        throw ECSmtp(ECSmtp::kRecvFailed);
    }
}

std::string SmtpSocket::PeerAddress() const {
    sockaddr_in peer{};
    socklen_t length = sizeof peer;
    char text[INET_ADDRSTRLEN];
    if (getpeername(fd_, reinterpret_cast<sockaddr*>(&peer), &length) != 0 || peer.sin_family != AF_INET ||
        !inet_ntop(AF_INET, &peer.sin_addr, text, sizeof text)) {
        return std::string();
    }
    return text;
}

void SmtpSocket::Close() {
    if (fd_ >= 0) close(fd_);  // the session is over either way: nothing was written that a close could lose
    fd_ = -1;
}

uint16_t MailServicePort() {
    servent entry;
    servent* found = nullptr;
    char buffer[1024];
    if (getservbyname_r("mail", "tcp", &entry, buffer, sizeof buffer, &found) == 0 && found) {
        return ntohs(uint16_t(found->s_port));
    }
    return 25;
}

}  // namespace kestrova
