#pragma once
// The network services' side of the alarm's e-mail: the sender that the program's start-up installs into the
// engine (engine/alarm_mail.h). Each alarm mail becomes an EmailJob sent on a thread of its own.

#include "engine/alarm_mail.h"

namespace kestrova {

// Fills an e-mail job from `mail` (mailer and subject "Kestrova", the device's name as the body, the photos
// as attachments) and starts its send thread. Logs an unknown security kind (STARTTLS is used then); the job
// logs a send that failed or could not start. Any thread.
void MailAlarm(const AlarmMail& mail);

// Makes MailAlarm the sender of every alarm.
void InstallAlarmMailer();

}  // namespace kestrova
