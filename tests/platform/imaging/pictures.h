#pragma once
// Test pictures: frames whose top and bottom differ plainly, and pictures of random pixels.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "platform/imaging/bitmap.h"

namespace kestrova::imaging {

struct Bgr {
    uint8_t b, g, r;
};

inline Bgr PixelAt(const Bitmap& bitmap, int x, int y) {
    const uint8_t* p = bitmap.Row(y) + x * 3;
    return {p[0], p[1], p[2]};
}

inline bool Near(Bgr a, Bgr b, int tolerance) {
    return std::abs(a.b - b.b) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.r - b.r) <= tolerance;
}

constexpr Bgr kTopColour{20, 40, 220};      // red
constexpr Bgr kBottomColour{220, 120, 20};  // blue

// A 24-bit frame as capture delivers it: bottom-up rows, the top half red, the bottom half blue.
struct Frame {
    BitmapInfoHeader header;
    std::vector<uint8_t> pixels;
};

inline Frame TwoToneFrame(int width, int height) {
    Frame frame;
    frame.header.biWidth = width;
    frame.header.biHeight = height;
    const int rowBytes = (width * 3 + 3) & ~3;
    frame.pixels.assign(size_t(rowBytes) * height, 0);
    for (int stored = 0; stored < height; ++stored) {
        const int y = height - 1 - stored;  // picture row of this stored row
        const Bgr colour = y < height / 2 ? kTopColour : kBottomColour;
        for (int x = 0; x < width; ++x) {
            uint8_t* p = frame.pixels.data() + size_t(stored) * rowBytes + x * 3;
            p[0] = colour.b, p[1] = colour.g, p[2] = colour.r;
        }
    }
    return frame;
}

inline Bitmap RandomPicture(int width, int height, unsigned seed) {
    Bitmap bitmap(width, height);
    std::mt19937 random(seed);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width * 3; ++x) bitmap.Row(y)[x] = uint8_t(random());
    }
    return bitmap;
}

inline bool SamePixels(const Bitmap& a, const Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
    for (int y = 0; y < a.Height(); ++y) {
        if (!std::equal(a.Row(y), a.Row(y) + a.Width() * 3, b.Row(y))) return false;
    }
    return true;
}

// A bitmap file as an editor saves it: file header, 40-byte info header, padded 24-bit rows.
inline std::vector<uint8_t> BmpFile(const Frame& frame) {
    std::vector<uint8_t> file(54 + frame.pixels.size());
    const auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&file[at], &v, 4); };
    file[0] = 'B', file[1] = 'M';
    put32(2, uint32_t(54 + frame.pixels.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(frame.header.biWidth));
    put32(22, uint32_t(frame.header.biHeight));
    file[26] = 1;
    file[28] = 24;
    std::copy(frame.pixels.begin(), frame.pixels.end(), file.begin() + 54);
    return file;
}

}  // namespace kestrova::imaging
