#pragma once
// TLS for the mail session over its non-blocking socket: set-up, the client handshake, sending and receiving,
// each driven by the library's want-read and want-write results and bounded by the socket's waits. The
// server's certificate is not verified and no host name is sent; every library failure raises ECSmtp 414.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

typedef struct ssl_st SSL;
typedef struct ssl_ctx_st SSL_CTX;

namespace kestrova {

class SmtpSocket;

class TlsTransport {
public:
    TlsTransport() = default;
    ~TlsTransport() { CleanupTls(); }
    TlsTransport(const TlsTransport&) = delete;
    TlsTransport& operator=(const TlsTransport&) = delete;

    // Initialises the library (once per process) and creates the client context.
    void InitTls();
    // Creates the connection on `socket` and completes the handshake, each wait at most `timeoutSeconds`.
    void Handshake(SmtpSocket& socket, uint32_t timeoutSeconds);
    bool HasConnection() const { return ssl_ != nullptr; }

    // Sends the whole of `text`, each wait at most `timeoutSeconds`.
    void SendTls(SmtpSocket& socket, std::string_view text, uint32_t timeoutSeconds);
    // Appends to `out` what is available, at most `limit` bytes, and returns how many. 400 when the peer
    // closed before anything came.
    size_t ReceiveTls(SmtpSocket& socket, std::string& out, size_t limit, uint32_t timeoutSeconds);

    // Says goodbye and frees the connection; the socket under it is still open and is the caller's to close.
    void EndConnection();
    // Ends the connection and frees the context.
    void CleanupTls();

private:
    SSL_CTX* context_ = nullptr;
    SSL* ssl_ = nullptr;
};

}  // namespace kestrova
