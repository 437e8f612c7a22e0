#include "tests/peers/fakecam/loopback_server.h"

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

#include "tests/peers/fakecam/loopback_listener.h"

namespace kestrova::testing {

LoopbackServer::LoopbackServer(const std::string& address, int backlog, const std::string& peer, Serve serve)
    : serve_(std::move(serve)) {
    const LoopbackListener listener = ListenOnLoopback(address, backlog, peer);
    listener_ = listener.socket;
    port_ = listener.port;
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
    Stop();
}

bool LoopbackServer::PauseUntil(std::chrono::steady_clock::time_point until) {
    std::unique_lock<std::mutex> lock(mutex_);
    return !stopped_.wait_until(lock, until, [this] { return stopping_; });
}

bool LoopbackServer::Stopping() {
    std::lock_guard<std::mutex> guard(mutex_);
    return stopping_;
}

void LoopbackServer::Stop() {
    if (!acceptThread_.joinable()) return;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        stopping_ = true;
        for (int connection : open_) shutdown(connection, SHUT_RDWR);
    }
    stopped_.notify_all();
    shutdown(listener_, SHUT_RDWR);
    acceptThread_.join();
    close(listener_);
    // No thread is added once the accept loop has ended.
    for (std::thread& thread : threads_) thread.join();
}

void LoopbackServer::AcceptLoop() {
    for (;;) {
        const int connection = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        std::lock_guard<std::mutex> guard(mutex_);
        if (stopping_) {
            if (connection >= 0) close(connection);
            return;
        }
        if (connection < 0) continue;
        open_.push_back(connection);
        threads_.emplace_back([this, connection] { ServeConnection(connection); });
    }
}

void LoopbackServer::ServeConnection(int connection) {
    serve_(connection);
    std::lock_guard<std::mutex> guard(mutex_);
    open_.erase(std::find(open_.begin(), open_.end(), connection));
    close(connection);
}

std::string ReadRequestHead(int connection) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        const ssize_t received = recv(connection, buffer, sizeof(buffer), 0);
        if (received <= 0) return std::string();
        head.append(buffer, size_t(received));
    }
    return head;
}

bool SendBytes(int connection, const char* bytes, size_t size) {
    for (size_t sent = 0; sent < size;) {
        const ssize_t result = send(connection, bytes + sent, size - sent, MSG_NOSIGNAL);
        if (result <= 0) return false;
        sent += size_t(result);
    }
    return true;
}

}  // namespace kestrova::testing
