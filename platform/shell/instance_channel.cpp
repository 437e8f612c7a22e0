#include "platform/shell/instance_channel.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/base/clock.h"
#include "platform/base/debug.h"
#include "platform/base/files.h"
#include "platform/base/text.h"

namespace kestrova {
namespace {

constexpr char kLockName[] = "kestrova.lock";
constexpr char kSocketName[] = "kestrova.sock";
constexpr int kReplyTimeoutSeconds = 5;
constexpr int kRequestTimeoutSeconds = 2;
constexpr uint32_t kRetryMs = 50;

const char* Word(InstanceRequest request) {
    return request == InstanceRequest::kShow ? "show\n" : "close\n";
}

// The folder must be ours alone: whoever can write into it could answer in our place.
bool UsableFolder(const std::string& folder) {
    mkdir(folder.c_str(), 0700);
    struct stat st {};
    if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid() ||
        (st.st_mode & 077)) {
        DebugOutput("Instance: the runtime folder " + folder + " is missing or not private");
        return false;
    }
    return true;
}

bool SocketAddress(const std::string& path, sockaddr_un& address) {
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        DebugOutput("Instance: socket path too long: " + path);
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size());
    return true;
}

void SetTimeout(int fd, int seconds) {
    timeval tv{seconds, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &tv, sizeof tv);
}

bool WriteAll(int fd, const char* text) {
    size_t left = std::strlen(text);
    while (left > 0) {
        ssize_t n = send(fd, text, left, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        text += n;
        left -= size_t(n);
    }
    return true;
}

// One line of at most 15 characters; "" on time-out, close or a longer line.
std::string ReadLine(int fd) {
    std::string line;
    char c = 0;
    while (line.size() < 16) {
        ssize_t n = recv(fd, &c, 1, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return {};
        if (c == '\n') return line;
        line.push_back(c);
    }
    return {};
}

}  // namespace

std::wstring RuntimeFolder() {
    if (const char* own = std::getenv("KESTROVA_RUNTIME_DIR"); own && *own)
        return WithTrailingSlash(FromUtf8(own));
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg == '/')
        return WithTrailingSlash(FromUtf8(xdg)) + L"kestrova/";
    return L"/tmp/kestrova-" + std::to_wstring(getuid()) + L"/";
}

ClaimResult InstanceChannel::Claim(Handler onRequest, std::unique_ptr<InstanceChannel>& channel) {
    const std::string folder = NativePath(RuntimeFolder());
    if (!UsableFolder(folder)) return ClaimResult::kFailed;
    const int lockFd = open((folder + kLockName).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (lockFd < 0) return ClaimResult::kFailed;
    if (flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
        const bool taken = errno == EWOULDBLOCK;
        close(lockFd);
        return taken ? ClaimResult::kTaken : ClaimResult::kFailed;
    }
    channel.reset(new InstanceChannel(lockFd, std::move(onRequest)));

    // Holding the lock, any socket left there is a crashed instance's.
    sockaddr_un address;
    const std::string path = folder + kSocketName;
    const int listenFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd < 0 || !SocketAddress(path, address)) {
        if (listenFd >= 0) close(listenFd);
        return ClaimResult::kClaimed;  // the one instance still, only deaf to later starts
    }
    unlink(path.c_str());
    if (bind(listenFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listenFd, 4) != 0) {
        DebugOutput("Instance: cannot listen on " + path + ": " + std::strerror(errno));
        close(listenFd);
        return ClaimResult::kClaimed;
    }
    channel->socketPath_ = path;
    channel->Listen(listenFd);
    return ClaimResult::kClaimed;
}

ClaimResult InstanceChannel::ClaimWhenFree(Handler onRequest, uint32_t timeoutMs,
                                           std::unique_ptr<InstanceChannel>& channel) {
    const uint64_t start = GetClock().Milliseconds();
    for (;;) {
        const ClaimResult result = Claim(onRequest, channel);
        if (result != ClaimResult::kTaken || GetClock().Milliseconds() - start >= timeoutMs) return result;
        GetClock().Sleep(kRetryMs);
    }
}

bool InstanceChannel::Send(InstanceRequest request) {
    sockaddr_un address;
    if (!SocketAddress(NativePath(RuntimeFolder()) + kSocketName, address)) return false;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    SetTimeout(fd, kReplyTimeoutSeconds);
    const bool taken = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                       WriteAll(fd, Word(request)) && ReadLine(fd) == "ok";
    close(fd);
    return taken;
}

void InstanceChannel::Listen(int listenFd) {
    listenFd_ = listenFd;
    listener_.Start([this](StopFlag& stop) {
        while (!stop.Requested()) {
            const int connection = accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection >= 0) {
                Serve(connection);
                close(connection);
            } else if (errno != EINTR && errno != ECONNABORTED) {
                break;  // the listening socket was shut down
            }
        }
    });
}

void InstanceChannel::Serve(int connection) {
    ucred peer{};
    socklen_t length = sizeof peer;
    if (getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0 || peer.uid != getuid()) return;
    SetTimeout(connection, kRequestTimeoutSeconds);
    const std::string line = ReadLine(connection);
    InstanceRequest request;
    if (line == "show") {
        request = InstanceRequest::kShow;
    } else if (line == "close") {
        request = InstanceRequest::kClose;
    } else {
        return;
    }
    if (onRequest_) onRequest_(request);
    WriteAll(connection, "ok\n");
}

InstanceChannel::~InstanceChannel() {
    if (listenFd_ >= 0) {
        listener_.RequestStop();
        shutdown(listenFd_, SHUT_RDWR);  // wakes the blocked accept
        listener_.Stop();
        close(listenFd_);
        unlink(
            socketPath_.c_str());  // before the lock goes, so a successor's socket is never the one removed
    }
    close(lockFd_);
}

}  // namespace kestrova
