#include "toolkit/slider_ticks.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrova::toolkit {
namespace {

std::vector<int> TicksOf(const SliderTicks& ticks) {
    std::vector<int> x;
    for (int value = ticks.Minimum(); value <= ticks.Maximum(); ++value) x.push_back(ticks.X(value));
    return x;
}

TEST(SliderTicksTest, SpreadsTheTicksEvenlyAndGivesTheLeftOverPixelsToTheFirstGaps) {
    const struct {
        int width, minimum, maximum, spacing;
        std::vector<int> x;
    } cases[] = {
        {201, 0, 10, 17, {10, 28, 46, 64, 82, 100, 118, 136, 154, 172, 190}},
        // 250 - 26 - 20 = 204 = 8 x 25 + 4: the first four gaps are one pixel wider.
        {250, 0, 25, 8, {10,  20,  30,  40,  50,  59,  68,  77,  86,  95,  104, 113, 122,
                         131, 140, 149, 158, 167, 176, 185, 194, 203, 212, 221, 230, 239}},
        {100, 5, 8, 25, {10, 37, 63, 89}},  // indexed from the minimum
        {30, 0, 20, 0, {10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30}},
    };
    for (const auto& c : cases) {
        SliderTicks ticks;
        ticks.Layout(c.width, c.minimum, c.maximum);
        EXPECT_EQ(ticks.Spacing(), c.spacing) << c.width;
        EXPECT_EQ(TicksOf(ticks), c.x) << c.width;
    }
}

TEST(SliderTicksTest, ADragSnapsToTheTickWithinHalfAGapAndHoldsBetweenTheZones) {
    SliderTicks ticks;
    ticks.Layout(201, 0, 10);  // ticks every 18 pixels from 10; half a gap is 8
    const struct {
        int px, current, expected;
    } cases[] = {
        {-40, 5, 0},  {17, 5, 0},    // everything left of the first zone's end
        {18, 5, 5},   {19, 5, 5},    // between tick 0's zone and tick 1's: stays
        {21, 5, 1},   {35, 5, 1},    // tick 28, open zone (20, 36)
        {100, 0, 5},  {93, 0, 5},    // on tick 5 and just inside its zone
        {92, 0, 0},   {183, 4, 10},  // the last tick takes everything from 182 on
        {500, 4, 10},
    };
    for (const auto& c : cases) EXPECT_EQ(ticks.ValueAt(c.px, c.current), c.expected) << "at " << c.px;

    SliderTicks packed;
    packed.Layout(30, 0, 20);  // no gaps: every column is a tick of its own
    for (int value : {0, 7, 13, 20}) EXPECT_EQ(packed.ValueAt(packed.X(value), 3), value);
}

}  // namespace
}  // namespace kestrova::toolkit
