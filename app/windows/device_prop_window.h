#pragma once
// The device properties window (class BKV2DevicePropWndClass, caption "Device"): the picture of one powered
// camera, adjusted live with two sliders, "Brightness" and "Contrast" (0..25), each sent to the camera when
// it is released. A USB camera also offers its driver's own controls ("Advanced") and the driver's default
// picture ("Default"). Every change takes effect at once; "Close" only closes. The level marks under the
// sliders keep showing where the values stood when the window opened.
//
// The main window may delete the camera while this window is open (a device-lost event and its list
// refresh): the window checks that the camera is still listed before every call and closes when it is gone.
// An IP camera's levels travel over the network, off the user-interface thread (camera_level_calls.h).

#include <cstdint>

#include "platform/ui/types.h"

namespace kestrova {

class Device;

inline constexpr wchar_t kDevicePropWindowClass[] = L"BKV2DevicePropWndClass";

struct DevicePropParams {
    Device* device = nullptr;
    int32_t deviceType = 0;  // 0 IP camera, 1 USB camera
};

uint16_t RegisterDevicePropWindowClass();
// Always 0. The camera is looked up in the program's device list (engine/device_list.h).
int ShowDevicePropWindow(HWND owner, DevicePropParams* params);

}  // namespace kestrova
