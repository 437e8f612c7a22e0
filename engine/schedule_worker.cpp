// The schedule worker: twice a second it finds the current quarter hour of the week in the device's schedule
// and, on a switch between inactive and active, asks the notify window to start or stop monitoring and
// publishing. It never does either itself.
#include "engine/schedule_worker.h"

#include <mutex>
#include <system_error>

#include "engine/device.h"
#include "platform/base/log.h"

namespace kestrova {
namespace {

constexpr uint32_t kSchedulePassMs = 500;
constexpr uint16_t kScheduleMonitoring = 0x02;
constexpr uint16_t kScheduleStreaming = 0x08;

}  // namespace

ScheduleSlot SlotOf(const LocalTime& time) {
    // The grid starts on Monday, the calendar's week on Sunday.
    static constexpr int kDayOfWeekday[7] = {6, 0, 1, 2, 3, 4, 5};
    return {kDayOfWeekday[time.dayOfWeek % 7], time.hour, time.minute / 15};
}

bool SlotActive(const WeekGrid& grid, const ScheduleSlot& slot) {
    if (slot.day < 0) return false;
    return (grid[WeekGridWord(slot.day, slot.hour)] >> slot.quarter & 1) != 0;
}

int Device::StartSchedule() {
    {
        std::lock_guard<CriticalSection> lock(scheduleLock_);
        // A worker on its way has not set its flag yet; it counts as running.
        if (scheduleRunning_ || scheduleWorker_.Running()) return 1;
    }
    try {
        // No worker runs (tested above): Start begins one or throws.
        scheduleWorker_.Start([this](StopFlag& stop) { RunSchedule(stop); });
    } catch (const std::system_error& error) {
        LogError("schedule", NameForLog() + ": no thread for the schedule: " + error.what());
        return 0;
    }
    return 1;
}

int Device::StopSchedule() {
    if (!scheduleWorker_.Running()) return 1;
    scheduleWorker_.Stop();
    return 1;
}

void Device::RunSchedule(StopFlag& stop) {
    {
        std::lock_guard<CriticalSection> lock(scheduleLock_);
        scheduleRunning_ = 1;
    }
    const HWND window = GetNotifyWindow();
    SetState(kStateScheduleRunning, 1);

    // Private copies: the schedule window may change the device's grid while the worker runs.
    int monitoring, streaming;
    WeekGrid grid;
    {
        std::lock_guard<CriticalSection> lock(scheduleLock_);
        monitoring = schedule_.monitoring;
        streaming = schedule_.streaming;
        grid = schedule_.grid;
    }
    ScheduleSlot previous;

    while (!stop.Requested()) {
        const ScheduleSlot current = SlotOf(GetClock().Now());
        if (current != previous) {
            const bool wasActive = SlotActive(grid, previous);
            const bool isActive = SlotActive(grid, current);
            if (wasActive != isActive) {
                const uint16_t start = isActive ? kScheduleStart : 0;
                if (monitoring) Notify(window, kNotifySchedule, start | kScheduleMonitoring);
                if (streaming) Notify(window, kNotifySchedule, start | kScheduleStreaming);
            }
            previous = current;
        }
        stop.SleepUnlessStopped(kSchedulePassMs);  // a stop cuts it short; the loop's test sees it
    }

    SetState(kStateScheduleRunning, 0);
    std::lock_guard<CriticalSection> lock(scheduleLock_);
    scheduleRunning_ = 0;
}

}  // namespace kestrova
