#pragma once
// Pixels of a 4:2:0 YCbCr JPEG made from its decoded planes, bit for bit as the decoder makes them with smooth
// upsampling: each chroma sample is spread over its 2 x 2 pixels by a triangle filter that blends it 3:1 with
// the next sample up or down, then the result 3:1 with the next one left or right, and the pixel is converted
// to blue, green, red by the decoder's fixed-point tables. Internal to platform/imaging; the decoder uses this
// filter only where the chroma rows are more than two samples wide.

#include <cstdint>
#include <vector>

namespace kestrova::imaging::ycc420 {

// One picture row's planes: its luma row, the chroma rows of its own half-row (near) and of the one above it
// (even rows) or below it (odd rows), clamped to the picture, each `chromaWidth` samples.
struct RowPlanes {
    const uint8_t* luma = nullptr;
    const uint8_t* cbNear = nullptr;
    const uint8_t* cbFar = nullptr;
    const uint8_t* crNear = nullptr;
    const uint8_t* crFar = nullptr;
    int chromaWidth = 0;
};

// Writes the blue, green, red bytes of each pixel in `columns` to its place in `bgr`.
void ToBgr(const RowPlanes& planes, const std::vector<int>& columns, uint8_t* bgr);

}  // namespace kestrova::imaging::ycc420
