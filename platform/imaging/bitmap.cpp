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

int64_t FrameRows(const BitmapInfoHeader& header) {
    return header.biHeight < 0 ? -int64_t(header.biHeight) : int64_t(header.biHeight);
}

int PaddedRowBytes(int width) {
    return (width * 3 + 3) & ~3;
}

bool AreaInside(const Rect& area, int width, int height) {
    return area.width > 0 && area.height > 0 && area.x >= 0 && area.y >= 0 && area.x <= width - area.width &&
           area.y <= height - area.height;
}

}  // namespace

Bitmap::Bitmap(int width, int height, bool bottomUp, uint8_t* pixels)
    : width_(width), height_(height), stride_(PaddedRowBytes(width)), bottomUp_(bottomUp), pixels_(pixels) {}

Bitmap::Bitmap(int width, int height, bool bottomUp, Uninitialized)
    : Bitmap(width, height, bottomUp, nullptr) {
    owned_ = std::make_unique_for_overwrite<uint8_t[]>(size_t(stride_) * size_t(height));
    pixels_ = owned_.get();
}

Bitmap::Bitmap(int width, int height) {
    if (!SizeInRange(width, height)) return;
    width_ = width;
    height_ = height;
    stride_ = PaddedRowBytes(width);
    owned_ = std::make_unique<uint8_t[]>(size_t(stride_) * size_t(height));
    pixels_ = owned_.get();
}

std::unique_ptr<Bitmap> Bitmap::ForOverwrite(int width, int height) {
    if (!SizeInRange(width, height)) return nullptr;
    return std::unique_ptr<Bitmap>(new Bitmap(width, height, false, Uninitialized{}));
}

std::unique_ptr<const Bitmap> Bitmap::ViewFrame(const BitmapInfoHeader& header, const uint8_t* pixels) {
    if (pixels == nullptr || header.biBitCount != 24 || header.biCompression != 0 ||
        !SizeInRange(header.biWidth, FrameRows(header))) {
        return nullptr;
    }
    // The view is const, so the frame's pixels are only ever read through it.
    return std::unique_ptr<const Bitmap>(new Bitmap(header.biWidth, int(FrameRows(header)),
                                                    header.biHeight > 0, const_cast<uint8_t*>(pixels)));
}

std::unique_ptr<Bitmap> Bitmap::FromFrame(const BitmapInfoHeader& header, const uint8_t* pixels) {
    auto view = ViewFrame(header, pixels);
    if (!view) return nullptr;
    auto bitmap =
        std::unique_ptr<Bitmap>(new Bitmap(view->width_, view->height_, view->bottomUp_, Uninitialized{}));
    std::memcpy(bitmap->pixels_, pixels, size_t(bitmap->stride_) * size_t(bitmap->height_));
    return bitmap;
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
