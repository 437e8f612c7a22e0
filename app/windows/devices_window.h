#pragma once
// The devices window (class BKV2DevicesWndClass, caption "Devices"): which devices the program keeps. Three
// lists, microphones, USB cameras and IP cameras, show every listed device with a tick (keep) or a cross
// (remove); "Refresh" creates a device, crossed, for each capture device of the system not listed yet, and
// "Add" opens the add IP camera window. The window never deletes a device: it sets the deleted marks, and
// Cancel or the close button puts back the marks it found. After it closes, the main window's refresh
// deletes every marked device. User-interface thread.

#include <cstdint>

#include "platform/ui/types.h"

namespace kestrova {

class MainWindow;

inline constexpr wchar_t kDevicesWindowClass[] = L"BKV2DevicesWndClass";

uint16_t RegisterDevicesWindowClass();
// Works on `main`'s device list; new devices report to `main`'s windows. Always 0: what the user chose is in
// the deleted marks.
int ShowDevicesWindow(HWND owner, MainWindow* main);

}  // namespace kestrova
