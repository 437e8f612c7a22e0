#include "toolkit/spin_step.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace kestrova::toolkit {
namespace {

// A button 37 pixels high with an inset of 2, range 0..100.
TEST(SpinStepTest, ARepeatStepsByOneInsideAndMoreTheFartherTheCursorIsDraggedOut) {
    const struct {
        int value, y, expected;
    } cases[] = {
        {50, 10, 51},    // upper half
        {50, 18, 51},    // the middle row counts as upper
        {50, 30, 49},    // lower half
        {50, 1, 53},     // top inset band: (0 - 1 + 2) / 9 + 2 = 2, 100 x 2 / 100 + 1 = 3
        {50, -20, 55},   // above: (0 + 20 + 2) / 9 + 2 = 4, so 5
        {50, -50, 58},   // farther: 52 / 9 + 2 = 7, so 8
        {50, 35, 47},    // bottom inset band
        {50, 60, 45},    // below: (60 - 37 + 2) / 9 + 2 = 4
        {98, -20, 100},  // kept in range
        {3, 60, 0},         {INT32_MAX, 10, 100},  // a value stored as given, far out of range
        {INT32_MIN, 30, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(SpinRepeat(c.value, 0, 100, c.y, 2, 37), c.expected) << "y " << c.y;
}

TEST(SpinStepTest, AClickStepsByOneWithinTheRange) {
    EXPECT_EQ(SpinClick(5, 0, 10, 18, 37), 6);
    EXPECT_EQ(SpinClick(5, 0, 10, 19, 37), 4);
    EXPECT_EQ(SpinClick(10, 0, 10, 0, 37), 10);
    EXPECT_EQ(SpinClick(0, 0, 10, 36, 37), 0);
}

}  // namespace
}  // namespace kestrova::toolkit
