#pragma once
// The two grids a device keeps: the 40 x 40 masks over its picture and the weekly schedule.

#include <array>
#include <cstdint>

namespace kestrova {

// 40 x 40 cells, row 0 at the top of the picture; cell (row, column) at index row x 40 + column. A non-zero
// cell is set.
inline constexpr int kMaskSide = 40;
inline constexpr int kMaskCells = kMaskSide * kMaskSide;
using MaskGrid = std::array<int32_t, kMaskCells>;

inline constexpr int MaskCell(int row, int column) {
    return row * kMaskSide + column;
}

// 7 days x 24 hours of 16-bit words, Monday first: the word of day d (0 Monday .. 6 Sunday) and hour h is at
// index d x 24 + h, and its bit q (0..3) marks the quarter hour from minute 15 x q as active.
inline constexpr int kWeekDays = 7;
inline constexpr int kDayHours = 24;
using WeekGrid = std::array<uint16_t, kWeekDays * kDayHours>;

inline constexpr int WeekGridWord(int day, int hour) {
    return day * kDayHours + hour;
}

}  // namespace kestrova
