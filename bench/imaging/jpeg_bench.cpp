// JPEG encode and decode of a 640 x 480 frame through the imaging layer, each beside the same work done with
// bare TurboJPEG calls (one handle and one buffer reused, as a hand-written caller would), so that the
// layer's overhead reads straight off one run. Quality 70, as the web snapshots use.
#include <benchmark/benchmark.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "platform/imaging/bitmap.h"

namespace kestrova::imaging {
namespace {

constexpr int kWidth = 640, kHeight = 480, kQuality = 70;

// A bottom-up frame with the smooth areas, edges and fine grain of a camera picture.
struct Frame {
    BitmapInfoHeader header;
    std::vector<uint8_t> pixels;
};

const Frame& CameraFrame() {
    static const Frame frame = [] {
        Frame f;
        f.header.biWidth = kWidth;
        f.header.biHeight = kHeight;
        f.pixels.resize(size_t(kWidth) * 3 * kHeight);
        uint32_t grain = 12345;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                grain = grain * 1664525u + 1013904223u;
                const int noise = int(grain >> 28) - 8;
                const bool box = (x / 80 + y / 60) % 3 == 0;
                const double wave = 40 * std::sin(x * 0.05) * std::cos(y * 0.03);
                uint8_t* p = f.pixels.data() + (size_t(y) * kWidth + x) * 3;
                p[0] = uint8_t(std::clamp(int(90 + wave) + noise + (box ? 60 : 0), 0, 255));
                p[1] = uint8_t(std::clamp(int(x * 200 / kWidth + wave) + noise, 0, 255));
                p[2] = uint8_t(std::clamp(int(y * 200 / kHeight) + noise - (box ? 40 : 0), 0, 255));
            }
        }
        return f;
    }();
    return frame;
}

const std::vector<uint8_t>& CameraJpeg() {
    static const std::vector<uint8_t> jpeg = [] {
        auto bitmap = Bitmap::FromFrame(CameraFrame().header, CameraFrame().pixels.data());
        int id = 0;
        FindEncoder("image/jpeg", &id);
        std::vector<uint8_t> out;
        Encode(*bitmap, id, kQuality, out);
        return out;
    }();
    return jpeg;
}

void BareEncode(benchmark::State& state) {
    const Frame& frame = CameraFrame();
    tjhandle handle = tjInitCompress();
    unsigned long capacity = tjBufSize(kWidth, kHeight, TJSAMP_420);
    unsigned char* buffer = tjAlloc(int(capacity));
    for (auto _ : state) {
        unsigned long size = capacity;
        if (tjCompress2(handle, frame.pixels.data(), kWidth, kWidth * 3, kHeight, TJPF_BGR, &buffer, &size,
                        TJSAMP_420, kQuality, TJFLAG_BOTTOMUP | TJFLAG_NOREALLOC) != 0) {
            state.SkipWithError("tjCompress2 failed");
        }
        benchmark::DoNotOptimize(buffer);
    }
    tjFree(buffer);
    tjDestroy(handle);
}

// What saving a frame does before writing the file: a bitmap over the frame, then the encoder.
void LayerEncode(benchmark::State& state) {
    const Frame& frame = CameraFrame();
    int id = 0;
    FindEncoder("image/jpeg", &id);
    std::vector<uint8_t> out;
    for (auto _ : state) {
        auto bitmap = Bitmap::ViewFrame(frame.header, frame.pixels.data());
        if (Encode(*bitmap, id, kQuality, out) != Status::Ok) state.SkipWithError("Encode failed");
        benchmark::DoNotOptimize(out.data());
    }
}

void BareDecode(benchmark::State& state) {
    const std::vector<uint8_t>& jpeg = CameraJpeg();
    tjhandle handle = tjInitDecompress();
    std::vector<uint8_t> pixels(size_t(kWidth) * 3 * kHeight);
    for (auto _ : state) {
        int width, height, subsampling, colorspace;
        if (tjDecompressHeader3(handle, jpeg.data(), jpeg.size(), &width, &height, &subsampling,
                                &colorspace) != 0 ||
            tjDecompress2(handle, jpeg.data(), jpeg.size(), pixels.data(), width, width * 3, height, TJPF_BGR,
                          0) != 0) {
            state.SkipWithError("decompression failed");
        }
        benchmark::DoNotOptimize(pixels.data());
    }
    tjDestroy(handle);
}

void LayerDecode(benchmark::State& state) {
    const std::vector<uint8_t>& jpeg = CameraJpeg();
    for (auto _ : state) {
        auto bitmap = Bitmap::Decode(jpeg.data(), jpeg.size());
        if (!bitmap) state.SkipWithError("Decode failed");
        benchmark::DoNotOptimize(bitmap.get());
    }
}

// A camera frame's way in: straight into the device's bottom-up frame buffer, upright.
void LayerDecodeIntoFrame(benchmark::State& state) {
    const std::vector<uint8_t>& jpeg = CameraJpeg();
    std::vector<uint8_t> pixels(size_t(kWidth) * 3 * kHeight);
    uint8_t* topRow = pixels.data() + size_t(kHeight - 1) * kWidth * 3;
    for (auto _ : state) {
        if (DecodeInto(jpeg.data(), jpeg.size(), kWidth, kHeight, topRow, -kWidth * 3) != Status::Ok) {
            state.SkipWithError("DecodeInto failed");
        }
        benchmark::DoNotOptimize(pixels.data());
    }
}

BENCHMARK(BareEncode)->Unit(benchmark::kMicrosecond);
BENCHMARK(LayerEncode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BareDecode)->Unit(benchmark::kMicrosecond);
BENCHMARK(LayerDecode)->Unit(benchmark::kMicrosecond);
BENCHMARK(LayerDecodeIntoFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kestrova::imaging

BENCHMARK_MAIN();
