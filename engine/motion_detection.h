#pragma once
// Motion detection's arithmetic: the 40 x 40 grid of smoothed sample points of a frame, the comparison of two
// grids and the level it gives. The detection worker runs these on the current frame every 200 ms.

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/grids.h"

namespace kestrova {

// Three bytes (blue, green, red) per sample point, sample (r, k) at (r x 40 + k) x 3. Sample row r counts in
// memory order, so r = 0 lies at the bottom of the picture.
using MotionSample = std::array<uint8_t, kMaskCells * 3>;

// Samples and smooths a 320 x 240 or 640 x 480 frame (230,400 or 921,600 bytes); false for any other size.
bool TakeMotionSample(const uint8_t* frame, size_t size, MotionSample& out);

struct MotionCount {
    int changed = 0;
    int unchanged = 0;
};

// A sample whose ignore-mask cell is 0 is changed when its three bytes all differ by at least 16 from the
// reference's; masked samples count as neither.
MotionCount CompareMotionSamples(const MotionSample& now, const MotionSample& reference,
                                 const MaskGrid& ignore);

// The level 0..10 of a count at Sensitivity 0..10: 10 at 2 % changed for Sensitivity 5, 1 at 10 % for 0.
int MotionLevel(const MotionCount& count, int sensitivity);

}  // namespace kestrova
