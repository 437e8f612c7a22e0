// Decoding by format, told by the first bytes: into a new bitmap, or straight into a caller's rows.
#include "platform/imaging/bitmap.h"
#include "platform/imaging/codecs.h"

namespace kestrova::imaging {
namespace {

bool DecodeRows(const uint8_t* data, size_t size, const PlaceRows& place) {
    if (data == nullptr) return false;
    if (LooksLikeJpeg(data, size)) return DecodeJpegRows(data, size, place);
    if (LooksLikePng(data, size)) return DecodePngRows(data, size, place);
    if (LooksLikeBmp(data, size)) return DecodeBmpRows(data, size, place);
    return false;
}

}  // namespace

std::unique_ptr<Bitmap> Bitmap::Decode(const uint8_t* data, size_t size) {
    std::unique_ptr<Bitmap> bitmap;
    const bool decoded = DecodeRows(data, size, [&](int width, int height, int* stride) -> uint8_t* {
        bitmap = ForOverwrite(width, height);
        if (!bitmap) return nullptr;
        *stride = bitmap->Stride();
        return bitmap->Row(0);
    });
    return decoded ? std::move(bitmap) : nullptr;
}

bool ReadImageSize(const uint8_t* data, size_t size, int* width, int* height) {
    bool known = false;
    DecodeRows(data, size, [&](int w, int h, int*) -> uint8_t* {
        known = true;
        if (width) *width = w;
        if (height) *height = h;
        return nullptr;
    });
    return known;
}

Status DecodeInto(const uint8_t* data, size_t size, int width, int height, uint8_t* out, int stride) {
    const int64_t rowBytes = int64_t(width) * 3;
    if (out == nullptr || width <= 0 || height <= 0 || (stride < 0 ? -int64_t(stride) : stride) < rowBytes) {
        return Status::InvalidParameter;
    }
    bool sizeRead = false, sizeMatches = false;
    const bool decoded = DecodeRows(data, size, [&](int w, int h, int* rowStride) -> uint8_t* {
        sizeRead = true;
        sizeMatches = w == width && h == height;
        *rowStride = stride;
        return sizeMatches ? out : nullptr;
    });
    if (decoded) return Status::Ok;
    return sizeRead && !sizeMatches ? Status::InvalidParameter : Status::UnknownImageFormat;
}

}  // namespace kestrova::imaging
