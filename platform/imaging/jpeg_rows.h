#pragma once
// Chosen pixels of chosen rows of a JPEG, read without storing the picture: for work that looks at a few of
// them, such as motion detection's sample points, and has no use for the rest.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace kestrova::imaging {

// A row to read, from the top; the pixels of it wanted, from the left, in any order; and where they go: the
// blue, green, red bytes of pixel x to into[3x] onwards, every other byte of `into` left as it is.
struct RowRequest {
    int row = 0;
    const std::vector<int>* columns = nullptr;
    uint8_t* into = nullptr;
};

// Told that the pixels of the `index`th of the rows asked for are in place.
using RowDone = std::function<void(size_t index)>;

// Writes the pixels asked for of each row asked for, exactly as DecodeInto would write them, and tells `done`
// of each row in turn (in rising order), so that a caller may reuse the memory of rows it is done with; the
// picture is decoded a row at a time and never stored. The picture must be at least `width` x `height`, with
// every row asked for in its top `height` and every column in its left `width`. False when it is smaller, or
// larger than a bitmap may be, or when DecodeInto would not decode it (pixels written before the failure are
// then not the picture's).
bool ReadJpegRows(const uint8_t* data, size_t size, int width, int height, const std::vector<RowRequest>& rows,
                  const RowDone& done);

}  // namespace kestrova::imaging
