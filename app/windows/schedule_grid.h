#pragma once
// The schedule window's week grid on the screen: seven day rows of 52 pixels, Monday at the top, and 24
// hour columns of 22 pixels, each hour showing its four quarter hours as bars 7 pixels apart. Where a point
// of the window falls in it, and the stretch of quarter hours a drag selects: the week's time between two
// quarters in reading order (to the end of one day, then on from the start of the next), not a rectangle.

#include "engine/grids.h"
#include "platform/ui/types.h"

namespace kestrova {

inline constexpr RECT kScheduleGridBox{57, 268, 585, 632};  // client coordinates; right and bottom outside
inline constexpr int kScheduleDayHeight = 52, kScheduleHourWidth = 22;
inline constexpr int kQuarterTop = 14, kQuarterPitch = 7;  // the first bar's offset in its day row
inline constexpr int kHourQuarters = 4;
inline constexpr int kWeekQuarters = kWeekDays * kDayHours * kHourQuarters;

struct WeekQuarter {
    int day = 0;      // 0 Monday .. 6 Sunday
    int hour = 0;     // 0..23
    int quarter = 0;  // 0..3, from minute 15 x quarter
    bool operator==(const WeekQuarter&) const = default;
    // 0..671 in the week's order.
    int Index() const { return (day * kDayHours + hour) * kHourQuarters + quarter; }
};

// The quarter under a point of the grid: the bars of an hour split its day row at 21, 28 and 35 pixels.
WeekQuarter QuarterAt(POINT client);

bool IsQuarterSet(const WeekGrid& grid, const WeekQuarter& q);
void SetQuarter(WeekGrid& grid, const WeekQuarter& q, bool set);
// Sets every quarter from index `a` to index `b`, both included, in either order.
void MarkStretch(WeekGrid& grid, int a, int b);

}  // namespace kestrova
