#include "engine/alarm_run.h"

#include <mutex>
#include <utility>

#include "engine/storage_files.h"
#include "platform/base/clock.h"
#include "platform/base/log.h"
#include "platform/base/text.h"
#include "platform/shell/shell_open.h"
#include "platform/shell/sound.h"

namespace kestrova {
namespace {

constexpr int kEmailPhotos = 3;
constexpr char kComponent[] = "alarm";

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

}  // namespace

AlarmRun::AlarmRun(Device& device, AlarmPlan plan)
    : device_(device), plan_(std::move(plan)), emailPending_(plan_.sendEmail) {}

AlarmRun::~AlarmRun() {
    if (failedPhotos_ > 1)
        Log(std::to_string(failedPhotos_ - 1) + " more photos of this alarm were not saved");
}

void AlarmRun::Log(const std::string& message) {
    LogError(kComponent, plan_.mail.deviceName + ": " + message);
}

void AlarmRun::Begin() {
    // ShellOpen logs what it could not open or start.
    if (plan_.actions[kActionRun] && !plan_.runFile.empty()) ShellOpen(plan_.runFile);
    if (plan_.actions[kActionPlaySound]) StartSound();
    StartRecordings();
}

void AlarmRun::StartSound() {
    // Only when no other sound plays: another device's alarm sound is not interrupted, and then this alarm's
    // silence is no failure.
    const wchar_t* sound = plan_.actions[kActionSoundKind] == 1 ? L"alarm_sirene.wav" : L"alarm_beep.wav";
    if (!PlaySoundFile(sound, kSoundLoop | kSoundNoStop) && !SoundPlaying())
        LogWarning(kComponent,
                   plan_.mail.deviceName + ": the alarm sound " + ToUtf8(sound) + " did not play");
}

void AlarmRun::StartRecordings() {
    // A camera records video and a microphone sound: the other kind's action finds no recording to start,
    // which is no failure (Audio is on by default for cameras too).
    const bool microphone = device_.GetType() == kDeviceMicrophone;
    if (plan_.actions[kActionVideo] && !device_.StartVideoRecording() && !microphone)
        Log("the video recording did not start");
    if (plan_.actions[kActionAudio] && !device_.StartAudioRecording() && microphone)
        Log("the audio recording did not start");
}

void AlarmRun::Pass() {
    if (!plan_.actions[kActionPhoto] && !emailPending_) return;
    const Photo photo =
        SavePhoto(device_, plan_.storage, emailPending_, plan_.photoFormat, plan_.photoQuality);
    if (photo.result != FrameSave::kSaved) {
        NoteFailedPhoto(photo.path, photo.result);
    } else if (emailPending_) {
        plan_.mail.photos.push_back(ToUtf8(photo.path));
    }
    if (emailPending_ && ++emailPasses_ == kEmailPhotos) {
        emailPending_ = false;
        SendAlarmMail(plan_.mail);  // the sender logs a mail that could not be sent
    }
}

// The first photo that could not be saved is logged with its reason, the rest counted and told at the end,
// so that a full disk gives two lines an alarm rather than fourteen.
void AlarmRun::NoteFailedPhoto(const std::wstring& path, FrameSave result) {
    if (failedPhotos_++ > 0) return;
    Log("photo not saved, " + (path.empty() ? std::string("no free photo name in this second")
                                            : ToUtf8(path) + ": " + std::string(FrameSaveFailure(result))));
}

void AlarmRun::End() {
    // The device has one recording, which either kind started; stopping gives 1 when nothing was recording.
    if (!device_.StopRecording()) Log("the recording did not stop");
    StopSound();
}

}  // namespace kestrova
