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

bool DecodeBmpRows(const uint8_t* data, size_t size, const PlaceRows& place) {
    if (size < kFileHeaderBytes + kInfoHeaderBytes) return false;
    const uint32_t pixelOffset = ReadU32(data + 10);
    const uint8_t* info = data + kFileHeaderBytes;
    const uint32_t infoBytes = ReadU32(info);
    const int32_t width = int32_t(ReadU32(info + 4));
    const int32_t storedHeight = int32_t(ReadU32(info + 8));
    const bool bottomUp = storedHeight > 0;
    const int64_t height = bottomUp ? storedHeight : -int64_t(storedHeight);
    if (infoBytes < kInfoHeaderBytes || ReadU16(info + 12) != 1 || ReadU16(info + 14) != 24 ||
        ReadU32(info + 16) != 0 || width <= 0 || width > Bitmap::kMaxSide || height == 0 ||
        height > Bitmap::kMaxSide) {
        return false;
    }
    const uint64_t rowBytes = (uint64_t(width) * 3 + 3) & ~uint64_t(3);
    if (pixelOffset < kFileHeaderBytes + uint64_t(infoBytes) || pixelOffset > size ||
        size - pixelOffset < rowBytes * uint64_t(height)) {
        return false;
    }
    int stride = 0;
    uint8_t* top = place(width, int(height), &stride);
    if (top == nullptr) return false;
    for (int y = 0; y < height; ++y) {
        const int64_t stored = bottomUp ? height - 1 - y : y;
        std::memcpy(top + ptrdiff_t(y) * stride, data + pixelOffset + uint64_t(stored) * rowBytes,
                    size_t(width) * 3);
    }
    return true;
}

}  // namespace kestrova::imaging
