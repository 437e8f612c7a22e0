#pragma once
// One alarm's actions, on the device's alarm thread: what the alarm read at its start (AlarmPlan), and the
// run that carries it out (AlarmRun): the file to run, the alarm sound and the recordings at the start, a
// photo every pass while Photo is on or the e-mail still waits for its three, and the end of the recordings
// and the sound.

#include <array>
#include <cstdint>
#include <string>

#include "engine/alarm_mail.h"
#include "engine/device.h"

namespace kestrova {

// What the alarm reads once, at its start: changes made during the alarm take effect at the next one.
struct AlarmPlan {
    std::array<int32_t, kActionCount> actions{};  // with Save off, Photo, Video and Audio are off too
    std::wstring runFile;
    bool sendEmail = false;
    AlarmMail mail;  // the e-mail settings and the device's name; the photos are added as they are taken
    int32_t photoFormat = 0;
    int32_t photoQuality = 0;
    std::wstring storage;  // the storage folder, ending in "/"
};

class AlarmRun {
public:
    AlarmRun(Device& device, AlarmPlan plan);
    // Tells how many more photos were not saved than the first, which was told at once.
    ~AlarmRun();
    AlarmRun(const AlarmRun&) = delete;
    AlarmRun& operator=(const AlarmRun&) = delete;

    // Opens the file to run, starts the alarm sound and the recordings; a failure of one is logged and the
    // others go on.
    void Begin();
    // One pass: a photo when one is due, and after the third the e-mail, handed to the program's mail sender
    // with those of its photos that were saved (a photo never written would fail the whole mail).
    void Pass();
    // Stops the recordings and whatever sound the process plays.
    void End();

private:
    void StartSound();
    void StartRecordings();
    void NoteFailedPhoto(const std::wstring& path, FrameSave result);
    void Log(const std::string& message);

    Device& device_;
    AlarmPlan plan_;
    bool emailPending_;
    int emailPasses_ = 0;
    int failedPhotos_ = 0;
};

}  // namespace kestrova
