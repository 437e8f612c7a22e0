#include "platform/imaging/bitmap.h"

#include <cstring>

#include "platform/base/resources.h"
#include "platform/imaging/codecs.h"

namespace kestrova::imaging {
namespace {

bool SizeInRange(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= Bitmap::kMaxSide && height <= Bitmap::kMaxSide &&
           width * height <= Bitmap::kMaxPixels;
}

int PaddedRowBytes(int width) {
    return (width * 3 + 3) & ~3;
}

bool AreaInside(const Rect& area, int width, int height) {
    return area.width > 0 && area.height > 0 && area.x >= 0 && area.y >= 0 && area.x <= width - area.width &&
           area.y <= height - area.height;
}

}  // namespace

Bitmap::Bitmap(int width, int height, bool bottomUp, Uninitialized)
    : width_(width),
      height_(height),
      stride_(PaddedRowBytes(width)),
      bottomUp_(bottomUp),
      pixels_(std::make_unique_for_overwrite<uint8_t[]>(size_t(stride_) * size_t(height))) {}

Bitmap::Bitmap(int width, int height) {
    if (!SizeInRange(width, height)) return;
    width_ = width;
    height_ = height;
    stride_ = PaddedRowBytes(width);
    pixels_ = std::make_unique<uint8_t[]>(size_t(stride_) * size_t(height));
}

std::unique_ptr<Bitmap> Bitmap::ForOverwrite(int width, int height) {
    if (!SizeInRange(width, height)) return nullptr;
    return std::unique_ptr<Bitmap>(new Bitmap(width, height, false, Uninitialized{}));
}

std::unique_ptr<Bitmap> Bitmap::FromFrame(const BitmapInfoHeader& header, const uint8_t* pixels) {
    const int64_t height = header.biHeight < 0 ? -int64_t(header.biHeight) : int64_t(header.biHeight);
    if (pixels == nullptr || header.biBitCount != 24 || header.biCompression != 0 ||
        !SizeInRange(header.biWidth, height)) {
        return nullptr;
    }
    auto bitmap = std::unique_ptr<Bitmap>(
        new Bitmap(header.biWidth, int(height), header.biHeight > 0, Uninitialized{}));
    std::memcpy(bitmap->pixels_.get(), pixels, size_t(bitmap->stride_) * size_t(height));
    return bitmap;
}

std::unique_ptr<Bitmap> Bitmap::Decode(const uint8_t* data, size_t size) {
    if (data == nullptr) return nullptr;
    if (LooksLikeJpeg(data, size)) return DecodeJpeg(data, size);
    if (LooksLikePng(data, size)) return DecodePng(data, size);
    if (LooksLikeBmp(data, size)) return DecodeBmp(data, size);
    return nullptr;
}

std::unique_ptr<Bitmap> Bitmap::FromResource(int id) {
    ResourceBytes bytes;
    if (!FindProgramResource(ResourceKind::Bitmap, id, &bytes)) return nullptr;
    return Decode(bytes.data, bytes.size);
}

std::unique_ptr<Bitmap> Bitmap::Clone(const Rect& area) const {
    if (!AreaInside(area, width_, height_)) return nullptr;
    auto copy = ForOverwrite(area.width, area.height);
    if (LockBitsInto(area, copy->Row(0), copy->stride_) != Status::Ok) return nullptr;
    return copy;
}

Status Bitmap::LockBitsInto(const Rect& area, uint8_t* out, int stride) const {
    const int64_t rowBytes = int64_t(area.width) * 3;
    if (out == nullptr || !AreaInside(area, width_, height_) ||
        (stride < 0 ? -int64_t(stride) : stride) < rowBytes) {
        return Status::InvalidParameter;
    }
    for (int y = 0; y < area.height; ++y) {
        std::memcpy(out + ptrdiff_t(y) * stride, Row(area.y + y) + size_t(area.x) * 3, size_t(rowBytes));
    }
    return Status::Ok;
}

}  // namespace kestrova::imaging
