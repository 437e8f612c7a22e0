// The part of a kind's GetSettings and SetSettings that every kind shares.
#include <mutex>

#include "engine/device.h"
#include "engine/device_settings.h"

namespace kestrova {

void Device::WriteSharedSettings(DeviceSettings& record, bool masks) {
    {
        std::lock_guard<CriticalSection> lock(settingsLock_);
        for (int i = 0; i < kActionCount; ++i) record.SetAction(size_t(i), actions_[i]);
        record.SetRunFile(runFilePath_);
        record.SetSendEmail(sendEmail_);
        record.SetSmtpServer(smtpServer_);
        record.SetSmtpPort(smtpPort_);
        record.SetSmtpProtocol(smtpProtocol_);
        record.SetSmtpUser(smtpUser_);
        record.SetSmtpPassword(smtpPassword_);
        record.SetEmailSender(emailSender_);
        record.SetEmailRecipient(emailRecipient_);
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
        for (int i = 0; i < kActionCount; ++i) actions_[i] = record.GetAction(size_t(i));
        runFilePath_ = record.GetRunFile().substr(0, kMaxRunFileChars);
        sendEmail_ = record.GetSendEmail();
        smtpServer_ = record.GetSmtpServer();
        smtpPort_ = record.GetSmtpPort();
        smtpProtocol_ = record.GetSmtpProtocol();
        smtpUser_ = record.GetSmtpUser();
        smtpPassword_ = record.GetSmtpPassword();
        emailSender_ = record.GetEmailSender();
        emailRecipient_ = record.GetEmailRecipient();
    }
    if (!masks) return;
    const MaskGrid motion = record.GetMotionMask();
    const MaskGrid privacy = record.GetPrivacyMask();
    SetMasks(&motion, &privacy);
}

}  // namespace kestrova
