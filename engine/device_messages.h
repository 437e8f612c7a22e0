#pragma once
// The messages devices and their graphs post to the notify window (the main window).

#include "platform/ui/types.h"

namespace kestrova {

// lParam = the device, wParam = (argument << 16) | kind.
inline constexpr UINT WM_DEVICE_NOTIFY = WM_APP + 2;
// A capture or recording graph has events queued (lParam = the device, or 0 for a recording graph).
inline constexpr UINT WM_GRAPH_NOTIFY = WM_APP + 3;

enum DeviceNotification : uint16_t {
    kNotifyFrame = 1,     // a new current frame (argument 0)
    kNotifyState = 2,     // state bits changed (argument = the bits)
    kNotifyLevel = 3,     // a detection level 0..10
    kNotifySchedule = 4,  // a schedule edge (argument = kScheduleStart when starting, plus the target bit)
};

inline constexpr uint16_t kScheduleStart = 0x100;

inline constexpr WPARAM DeviceNotifyWParam(uint16_t kind, uint16_t argument) {
    return (WPARAM(argument) << 16) | kind;
}

}  // namespace kestrova
