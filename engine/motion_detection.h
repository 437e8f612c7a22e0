#pragma once
// Motion detection's arithmetic: the 40 x 40 grid of smoothed sample points of a frame, the comparison of two
// grids and the level it gives. The detection worker runs these on the current frame every 200 ms.

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/captured_frame.h"
#include "engine/grids.h"

namespace kestrova {

// Three bytes (blue, green, red) per sample point, sample (r, k) at (r x 40 + k) x 3. Sample row r counts in
// memory order, so r = 0 lies at the bottom of the picture.
using MotionSample = std::array<uint8_t, kMaskCells * 3>;

// Where a frame's sample points lie: 40 rows of 40 points, evenly spaced.
class MotionGrid {
public:
    // How far from a point, in pixels along its row and in rows along its column, the smoothing reads.
    static constexpr int kReach = 2;

    // False for any size but 320 x 240 and 640 x 480.
    static bool For(int width, int height, MotionGrid* grid);

    // The frame row (in memory order) of sample row r's points.
    int CentreRow(int r) const { return rowStep_ / 2 + r * rowStep_; }
    // The frame column of each row's point k.
    int CentreColumn(int k) const { return columnStep_ / 2 + k * columnStep_; }
    // Samples row r from its centre row's pixels at `centre`, the rows around it `stride` bytes away either
    // way (in either order: the smoothing weighs the rows above and below alike).
    void SampleRow(int r, const uint8_t* centre, ptrdiff_t stride, MotionSample& out) const;

private:
    int rowStep_ = 0, columnStep_ = 0;
};

// Samples and smooths a 320 x 240 or 640 x 480 frame (230,400 or 921,600 bytes); false for any other size.
bool TakeMotionSample(const uint8_t* frame, size_t size, MotionSample& out);

// The same sample taken straight from a received JPEG that makes a frame of `shape`, making only the pixels
// the points read as it decodes, so that no frame is made or kept for it. False where the frame could not be
// sampled or the JPEG does not decode as a whole frame would.
bool TakeMotionSampleFromJpeg(const uint8_t* jpeg, size_t size, const FrameShape& shape, MotionSample& out);

// Blacks out the points in the set cells of `privacy`, as they read a frame whose private cells are black.
void BlackOutPrivateSamples(const MaskGrid& privacy, MotionSample& sample);

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
