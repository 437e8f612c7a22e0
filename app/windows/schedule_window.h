#pragma once
// The schedule window (class BKV2ScheduleWndClass, caption "Scheduling"): which actions a device's schedule
// runs ("Monitoring", "Streaming") and the quarter hours of the week in which it runs them, set and
// cleared by dragging over a grid of the week with the left and the right button. Ticking "Streaming" asks
// for the streaming server's settings at once. The main window opens it for a device whose schedule is not
// running, and after OK stores the options and grid in the device and starts its schedule.

#include <cstdint>

#include "app/windows/stream_settings.h"
#include "engine/grids.h"
#include "platform/ui/types.h"

namespace kestrova {

inline constexpr wchar_t kScheduleWindowClass[] = L"BKV2ScheduleWndClass";

struct ScheduleOptions {
    int32_t type = 0;          // the device's DeviceType; a microphone has no "Streaming"
    int32_t monitoring = 0;    // the schedule starts and stops detection
    int32_t streaming = 0;     // the schedule publishes and withdraws the device on the web server
    WeekGrid* grid = nullptr;  // the caller's; null copies no grid in or out
};

uint16_t RegisterScheduleWindowClass();
// Edits `options` in place: 1 after OK, with the flags and the grid written, 0 with them as they were
// (always 0 without options). OK asks for at least one action and at least one quarter hour. `streaming`
// is what the streaming window opened from "Streaming" works on.
int ShowScheduleWindow(HWND owner, ScheduleOptions* options, StreamingSetup* streaming);

}  // namespace kestrova
