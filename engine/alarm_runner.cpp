// The alarm runner: on a trigger the device runs its alarm actions on a thread of its own (run a file, the
// alarm sound, recordings, a photo every 500 ms and the e-mail of the first three) until seven seconds after
// the last trigger.
#include <array>
#include <mutex>
#include <string>
#include <system_error>

#include "engine/alarm_mail.h"
#include "engine/device.h"
#include "engine/storage_files.h"
#include "platform/base/clock.h"
#include "platform/base/log.h"
#include "platform/base/text.h"
#include "platform/shell/shell_open.h"
#include "platform/shell/sound.h"

namespace kestrova {
namespace {

constexpr int32_t kAlarmHoldSeconds = 7;
constexpr uint64_t kPhotoIntervalMs = 500;
constexpr int kEmailPhotos = 3;
constexpr size_t kMaxNameBytes = 255;
constexpr char kComponent[] = "alarm";

// What the alarm reads once, at its start: changes made during the alarm take effect at the next one.
struct AlarmSettings {
    std::array<int32_t, kActionCount> actions{};
    int32_t sendEmail = 0;
    std::wstring runFile;
    AlarmMail mail;  // its photos are added as they are taken
    int32_t photoFormat = 0;
    int32_t photoQuality = 0;
};

struct Photo {
    std::wstring path;  // empty when every number of this second is taken
    FrameSave result = FrameSave::kNotWritten;
};

// Saves one photo below "<storage>Photos/<date>/". Devices in alarm at the same time share the folders, so
// choosing a free name and writing the file is one step for the whole process; otherwise two devices could
// pick the same name and one photo would replace the other.
Photo SavePhoto(Device& device, const std::wstring& storage, bool forEmail, int format, int quality) {
    static std::mutex naming;
    std::lock_guard<std::mutex> named(naming);
    const LocalTime now = GetClock().Now();
    const std::wstring dateFolder = MakeDateFolder(storage, L"Photos", now);
    Photo photo;
    photo.path =
        FirstFreeFileName(dateFolder, now, forEmail ? L" Email" : L"", format == 1 ? L"jpg" : L"png");
    if (!photo.path.empty()) photo.result = device.SaveFrameAs(photo.path, format, quality);
    return photo;
}

// The photos of one alarm and its e-mail: a photo each pass while Photo is on or the e-mail still waits for
// its three, and the e-mail, handed to the program's mail sender after the third pass, with those of its
// photos that were saved (a photo never written would fail the whole mail). The first photo that could not be saved is logged with its reason,
// the rest counted and told at the end, so that a full disk gives two lines an alarm rather than fourteen.
class AlarmPhotos {
public:
    AlarmPhotos(Device& device, const AlarmSettings& s, std::string deviceName, std::wstring storage)
        : device_(device),
          settings_(s),
          deviceName_(std::move(deviceName)),
          storage_(std::move(storage)),
          mail_(s.mail),
          emailPending_(s.sendEmail != 0) {}
    ~AlarmPhotos() {
        if (failures_ > 1)
            LogError(kComponent, deviceName_ + ": " + std::to_string(failures_ - 1) +
                                     " more photos of this alarm were not saved");
    }
    AlarmPhotos(const AlarmPhotos&) = delete;
    AlarmPhotos& operator=(const AlarmPhotos&) = delete;

    void Pass() {
        if (!settings_.actions[kActionPhoto] && !emailPending_) return;
        const Photo photo =
            SavePhoto(device_, storage_, emailPending_, settings_.photoFormat, settings_.photoQuality);
        if (photo.result != FrameSave::kSaved) {
            NoteFailure(photo);
        } else if (emailPending_) {
            mail_.photos.push_back(ToUtf8(photo.path));
        }
        if (emailPending_ && ++emailPasses_ == kEmailPhotos) {
            emailPending_ = false;
            SendAlarmMail(mail_);  // the sender logs a mail that could not be sent
        }
    }

private:
    void NoteFailure(const Photo& photo) {
        if (failures_++ > 0) return;
        const std::string what =
            photo.path.empty() ? std::string("no free photo name in this second")
                               : ToUtf8(photo.path) + ": " + std::string(FrameSaveFailure(photo.result));
        LogError(kComponent, deviceName_ + ": photo not saved, " + what);
    }

