#pragma once
// The seam through which an alarm hands its e-mail upward. The engine knows what an alarm mail holds; who
// sends it is installed from above, by the program's start-up (the network services' e-mail job), so that
// the engine never links the mail code. Tests install a sender of their own.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kestrova {

// One alarm's e-mail: the device's mail settings as the alarm read them at its start, and its first photos.
struct AlarmMail {
    std::string deviceName;  // UTF-8, at most 255 bytes: the body of the mail
    std::string smtpServer;  // UTF-8, at most 51 bytes, like the four texts below
    int32_t smtpPort = 0;
    int32_t smtpProtocol = 0;  // 0 STARTTLS, 1 TLS from the first byte; the sender decides about others
    std::string smtpUser;
    std::string smtpPassword;
    std::string sender;
    std::string recipient;
    std::vector<std::string> photos;  // UTF-8 paths of the photos that were saved, in the order taken
};

// Called on the alarm thread right after the alarm's third photo. It must not wait for the server: the alarm
// goes on taking photos meanwhile. It reports its own failures (the alarm has nobody to tell).
using AlarmMailSender = std::function<void(const AlarmMail& mail)>;

// Installs the sender every alarm uses from now on and returns the one it replaced; an empty function
// removes it. Any thread.
AlarmMailSender SetAlarmMailSender(AlarmMailSender sender);

// Hands `mail` to the installed sender. Without one the mail is logged as not sent and false returned.
bool SendAlarmMail(const AlarmMail& mail);

}  // namespace kestrova
