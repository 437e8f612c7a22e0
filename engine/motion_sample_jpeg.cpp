// Motion detection's sample taken straight from a received JPEG. The picture is decoded a row at a time and
// only the five rows around each sample row are kept, in a window of five rows, so detecting motion on a
// camera that nobody watches neither stores whole pictures nor keeps a frame.
#include <algorithm>
#include <vector>

#include "engine/motion_detection.h"
#include "platform/imaging/jpeg_rows.h"

namespace kestrova {
namespace {

constexpr int kRowsPerSample = 5;  // the centre row and two either side

}  // namespace

bool TakeMotionSampleFromJpeg(const uint8_t* jpeg, size_t size, const FrameShape& shape, MotionSample& out) {
    MotionGrid grid;
    if (!MotionGrid::For(shape.width, shape.height, &grid)) return false;
    // The frame is the picture's top-left corner, its rows bottom-up unless the picture is to show upside
    // down. The picture's rows come top first, so its top sample row comes first.
    auto sampleRow = [&](int i) { return shape.flip ? i : kMaskSide - 1 - i; };
    std::vector<int> rows;
    rows.reserve(kMaskSide * kRowsPerSample);
    for (int i = 0; i < kMaskSide; ++i) {
        const int r = sampleRow(i);
        const int centre = shape.flip ? grid.CentreRow(r) : shape.height - 1 - grid.CentreRow(r);
        for (int d = -kRowsPerSample / 2; d <= kRowsPerSample / 2; ++d) rows.push_back(centre + d);
    }
    const size_t stride = size_t(shape.width) * 3;
    std::vector<uint8_t> window(stride * kRowsPerSample);
    return imaging::ReadJpegRows(jpeg, size, shape.width, shape.height, rows, [&](size_t index, const uint8_t* bgr) {
        const size_t inWindow = index % kRowsPerSample;
        std::copy(bgr, bgr + stride, window.data() + inWindow * stride);
        if (inWindow + 1 < kRowsPerSample) return;
        grid.SampleRow(sampleRow(int(index / kRowsPerSample)), window.data() + kRowsPerSample / 2 * stride, ptrdiff_t(stride), out);
    });
}

}  // namespace kestrova
