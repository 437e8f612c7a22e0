// PNG through libpng's simplified API: it converts every PNG flavour (palette, grey, 16-bit, alpha) to the
// blue-green-red rows of a bitmap, and reads and writes rows in either order.
#include <png.h>

#include <cstring>

#include "platform/imaging/codecs.h"

namespace kestrova::imaging {

bool LooksLikePng(const uint8_t* data, size_t size) {
    static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    return size >= sizeof kSignature && std::memcmp(data, kSignature, sizeof kSignature) == 0;
}

bool DecodePngRows(const uint8_t* data, size_t size, const PlaceRows& place) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return false;
    int stride = 0;
    uint8_t* top = image.width <= uint32_t(Bitmap::kMaxSide) && image.height <= uint32_t(Bitmap::kMaxSide)
                       ? place(int(image.width), int(image.height), &stride)
                       : nullptr;
    if (top == nullptr) {
        png_image_free(&image);
        return false;
    }
    // Transparent pixels are laid over black.
    if (image.format & PNG_FORMAT_FLAG_ALPHA) {
        for (uint32_t y = 0; y < image.height; ++y)
            std::memset(top + ptrdiff_t(y) * stride, 0, image.width * 3);
    }
    image.format = PNG_FORMAT_BGR;
    uint8_t* first = stride < 0 ? top + ptrdiff_t(image.height - 1) * stride : top;
    return png_image_finish_read(&image, nullptr, first, stride, nullptr) != 0;
}

Status EncodePng(const Bitmap& bitmap, std::vector<uint8_t>& out) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = png_uint_32(bitmap.Width());
    image.height = png_uint_32(bitmap.Height());
    image.format = PNG_FORMAT_BGR;
    const png_int_32 rowStride = bitmap.RowsBottomUp() ? -bitmap.Stride() : bitmap.Stride();
    png_alloc_size_t size = PNG_IMAGE_PNG_SIZE_MAX(image);
    out.resize(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, bitmap.FirstStoredRow(), rowStride,
                                   nullptr)) {
        out.clear();
        return Status::GenericError;
    }
    out.resize(size);
    return Status::Ok;
}

}  // namespace kestrova::imaging
