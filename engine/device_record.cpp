// The part of a kind's GetSettings and SetSettings that every kind shares.
#include <mutex>

#include "engine/device.h"
#include "engine/device_settings.h"

namespace kestrova {

void Device::WriteSharedSettings(DeviceSettings& record, bool masks) {
    {
        std::lock_guard<CriticalSection> lock(settingsLock_);
        for (int i = 0; i < kActionCount; ++i) record.SetAction(size_t(i), options_.actions[i]);
        record.SetRunFile(options_.runFilePath);
        record.SetSendEmail(options_.sendEmail);
        record.SetSmtpServer(options_.smtpServer);
        record.SetSmtpPort(options_.smtpPort);
        record.SetSmtpProtocol(options_.smtpProtocol);
        record.SetSmtpUser(options_.smtpUser);
        record.SetSmtpPassword(options_.smtpPassword);
        record.SetEmailSender(options_.emailSender);
        record.SetEmailRecipient(options_.emailRecipient);
    }
    if (!masks) return;
    {
        std::lock_guard<CriticalSection> lock(detectionLock_);
        record.SetMotionMask(motionMask_);
    }
    std::lock_guard<CriticalSection> lock(frameLock_);
    record.SetPrivacyMask(privacyMask_);
}

void Device::ApplySharedSettings(const DeviceSettings& record, bool masks) {
    {
        std::lock_guard<CriticalSection> lock(settingsLock_);
        for (int i = 0; i < kActionCount; ++i) options_.actions[i] = record.GetAction(size_t(i));
        options_.runFilePath = record.GetRunFile().substr(0, kMaxRunFileChars);
        options_.sendEmail = record.GetSendEmail();
        options_.smtpServer = record.GetSmtpServer();
        options_.smtpPort = record.GetSmtpPort();
        options_.smtpProtocol = record.GetSmtpProtocol();
        options_.smtpUser = record.GetSmtpUser();
        options_.smtpPassword = record.GetSmtpPassword();
        options_.emailSender = record.GetEmailSender();
        options_.emailRecipient = record.GetEmailRecipient();
    }
    if (!masks) return;
    const MaskGrid motion = record.GetMotionMask();
    const MaskGrid privacy = record.GetPrivacyMask();
    SetMasks(&motion, &privacy);
}

}  // namespace kestrova
