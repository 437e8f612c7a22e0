#pragma once
// What the main window's pieces share about its controls: the state buttons with their on and off skins,
// the Tolerance slider's level mark, the list icon and display name of a device, and a device held across
// a modal loop. User-interface thread.

#include <array>
#include <string>

#include "app/device_serials.h"
#include "engine/device.h"
#include "platform/ui/types.h"

namespace kestrova {

// The five state buttons, 1030..1034 in this order, each showing one state bit.
inline constexpr std::array<int32_t, 5> kStateButtonBits = {kStatePowered, kStateMonitoring, kStatePublished,
                                                            kStateMaskSet, kStateScheduleRunning};

// The state button of `bit` (one of kStateButtonBits) on its on skin (5632 + 2i) or off skin (5633 + 2i),
// repainted.
void SetStateButton(HWND mainWindow, int32_t bit, bool on);
// The Tolerance slider's mark of the last detection level, repainted.
void SetLevelMark(HWND mainWindow, int level);
int LevelMark(HWND mainWindow);

// The powered or off icon of the device's kind.
int ListIcon(Device* device);
int AlarmIcon(Device* device);
bool IsMicrophone(Device* device);

// Characters of a display name in the list, and its terminator.
inline constexpr int kNameCapacity = 256;
std::wstring NameOf(Device* device);

// A device a command holds while a modal window or message box runs its loop. Device notifications are
// handled meanwhile, so the device may be deleted (lost) and a new one made at its address: only the serial
// tells whether it is still the same listed device.
class HeldDevice {
public:
    explicit HeldDevice(Device* device) : device_(device), serial_(DeviceSerial(device)) {}
    bool StillListed() const { return IsSameListedDevice(device_, serial_); }

private:
    Device* device_;
    uint64_t serial_;
};

}  // namespace kestrova
