#include "net/alarm_mailer.h"

#include <string>

#include "net/email_job.h"
#include "platform/base/log.h"

namespace kestrova {
namespace {

constexpr char kProductName[] = "Kestrova";

}  // namespace

void MailAlarm(const AlarmMail& mail) {
    EmailJob job;
    job.SetMailer(kProductName);
    job.SetServer(mail.smtpServer.c_str(), mail.smtpPort);
    if (!job.SetSecurity(mail.smtpProtocol)) {
        LogWarning("alarm", mail.deviceName + ": unknown e-mail security " +
                                std::to_string(mail.smtpProtocol) + ", STARTTLS is used");
    }
    job.SetLogin(mail.smtpUser.c_str());
    job.SetPassword(mail.smtpPassword.c_str());
    job.SetSenderMail(mail.sender.c_str());
    job.SetRecipient(mail.recipient.c_str());
    job.SetSubject(kProductName);
    job.AppendBody(mail.deviceName.c_str());
    for (const std::string& photo : mail.photos) job.AddAttachmentPath(photo.c_str());
    job.Start(1);  // the send thread takes its own copy of the job
}

void InstallAlarmMailer() {
    SetAlarmMailSender(MailAlarm);
}

}  // namespace kestrova
