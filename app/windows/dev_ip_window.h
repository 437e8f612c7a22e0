#pragma once
// The add IP camera window (class BKV2DevIPWndClass, caption "Add IP Camera"): an address, a port and
// optional credentials, from which OK makes one IP camera and adds it to the device list, unless a device
// of that name is listed already. Only the devices window opens it. User-interface thread.

#include <cstdint>

#include "platform/ui/types.h"

namespace kestrova {

class MainWindow;

inline constexpr wchar_t kDevIPWindowClass[] = L"BKV2DevIPWndClass";

inline constexpr wchar_t kDeviceListedText[] = L"The device is already in the list.";
inline constexpr wchar_t kPortRangeText[] = L"Please enter a port from 1 to 65535.";

uint16_t RegisterDevIPWindowClass();
// Adds the camera to `main`'s device list (powered off, kept) on OK; the new camera reports to `main`'s
// windows and stores its files in its storage folder. Always 0: what OK did shows in the list.
int ShowDevIPWindow(HWND owner, MainWindow* main);

}  // namespace kestrova
