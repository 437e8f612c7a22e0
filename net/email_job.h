#pragma once
// EmailJob: everything one alarm e-mail needs, collected under a lock, then sent through a fresh SmtpClient
// either on the caller's thread or on a thread of its own, so a slow or failing server never holds up the
// alarm.

#include <optional>
#include <string>
#include <vector>

#include "platform/base/lock.h"

namespace kestrova {

class EmailJob {
public:
    // The longest text a slot keeps, in bytes: what the device's settings hold. Longer input is cut at a
    // character boundary.
    static constexpr size_t kSlotBytes = 51;

    EmailJob() = default;
    // Does not wait for a send thread: the thread works on its own copy.
    ~EmailJob() = default;
    EmailJob(const EmailJob&) = delete;
    EmailJob& operator=(const EmailJob&) = delete;

    // Texts may be null, which leaves the slot empty.
    void SetServer(const char* host, int port);
    // 0: a plain connection upgraded with STARTTLS; 1: TLS from the first byte. Any other kind is refused
    // with 0 and changes nothing.
    int SetSecurity(int kind);
    void SetMailer(const char* text);
    void SetLogin(const char* text);
    void SetPassword(const char* text);
    void SetSenderMail(const char* text);
    void SetRecipient(const char* text);
    void SetSubject(const char* text);
    // Null deletes the body; otherwise the text becomes the body or is joined to it after a line feed.
    void AppendBody(const char* text);
    // Null empties the list; otherwise the path is added after the others.
    void AddAttachmentPath(const char* path);

    // Mode 0: SendNow and its result. Mode 1: sends on a new thread, which takes its copy of the job before
    // this returns; 1 when the thread started. Any other mode: 0. A thread that cannot start is logged.
    int Start(int mode);
    // 1 when the whole mail was accepted, 0 when the client reported any error; the error's text is logged
    // with the recipient and the server.
    int SendNow();

private:
    struct Mail {
        std::string host;
        int port = 0;
        int security = 0;
        std::string mailer, login, password, sender, recipient, subject;
        std::optional<std::string> body;
        std::vector<std::string> attachments;
    };

    Mail Copy();
    static int Send(const Mail& mail);
    // Says which mail failed by its recipient and server, never by its credentials.
    static void ReportFailure(const Mail& mail, const std::string& reason);
    void SetSlot(std::string& slot, const char* text);

    CriticalSection lock_;
    Mail mail_;
};

}  // namespace kestrova