    Device& device_;
    const AlarmSettings& settings_;
    const std::string deviceName_;
    const std::wstring storage_;
    AlarmMail mail_;
    bool emailPending_;
    int emailPasses_ = 0;
    int failures_ = 0;
};

void StartAlarmSound(int soundKind, const std::string& deviceName) {
    // Only when no other sound plays: another device's alarm sound is not interrupted, and then this alarm's
    // silence is no failure.
    const wchar_t* sound = soundKind == 1 ? L"alarm_sirene.wav" : L"alarm_beep.wav";
    if (!PlaySoundFile(sound, kSoundLoop | kSoundNoStop) && !SoundPlaying())
        LogWarning(kComponent, deviceName + ": the alarm sound " + ToUtf8(sound) + " did not play");
}

}  // namespace

int Device::TriggerAlarm() {
    std::string failure;
    {
        std::lock_guard<CriticalSection> lock(alarmLock_);
        alarmHold_ = kAlarmHoldSeconds;
        if (alarmRunning_) return 1;
        // The flag is set here rather than by the thread, so that a trigger before the new thread runs only
        // extends the alarm. Once the thread has cleared it, it takes no alarm lock any more: waiting for it
        // under the lock is safe.
        alarmRunning_ = 1;
        alarmWorker_.Join();
        try {
            // After the Join no thread of this worker runs: Start begins one or throws.
            alarmWorker_.Start([this](StopFlag& stop) { RunAlarmActions(stop); });
            return 1;
        } catch (const std::system_error& error) {
            alarmRunning_ = 0;
            failure = error.what();
        }
    }
    // Outside the alarm lock: the name is under the window lock, and the two are never nested.
    LogError(kComponent, NameForLog() + ": no thread for the alarm: " + failure);
    return 0;
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
        s.mail.smtpPort = smtpPort_;
        s.mail.smtpProtocol = smtpProtocol_;
        s.mail.smtpServer = smtpServer_;
        s.mail.smtpUser = smtpUser_;
        s.mail.smtpPassword = smtpPassword_;
        s.mail.sender = emailSender_;
        s.mail.recipient = emailRecipient_;
        s.photoFormat = photoFormat_;
        s.photoQuality = photoQuality_;
    }
    std::wstring storage;
    char name[kMaxNameBytes + 1];
    {
        std::lock_guard<CriticalSection> lock(windowLock_);
        storage = storageFolder_;
        // Cut at a character boundary; the length it gives is not needed.
        ToUtf8Bounded(displayName_, name, kMaxNameBytes);
    }
    s.mail.deviceName = name;
    SetState(kStateAlarm, 1);

    auto& actions = s.actions;
    if (!actions[kActionSave]) {
        actions[kActionPhoto] = 0;
        actions[kActionVideo] = 0;
        actions[kActionAudio] = 0;
    }
    // ShellOpen logs what it could not open or start; the alarm goes on with the other actions.
    if (actions[kActionRun] && !s.runFile.empty()) ShellOpen(s.runFile);
    AlarmPhotos photos(*this, s, name, storage);
    if (actions[kActionPlaySound]) StartAlarmSound(actions[kActionSoundKind], name);
    // A camera records video and a microphone sound: the other kind's action finds no recording to start,
    // which is no failure (Audio is on by default for cameras too).
    const bool microphone = GetType() == kDeviceMicrophone;
    if (actions[kActionVideo] && !RecordVideo(1) && !microphone)
        LogError(kComponent, std::string(name) + ": the video recording did not start");
    if (actions[kActionAudio] && !RecordAudio(1) && microphone)
        LogError(kComponent, std::string(name) + ": the audio recording did not start");

    uint64_t elapsed = 0;
    for (;;) {
        {
            std::lock_guard<CriticalSection> lock(alarmLock_);
            if (stop.Requested() || alarmHold_ <= 0) break;
        }
        photos.Pass();
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

    // The device has one recording graph, which either call stops; both give 1 when nothing was recording.
    const int videoStopped = RecordVideo(0);
    const int audioStopped = RecordAudio(0);
    if (!videoStopped || !audioStopped)
        LogError(kComponent, std::string(name) + ": the recording did not stop");
    StopSound();
    {
        std::lock_guard<CriticalSection> lock(alarmLock_);
        alarmRunning_ = 0;
    }
    SetState(kStateAlarm, 0);
}

}  // namespace kestrova
