#pragma once
// SmtpClient: sends one e-mail over one SMTP session. It connects with a bounded wait, reads the greeting,
// says EHLO, upgrades with STARTTLS or speaks TLS from the first byte, authenticates, sends the envelope and
// the MIME message. Every step follows its row of the command table; every failure raises ECSmtp. Each
// command and each reply goes to the debug output, credentials redacted.

#include <cstdint>
#include <string>
#include <string_view>

#include "net/mime_message.h"
#include "net/smtp_auth.h"
#include "net/smtp_commands.h"
#include "net/smtp_socket.h"
#include "net/tls_transport.h"

namespace kestrova {

enum class SmtpSecurity : int {
    kNone = 0,
    kStartTls = 1,
    kTlsFromConnect = 2,
    kKeep = 3,  // for Connect: the stored one
};

class SmtpClient : private SmtpConversation {
public:
    // The largest reply accepted, all its lines together.
    static constexpr size_t kMaxReplyBytes = 64 * 1024;

    // Reads the local host name for EHLO (107).
    SmtpClient();
    // Ends a greeted session with QUIT; never throws.
    virtual ~SmtpClient();
    SmtpClient(const SmtpClient&) = delete;
    SmtpClient& operator=(const SmtpClient&) = delete;

    void SetServer(const std::string& host, int port, bool authenticate);
    void SetSecurity(SmtpSecurity security) { security_ = security; }
    void SetPriority(int priority) { content_.priority = priority; }
    void SetXMailer(const std::string& text) { content_.mailer = text; }
    void SetLogin(const std::string& login) { login_ = login; }
    void SetPassword(const std::string& password) { password_ = password; }
    void SetSenderMail(const std::string& address) { content_.senderAddress = address; }
    void SetSenderName(const std::string& name) { content_.senderName = name; }
    void SetReplyTo(const std::string& address) { content_.replyTo = address; }
    void SetSubject(const std::string& subject) { content_.subject = subject; }
    // A null address raises 209.
    void AddRecipient(const char* address, const char* name = nullptr);
    void AddMsgLine(const std::string& line) { content_.lines.push_back(line); }
    void AddAttachment(const std::string& path) { content_.attachments.push_back(path); }

    // Sends the whole mail, connecting first when there is no session. The session stays open afterwards.
    void Send();
    // Opens the session up to and including authentication. `security` kKeep keeps the stored one.
    void Connect(const std::string& host, int port, SmtpSecurity security, bool authenticate);
    // Ends a greeted session with QUIT and closes the connection, which is closed even when QUIT fails.
    void Disconnect();

private:
    // SmtpConversation
    void Exchange(SmtpCommandId id, std::string_view text, std::string_view trace = {}) override;
    const std::string& LastReply() const override { return reply_; }
    std::string PeerAddress() const override { return socket_.PeerAddress(); }

    void OpenSession(const std::string& host, int port, bool authenticate);
    void Ehlo();
    void SendData(SmtpCommandId id, std::string_view text, std::string_view trace = {});
    void ReadReply(SmtpCommandId id);
    void Receive(std::string& out, uint32_t timeoutSeconds);
    void CloseConnection();

    std::string localHostName_;
    std::string host_;
    int port_ = 0;
    bool authenticate_ = false;
    SmtpSecurity security_ = SmtpSecurity::kNone;
    std::string login_, password_;
    MailContent content_;

    SmtpSocket socket_;
    TlsTransport tls_;
    std::string reply_;  // the last complete reply
    bool greeted_ = false;
};

}  // namespace kestrova
