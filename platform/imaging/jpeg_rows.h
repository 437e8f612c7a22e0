#pragma once
// Chosen rows of a JPEG, read without storing the picture: for work that looks at a few rows, such as motion
// detection's sample points, and has no use for the rest.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace kestrova::imaging {

// Receives the `index`th of the rows asked for: blue, green, red bytes across the picture's whole width.
using TakeRow = std::function<void(size_t index, const uint8_t* bgr)>;

// Hands `take` each picture row that `rows` names (top row 0, in rising order), exactly as DecodeInto would
// write it; the picture is decoded a row at a time and never stored. The picture must be at least `width` x
// `height`, with every row asked for in its top `height`. False when it is smaller, or larger than a bitmap
// may be, or when DecodeInto would not decode it (rows handed over before the failure are then not the
// picture's).
bool ReadJpegRows(const uint8_t* data, size_t size, int width, int height, const std::vector<int>& rows,
                  const TakeRow& take);

}  // namespace kestrova::imaging
