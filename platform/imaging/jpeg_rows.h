#pragma once
// Chosen pixels of chosen rows of a JPEG, read without storing the picture: for work that looks at a few of
// them, such as motion detection's sample points, and has no use for the rest.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace kestrova::imaging {

// A row to read, from the top, and the pixels of it wanted, from the left, in any order.
struct RowRequest {
    int row = 0;
    const std::vector<int>* columns = nullptr;
};

// Receives the `index`th of the rows asked for: blue, green, red bytes across the picture's whole width, of
// which the columns asked for are the picture's and the others may be anything.
using TakeRow = std::function<void(size_t index, const uint8_t* bgr)>;

// Hands `take` each row asked for (in rising order), the columns asked for exactly as DecodeInto would write
// them; the picture is decoded a row at a time and never stored. The picture must be at least `width` x
// `height`, with every row asked for in its top `height` and every column in its left `width`. False when it
// is smaller, or larger than a bitmap may be, or when DecodeInto would not decode it (rows handed over before
// the failure are then not the picture's).
bool ReadJpegRows(const uint8_t* data, size_t size, int width, int height, const std::vector<RowRequest>& rows,
                  const TakeRow& take);

}  // namespace kestrova::imaging
