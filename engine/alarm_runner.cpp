// The alarm runner: on a trigger the device runs its alarm actions on a thread of its own (run a file, the
// alarm sound, recordings, a photo every 500 ms and the e-mail of the first three) until seven seconds after
// the last trigger.
#include <array>
#include <mutex>
#include <string>
#include <system_error>
#include <vector>

#include "engine/device.h"
#include "engine/storage_files.h"
#include "net/email_job.h"
#include "platform/base/clock.h"
#include "platform/base/text.h"
#include "platform/shell/shell_open.h"
#include "platform/shell/sound.h"

namespace kestrova {
namespace {

constexpr int32_t kAlarmHoldSeconds = 7;
constexpr uint64_t kPhotoIntervalMs = 500;
constexpr int kEmailPhotos = 3;
constexpr size_t kMaxNameBytes = 255;
constexpr char kProductName[] = "Kestrova";

// What the alarm reads once, at its start: changes made during the alarm take effect at the next one.
struct AlarmSettings {
    std::array<int32_t, kActionCount> actions{};
    int32_t sendEmail = 0;
    std::wstring runFile;
    int32_t smtpPort = 0;
    int32_t smtpProtocol = 0;
    std::string smtpServer, smtpUser, smtpPassword, sender, recipient;
    int32_t photoFormat = 0;
    int32_t photoQuality = 0;
};

// Saves one photo below "<storage>Photos/<date>/" and returns its path; empty when every number of this
// second is taken. Devices in alarm at the same time share the folders, so choosing a free name and writing
// the file is one step for the whole process; otherwise two devices could pick the same name and one photo
// would replace the other.
std::wstring SavePhoto(Device& device, const std::wstring& storage, bool forEmail, int format, int quality) {
    static std::mutex naming;
    std::lock_guard<std::mutex> named(naming);
    const LocalTime now = GetClock().Now();
    const std::wstring dateFolder = MakeDateFolder(storage, L"Photos", now);
    std::wstring path =
        FirstFreeFileName(dateFolder, now, forEmail ? L" Email" : L"", format == 1 ? L"jpg" : L"png");
    if (!path.empty()) device.SaveFrame(path, format, quality);
    return path;
}

void FillEmail(EmailJob& job, const AlarmSettings& s, const std::string& deviceName) {
    job.SetMailer(kProductName);
    job.SetServer(s.smtpServer.c_str(), s.smtpPort);
    job.SetSecurity(s.smtpProtocol);
    job.SetLogin(s.smtpUser.c_str());
    job.SetPassword(s.smtpPassword.c_str());
    job.SetSenderMail(s.sender.c_str());
    job.SetRecipient(s.recipient.c_str());
    job.SetSubject(kProductName);
    job.AppendBody(deviceName.c_str());
}

}  // namespace

int Device::TriggerAlarm() {
    std::lock_guard<CriticalSection> lock(alarmLock_);
    alarmHold_ = kAlarmHoldSeconds;
    if (alarmRunning_) return 1;
    // The flag is set here rather than by the thread, so that a trigger before the new thread runs only
    // extends the alarm. Once the thread has cleared it, it takes no alarm lock any more: waiting for it
    // under the lock is safe.
    alarmRunning_ = 1;
    alarmWorker_.Join();
    try {
        alarmWorker_.Start([this](StopFlag& stop) { RunAlarmActions(stop); });
    } catch (const std::system_error&) {
        alarmRunning_ = 0;
        return 0;
    }
    return 1;
}

int Device::StopAlarm() {
    if (!alarmWorker_.Running()) return 1;
    alarmWorker_.Stop();
    return 1;
}

void Device::RunAlarmActions(StopFlag& stop) {
    Clock& clock = GetClock();
    uint64_t noted = clock.Milliseconds();
    {
        std::lock_guard<CriticalSection> lock(alarmLock_);
        alarmRunning_ = 1;
    }
    AlarmSettings s;
    {
        std::lock_guard<CriticalSection> lock(settingsLock_);
        s.actions = actions_;
        s.sendEmail = sendEmail_;
        s.runFile = runFilePath_;
        s.smtpPort = smtpPort_;
        s.smtpProtocol = smtpProtocol_;
        s.smtpServer = smtpServer_;
        s.smtpUser = smtpUser_;
        s.smtpPassword = smtpPassword_;
        s.sender = emailSender_;
        s.recipient = emailRecipient_;
        s.photoFormat = photoFormat_;
        s.photoQuality = photoQuality_;
    }
    std::wstring storage;
    char name[kMaxNameBytes + 1];
    {
        std::lock_guard<CriticalSection> lock(windowLock_);
        storage = storageFolder_;
        ToUtf8Bounded(displayName_, name, kMaxNameBytes);
    }
    SetState(kStateAlarm, 1);

    auto& actions = s.actions;
    if (!actions[kActionSave]) {
        actions[kActionPhoto] = 0;
        actions[kActionVideo] = 0;
        actions[kActionAudio] = 0;
    }
    if (actions[kActionRun] && !s.runFile.empty()) ShellOpen(s.runFile);

    EmailJob email;
    bool emailPending = s.sendEmail != 0;
    if (emailPending) FillEmail(email, s, name);

    // Only when no other sound plays: another device's alarm sound is not interrupted.
    if (actions[kActionPlaySound]) {
        PlaySoundFile(actions[kActionSoundKind] == 1 ? L"alarm_sirene.wav" : L"alarm_beep.wav",
                      kSoundLoop | kSoundNoStop);
    }
    if (actions[kActionVideo]) RecordVideo(1);
    if (actions[kActionAudio]) RecordAudio(1);

    int photo = 1;
    uint64_t elapsed = 0;
    std::vector<std::string> attachments;
    for (;;) {
        {
            std::lock_guard<CriticalSection> lock(alarmLock_);
            if (stop.Requested() || alarmHold_ <= 0) break;
        }
        if (actions[kActionPhoto] || emailPending) {
            const std::wstring path = SavePhoto(*this, storage, emailPending, s.photoFormat, s.photoQuality);
            if (!path.empty()) {
                if (photo <= kEmailPhotos) attachments.push_back(ToUtf8(path));
                ++photo;
            }
        }
        if (emailPending && photo == kEmailPhotos + 1) {
            emailPending = false;
            for (const std::string& path : attachments) email.AddAttachmentPath(path.c_str());
            email.Start(1);
        }
        // One sleep to the next photo time, cut short by StopAlarm.
        for (uint64_t now = clock.Milliseconds(); now - noted < kPhotoIntervalMs;
             now = clock.Milliseconds()) {
            if (!stop.SleepUnlessStopped(uint32_t(kPhotoIntervalMs - (now - noted)))) break;
        }
        noted = clock.Milliseconds();
        elapsed += kPhotoIntervalMs;
        std::lock_guard<CriticalSection> lock(alarmLock_);
        if (elapsed >= 1000) {
            --alarmHold_;
            elapsed = 0;
        }
    }

    RecordVideo(0);
    RecordAudio(0);
    StopSound();
    {
        std::lock_guard<CriticalSection> lock(alarmLock_);
        alarmRunning_ = 0;
    }
    SetState(kStateAlarm, 0);
}

}  // namespace kestrova
