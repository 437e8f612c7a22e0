#pragma once
// The mail client's connection: a non-blocking TCP socket whose every wait is bounded in whole seconds of the
// installed clock. Failures raise ECSmtp.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrova {

class SmtpSocket {
public:
    enum Readiness { kReadable = 1, kWritable = 2 };

    SmtpSocket() = default;
    ~SmtpSocket() { Close(); }
    SmtpSocket(const SmtpSocket&) = delete;
    SmtpSocket& operator=(const SmtpSocket&) = delete;

    // Creates a non-blocking TCP socket (106, 108).
    void Open();
    // Connects to an IPv4 address (network byte order) within `timeoutSeconds`: 104 when connecting fails at
    // once, 109 when the attempt reports an error, 403 when it does not complete in time.
    void Connect(uint32_t address, uint16_t port, uint32_t timeoutSeconds);
    // Waits until the socket is ready for any of `readiness`: 109 when the wait fails, 402 when time runs
    // out.
    void WaitFor(int readiness, uint32_t timeoutSeconds);
    // Sends what the socket takes now (0 when it takes nothing after all), 102 on failure.
    size_t Send(const char* data, size_t size);
    // Receives what has arrived (0 when nothing has after all): 103 on failure, 400 when the peer has closed.
    size_t Receive(char* buffer, size_t size);
    // The peer's address in dotted form, empty when it cannot be read.
    std::string PeerAddress() const;
    void Close();

    bool IsOpen() const { return fd_ >= 0; }
    int Handle() const { return fd_; }

private:
    int fd_ = -1;
};

// The port of the system's "mail" service, or 25 when it has none.
uint16_t MailServicePort();

}  // namespace kestrova
