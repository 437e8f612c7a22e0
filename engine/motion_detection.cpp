#include "engine/motion_detection.h"

#include <cstdlib>

namespace kestrova {
namespace {

constexpr int kChangeThreshold = 16;
static_assert(MotionGrid::kReach == 2, "SmoothByte's five weights reach two pixels and two rows either side");

// One byte of a sample point after smoothing: a horizontal pass over the row, then a vertical one over the
// column, each reaching two pixels or rows either side (MotionGrid::kReach), with the weights 0.1, 0.2, 0.4,
// 0.2, 0.1 in double precision, each product added to the running sum and the sum truncated before the next
// is added. `step` is the distance in bytes between the same byte of neighbouring pixels, `row` between
// neighbouring rows.
//
// For a whole number a from 0 to 1,023 and a byte p, trunc(a + w x p) equals a + trunc(w x p) for each weight
// w, and trunc(0.1 x p), trunc(0.2 x p), trunc(0.4 x p) equal p / 10, p / 5, 2p / 5 in integer division (the
// tests check both over every value). So the double-precision sums are computed exactly in integers, which
// keeps a pass well below the cost of copying the frame. The largest result is 253, so none needs clamping
// to 255.
inline int SmoothByte(const uint8_t* p, ptrdiff_t step, ptrdiff_t row) {
    const int a = p[-2 * step] / 10 + p[-step] / 5 + 2 * p[0] / 5 + p[step] / 5 + p[2 * step] / 10;
    return 2 * a / 5 + p[-2 * row] / 10 + p[-row] / 5 + p[row] / 5 + p[2 * row] / 10;
}

}  // namespace

bool MotionGrid::For(int width, int height, MotionGrid* grid) {
    if (!((width == 320 && height == 240) || (width == 640 && height == 480))) return false;
    grid->rowStep_ = height / kMaskSide;
    grid->columnStep_ = width / kMaskSide;
    return true;
}

void MotionGrid::SampleRow(int r, const uint8_t* centre, ptrdiff_t stride, MotionSample& out) const {
    for (int k = 0; k < kMaskSide; ++k) {
        const uint8_t* pixel = centre + ptrdiff_t(CentreColumn(k)) * 3;
        uint8_t* sample = out.data() + (r * kMaskSide + k) * 3;
        for (int c = 0; c < 3; ++c) sample[c] = uint8_t(SmoothByte(pixel + c, 3, stride));
    }
}

bool TakeMotionSample(const uint8_t* frame, size_t size, MotionSample& out) {
    const int height = size == 320 * 240 * 3 ? 240 : size == 640 * 480 * 3 ? 480 : 0;
    MotionGrid grid;
    if (!MotionGrid::For(height * 4 / 3, height, &grid)) return false;
    const ptrdiff_t stride = ptrdiff_t(size) / height;
    // Neighbours lie at most two pixels or rows away and the sample points are 6 rows and 8 pixels apart, so
    // no sample point is another's neighbour: reading them from the frame is reading them from a copy.
    for (int r = 0; r < kMaskSide; ++r) grid.SampleRow(r, frame + grid.CentreRow(r) * stride, stride, out);
    return true;
}

void BlackOutPrivateSamples(const MaskGrid& privacy, MotionSample& sample) {
    // A point and the pixels around it lie inside one cell. Sample row 0 is the bottom of the picture, mask
    // row 0 its top.
    for (int r = 0; r < kMaskSide; ++r) {
        for (int k = 0; k < kMaskSide; ++k) {
            if (privacy[MaskCell(kMaskSide - 1 - r, k)] == 0) continue;
            uint8_t* point = sample.data() + (r * kMaskSide + k) * 3;
            point[0] = point[1] = point[2] = 0;
        }
    }
}

MotionCount CompareMotionSamples(const MotionSample& now, const MotionSample& reference,
                                 const MaskGrid& ignore) {
    MotionCount count;
    for (int r = 0; r < kMaskSide; ++r) {
        for (int k = 0; k < kMaskSide; ++k) {
            // Sample row 0 is the bottom of the picture, mask row 0 its top.
            if (ignore[MaskCell(kMaskSide - 1 - r, k)] != 0) continue;
            const int at = (r * kMaskSide + k) * 3;
            bool changed = true;
            for (int c = 0; c < 3; ++c) {
                if (std::abs(int(now[at + c]) - int(reference[at + c])) < kChangeThreshold) changed = false;
            }
            ++(changed ? count.changed : count.unchanged);
        }
    }
    return count;
}

int MotionLevel(const MotionCount& count, int sensitivity) {
    int64_t t = int64_t(count.changed) * 100 * (int64_t(sensitivity) * 10 + 1);
    if (t != 0) {
        t /= count.changed + count.unchanged;
        t /= 10;
    }
    if (t < 0) return 0;
    return t > 10 ? 10 : int(t);
}

}  // namespace kestrova
