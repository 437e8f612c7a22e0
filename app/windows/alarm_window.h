#pragma once
// The alarm actions window (class BKV2AlarmWndClass, caption "Alarm"): what a device does when its alarm
// fires: save photos, video or audio, play an alarm sound, open a live view, run a file, send an e-mail. A
// camera's window offers photos, video, the live view and the e-mail; a microphone's (a lower window) audio
// instead. The main window fills the record from the selected device and writes it back after OK.

#include <cstdint>

#include "app/windows/email_settings.h"
#include "platform/ui/types.h"

namespace kestrova {

inline constexpr wchar_t kAlarmWindowClass[] = L"BKV2AlarmWndClass";

// The file to run: at most 1,000 characters and the terminator are used.
inline constexpr int kRunFileCapacity = 1002;

struct AlarmActions {
    int32_t type = 0;  // the device's DeviceType
    int32_t save = 0;  // master switch of photo, video and audio
    int32_t photo = 0;
    int32_t video = 0;
    int32_t audio = 0;
    int32_t playSound = 0;
    int32_t sound = 0;        // 0 "Beep", 1 "Sirene"
    int32_t preview = 0;      // open a live view when the alarm starts
    int32_t previewKind = 0;  // 0 "Popup", 1 "Fullscreen"
    int32_t run = 0;          // open the file to run
    wchar_t fileToRun[kRunFileCapacity] = {};
    int32_t sendEmail = 0;
    EmailSettings email;
};

uint16_t RegisterAlarmWindowClass();
// Edits `actions` in place: 1 after OK with the record written (its e-mail settings as the e-mail window
// left them), 0 with the record as it was. Without a record the camera's window shows and OK answers 0.
int ShowAlarmWindow(HWND owner, AlarmActions* actions);

}  // namespace kestrova
