#pragma once
// The codecs behind Bitmap::Decode, DecodeInto and Encode, one per format. Internal to the imaging layer.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/imaging/bitmap.h"

namespace kestrova::imaging {

// Once a decoder has read the picture's size, it asks where the rows go: the top row, and the distance from
// one row to the next in `*stride` (negative when the rows lie bottom-up). Null stops the decoder.
using PlaceRows = std::function<uint8_t*(int width, int height, int* stride)>;

bool LooksLikeJpeg(const uint8_t* data, size_t size);
bool LooksLikePng(const uint8_t* data, size_t size);
bool LooksLikeBmp(const uint8_t* data, size_t size);

// True when every row was placed and written.
bool DecodeJpegRows(const uint8_t* data, size_t size, const PlaceRows& place);
bool DecodePngRows(const uint8_t* data, size_t size, const PlaceRows& place);
bool DecodeBmpRows(const uint8_t* data, size_t size, const PlaceRows& place);

// `quality` is 0..100; both replace the content of `out`.
Status EncodeJpeg(const Bitmap& bitmap, int quality, std::vector<uint8_t>& out);
Status EncodePng(const Bitmap& bitmap, std::vector<uint8_t>& out);

}  // namespace kestrova::imaging
