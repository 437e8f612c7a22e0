// Motion detection's sample taken straight from a received JPEG. The picture is decoded a row at a time and
// only the pixels the points read, in the five rows around each sample row, are made and kept, in a window of
// five rows, so detecting motion on a camera that nobody watches neither keeps a frame nor makes pixels that
// no point reads.
#include <vector>

#include "engine/motion_detection.h"
#include "platform/imaging/jpeg_rows.h"

namespace kestrova {
namespace {

constexpr int kReach = MotionGrid::kReach;
constexpr int kRowsPerSample = 2 * kReach + 1;  // the centre row and those either side

}  // namespace

bool TakeMotionSampleFromJpeg(const uint8_t* jpeg, size_t size, const FrameShape& shape, MotionSample& out) {
    MotionGrid grid;
    if (!MotionGrid::For(shape.width, shape.height, &grid)) return false;
    // A point reads the pixels either side of it in its own row, and only itself in the rows around.
    std::vector<int> points, pointRuns;
    points.reserve(kMaskSide);
    pointRuns.reserve(kMaskSide * kRowsPerSample);
    for (int k = 0; k < kMaskSide; ++k) {
        points.push_back(grid.CentreColumn(k));
        for (int d = -kReach; d <= kReach; ++d) pointRuns.push_back(grid.CentreColumn(k) + d);
    }
    // The frame is the picture's top-left corner, its rows bottom-up unless the picture is to show upside
    // down. The picture's rows come top first, so its top sample row comes first.
    auto sampleRow = [&](int i) { return shape.flip ? i : kMaskSide - 1 - i; };
    // Each sample row's five rows go to a window of five rows, which the next sample row reuses once this
    // one is sampled.
    const size_t stride = size_t(shape.width) * 3;
    std::vector<uint8_t> window(stride * kRowsPerSample);
    std::vector<imaging::RowRequest> rows;
    rows.reserve(kMaskSide * kRowsPerSample);
    for (int i = 0; i < kMaskSide; ++i) {
        const int r = sampleRow(i);
        const int centre = shape.flip ? grid.CentreRow(r) : shape.height - 1 - grid.CentreRow(r);
        for (int d = -kReach; d <= kReach; ++d) {
            uint8_t* const into = window.data() + size_t(kReach + d) * stride;
            rows.push_back({centre + d, d == 0 ? &pointRuns : &points, into});
        }
    }
    const auto sampled = [&](size_t index) {
        if (index % kRowsPerSample + 1 < kRowsPerSample) return;
        const uint8_t* const centre = window.data() + kReach * stride;
        grid.SampleRow(sampleRow(int(index / kRowsPerSample)), centre, ptrdiff_t(stride), out);
    };
    return imaging::ReadJpegRows(jpeg, size, shape.width, shape.height, rows, sampled);
}

}  // namespace kestrova
