#include "net/smtp_client.h"

#include <unistd.h>

#include "net/host_resolver.h"
#include "net/smtp_error.h"
#include "net/smtp_reply.h"
#include "platform/base/debug.h"

namespace kestrova {
namespace {

constexpr uint32_t kConnectTimeoutSeconds = 180;
constexpr size_t kReceivePiece = 10239;
constexpr size_t kHostNameMax = 255;

// Errors after which the connection itself is gone or unusable: a QUIT would only fail in turn and hide
// the first error.
bool ConnectionFailed(int32_t code) {
    switch (code) {
        case ECSmtp::kSendFailed:
        case ECSmtp::kRecvFailed:
        case ECSmtp::kWaitFailed:
        case ECSmtp::kConnectionClosed:
        case ECSmtp::kServerNotResponding:
        case ECSmtp::kSslProblem:
            return true;
        default:
            return false;
    }
}

// The trace of a text: without its last line end, which the debug output adds itself.
std::string_view TraceOf(std::string_view text) {
    if (text.ends_with("\r\n")) text.remove_suffix(2);
    return text;
}

}  // namespace

SmtpClient::SmtpClient() {
    char name[kHostNameMax + 1] = {};
    if (gethostname(name, kHostNameMax) != 0) throw ECSmtp(ECSmtp::kHostnameFailed);
    localHostName_ = name;
}

SmtpClient::~SmtpClient() {
    try {
        Disconnect();
    } catch (const ECSmtp&) {
        // The mail's fate was decided before; a session that cannot say goodbye is just closed.
    }
    CloseConnection();
    tls_.CleanupTls();
}

void SmtpClient::SetServer(const std::string& host, int port, bool authenticate) {
    host_ = host;
    port_ = port;
    authenticate_ = authenticate;
}

void SmtpClient::AddRecipient(const char* address, const char* name) {
    if (!address) throw ECSmtp(ECSmtp::kUndefinedRecipientMail);
    content_.to.push_back(MailRecipient{name ? name : "", address});
}

void SmtpClient::Send() {
    try {
        if (!socket_.IsOpen()) Connect(host_, port_, security_, authenticate_);
        CheckAttachments(content_.attachments);
        if (content_.senderAddress.empty()) throw ECSmtp(ECSmtp::kUndefinedSender);
        Exchange(kSmtpMailFrom, FormatSmtpCommand(kSmtpMailFrom, content_.senderAddress));
        if (content_.to.empty()) throw ECSmtp(ECSmtp::kUndefinedRecipients);
        for (const MailRecipient& r : content_.to)
            Exchange(kSmtpRcptTo, FormatSmtpCommand(kSmtpRcptTo, r.address));
        Exchange(kSmtpData, FormatSmtpCommand(kSmtpData));
        WriteMessage(content_, [this](const std::string& block) { SendData(kSmtpDataBlock, block); });
        Exchange(kSmtpEndOfData, FormatSmtpCommand(kSmtpEndOfData));
    } catch (const ECSmtp& e) {
        if (ConnectionFailed(e.Code())) greeted_ = false;
        Disconnect();
        throw;
    }
}

void SmtpClient::Connect(const std::string& host, int port, SmtpSecurity security, bool authenticate) {
    if (security != SmtpSecurity::kKeep) security_ = security;
    try {
        OpenSession(host, port, authenticate);
    } catch (const ECSmtp& e) {
        // A server that refused us with 530 gets no QUIT.
        if (reply_.starts_with("530") || ConnectionFailed(e.Code())) greeted_ = false;
        Disconnect();
        throw;
    }
}

void SmtpClient::OpenSession(const std::string& host, int port, bool authenticate) {
    // The port travels as 16 bits: a larger one would silently name another port.
    if (port < 0 || port > 65535) throw ECSmtp(ECSmtp::kConnectFailed);
    CloseConnection();
    greeted_ = false;
    socket_.Open();
    std::optional<uint32_t> address = ResolveHostIPv4(host);
    if (!address) {
        socket_.Close();
        throw ECSmtp(ECSmtp::kUnknownServer);
    }
    socket_.Connect(*address, port == 0 ? MailServicePort() : uint16_t(port), kConnectTimeoutSeconds);

    if (security_ == SmtpSecurity::kStartTls || security_ == SmtpSecurity::kTlsFromConnect) tls_.InitTls();
    if (security_ == SmtpSecurity::kTlsFromConnect) tls_.Handshake(socket_, kConnectTimeoutSeconds);
    ReadReply(kSmtpGreeting);
    Ehlo();
    if (security_ == SmtpSecurity::kStartTls) {
        if (!ReplyNamesKeyword(reply_, "STARTTLS")) throw ECSmtp(ECSmtp::kStartTlsUnsupported);
        Exchange(kSmtpStartTls, FormatSmtpCommand(kSmtpStartTls));
        tls_.Handshake(socket_, kConnectTimeoutSeconds);
        Ehlo();
    }
    if (authenticate && ReplyNamesKeyword(reply_, "AUTH")) {
        std::string ehloReply = reply_;
        Authenticate(*this, ehloReply, login_, password_);
    }
}

void SmtpClient::Ehlo() {
    Exchange(kSmtpEhlo, FormatSmtpCommand(kSmtpEhlo, localHostName_));
    greeted_ = true;
}

void SmtpClient::Disconnect() {
    struct CloseAtEnd {
        SmtpClient* client;
        ~CloseAtEnd() { client->CloseConnection(); }
    } closeAtEnd{this};
    if (greeted_ && socket_.IsOpen()) {
        greeted_ = false;
        Exchange(kSmtpQuit, FormatSmtpCommand(kSmtpQuit));
    }
    greeted_ = false;
}

void SmtpClient::CloseConnection() {
    // TLS says goodbye on the socket before it is closed, never after: the descriptor may be reused at once.
    tls_.EndConnection();
    socket_.Close();
}

void SmtpClient::Exchange(SmtpCommandId id, std::string_view text, std::string_view trace) {
    SendData(id, text, trace);
    ReadReply(id);
}

void SmtpClient::SendData(SmtpCommandId id, std::string_view text, std::string_view trace) {
    const uint32_t timeout = FindSmtpCommand(id).sendTimeoutSeconds;
    if (tls_.HasConnection()) {
        tls_.SendTls(socket_, text, timeout);
    } else {
        for (size_t sent = 0; sent < text.size();) {
            socket_.WaitFor(SmtpSocket::kWritable, timeout);
            sent += socket_.Send(text.data() + sent, text.size() - sent);
        }
    }
    DebugOutput(TraceOf(trace.empty() ? text : trace));
}

void SmtpClient::Receive(std::string& out, uint32_t timeoutSeconds) {
    if (tls_.HasConnection()) {
        tls_.ReceiveTls(socket_, out, kReceivePiece, timeoutSeconds);  // appends to `out`, throws on failure
        return;
    }
    char piece[kReceivePiece];
    size_t got = 0;
    while (got == 0) {
        socket_.WaitFor(SmtpSocket::kReadable, timeoutSeconds);
        got = socket_.Receive(piece, sizeof piece);
    }
    out.append(piece, got);
}

void SmtpClient::ReadReply(SmtpCommandId id) {
    const SmtpCommand& row = FindSmtpCommand(id);
    reply_.clear();
    std::string text;
    std::optional<int> code;
    do {
        Receive(text, row.receiveTimeoutSeconds);
        if (text.size() > kMaxReplyBytes) throw ECSmtp(ECSmtp::kLackOfMemory);
    } while (!(code = FinalReplyCode(text)));
    reply_ = std::move(text);
    DebugOutput(TraceOf(reply_));
    if (*code != row.expectedReply) throw ECSmtp(row.errorCode);
}

}  // namespace kestrova
