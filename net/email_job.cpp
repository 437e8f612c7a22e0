#include "net/email_job.h"

#include <cstring>
#include <exception>

#include "net/smtp_client.h"
#include "net/smtp_error.h"
#include "platform/base/log.h"
#include "platform/base/thread.h"

namespace kestrova {
namespace {

constexpr char kComponent[] = "e-mail";

// At most `limit` bytes of `text`, never ending inside a UTF-8 sequence.
std::string CutAtCharacter(const char* text, size_t limit) {
    size_t length = strnlen(text, limit + 1);
    if (length <= limit) return std::string(text, length);
    length = limit;
    while (length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80) --length;
    return std::string(text, length);
}

}  // namespace

void EmailJob::SetSlot(std::string& slot, const char* text) {
    ScopedLock hold(lock_);
    slot = text ? CutAtCharacter(text, kSlotBytes) : std::string();
}

void EmailJob::SetServer(const char* host, int port) {
    ScopedLock hold(lock_);
    SetSlot(mail_.host, host);
    mail_.port = port;
}

int EmailJob::SetSecurity(int kind) {
    if (kind != 0 && kind != 1) return 0;
    ScopedLock hold(lock_);
    mail_.security = kind;
    return 1;
}

void EmailJob::SetMailer(const char* text) {
    SetSlot(mail_.mailer, text);
}
void EmailJob::SetLogin(const char* text) {
    SetSlot(mail_.login, text);
}
void EmailJob::SetPassword(const char* text) {
    SetSlot(mail_.password, text);
}
void EmailJob::SetSenderMail(const char* text) {
    SetSlot(mail_.sender, text);
}
void EmailJob::SetRecipient(const char* text) {
    SetSlot(mail_.recipient, text);
}
void EmailJob::SetSubject(const char* text) {
    SetSlot(mail_.subject, text);
}

void EmailJob::AppendBody(const char* text) {
    ScopedLock hold(lock_);
    if (!text) {
        mail_.body.reset();
    } else if (!mail_.body) {
        mail_.body = text;
    } else {
        *mail_.body += '\n';
        *mail_.body += text;
    }
}

void EmailJob::AddAttachmentPath(const char* path) {
    ScopedLock hold(lock_);
    if (path) {
        mail_.attachments.emplace_back(path);
    } else {
        mail_.attachments.clear();
    }
}

int EmailJob::Start(int mode) {
    if (mode == 0) return SendNow();
    if (mode != 1) return 0;
    try {
        // Send logs a failure: nobody waits for this thread's result.
        StartDetached([mail = Copy()] { Send(mail); });
    } catch (const std::exception& error) {
        LogError(kComponent, std::string("no thread to send the mail: ") + error.what());
        return 0;
    }
    return 1;
}

int EmailJob::SendNow() {
    return Send(Copy());
}

EmailJob::Mail EmailJob::Copy() {
    ScopedLock hold(lock_);
    return mail_;
}

void EmailJob::ReportFailure(const Mail& mail, const std::string& reason) {
    LogError(kComponent, "the mail to " + mail.recipient + " through " + mail.host + ":" +
                             std::to_string(mail.port) + " was not sent: " + reason);
}

int EmailJob::Send(const Mail& mail) {
    try {
        SmtpClient client;
        client.SetServer(mail.host, mail.port, true);
        client.SetSecurity(mail.security == 1 ? SmtpSecurity::kTlsFromConnect : SmtpSecurity::kStartTls);
        client.SetPriority(3);
        client.SetXMailer(mail.mailer);
        client.SetLogin(mail.login);
        client.SetPassword(mail.password);
        client.SetSenderMail(mail.sender);
        client.SetSenderName("");
        client.SetReplyTo(mail.sender);
        client.AddRecipient(mail.recipient.c_str());
        client.SetSubject(mail.subject);
        if (mail.body) client.AddMsgLine(*mail.body);
        for (const std::string& path : mail.attachments) {
            if (!path.empty()) client.AddAttachment(path);
        }
        client.Send();
        // The closing QUIT is part of the send: a session that fails there has not ended well.
        client.Disconnect();
        return 1;
    } catch (const ECSmtp& error) {
        ReportFailure(mail,
                      ECSmtp::MessageText(error.Code()) + " (error " + std::to_string(error.Code()) + ")");
    } catch (const std::exception& error) {
        ReportFailure(mail, error.what());
    }
    return 0;
}

}  // namespace kestrova
