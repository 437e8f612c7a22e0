#pragma once
// Where a moment falls in the weekly schedule: the quarter hour of the week that the schedule worker looks up
// in a device's WeekGrid.

#include "engine/grids.h"
#include "platform/base/clock.h"

namespace kestrova {

struct ScheduleSlot {
    int day = -1;      // 0 Monday .. 6 Sunday; -1 for no slot yet
    int hour = -1;     // 0..23
    int quarter = -1;  // 0..3, the quarter hour from minute 15 x quarter
    bool operator==(const ScheduleSlot&) const = default;
};

ScheduleSlot SlotOf(const LocalTime& time);
// False for the unset slot.
bool SlotActive(const WeekGrid& grid, const ScheduleSlot& slot);

}  // namespace kestrova
