// Device-independent bitmap files: a 14-byte file header, an info header of 40 bytes or more, and 24-bit
// BI_RGB rows, as the program's skins are stored.
#include <cstring>

#include "platform/imaging/codecs.h"

namespace kestrova::imaging {
namespace {

constexpr size_t kFileHeaderBytes = 14;
constexpr size_t kInfoHeaderBytes = 40;

uint32_t ReadU32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t ReadU16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

}  // namespace

bool LooksLikeBmp(const uint8_t* data, size_t size) {
    return size >= 2 && data[0] == 'B' && data[1] == 'M';
}

std::unique_ptr<Bitmap> DecodeBmp(const uint8_t* data, size_t size) {
    if (size < kFileHeaderBytes + kInfoHeaderBytes) return nullptr;
    const uint32_t pixelOffset = ReadU32(data + 10);
    const uint8_t* info = data + kFileHeaderBytes;
    BitmapInfoHeader header;
    header.biSize = ReadU32(info);
    header.biWidth = int32_t(ReadU32(info + 4));
    header.biHeight = int32_t(ReadU32(info + 8));
    header.biPlanes = ReadU16(info + 12);
    header.biBitCount = ReadU16(info + 14);
    header.biCompression = ReadU32(info + 16);
    if (header.biSize < kInfoHeaderBytes || header.biPlanes != 1 || header.biBitCount != 24 ||
        header.biCompression != 0 || header.biWidth <= 0 || header.biWidth > Bitmap::kMaxSide ||
        header.biHeight == 0 || header.biHeight < -Bitmap::kMaxSide || header.biHeight > Bitmap::kMaxSide) {
        return nullptr;
    }
    const uint64_t rowBytes = (uint64_t(header.biWidth) * 3 + 3) & ~uint64_t(3);
    const uint64_t rows =
        header.biHeight < 0 ? uint64_t(-int64_t(header.biHeight)) : uint64_t(header.biHeight);
    if (pixelOffset < kFileHeaderBytes + uint64_t(header.biSize) || pixelOffset > size ||
        size - pixelOffset < rowBytes * rows) {
        return nullptr;
    }
    return Bitmap::FromFrame(header, data + pixelOffset);
}

}  // namespace kestrova::imaging
