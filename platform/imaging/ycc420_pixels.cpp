// The decoder's smooth upsampling and colour conversion for single pixels (ycc420_pixels.h). The constants and
// roundings are the decoder's own: anything else would give pixels a whole decode does not.
#include "platform/imaging/ycc420_pixels.h"

#include <algorithm>

namespace kestrova::imaging::ycc420 {
namespace {

constexpr int kScaleBits = 16;
constexpr int32_t kOneHalf = 1 << (kScaleBits - 1);

constexpr int32_t Fixed(double x) {
    return int32_t(x * (1 << kScaleBits) + 0.5);
}

// Levels from luma plus a chroma part, which stays within kReach of the 0 to 255 they are clamped to.
constexpr int kReach = 256;

// Per chroma level: red from Cr and blue from Cb, rounded; green's two parts, scaled up, Cb's with the
// rounding half in it. And each level a sum may come to, clamped, from -kReach on.
struct ColourTables {
    int32_t redFromCr[256], blueFromCb[256], greenFromCr[256], greenFromCb[256];
    uint8_t clamped[256 + 2 * kReach];
    ColourTables() {
        for (int i = 0; i < 256 + 2 * kReach; ++i) clamped[i] = uint8_t(std::clamp(i - kReach, 0, 255));
        for (int i = 0; i < 256; ++i) {
            const int32_t x = i - 128;
            redFromCr[i] = (Fixed(1.40200) * x + kOneHalf) >> kScaleBits;
            blueFromCb[i] = (Fixed(1.77200) * x + kOneHalf) >> kScaleBits;
            greenFromCr[i] = -Fixed(0.71414) * x;
            greenFromCb[i] = -Fixed(0.34414) * x + kOneHalf;
        }
    }
};

const ColourTables& Tables() {
    static const ColourTables tables;
    return tables;
}

// The chroma levels at pixel x: samples are blended down first (3 x near + far), then across, rounding the
// left half of each sample's pixels up from 8/16 and the right half from 7/16.
struct Chroma {
    int cb, cr;
};

inline Chroma Upsampled(const RowPlanes& planes, int x) {
    const int i = x >> 1;
    const int j = x & 1 ? std::min(i + 1, planes.chromaWidth - 1) : std::max(i - 1, 0);
    const int round = x & 1 ? 7 : 8;
    const int cb = (planes.cbNear[i] * 3 + planes.cbFar[i]) * 3 + planes.cbNear[j] * 3 + planes.cbFar[j];
    const int cr = (planes.crNear[i] * 3 + planes.crFar[i]) * 3 + planes.crNear[j] * 3 + planes.crFar[j];
    return {(cb + round) >> 4, (cr + round) >> 4};
}

}  // namespace

void ToBgr(const RowPlanes& planes, const std::vector<int>& columns, uint8_t* bgr) {
    const ColourTables& tables = Tables();
    const uint8_t* const clamped = tables.clamped + kReach;
    // Copied, so that the bytes written cannot be taken to change them.
    const RowPlanes row = planes;
    for (const int x : columns) {
        const Chroma c = Upsampled(row, x);
        const int32_t y = row.luma[x];
        const uint8_t blue = clamped[y + tables.blueFromCb[c.cb]];
        const uint8_t green = clamped[y + ((tables.greenFromCb[c.cb] + tables.greenFromCr[c.cr]) >> kScaleBits)];
        const uint8_t red = clamped[y + tables.redFromCr[c.cr]];
        uint8_t* pixel = bgr + size_t(x) * 3;
        pixel[0] = blue, pixel[1] = green, pixel[2] = red;
    }
}

}  // namespace kestrova::imaging::ycc420
