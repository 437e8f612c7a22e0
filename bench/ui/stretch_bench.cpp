// The display's busiest repaint: the 25 tiles of its 480 x 360 picture area, each drawn from a 640 x 480
// camera frame. StretchDIBits in HALFTONE mode (the area average, from 24-bit bottom-up frames) beside
// pixman's bilinear from 32-bit pixels into the same tiles, the cheapest smooth scaling there is, and
// pixman's own area average (its separable box convolution). Each runs twice: with one frame drawn into
// every tile (the pictures stay in the cache, so this is the stretch's own cost) and with a frame of its
// own per tile, as from 25 cameras (memory traffic included). Beside them, only reading every byte of the
// tiles' frames once, which any true area average must do at least, while the bilinear reads about two source
// rows in every seven. The run ends with the ratios of the area average to the bilinear, each wanted at most
// 2.5, and the ratio of that reading alone to the bilinear: the floor under the first.

#include <benchmark/benchmark.h>
#include <pixman.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/support/ratio_reporter.h"
#include "platform/ui/gdi.h"

namespace {

constexpr int kFrameWidth = 640, kFrameHeight = 480;
constexpr int kAreaWidth = 480, kAreaHeight = 360, kGrid = 5, kTiles = kGrid * kGrid;
constexpr double kBound = 2.5;

// The display's 25-tile grid: column and row bounds, right and bottom exclusive, one-pixel gaps between.
constexpr std::array<std::array<int, 2>, kGrid> kColumns{
    {{0, 95}, {96, 191}, {192, 288}, {289, 384}, {385, 480}}};
constexpr std::array<std::array<int, 2>, kGrid> kRows{
    {{0, 71}, {72, 143}, {144, 216}, {217, 288}, {289, 360}}};

RECT Tile(int k) {
    const auto& c = kColumns[size_t(k % kGrid)];
    const auto& r = kRows[size_t(k / kGrid)];
    return RECT{c[0], r[0], c[1], r[1]};
}

// `count` frames of `bytes` random bytes each.
std::vector<std::vector<uint8_t>> Frames(int count, size_t bytes) {
    std::vector<std::vector<uint8_t>> frames;
    std::mt19937 random(1);
    for (int k = 0; k < count; ++k) {
        std::vector<uint8_t>& frame = frames.emplace_back(bytes);
        for (size_t i = 0; i + 4 <= bytes; i += 4) {
            const uint32_t word = random();
            std::memcpy(&frame[i], &word, 4);
        }
    }
    return frames;
}

// state.range(0): how many different frames the 25 tiles are drawn from.
void StretchDIBitsHalftone(benchmark::State& state) {
    const int distinct = int(state.range(0));
    const auto frames = Frames(distinct, size_t(kFrameWidth) * kFrameHeight * 3);
    BITMAPINFO info;
    info.bmiHeader.biWidth = kFrameWidth;
    info.bmiHeader.biHeight = kFrameHeight;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP area = CreateCompatibleBitmap(dc, kAreaWidth, kAreaHeight);
    HGDIOBJ old = SelectObject(dc, area);
    SetStretchBltMode(dc, HALFTONE);
    for (auto _ : state)
        for (int k = 0; k < kTiles; ++k) {
            RECT t = Tile(k);
            StretchDIBits(dc, t.left, t.top, t.right - t.left, t.bottom - t.top, 0, 0, kFrameWidth,
                          kFrameHeight, frames[size_t(k % distinct)].data(), &info, DIB_RGB_COLORS, SRCCOPY);
        }
    SelectObject(dc, old);
    DeleteObject(area);
    DeleteDC(dc);
}
BENCHMARK(StretchDIBitsHalftone)->Arg(1)->Arg(kTiles)->Unit(benchmark::kMillisecond);

// pixman scaling 32-bit frames (x8r8g8b8, top row first) into the same tiles of a 32-bit picture area.
void PixmanScale(benchmark::State& state, bool box) {
    const int distinct = int(state.range(0));
    auto frames = Frames(distinct, size_t(kFrameWidth) * kFrameHeight * 4);
    std::vector<pixman_image_t*> sources;
    for (auto& frame : frames) {
        pixman_image_t* source =
            pixman_image_create_bits(PIXMAN_x8r8g8b8, kFrameWidth, kFrameHeight,
                                     reinterpret_cast<uint32_t*>(frame.data()), kFrameWidth * 4);
        pixman_image_set_repeat(source, PIXMAN_REPEAT_PAD);
        sources.push_back(source);
    }
    std::vector<uint32_t> pixels(size_t(kAreaWidth) * kAreaHeight);
    pixman_image_t* area =
        pixman_image_create_bits(PIXMAN_x8r8g8b8, kAreaWidth, kAreaHeight, pixels.data(), kAreaWidth * 4);
    for (auto _ : state)
        for (int k = 0; k < kTiles; ++k) {
            RECT t = Tile(k);
            int w = t.right - t.left, h = t.bottom - t.top;
            double sx = double(kFrameWidth) / w, sy = double(kFrameHeight) / h;
            pixman_image_t* source = sources[size_t(k % distinct)];
            pixman_transform_t transform;
            pixman_transform_init_scale(&transform, pixman_double_to_fixed(sx), pixman_double_to_fixed(sy));
            pixman_image_set_transform(source, &transform);
            if (box) {
                int n = 0;
                pixman_fixed_t* params = pixman_filter_create_separable_convolution(
                    &n, pixman_double_to_fixed(sx), pixman_double_to_fixed(sy), PIXMAN_KERNEL_BOX,
                    PIXMAN_KERNEL_BOX, PIXMAN_KERNEL_IMPULSE, PIXMAN_KERNEL_IMPULSE, 1, 1);
                pixman_image_set_filter(source, PIXMAN_FILTER_SEPARABLE_CONVOLUTION, params, n);
                std::free(params);
            } else {
                pixman_image_set_filter(source, PIXMAN_FILTER_BILINEAR, nullptr, 0);
            }
            pixman_image_composite32(PIXMAN_OP_SRC, source, nullptr, area, 0, 0, 0, 0, t.left, t.top, w, h);
        }
    for (pixman_image_t* source : sources) pixman_image_unref(source);
    pixman_image_unref(area);
}

// The 64-bit words of `size` bytes (a multiple of 64) added up, in the widest registers the processor has.
__attribute__((target_clones("avx512f", "avx2", "default"))) uint64_t SumWords(const uint8_t* bytes,
                                                                               size_t size) {
    typedef uint64_t Words __attribute__((vector_size(64)));
    Words sum = {};
    for (size_t i = 0; i < size; i += 64) {
        Words words;
        std::memcpy(&words, bytes + i, 64);
        sum += words;
    }
    uint64_t total = 0;
    for (int j = 0; j < 8; ++j) total += sum[j];
    return total;
}

// Every byte of each tile's frame read once.
void ReadFramesOnce(benchmark::State& state) {
    const int distinct = int(state.range(0));
    const auto frames = Frames(distinct, size_t(kFrameWidth) * kFrameHeight * 3);
    for (auto _ : state)
        for (int k = 0; k < kTiles; ++k) {
            const std::vector<uint8_t>& frame = frames[size_t(k % distinct)];
            benchmark::DoNotOptimize(SumWords(frame.data(), frame.size()));
        }
}
BENCHMARK(ReadFramesOnce)->Arg(1)->Arg(kTiles)->Unit(benchmark::kMillisecond);

void PixmanBilinear32(benchmark::State& state) {
    PixmanScale(state, false);
}
BENCHMARK(PixmanBilinear32)->Arg(1)->Arg(kTiles)->Unit(benchmark::kMillisecond);

void PixmanBoxConvolution32(benchmark::State& state) {
    PixmanScale(state, true);
}
BENCHMARK(PixmanBoxConvolution32)->Arg(1)->Arg(kTiles)->Unit(benchmark::kMillisecond);

}  // namespace

// 0 when both ratios are within the bound (or a benchmark was filtered out).
int main(int argc, char** argv) {
    kestrova::bench::RatioReporter reporter;
    kestrova::bench::RunInterleaved(argc, argv, reporter);
    int failed = 0;
    for (const std::string frames : {"1", "25"}) {
        const std::string measured = "StretchDIBitsHalftone/" + frames,
                          baseline = "PixmanBilinear32/" + frames;
        if (!reporter.Ran(measured) || !reporter.Ran(baseline)) continue;
        const double ratio = reporter.Time(measured) / reporter.Time(baseline);
        std::printf("%s / %s: %.2f (at most %.2f wanted)\n", measured.c_str(), baseline.c_str(), ratio,
                    kBound);
        failed |= ratio > kBound;
        const std::string reading = "ReadFramesOnce/" + frames;
        if (reporter.Ran(reading))
            std::printf("  the floor: %s / %s: %.2f\n", reading.c_str(), baseline.c_str(),
                        reporter.Time(reading) / reporter.Time(baseline));
    }
    return failed;
}
