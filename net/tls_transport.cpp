#include "net/tls_transport.h"

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <mutex>

#include "net/smtp_error.h"
#include "net/smtp_socket.h"

namespace kestrova {
namespace {

constexpr int kPieceSize = 1024;

void InitLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        // A library that cannot start fails the context made next, which is reported.
        OPENSSL_init_ssl(OPENSSL_INIT_LOAD_SSL_STRINGS | OPENSSL_INIT_LOAD_CRYPTO_STRINGS, nullptr);
        // The library writes to the socket without MSG_NOSIGNAL: a peer that went away must give an error,
        // not end the program.
        std::signal(SIGPIPE, SIG_IGN);
    });
}

}  // namespace

void TlsTransport::InitTls() {
    InitLibraryOnce();
    if (context_) return;
    context_ = SSL_CTX_new(TLS_client_method());
    if (!context_) throw ECSmtp(ECSmtp::kSslProblem);
    // A peer that closes without close_notify ends the session as a plain close does. (The result is the
    // new option set, not a status.)
    SSL_CTX_set_options(context_, SSL_OP_IGNORE_UNEXPECTED_EOF);
}

void TlsTransport::Handshake(SmtpSocket& socket, uint32_t timeoutSeconds) {
    if (!context_) throw ECSmtp(ECSmtp::kSslProblem);
    EndConnection();
    ssl_ = SSL_new(context_);
    if (!ssl_ || SSL_set_fd(ssl_, socket.Handle()) != 1) throw ECSmtp(ECSmtp::kSslProblem);
    SSL_set_mode(ssl_, SSL_MODE_AUTO_RETRY);  // returns the new mode, not a status
    for (;;) {
        ERR_clear_error();
        int result = SSL_connect(ssl_);
        switch (SSL_get_error(ssl_, result)) {
            case SSL_ERROR_NONE:
                return;
            case SSL_ERROR_WANT_READ:
                socket.WaitFor(SmtpSocket::kReadable, timeoutSeconds);
                break;
            case SSL_ERROR_WANT_WRITE:
                socket.WaitFor(SmtpSocket::kWritable, timeoutSeconds);
                break;
            default:
                throw ECSmtp(ECSmtp::kSslProblem);
        }
    }
}

void TlsTransport::SendTls(SmtpSocket& socket, std::string_view text, uint32_t timeoutSeconds) {
    if (!ssl_) throw ECSmtp(ECSmtp::kSslProblem);
    size_t sent = 0;
    int want = SmtpSocket::kWritable;
    while (sent < text.size()) {
        socket.WaitFor(want, timeoutSeconds);
        ERR_clear_error();
        int result = SSL_write(ssl_, text.data() + sent, int(std::min<size_t>(text.size() - sent, INT_MAX)));
        switch (SSL_get_error(ssl_, result)) {
            case SSL_ERROR_NONE:
                sent += size_t(result);
                want = SmtpSocket::kWritable;
                break;
            case SSL_ERROR_WANT_READ:
                want = SmtpSocket::kWritable | SmtpSocket::kReadable;
                break;
            case SSL_ERROR_WANT_WRITE:
                want = SmtpSocket::kWritable;
                break;
            default:
                throw ECSmtp(ECSmtp::kSslProblem);
        }
    }
}

size_t TlsTransport::ReceiveTls(SmtpSocket& socket, std::string& out, size_t limit, uint32_t timeoutSeconds) {
    if (!ssl_) throw ECSmtp(ECSmtp::kSslProblem);
    size_t received = 0;
    // Bytes the library holds already need no wait.
    bool wait = SSL_pending(ssl_) == 0;
    int want = SmtpSocket::kReadable;
    while (received < limit) {
        if (wait) socket.WaitFor(want, timeoutSeconds);
        char piece[kPieceSize];
        ERR_clear_error();
        int result = SSL_read(ssl_, piece, int(std::min<size_t>(sizeof piece, limit - received)));
        switch (SSL_get_error(ssl_, result)) {
            case SSL_ERROR_NONE:
                out.append(piece, size_t(result));
                received += size_t(result);
                if (SSL_pending(ssl_) == 0) return received;
                wait = false;
                break;
            case SSL_ERROR_ZERO_RETURN:
                if (received == 0) throw ECSmtp(ECSmtp::kConnectionClosed);
                return received;
            case SSL_ERROR_WANT_READ:
                if (received > 0) return received;
                wait = true;
                want = SmtpSocket::kReadable;
                break;
            case SSL_ERROR_WANT_WRITE:
                if (received > 0) return received;
                wait = true;
                want = SmtpSocket::kReadable | SmtpSocket::kWritable;
                break;
            default:
                throw ECSmtp(ECSmtp::kSslProblem);
        }
    }
    return received;
}

void TlsTransport::EndConnection() {
    if (!ssl_) return;
    // One non-blocking call sends our close_notify; the peer's answer is not waited for, and a session that
    // cannot say goodbye is over all the same.
    ERR_clear_error();
    SSL_shutdown(ssl_);
    SSL_free(ssl_);
    ssl_ = nullptr;
    ERR_clear_error();
}

void TlsTransport::CleanupTls() {
    EndConnection();
    if (context_) SSL_CTX_free(context_);
    context_ = nullptr;
}

}  // namespace kestrova
