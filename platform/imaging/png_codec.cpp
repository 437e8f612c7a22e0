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

std::unique_ptr<Bitmap> DecodePng(const uint8_t* data, size_t size) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data, size)) return nullptr;
    auto bitmap = Bitmap::ForOverwrite(int(image.width), int(image.height));
    if (!bitmap) {
        png_image_free(&image);
        return nullptr;
    }
    // Transparent pixels are laid over black.
    if (image.format & PNG_FORMAT_FLAG_ALPHA) {
        std::memset(bitmap->Row(0), 0, size_t(bitmap->Stride()) * size_t(bitmap->Height()));
    }
    image.format = PNG_FORMAT_BGR;
    if (!png_image_finish_read(&image, nullptr, bitmap->Row(0), bitmap->Stride(), nullptr)) return nullptr;
    return bitmap;
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
