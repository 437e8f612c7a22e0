#include "app/windows/schedule_grid.h"

#include <algorithm>

namespace kestrova {

WeekQuarter QuarterAt(POINT p) {
    const int day = (p.y - kScheduleGridBox.top) / kScheduleDayHeight;
    const int hour = (p.x - kScheduleGridBox.left) / kScheduleHourWidth;
    const int offset = p.y - kScheduleGridBox.top - day * kScheduleDayHeight;
    // Truncating toward zero: the offsets above the first bar, 0 to 20, all belong to it.
    const int quarter = std::clamp((offset - kQuarterTop) / kQuarterPitch, 0, kHourQuarters - 1);
    return {day, hour, quarter};
}

bool IsQuarterSet(const WeekGrid& grid, const WeekQuarter& q) {
    return (grid[WeekGridWord(q.day, q.hour)] >> q.quarter) & 1;
}

void SetQuarter(WeekGrid& grid, const WeekQuarter& q, bool set) {
    uint16_t& word = grid[WeekGridWord(q.day, q.hour)];
    const uint16_t bit = uint16_t(1u << q.quarter);
    word = set ? uint16_t(word | bit) : uint16_t(word & ~bit);
}

void MarkStretch(WeekGrid& grid, int a, int b) {
    for (int e = std::min(a, b); e <= std::max(a, b); ++e)
        grid[e / kHourQuarters] |= uint16_t(1u << (e % kHourQuarters));
}

}  // namespace kestrova
