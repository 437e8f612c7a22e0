// The accessors of the settings and schedule fields, each under its group's lock.
#include <algorithm>
#include <mutex>

#include "engine/device.h"
#include "platform/base/text.h"

namespace kestrova {
namespace {

int ClampLevel(int level) {
    return std::clamp(level, 0, 10);
}

}  // namespace

#define KESTROVA_SETTINGS_ACCESSORS(Name, field)              \
    int Device::Get##Name() {                                 \
        std::lock_guard<CriticalSection> lock(settingsLock_); \
        return field;                                         \
    }                                                         \
    void Device::Set##Name(int value) {                       \
        std::lock_guard<CriticalSection> lock(settingsLock_); \
        field = value;                                        \
    }

KESTROVA_SETTINGS_ACCESSORS(FrameSize, frameSizeSetting_)
KESTROVA_SETTINGS_ACCESSORS(PhotoFormat, photoFormat_)
KESTROVA_SETTINGS_ACCESSORS(PhotoQuality, photoQuality_)
KESTROVA_SETTINGS_ACCESSORS(VideoCompression, videoCompression_)
KESTROVA_SETTINGS_ACCESSORS(FlipVertical, flipVertical_)
KESTROVA_SETTINGS_ACCESSORS(SendEmail, sendEmail_)
KESTROVA_SETTINGS_ACCESSORS(SmtpPort, smtpPort_)
KESTROVA_SETTINGS_ACCESSORS(SmtpProtocol, smtpProtocol_)
KESTROVA_SETTINGS_ACCESSORS(WebIndex, webIndex_)
KESTROVA_SETTINGS_ACCESSORS(SaveFiles, actions_[kActionSave])
KESTROVA_SETTINGS_ACCESSORS(SavePhotos, actions_[kActionPhoto])
KESTROVA_SETTINGS_ACCESSORS(RecordVideo, actions_[kActionVideo])
KESTROVA_SETTINGS_ACCESSORS(RecordAudio, actions_[kActionAudio])
KESTROVA_SETTINGS_ACCESSORS(PlaySound, actions_[kActionPlaySound])
KESTROVA_SETTINGS_ACCESSORS(SoundKind, actions_[kActionSoundKind])
KESTROVA_SETTINGS_ACCESSORS(Preview, actions_[kActionPreview])
KESTROVA_SETTINGS_ACCESSORS(PreviewKind, actions_[kActionPreviewKind])
KESTROVA_SETTINGS_ACCESSORS(RunFile, actions_[kActionRun])

#undef KESTROVA_SETTINGS_ACCESSORS

int Device::GetTolerance() {
    std::lock_guard<CriticalSection> lock(settingsLock_);
    return tolerance_;
}

void Device::SetTolerance(int level) {
    std::lock_guard<CriticalSection> lock(settingsLock_);
    tolerance_ = ClampLevel(level);
}

int Device::GetSensitivity() {
    std::lock_guard<CriticalSection> lock(settingsLock_);
    return sensitivity_;
}

void Device::SetSensitivity(int level) {
    std::lock_guard<CriticalSection> lock(settingsLock_);
    sensitivity_ = ClampLevel(level);
}

int Device::GetRunFilePath(wchar_t* buffer, int count) {
    std::lock_guard<CriticalSection> lock(settingsLock_);
    // The result is the whole length, whatever part of it fits the buffer.
    if (buffer != nullptr && count >= 0) CopyWide(runFilePath_, buffer, size_t(count));
    return int(runFilePath_.size());
}

int Device::SetRunFilePath(std::wstring_view path) {
    std::lock_guard<CriticalSection> lock(settingsLock_);
    runFilePath_.assign(path.substr(0, kMaxRunFileChars));
    return int(runFilePath_.size());
}

int Device::GetSmtpText(const std::string& field, wchar_t* buffer, int count) {
    std::lock_guard<CriticalSection> lock(settingsLock_);
    if (buffer == nullptr || count < 0) return 0;
    return int(CopyWide(FromUtf8(field), buffer, size_t(count)));
}

int Device::SetSmtpText(std::string& field, std::wstring_view text) {
    char bytes[kMaxSmtpTextBytes + 1];
    size_t n = ToUtf8Bounded(text, bytes, kMaxSmtpTextBytes);
    std::lock_guard<CriticalSection> lock(settingsLock_);
    field.assign(bytes, n);
    return int(n);
}

int Device::GetSmtpServer(wchar_t* buffer, int count) {
    return GetSmtpText(smtpServer_, buffer, count);
}
int Device::SetSmtpServer(std::wstring_view text) {
    return SetSmtpText(smtpServer_, text);
}
int Device::GetSmtpUser(wchar_t* buffer, int count) {
    return GetSmtpText(smtpUser_, buffer, count);
}
int Device::SetSmtpUser(std::wstring_view text) {
    return SetSmtpText(smtpUser_, text);
}
int Device::GetSmtpPassword(wchar_t* buffer, int count) {
    return GetSmtpText(smtpPassword_, buffer, count);
}
int Device::SetSmtpPassword(std::wstring_view text) {
    return SetSmtpText(smtpPassword_, text);
}
int Device::GetEmailSender(wchar_t* buffer, int count) {
    return GetSmtpText(emailSender_, buffer, count);
}
int Device::SetEmailSender(std::wstring_view text) {
    return SetSmtpText(emailSender_, text);
}
int Device::GetEmailRecipient(wchar_t* buffer, int count) {
    return GetSmtpText(emailRecipient_, buffer, count);
}
int Device::SetEmailRecipient(std::wstring_view text) {
    return SetSmtpText(emailRecipient_, text);
}

int Device::GetScheduleMonitoring() {
    std::lock_guard<CriticalSection> lock(scheduleLock_);
    return scheduleMonitoring_;
}

void Device::SetScheduleMonitoring(int on) {
    std::lock_guard<CriticalSection> lock(scheduleLock_);
    scheduleMonitoring_ = on;
}

int Device::GetScheduleStreaming() {
    std::lock_guard<CriticalSection> lock(scheduleLock_);
    return scheduleStreaming_;
}

void Device::SetScheduleStreaming(int on) {
    std::lock_guard<CriticalSection> lock(scheduleLock_);
    scheduleStreaming_ = on;
}

void Device::GetSchedule(WeekGrid* grid) {
    if (grid == nullptr) return;
    std::lock_guard<CriticalSection> lock(scheduleLock_);
    *grid = schedule_;
}

void Device::SetSchedule(const WeekGrid* grid) {
    if (grid == nullptr) return;
    std::lock_guard<CriticalSection> lock(scheduleLock_);
    schedule_ = *grid;
}

}  // namespace kestrova
