#include "engine/mic/level_picture.h"

#include <cstring>

#include "engine/mic/sound_level.h"
#include "platform/imaging/bitmap.h"

namespace kestrova {
namespace {

constexpr size_t kStride = size_t(kLevelPictureWidth) * 3;
constexpr int kSymbolLeft = 197;
constexpr int kSymbolTop = 105;
constexpr int kBarLeft = 116;
constexpr int kBarTop = 271;
constexpr int kBarRows = 8;
constexpr int kSegmentWidth = 23;
constexpr int kSegmentPitch = 25;  // a segment and the 2-pixel gap after it
constexpr uint8_t kLit[3] = {184, 130, 97};
constexpr uint8_t kUnlit[3] = {214, 212, 211};

// The picture's rows are stored bottom-up.
uint8_t* PictureRow(uint8_t* picture, int y) {
    return picture + size_t(kLevelPictureHeight - 1 - y) * kStride;
}

}  // namespace

std::vector<uint8_t> ReadSymbolPicture(int resourceId) {
    const auto bitmap = imaging::Bitmap::FromResource(resourceId & 0xFFFF);
    if (!bitmap || bitmap->Width() != kSymbolWidth || bitmap->Height() != kSymbolHeight) return {};
    std::vector<uint8_t> symbol(size_t(kSymbolStride) * kSymbolHeight, 0);
    if (bitmap->LockBitsInto({0, 0, kSymbolWidth, kSymbolHeight}, symbol.data(), kSymbolStride) !=
        imaging::Status::Ok) {
        return {};
    }
    return symbol;
}

void DrawLevelBackground(uint8_t* picture, const std::vector<uint8_t>& symbol) {
    std::memset(picture, 255, kStride * kLevelPictureHeight);
    if (symbol.size() != size_t(kSymbolStride) * kSymbolHeight) return;
    for (int s = 0; s < kSymbolHeight; ++s) {
        std::memcpy(PictureRow(picture, kSymbolTop + s) + kSymbolLeft * 3, &symbol[size_t(s) * kSymbolStride],
                    kSymbolStride);
    }
}

void DrawLevelBar(uint8_t* picture, int level) {
    for (int y = kBarTop; y < kBarTop + kBarRows; ++y) {
        uint8_t* row = PictureRow(picture, y);
        for (int k = 1; k <= kTopSoundLevel; ++k) {
            const uint8_t* colour = level >= k ? kLit : kUnlit;
            uint8_t* pixel = row + (kBarLeft + kSegmentPitch * (k - 1)) * 3;
            for (int x = 0; x < kSegmentWidth; ++x, pixel += 3) std::memcpy(pixel, colour, 3);
        }
    }
}

}  // namespace kestrova
