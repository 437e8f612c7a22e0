#include "tools/respack/picture_size.h"

#include <cstdint>
#include <cstdlib>

namespace respack {
namespace {

uint32_t BigEndian(std::string_view bytes, size_t at, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i) value = value << 8 | uint8_t(bytes[at + i]);
    return value;
}

uint32_t LittleEndian(std::string_view bytes, size_t at, int count) {
    uint32_t value = 0;
    for (int i = count - 1; i >= 0; --i) value = value << 8 | uint8_t(bytes[at + i]);
    return value;
}

// The signature, then the IHDR chunk first of all: its length and name, then width and height.
std::optional<PictureSize> PngSize(std::string_view bytes) {
    if (bytes.size() < 24 || bytes.substr(12, 4) != "IHDR") return std::nullopt;
    return PictureSize{int(BigEndian(bytes, 16, 4)), int(BigEndian(bytes, 20, 4))};
}

// The 14-byte file header, then an info header of at least 40 bytes; a negative height means top-down rows.
std::optional<PictureSize> BmpSize(std::string_view bytes) {
    if (bytes.size() < 26 || LittleEndian(bytes, 14, 4) < 40) return std::nullopt;
    const int32_t width = int32_t(LittleEndian(bytes, 18, 4)), height = int32_t(LittleEndian(bytes, 22, 4));
    return PictureSize{width, std::abs(height)};
}

bool IsStartOfFrame(uint8_t marker) {
    // C0 to CF, except C4 (Huffman tables), C8 (reserved) and CC (arithmetic coding conditions).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the marker segments after SOI up to the first start of frame: its precision, then height and width.
std::optional<PictureSize> JpegSize(std::string_view bytes) {
    size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (uint8_t(bytes[at]) != 0xFF) return std::nullopt;
        const uint8_t marker = uint8_t(bytes[at + 1]);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        const uint32_t length = BigEndian(bytes, at + 2, 2);
        if (IsStartOfFrame(marker)) {
            if (length < 7 || at + 9 > bytes.size()) return std::nullopt;
            return PictureSize{int(BigEndian(bytes, at + 7, 2)), int(BigEndian(bytes, at + 5, 2))};
        }
        if (length < 2) return std::nullopt;
        at += 2 + length;
    }
    return std::nullopt;
}

}  // namespace

std::optional<PictureSize> ReadPictureSize(std::string_view bytes) {
    if (bytes.substr(0, 8) == "\x89PNG\r\n\x1a\n") return PngSize(bytes);
    if (bytes.substr(0, 2) == "BM") return BmpSize(bytes);
    if (bytes.substr(0, 2) == "\xFF\xD8") return JpegSize(bytes);
    return std::nullopt;
}

}  // namespace respack
