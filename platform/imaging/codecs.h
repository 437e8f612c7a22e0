#pragma once
// The codecs behind Bitmap::Decode and Encode, one per format. Internal to the imaging layer.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/imaging/bitmap.h"

namespace kestrova::imaging {

bool LooksLikeJpeg(const uint8_t* data, size_t size);
bool LooksLikePng(const uint8_t* data, size_t size);
bool LooksLikeBmp(const uint8_t* data, size_t size);

std::unique_ptr<Bitmap> DecodeJpeg(const uint8_t* data, size_t size);
std::unique_ptr<Bitmap> DecodePng(const uint8_t* data, size_t size);
std::unique_ptr<Bitmap> DecodeBmp(const uint8_t* data, size_t size);

// `quality` is 0..100; both replace the content of `out`.
Status EncodeJpeg(const Bitmap& bitmap, int quality, std::vector<uint8_t>& out);
Status EncodePng(const Bitmap& bitmap, std::vector<uint8_t>& out);

}  // namespace kestrova::imaging
