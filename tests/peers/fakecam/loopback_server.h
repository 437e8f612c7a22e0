#pragma once
// The serving side of the tests' camera peers: a TCP server on a loopback address and a port the system
// picks, which accepts on a thread of its own and serves each connection on a thread of its own. Stop shuts
// every open connection down, so that a serving thread blocked in a send or a receive returns, wakes those
// pausing in PauseUntil, and joins every thread; the owner calls it before anything its serving reads goes.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kestrova::testing {

class LoopbackServer {
public:
    // Serves one connection; the server closes it once this returns.
    using Serve = std::function<void(int connection)>;

    // Listens on `address` (dotted, in 127.0.0.0/8) with room for `backlog` pending connections. Throws
    // std::invalid_argument for an address off loopback and std::runtime_error, naming `peer`, when it cannot.
    LoopbackServer(const std::string& address, int backlog, const std::string& peer, Serve serve);
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    int Port() const { return port_; }
    // Waits until `until`; false when the server stops first, or has stopped.
    bool PauseUntil(std::chrono::steady_clock::time_point until);
    bool Stopping();
    // Ends serving; the second call does nothing.
    void Stop();

private:
    void AcceptLoop();
    void ServeConnection(int connection);

    const Serve serve_;
    int listener_ = -1;
    int port_ = 0;
    std::thread acceptThread_;

    std::mutex mutex_;
    std::condition_variable stopped_;
    bool stopping_ = false;
    std::vector<int> open_;
    std::vector<std::thread> threads_;
};

// Reads up to the blank line that ends a request head (at most 64 KiB); empty when the client went away first.
std::string ReadRequestHead(int connection);
// Sends all of `size` bytes; false when the connection went away.
bool SendBytes(int connection, const char* bytes, size_t size);

}  // namespace kestrova::testing
