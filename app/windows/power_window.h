#pragma once
// The capture options window (class BKV2PowerWndClass, caption "Power"): what a camera is powered on with,
// its frame size, a vertical flip, the compression of recorded video and the format of saved photos. The
// main window asks for them each time it powers a camera on, and powers it on only after OK.

#include <cstdint>

#include "platform/ui/types.h"

namespace kestrova {

inline constexpr wchar_t kPowerWindowClass[] = L"BKV2PowerWndClass";

// A camera's capture options, as the device's accessors give and take them.
struct PowerSettings {
    int32_t frameSize = 2;     // 1 = 320 x 240, 2 = 640 x 480
    int32_t verticalFlip = 0;  // 0 off, 1 on
    int32_t compression = 0;   // 0 "High", 1 "Medium", 2 "Uncompressed video"
    int32_t photoFormat = 0;   // 0 "PNG", 1 "JPEG"
};

uint16_t RegisterPowerWindowClass();
// Edits `settings` in place. 1 after OK (the record written), else 0 (the record as it was). A value outside
// its choices opens that group at its default.
int ShowPowerWindow(HWND owner, PowerSettings* settings);

}  // namespace kestrova
