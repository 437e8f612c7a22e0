#include "app/main_window_controls.h"

#include "app/main_window.h"
#include "platform/ui/windows.h"
#include "toolkit/button.h"
#include "toolkit/property.h"
#include "toolkit/slider.h"

namespace kestrova {
namespace {

constexpr int kFirstOnSkin = 5632;

}  // namespace

void SetStateButton(HWND mainWindow, int32_t bit, bool on) {
    for (size_t i = 0; i < kStateButtonBits.size(); ++i) {
        if (kStateButtonBits[i] != bit) continue;
        const int skin = kFirstOnSkin + 2 * int(i) + (on ? 0 : 1);
        SendDlgItemMessageW(mainWindow, kPowerButtonId + int(i), kButtonBackgroundBitmap,
                            kPropertySetAndRepaint, skin);
    }
}

void SetLevelMark(HWND mainWindow, int level) {
    SendDlgItemMessageW(mainWindow, kToleranceSliderId, kSliderLevel, kPropertySetAndRepaint,
                        MAKELPARAM(0, uint16_t(level)));
}

int LevelMark(HWND mainWindow) {
    return int(SendDlgItemMessageW(mainWindow, kToleranceSliderId, kSliderLevel, kPropertyRead, 0));
}

bool IsMicrophone(Device* device) {
    return device->GetType() == kDeviceMicrophone;
}

int ListIcon(Device* device) {
    const bool powered = device->GetState(kStatePowered) != 0;
    if (IsMicrophone(device)) return powered ? kMicrophonePoweredIcon : kMicrophoneOffIcon;
    return powered ? kCameraPoweredIcon : kCameraOffIcon;
}

int AlarmIcon(Device* device) {
    return IsMicrophone(device) ? kMicrophoneAlarmIcon : kCameraAlarmIcon;
}

std::wstring NameOf(Device* device) {
    wchar_t name[kNameCapacity] = {};
    device->GetFriendlyName(name, kNameCapacity - 1);
    return name;
}

}  // namespace kestrova
