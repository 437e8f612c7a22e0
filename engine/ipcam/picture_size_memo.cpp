#include "engine/ipcam/picture_size_memo.h"

#include <cstring>

#include "platform/imaging/bitmap.h"

namespace kestrova {
namespace {

constexpr uint8_t kMarker = 0xFF;
constexpr uint8_t kStartOfImage = 0xD8;
constexpr uint8_t kStartOfScan = 0xDA;

// Markers that stand alone, without a length: the decoder's handling of them (and of fill bytes or stray
// bytes between segments) is not worth copying, so a header holding one is read in full each time.
bool StandsAlone(uint8_t marker) {
    return marker == 0x00 || marker == 0x01 || marker == kMarker || (marker >= 0xD0 && marker <= 0xD9);
}

// The length of the JPEG's header up to the end of its first scan header, which is all that reading the
// header looks at; 0 when the bytes are no JPEG whose segments follow one another plainly.
size_t ScanHeaderEnd(const uint8_t* jpeg, size_t size) {
    if (size < 4 || jpeg[0] != kMarker || jpeg[1] != kStartOfImage) return 0;
    size_t at = 2;
    while (at + 4 <= size) {
        const uint8_t marker = jpeg[at + 1];
        if (jpeg[at] != kMarker || StandsAlone(marker)) return 0;
        const size_t length = size_t(jpeg[at + 2]) << 8 | jpeg[at + 3];
        if (length < 2 || length > size - at - 2) return 0;
        at += 2 + length;
        if (marker == kStartOfScan) return at;
    }
    return 0;
}

}  // namespace

bool PictureSizeMemo::Read(const uint8_t* picture, size_t size, int* width, int* height) {
    const size_t headerEnd = ScanHeaderEnd(picture, size);
    if (headerEnd == 0 || headerEnd != header_.size() || std::memcmp(picture, header_.data(), headerEnd) != 0) {
        header_.assign(picture, picture + headerEnd);
        width_ = 0;
        height_ = 0;
        readable_ = imaging::ReadImageSize(picture, size, &width_, &height_);
    }
    *width = width_;
    *height = height_;
    return readable_;
}

}  // namespace kestrova
