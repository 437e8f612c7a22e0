// The display's worst case: one 640 x 480 camera frame (24-bit, bottom-up) drawn into each of 25 tiles of a
// 1024 x 768 surface. StretchDIBits in HALFTONE mode (area averaging) beside pixman's own scaling of the
// same pictures: bilinear, the cheapest filter it has, and its separable box convolution, the area average
// it offers.

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <random>
#include <vector>

#include "platform/ui/gdi.h"

namespace {

constexpr int kFrameWidth = 640, kFrameHeight = 480, kStride = kFrameWidth * 3;
constexpr int kSurfaceWidth = 1024, kSurfaceHeight = 768, kGrid = 5;

struct Pictures {
    Pictures() : frame(size_t(kStride) * kFrameHeight) {
        std::mt19937 random(1);
        for (auto& b : frame) b = uint8_t(random());
        info.bmiHeader.biWidth = kFrameWidth;
        info.bmiHeader.biHeight = kFrameHeight;
    }
    std::vector<uint8_t> frame;
    BITMAPINFO info;
};

RECT Tile(int k) {
    int w = kSurfaceWidth / kGrid, h = kSurfaceHeight / kGrid;
    int x = (k % kGrid) * w, y = (k / kGrid) * h;
    return RECT{x, y, x + w - 1, y + h - 1};  // one-pixel gaps between tiles
}

void StretchDIBitsHalftone(benchmark::State& state) {
    Pictures p;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP surface = CreateCompatibleBitmap(dc, kSurfaceWidth, kSurfaceHeight);
    HGDIOBJ old = SelectObject(dc, surface);
    SetStretchBltMode(dc, HALFTONE);
    for (auto _ : state)
        for (int k = 0; k < kGrid * kGrid; ++k) {
            RECT t = Tile(k);
            StretchDIBits(dc, t.left, t.top, t.right - t.left, t.bottom - t.top, 0, 0, kFrameWidth,
                          kFrameHeight, p.frame.data(), &p.info, DIB_RGB_COLORS, SRCCOPY);
        }
    SelectObject(dc, old);
    DeleteObject(surface);
    DeleteDC(dc);
}

// pixman scaling the bottom-up 24-bit frame (addressed top row first with a negative stride) into the tiles.
void PixmanScale(benchmark::State& state, bool box) {
    Pictures p;
    std::vector<uint32_t> pixels(size_t(kSurfaceWidth) * kSurfaceHeight);
    pixman_image_t* dest = pixman_image_create_bits(PIXMAN_x8r8g8b8, kSurfaceWidth, kSurfaceHeight,
                                                    pixels.data(), kSurfaceWidth * 4);
    pixman_image_t* source = pixman_image_create_bits(
        PIXMAN_r8g8b8, kFrameWidth, kFrameHeight,
        reinterpret_cast<uint32_t*>(p.frame.data() + size_t(kStride) * (kFrameHeight - 1)), -kStride);
    pixman_image_set_repeat(source, PIXMAN_REPEAT_PAD);
    for (auto _ : state)
        for (int k = 0; k < kGrid * kGrid; ++k) {
            RECT t = Tile(k);
            int w = t.right - t.left, h = t.bottom - t.top;
            double sx = double(kFrameWidth) / w, sy = double(kFrameHeight) / h;
            pixman_transform_t transform;
            pixman_transform_init_scale(&transform, pixman_double_to_fixed(sx), pixman_double_to_fixed(sy));
            pixman_image_set_transform(source, &transform);
            if (box) {
                int n = 0;
                pixman_fixed_t* params = pixman_filter_create_separable_convolution(
                    &n, pixman_double_to_fixed(sx), pixman_double_to_fixed(sy), PIXMAN_KERNEL_BOX,
                    PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_IMPULSE, 1, 1);
                pixman_image_set_filter(source, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, n);
                free(params);
            } else {
                pixman_image_set_filter(source, PIXMAN_FILTER_BILINEAR, nullptr, 0);
            }
            pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, dest, 0, 0, 0, 0, t.left, t.top, w, h);
        }
    pixman_image_unref(source);
    pixman_image_unref(dest);
}

void PixmanBilinear(benchmark::State& state) {
    PixmanScale(state, false);
}
void PixmanBoxConvolution(benchmark::State& state) {
    PixmanScale(state, true);
}

}  // namespace

BENCHMARK(StretchDIBitsHalftone)->Unit(benchmark::kMillisecond);
BENCHMARK(PixmanBilinear)->Unit(benchmark::kMillisecond);
BENCHMARK(PixmanBoxConvolution)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
