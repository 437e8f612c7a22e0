#pragma once
// Clients for the web server tests, all on 127.0.0.1: curl as a real HTTP client, and a raw socket for
// requests no real client would send.

#include <cstdint>
#include <string>

namespace kestrova::webtest {

// A port on 127.0.0.1 that nothing listened on a moment ago.
int FreeLoopbackPort();

// Runs a command and returns what it wrote to its standard output.
std::string RunCommand(const std::string& command);
// curl's standard output for `arguments` (each URL names 127.0.0.1:port).
std::string Curl(const std::string& arguments);

class RawClient {
public:
    // `smallReceiveBuffer` keeps the receive window small, so that a large reply stalls in the server's
    // sends while this client does not read.
    explicit RawClient(int port, bool smallReceiveBuffer = false);
    ~RawClient();
    RawClient(const RawClient&) = delete;
    RawClient& operator=(const RawClient&) = delete;

    bool connected() const { return fd_ >= 0; }
    bool Send(const std::string& bytes);
    // Reads one reply: its head and as many body bytes as its Content-Length says. Empty when the server
    // closed or `timeoutMs` passed first.
    std::string ReadReply(int timeoutMs = 5000);
    // True when the server closed the connection within `timeoutMs` without sending anything more.
    bool ClosedWithoutReply(int timeoutMs = 5000);
    // Waits up to `timeoutMs` for bytes to read, and reads none; false when none came.
    bool AwaitData(int timeoutMs);
    // Reads until the server closes or `timeoutMs` passes; the number of bytes, -1 when it did not close.
    long DrainUntilClosed(int timeoutMs);

private:
    int fd_ = -1;
};

}  // namespace kestrova::webtest
