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

KESTROVA_SETTINGS_ACCESSORS(FrameSize, options_.frameSize)
KESTROVA_SETTINGS_ACCESSORS(PhotoFormat, options_.photoFormat)
KESTROVA_SETTINGS_ACCESSORS(PhotoQuality, options_.photoQuality)
KESTROVA_SETTINGS_ACCESSORS(VideoCompression, options_.videoCompression)
KESTROVA_SETTINGS_ACCESSORS(FlipVertical, options_.flipVertical)
KESTROVA_SETTINGS_ACCESSORS(SendEmail, options_.sendEmail)
KESTROVA_SETTINGS_ACCESSORS(SmtpPort, options_.smtpPort)
KESTROVA_SETTINGS_ACCESSORS(SmtpProtocol, options_.smtpProtocol)
KESTROVA_SETTINGS_ACCESSORS(WebIndex, options_.webIndex)
// The alarm actions: SetRecordVideo(0) turns the Video action off, unlike RecordVideo(0), which stops a
// recording.
KESTROVA_SETTINGS_ACCESSORS(SaveFiles, options_.actions[kActionSave])
KESTROVA_SETTINGS_ACCESSORS(SavePhotos, options_.actions[kActionPhoto])
KESTROVA_SETTINGS_ACCESSORS(RecordVideo, options_.actions[kActionVideo])
KESTROVA_SETTINGS_ACCESSORS(RecordAudio, options_.actions[kActionAudio])
KESTROVA_SETTINGS_ACCESSORS(PlaySound, options_.actions[kActionPlaySound])
KESTROVA_SETTINGS_ACCESSORS(SoundKind, options_.actions[kActionSoundKind])
KESTROVA_SETTINGS_ACCESSORS(Preview, options_.actions[kActionPreview])
KESTROVA_SETTINGS_ACCESSORS(PreviewKind, options_.actions[kActionPreviewKind])
KESTROVA_SETTINGS_ACCESSORS(RunFile, options_.actions[kActionRun])

#undef KESTROVA_SETTINGS_ACCESSORS

int Device::GetTolerance() {
    std::lock_guard<CriticalSection> lock(settingsLock_);
    return options_.tolerance;
}

void Device::SetTolerance(int level) {
    std::lock_guard<CriticalSection> lock(settingsLock_);
    options_.tolerance = ClampLevel(level);
}

int Device::GetSensitivity() {
    std::lock_guard<CriticalSection> lock(settingsLock_);
    return options_.sensitivity;
}

void Device::SetSensitivity(int level) {
    std::lock_guard<CriticalSection> lock(settingsLock_);
    options_.sensitivity = ClampLevel(level);
}

int Device::GetRunFilePath(wchar_t* buffer, int count) {
    std::lock_guard<CriticalSection> lock(settingsLock_);
    // The result is the whole length, whatever part of it fits the buffer.
    if (buffer != nullptr && count >= 0) CopyWide(options_.runFilePath, buffer, size_t(count));
    return int(options_.runFilePath.size());
}

int Device::SetRunFilePath(std::wstring_view path) {
    std::lock_guard<CriticalSection> lock(settingsLock_);
    options_.runFilePath.assign(path.substr(0, kMaxRunFileChars));
    return int(options_.runFilePath.size());
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
    return GetSmtpText(options_.smtpServer, buffer, count);
}
int Device::SetSmtpServer(std::wstring_view text) {
    return SetSmtpText(options_.smtpServer, text);
}
int Device::GetSmtpUser(wchar_t* buffer, int count) {
    return GetSmtpText(options_.smtpUser, buffer, count);
}
int Device::SetSmtpUser(std::wstring_view text) {
    return SetSmtpText(options_.smtpUser, text);
}
int Device::GetSmtpPassword(wchar_t* buffer, int count) {
    return GetSmtpText(options_.smtpPassword, buffer, count);
}
int Device::SetSmtpPassword(std::wstring_view text) {
    return SetSmtpText(options_.smtpPassword, text);
}
int Device::GetEmailSender(wchar_t* buffer, int count) {
    return GetSmtpText(options_.emailSender, buffer, count);
}
int Device::SetEmailSender(std::wstring_view text) {
    return SetSmtpText(options_.emailSender, text);
}
int Device::GetEmailRecipient(wchar_t* buffer, int count) {
    return GetSmtpText(options_.emailRecipient, buffer, count);
}
int Device::SetEmailRecipient(std::wstring_view text) {
    return SetSmtpText(options_.emailRecipient, text);
}

int Device::GetScheduleMonitoring() {
    std::lock_guard<CriticalSection> lock(scheduleLock_);
    return schedule_.monitoring;
}

void Device::SetScheduleMonitoring(int on) {
    std::lock_guard<CriticalSection> lock(scheduleLock_);
    schedule_.monitoring = on;
}

int Device::GetScheduleStreaming() {
    std::lock_guard<CriticalSection> lock(scheduleLock_);
    return schedule_.streaming;
}

void Device::SetScheduleStreaming(int on) {
    std::lock_guard<CriticalSection> lock(scheduleLock_);
    schedule_.streaming = on;
}

void Device::GetSchedule(WeekGrid* grid) {
    if (grid == nullptr) return;
    std::lock_guard<CriticalSection> lock(scheduleLock_);
    *grid = schedule_.grid;
}

void Device::SetSchedule(const WeekGrid* grid) {
    if (grid == nullptr) return;
    std::lock_guard<CriticalSection> lock(scheduleLock_);
    schedule_.grid = *grid;
}

}  // namespace kestrova
